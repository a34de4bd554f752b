# Shared part of the MinGW-w64 toolchains: compilers, static runtime, and Wine
# as the emulator through which ctest runs the Windows test programs.
# The POSIX-threads variant: GoogleTest needs std::mutex, which the win32-threads
# variant of MinGW-w64's libstdc++ lacks. The program itself uses no threads.
set(CMAKE_C_COMPILER ${KW_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KW_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KW_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KW_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_C_FLAGS_INIT "${KW_MINGW_ARCH_FLAGS}")
set(CMAKE_CXX_FLAGS_INIT "${KW_MINGW_ARCH_FLAGS}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
