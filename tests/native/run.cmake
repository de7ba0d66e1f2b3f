# Configures, builds and runs the native sanitizer build of the pure rules.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${BINARY} -G Ninja -DCMAKE_BUILD_TYPE=Debug
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "native configure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "native build failed")
endif()
execute_process(COMMAND ${BINARY}/rules_tests RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "native rules tests failed")
endif()
