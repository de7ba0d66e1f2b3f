# The pure rules: no Windows headers. The launcher, the native tests and
# the fuzzers build this one list.
set(CVN_RULES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../workflow/LinkFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../workflow/InstallLocation.cpp)
