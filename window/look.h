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

// The palette the window is drawn with: the toolkit's standard light palette (the window's
// exact colours assume dark text on light faces) with the classic silver button face that the
// layout was drawn against. Disabled texts are the classic grey, which stays readable on it.
QPalette formPalette();

// An exact colour as it stands; a system colour by the role that plays its part in the toolkit.
QColor toQColor(model::Colour colour);

QFont fontFor(Face face);

} // namespace window
