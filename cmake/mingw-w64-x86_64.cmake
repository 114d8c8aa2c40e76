# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 toolchain (g++-mingw-w64-x86-64).
# The win32 thread model needs no threading DLL; libgcc and libstdc++ are linked statically, so
# the program depends on Windows' own DLLs alone.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CHEER_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CHEER_MINGW_TRIPLET}-gcc-win32)
set(CMAKE_CXX_COMPILER ${CHEER_MINGW_TRIPLET}-g++-win32)
set(CMAKE_RC_COMPILER ${CHEER_MINGW_TRIPLET}-windres)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# Libraries, headers and packages come from the MinGW-w64 tree only, never from the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${CHEER_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
