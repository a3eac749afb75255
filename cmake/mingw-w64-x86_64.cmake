# Cross build for 64-bit Windows with Debian's MinGW-w64 (the posix-threads flavour, which
# std::thread and std::mutex need), running the built programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KOTORI_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KOTORI_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOTORI_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${KOTORI_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KOTORI_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: no MinGW runtime DLLs to put on Wine's path.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(KOTORI_WINE wine)
if(KOTORI_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${KOTORI_WINE})
endif()
