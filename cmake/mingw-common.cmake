set(CMAKE_C_COMPILER ${KARVOLD_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KARVOLD_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KARVOLD_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KARVOLD_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything static: the program must run on a bare Windows with system DLLs only.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test executables run under Wine with their own prefix and a Japanese locale.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run)
