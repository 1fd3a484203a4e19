# Cross toolchain: Windows x86_64 binaries built on Debian with mingw-w64 (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(BREL_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${BREL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BREL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${BREL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BREL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Load on a clean Windows: no libstdc++, libgcc or winpthread DLLs next to our binaries.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
