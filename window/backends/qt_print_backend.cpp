#include "window/backends/qt_print_backend.h"

#include "window/backends/page_margins.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace window {

namespace {

class QtPrintBackend : public PrintBackend
{
public:
    PrintOutcome print(const QString &title, const PagePainter &paint) override
    {
        // With no default, QPrinter would quietly print on the first printer it finds.
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return PrintOutcome::NoDefaultPrinter;
        QPrinter printer(info, QPrinter::HighResolution);
        if (!printer.isValid())
            return PrintOutcome::JobFailed;
        printer.setDocName(title);
        printer.setPageMargins(pageMarginsMm(printer.pageLayout().margins(QPageLayout::Millimeter)),
            QPageLayout::Millimeter);
        QPainter painter;
        if (!painter.begin(&printer))
            return PrintOutcome::JobFailed;
        paint(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()));
        if (!painter.end() || printer.printerState() == QPrinter::Error)
            return PrintOutcome::JobFailed;
        return PrintOutcome::Printed;
    }
};

} // namespace

std::unique_ptr<PrintBackend> qtPrintBackend()
{
    return std::make_unique<QtPrintBackend>();
}

} // namespace window
