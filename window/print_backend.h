#pragma once

// The seam between the print button and the print system: one page to the default printer as one
// job, and an honest account of how it went.

#include <QMarginsF>

#include <functional>
#include <memory>

class QPainter;
class QRectF;
class QString;

namespace window {

enum class PrintOutcome {
    Printed,
    NoDefaultPrinter,
    ServerUnreachable,
    QueuePaused,
    QueueRejecting,
    JobFailed,
    // The job was accepted but is not finished: held, stopped, or still queued when we stopped
    // waiting.
    JobWaiting,
};

// Paints the page; printable is the area inside the margins, in the painter's coordinates.
using PagePainter = std::function<void(QPainter &painter, const QRectF &printable)>;

class PrintBackend
{
public:
    virtual ~PrintBackend() = default;

    // Sends one page to the system's default printer as a job named title.
    virtual PrintOutcome print(const QString &title, const PagePainter &paint) = 0;
};

// A printer that prints up to the paper's edge still gets this much white around the page, in
// millimetres.
inline constexpr double minimumMarginMm = 10.0;

// The printer's own margins, widened to the minimum.
QMarginsF pageMarginsMm(const QMarginsF &printerMarginsMm);

// Qt's own printing, on every platform.
std::unique_ptr<PrintBackend> qtPrintBackend();

// The best the platform offers: CUPS where the build has it, else Qt's own printing.
std::unique_ptr<PrintBackend> systemPrintBackend();

} // namespace window
