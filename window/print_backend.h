#pragma once

// The seam between the print button and the print system: one page to the default printer as one
// job, and an honest account of how it went.

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
    // The print module of the installation could not be loaded.
    NotInstalled,
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

// What the print module exports: the best back-end the platform offers, owned by the caller.
using CreatePrintBackend = PrintBackend *();
inline constexpr char createPrintBackendSymbol[] = "lctuneCreatePrintBackend";

// The print module's back-end, loaded with the module on the first call. When the module cannot
// be loaded, a back-end that reports PrintOutcome::NotInstalled.
std::unique_ptr<PrintBackend> systemPrintBackend();

} // namespace window
