// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QIcon>
#include <QImage>

#include <array>
#include <span>

namespace window {

// The sizes desktops ask for: title bar, task switcher, menus and launchers.
inline constexpr std::array<int, 6> appIconSizes { 16, 32, 48, 64, 128, 256 };

// The oscilloscope icon drawn directly at size x size pixels (size >= 16), as an opaque indexed
// image; every size uses the same palette of at most 16 colours.
QImage appIconImage(int size);

// The sizes a window's own icon is shown at: title bar, task bar and window list. Larger views
// take the installed icon files; drawing 64 to 256 as well would add a third to every start-up.
inline constexpr std::array<int, 3> windowIconSizes { 16, 32, 48 };

// Every size given, each drawn at its own size so none is a blurred scaling of another.
QIcon appIcon(std::span<const int> sizes = appIconSizes);

} // namespace window
