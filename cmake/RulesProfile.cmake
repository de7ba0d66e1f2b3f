# The pure rules take the device's names from the profile's Profile.h: the
# native builds of them (sanitizer tests, fuzzers) generate it as the cross
# build does, into their own generated/ folder (CVN_PROFILE_INCLUDE).
set(CVN_PROFILE ${CMAKE_CURRENT_LIST_DIR}/../profiles/default CACHE PATH "The device's profile folder")
find_program(CVN_PYTHON python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(CVN_PROFILE_INCLUDE ${CMAKE_BINARY_DIR}/generated)
execute_process(COMMAND ${CVN_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/../tools/profile.py ${CVN_PROFILE}
                        ${CMAKE_CURRENT_LIST_DIR}/../res/resource.h ${CVN_PROFILE_INCLUDE}
                RESULT_VARIABLE cvn_profile_rc ERROR_VARIABLE cvn_profile_error)
if(NOT cvn_profile_rc EQUAL 0)
  message(FATAL_ERROR "${cvn_profile_error}")
endif()
