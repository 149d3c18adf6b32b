# Cross compiling for 64-bit Windows with Debian's mingw-w64 (the posix
# thread model, which std::thread and std::mutex need). Test programs run
# through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(JUNCTRA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${JUNCTRA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${JUNCTRA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${JUNCTRA_MINGW_TRIPLE}-windres)

# Libraries and headers only from the target's root; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${JUNCTRA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread linked in, so that a program needs
# no DLL beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

find_program(JUNCTRA_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(JUNCTRA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${JUNCTRA_WINE})
endif()
