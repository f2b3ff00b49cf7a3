#include "window/backends/qt_print_backend.h"

#include "window/backends/page_layout.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace window {

namespace {

// The platform's spooler takes the job at once; it is asked on the window's thread.
PrintOutcome printPage(const QString &title, const QImage &window)
{
    // With no default, QPrinter would quietly print on the first printer it finds.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return PrintOutcome::NoDefaultPrinter;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PrintOutcome::Failed;
    printer.setDocName(title);
    const QMarginsF own = printer.pageLayout().margins(QPageLayout::Millimeter);
    const auto widen = [](qreal margin) { return std::max(margin, minimumMarginMm); };
    printer.setPageMargins(
        { widen(own.left()), widen(own.top()), widen(own.right()), widen(own.bottom()) },
        QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::Failed;
    drawWindowOnPage(painter, QRectF(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size()),
        printer.resolution(), window);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return PrintOutcome::Failed;
    return PrintOutcome::Submitted;
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
