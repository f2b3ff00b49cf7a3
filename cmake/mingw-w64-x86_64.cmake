# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# 64-bit Windows from Linux with Debian's MinGW-w64 (posix threads, as Qt for MinGW wants them).
# The Qt for Windows to build against comes as CMAKE_PREFIX_PATH and CMAKE_FIND_ROOT_PATH; its
# host tools (moc, rcc) are the build machine's own, through QT_HOST_PATH.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The -posix suffix hides the tools' prefix from CMake's own search.
set(CMAKE_STRIP x86_64-w64-mingw32-strip)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# CTest runs the Windows programs under Wine.
find_program(LCTUNE_WINE wine)
if(LCTUNE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${LCTUNE_WINE})
endif()
