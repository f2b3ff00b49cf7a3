// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// How the window's colours and faces map onto the toolkit: the one place where a colour value
// becomes a QColor and a face becomes a QFont.

#include "model/form.h"
#include "window/form_table.h"

#include <QColor>
#include <QFont>
#include <QIcon>

namespace window {

// Gives the application the look of its window, for the window and its message boxes alike: the
// style, the palette and the face. Called once the QApplication exists, before any window.
//
// The style is Fusion, whose drawing follows the palette exactly, with the classic 13-pixel tick
// and option marks, so that captions such as "MHz" fit the layout's narrow option buttons. The
// palette has every role of every group built from the classic light system colours, whatever
// the desktop's theme: the window's exact colours (light green and light red boxes, silver
// faces) are readable only with dark text, so no role may come from a theme.
void setApplicationLook();

// An exact colour as it stands; a system colour as its classic light value.
QColor toQColor(model::Colour colour);

QFont fontFor(Face face);

// The program's icon: the files the desktop installs, each size its own drawing rather than
// another scaled.
QIcon appIcon();

} // namespace window
