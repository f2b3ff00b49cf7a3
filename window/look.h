// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// How the window's colours and faces map onto the toolkit: the one place where a colour value
// becomes a QColor and a face becomes a QFont.

#include "model/form.h"
#include "window/form_table.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QStyle;

namespace window {

// The style every control of the window is drawn with: Fusion, whose drawing follows the
// palette exactly, with the classic 13-pixel tick and option marks, so that captions such as
// "MHz" fit the layout's narrow option buttons.
QStyle *formStyle();

// The palette the window is drawn with, every role of every group built from the classic light
// system colours, whatever the desktop's theme: the window's exact colours (light green and light
// red boxes, silver faces) are readable only with dark text, so no role may come from a theme.
QPalette formPalette();

// An exact colour as it stands; a system colour as its classic light value.
QColor toQColor(model::Colour colour);

QFont fontFor(Face face);

} // namespace window
