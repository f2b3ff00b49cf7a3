#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Builds Qt 6.4.2 (qtbase: Core, Gui, Widgets, PrintSupport, Test, the windows, offscreen and
# minimal platform plugins, the Windows styles) for 64-bit Windows with Debian 12's MinGW-w64
# cross compiler, from Debian's own qt6-base source package, and packs the installed prefix as
# qt-6.4.2-mingw-w64.tar.xz. Debian's native Qt 6.4.2 (qt6-base-dev, qt6-base-dev-tools) serves as
# the host Qt (moc, rcc, uic).
# Usage: build-qt-windows.sh [WORKDIR] (default /tmp/qt-windows); about 20 minutes on 2 cores.
set -eu
work=${1:-/tmp/qt-windows}
mkdir -p "$work"
cd "$work"

apt-get install -y -q g++-mingw-w64-x86-64-posix qt6-base-dev qt6-base-dev-tools ninja-build \
    cmake dpkg-dev xz-utils >/dev/null
# The source package: Debian's package lists may hold binaries only.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -q '^Version: 6.4.2'; then
    cat >/etc/apt/sources.list.d/qt-windows-src.sources <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    apt-get update -q >/dev/null
fi
[ -f qt6-base_6.4.2+dfsg.orig.tar.xz ] || apt-get source --download-only qt6-base=6.4.2+dfsg-10
[ -d qtbase-everywhere-src-6.4.2 ] || tar xf qt6-base_6.4.2+dfsg.orig.tar.xz

cat >mingw-w64.cmake <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
list(APPEND CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

# The Debian source lacks the Wintab header (tablet events off); the Windows platform plugin of
# 6.4.2 does not compile with dynamic OpenGL and OpenGL off together (dynamicgl off).
prefix=$work/qt-6.4.2-mingw-w64
cmake -G Ninja -S qtbase-everywhere-src-6.4.2 -B build \
    -DCMAKE_TOOLCHAIN_FILE="$work/mingw-w64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_opengl=OFF \
    -DFEATURE_dynamicgl=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_testlib=ON -DFEATURE_printsupport=ON -DFEATURE_widgets=ON
ninja -C build
ninja -C build install

# Smaller to ship; the licences of Qt and of the third-party code built into it travel with it.
x86_64-w64-mingw32-strip --strip-unneeded "$prefix"/bin/*.dll "$prefix"/plugins/*/*.dll
rm -rf "$prefix/doc"
mkdir -p "$prefix/share/licenses/qtbase"
cp qtbase-everywhere-src-6.4.2/LICENSES/* "$prefix/share/licenses/qtbase/"
for d in double-conversion freetype harfbuzz-ng libjpeg libpng pcre2 zlib md4c easing forkfd icc \
         blake2 sha3 rfc6234 tinycbor; do
    f=$(ls qtbase-everywhere-src-6.4.2/src/3rdparty/$d/LICENSE* \
           qtbase-everywhere-src-6.4.2/src/3rdparty/$d/COPYING* 2>/dev/null | head -n 1) || true
    [ -n "$f" ] && cp "$f" "$prefix/share/licenses/qtbase/3rdparty-$d-$(basename "$f")"
done
tar -C "$work" -cJf "$work/qt-6.4.2-mingw-w64.tar.xz" qt-6.4.2-mingw-w64
echo "$work/qt-6.4.2-mingw-w64.tar.xz"
