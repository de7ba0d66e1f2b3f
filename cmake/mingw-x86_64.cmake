# The launcher's 64-bit twin, for testing on hosts that cannot run 32-bit
# programs. Never shipped.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
