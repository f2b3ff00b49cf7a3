// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "print_helper/handover.h"

#include <QImage>
#include <QMarginsF>
#include <QPainter>

#include <algorithm>

namespace print_helper {

// A printer that prints up to the paper's edge still leaves this much white around the window.
inline const QMarginsF pageMarginsMm(10, 10, 10, 10);

// Prints the window's image as one page on the user's default printer, on its default paper.
// The print system's own words on a failure, where it gives any, go to the standard output.
PrintOutcome printPage(const QString &title, const QImage &window);

// Draws the window's image at its true size (96 window pixels to the inch) at the top left of the
// printable area, whose size is in the painter's units at dotsPerInch; scaled down, whole and in
// proportion, where the area is too small. Lossless, so that the page keeps the window's colours.
inline void drawWindowOnPage(
    QPainter &painter, const QSizeF &printable, double dotsPerInch, const QImage &window)
{
    const QSizeF trueSize = window.deviceIndependentSize() * dotsPerInch / 96.0;
    const double fit = std::min(
        { 1.0, printable.width() / trueSize.width(), printable.height() / trueSize.height() });
    painter.setRenderHints(QPainter::LosslessImageRendering | QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(QPointF(0, 0), trueSize * fit), window);
}

} // namespace print_helper
