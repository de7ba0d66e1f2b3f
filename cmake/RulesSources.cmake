# The pure rules: no Windows headers. The launcher, the native tests and
# the fuzzers build these lists: the workflow's rules and the framework's.
set(CVN_RULES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../workflow/LinkFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../workflow/InstallLocation.cpp)
set(CVN_FRAMEWORK_RULES_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../framework/PeImageDigest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../framework/Sha256.cpp)
