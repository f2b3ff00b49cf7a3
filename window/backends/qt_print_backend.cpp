// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/backends/backends.h"
#include "window/backends/page_layout.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace window {

namespace {

// The platform's spooler takes the job at once, so it is asked on the window's thread.
PrintOutcome printPage(const QString &title, const QImage &window)
{
    // With no default, QPrinter would quietly print on the first printer it finds.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return PrintOutcome::NoDefaultPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(title);
    printer.setPageMargins(printer.pageLayout().margins(QPageLayout::Millimeter) | minimumMarginsMm,
        QPageLayout::Millimeter);
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer))
        return PrintOutcome::Failed;
    drawWindowOnPage(
        painter, printer.pageRect(QPrinter::DevicePixel).size(), printer.resolution(), window);
    return painter.end() && printer.printerState() != QPrinter::Error ? PrintOutcome::Submitted
                                                                      : PrintOutcome::Failed;
}

class QtPrintBackend : public PrintBackend
{
public:
    void submit(const QString &title, const QImage &window, PrintDone done) override
    {
        done(printPage(title, window));
    }
};

} // namespace

std::unique_ptr<PrintBackend> qtPrintBackend()
{
    return std::make_unique<QtPrintBackend>();
}

} // namespace window
