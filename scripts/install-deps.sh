#!/bin/sh
# SPDX-FileCopyrightText: The LC Tune developers
# SPDX-License-Identifier: MIT

# Installs what building, running and testing LC Tune needs on Debian 12 (run as root), or the
# packages named as arguments.
set -eu
packages=${*:-"cmake ninja-build g++ qt6-base-dev libgl-dev libcups2-dev
  fonts-liberation2 fonts-dejavu-core xvfb xauth
  cups printer-driver-cups-pdf poppler-utils libbenchmark-dev clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev dpkg-repack lintian reuse xdotool man-db
  clang-tidy-16 cppcheck libxcb1-dev libxcb-damage0-dev
  qt6-gtk-platformtheme"}
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
fi
