// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "print_helper/print_page.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>

namespace print_helper {

// Qt's own printing, where CUPS is not at hand: the page goes to the platform's spooler.
PrintOutcome printPage(const QString &title, const QImage &window)
{
    int argc = 0;
    const QGuiApplication application(argc, nullptr);
    // With no default, QPrinter would quietly print on the first printer it finds.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return PrintOutcome::NoDefaultPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageMargins(printer.pageLayout().margins(QPageLayout::Millimeter) | pageMarginsMm,
        QPageLayout::Millimeter);
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer))
        return PrintOutcome::Failed;
    // Qt's Windows print engine places an image with a pixel ratio by its pixels but cuts it to
    // its device-independent size: a quarter of the window came out. So the engine gets the
    // image at ratio 1, and the resolution it is drawn at says how many dots each pixel takes.
    QImage pixels = window;
    pixels.setDevicePixelRatio(1);
    drawWindowOnPage(painter, printer.pageRect(QPrinter::DevicePixel).size(),
        printer.resolution() / window.devicePixelRatio(), pixels);
    return painter.end() && printer.printerState() != QPrinter::Error ? PrintOutcome::Submitted
                                                                      : PrintOutcome::Failed;
}

} // namespace print_helper
