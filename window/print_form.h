// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"

#include <QImage>

class QWidget;

namespace window {

class PrintBackend;

// The window's client area as it is now, at its true size of 96 window pixels to the inch, drawn
// at this many device pixels to the window pixel: sharp on paper (384 dots per inch).
inline constexpr int printPixelRatio = 4;
QImage clientAreaImage(QWidget &window);

// The print button: hands the client area as it is now to the default printer as one job and
// gives the window back at once. When the print system does not take the job the user reads why,
// in one message in the window's language; success shows nothing. Nothing in the window changes.
// Without a back-end the user reads that printing is not installed.
void printForm(QWidget &window, const model::Form &form, PrintBackend *backend);

} // namespace window
