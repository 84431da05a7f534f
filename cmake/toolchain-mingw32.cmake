# Cross-compiles for 32-bit Windows with MinGW-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KARVOLD_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Nothing of ours throws; without unwind tables for it the 32-bit program stays within 256 KiB.
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -fno-asynchronous-unwind-tables")
