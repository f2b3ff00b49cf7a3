// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

class QPainter;

namespace window {

// Draws the circuit's shapes and lines of the layout table, back to front, in the window's
// logical pixels.
void paintCircuit(QPainter &painter);

} // namespace window
