#pragma once

#include <QIcon>
#include <QImage>

#include <array>

namespace window {

// The sizes desktops ask for: title bar, task switcher, menus and launchers.
inline constexpr std::array<int, 6> appIconSizes { 16, 32, 48, 64, 128, 256 };

// The oscilloscope icon drawn directly at size x size pixels (size >= 16), as an opaque indexed
// image; every size uses the same palette of at most 16 colours.
QImage appIconImage(int size);

// Every size of appIconSizes, each drawn at its own size so none is a blurred scaling of another.
QIcon appIcon();

} // namespace window
