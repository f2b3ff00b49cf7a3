#include "window/backends/cups_print_backend.h"

#include "window/backends/page_margins.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <QTimer>

#include <cups/cups.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <string_view>

namespace window {

namespace {

using namespace std::chrono_literals;

// How long the print system may take to accept the connection, to answer one request, and to
// finish the job once it has the page.
constexpr auto connectBound = 3s;
constexpr auto answerBound = 10s;
constexpr auto jobBound = 60s;
// While the print system is busy the window repaints at least this often.
constexpr auto slice = 50ms;
constexpr auto pollInterval = 100ms;

using Connection = std::unique_ptr<http_t, decltype(&httpClose)>;

struct DestinationDeleter
{
    void operator()(cups_dest_t *dest) const { cupsFreeDests(1, dest); }
};
using Destination = std::unique_ptr<cups_dest_t, DestinationDeleter>;

struct Page
{
    QPageSize size { QPageSize::A4 };
    QMarginsF marginsMm;
    int dpi = 600;
};

// Paint events only: the user's clicks and keys wait until printing is over.
void keepWindowPainted(std::chrono::milliseconds span)
{
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// The deadline of the request that libcups is waiting on, and whether it was reached: libcups
// then reports whatever its request was meant to learn as missing, a default destination
// included.
struct Patience
{
    QDeadlineTimer deadline;
    bool gaveUp = false;

    void restart()
    {
        deadline.setRemainingTime(answerBound);
        gaveUp = false;
    }
};

// libcups calls this after each slice without an answer: keep waiting while the window repaints,
// until the deadline.
int keepWaiting(http_t *, void *data)
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    auto *patience = static_cast<Patience *>(data);
    patience->gaveUp = patience->deadline.hasExpired();
    return patience->gaveUp ? 0 : 1;
}

Connection connectToServer()
{
    // The server's name comes from this thread's settings; the connection is made on a helper
    // thread, so that a host that does not answer cannot freeze the window for the whole bound.
    const std::string server = cupsServer();
    const int port = ippPort();
    const http_encryption_t encryption = cupsEncryption();
    auto connecting = std::async(std::launch::async, [=] {
        const auto bound = std::chrono::duration_cast<std::chrono::milliseconds>(connectBound);
        return httpConnect2(
            server.c_str(), port, nullptr, AF_UNSPEC, encryption, 1, int(bound.count()), nullptr);
    });
    while (connecting.wait_for(0s) != std::future_status::ready)
        keepWindowPainted(slice);
    return Connection(connecting.get(), &httpClose);
}

PrintOutcome failureOf(ipp_status_t status)
{
    switch (status) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return PrintOutcome::QueueRejecting;
    case IPP_STATUS_ERROR_INTERNAL:
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        // libcups's own words for a connection that broke or timed out.
        return PrintOutcome::ServerUnreachable;
    default:
        return PrintOutcome::JobFailed;
    }
}

const char *option(const cups_dest_t &dest, const char *name)
{
    return cupsGetOption(name, dest.num_options, dest.options);
}

// The destination's default media with its printable margins, so that the page comes out at its
// true size, unscaled: the user's own choice of media first, else the printer's.
// (cupsGetDestMediaDefault would take US Letter for a printer that names none of the user's.)
// And the destination's default resolution.
Page pageFor(http_t *http, cups_dest_t *dest)
{
    Page page;
    page.marginsMm = pageMarginsMm({});
    std::unique_ptr<cups_dinfo_t, decltype(&cupsFreeDestInfo)> info(
        cupsCopyDestInfo(http, dest), &cupsFreeDestInfo);
    if (!info)
        return page;
    const char *media = option(*dest, "media");
    if (!media) {
        if (ipp_attribute_t *byPrinter = cupsFindDestDefault(http, dest, info.get(), "media"))
            media = ippGetString(byPrinter, 0, nullptr);
    }
    cups_size_t size;
    if (media && cupsGetDestMediaByName(http, dest, info.get(), media, 0, &size) && size.width > 0
        && size.length > 0) {
        // libcups measures in hundredths of a millimetre.
        page.size = QPageSize(QSizeF(size.width / 100.0, size.length / 100.0),
            QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
        page.marginsMm =
            pageMarginsMm(QMarginsF(size.left, size.top, size.right, size.bottom) / 100.0);
    }
    if (ipp_attribute_t *resolution =
            cupsFindDestDefault(http, dest, info.get(), "printer-resolution")) {
        int vertical = 0;
        ipp_res_t units = IPP_RES_PER_INCH;
        const int horizontal = ippGetResolution(resolution, 0, &vertical, &units);
        const int dpi = units == IPP_RES_PER_CM ? qRound(horizontal * 2.54) : horizontal;
        if (dpi > 0)
            page.dpi = dpi;
    }
    return page;
}

QByteArray renderPdf(const QString &title, const PagePainter &paint, const Page &page)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setResolution(page.dpi);
        writer.setPageLayout(
            QPageLayout(page.size, QPageLayout::Portrait, page.marginsMm, QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        paint(painter, QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(page.dpi).size()));
        if (!painter.end())
            return {};
    }
    return pdf;
}

bool sendDocument(
    http_t *http, const char *queue, int job, const QByteArray &title, const QByteArray &pdf)
{
    if (cupsStartDocument(http, queue, job, title.constData(), CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return false;
    constexpr qsizetype chunk = 64 * 1024;
    bool written = true;
    for (qsizetype at = 0; written && at < pdf.size(); at += chunk) {
        const qsizetype length = std::min(chunk, pdf.size() - at);
        written = cupsWriteRequestData(http, pdf.constData() + at, size_t(length))
            == HTTP_STATUS_CONTINUE;
    }
    // Read the answer even after a failed write, so the server closes the request.
    return cupsFinishDocument(http, queue) <= IPP_STATUS_OK_EVENTS_COMPLETE && written;
}

// The job's state, or 0 when the server does not say.
int jobState(http_t *http, const std::string &printerUri, int job)
{
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.c_str());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-state");
    const std::unique_ptr<ipp_t, decltype(&ippDelete)> response(
        cupsDoRequest(http, request, "/"), &ippDelete);
    if (!response)
        return 0;
    ipp_attribute_t *state = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM);
    return state ? ippGetInteger(state, 0) : 0;
}

PrintOutcome followJob(http_t *http, const std::string &printerUri, int job, Patience &patience)
{
    const QDeadlineTimer bound(jobBound);
    for (;;) {
        patience.restart();
        switch (jobState(http, printerUri, job)) {
        case IPP_JSTATE_COMPLETED:
            return PrintOutcome::Printed;
        case IPP_JSTATE_CANCELED:
        case IPP_JSTATE_ABORTED:
            return PrintOutcome::JobFailed;
        case IPP_JSTATE_HELD:
        case IPP_JSTATE_STOPPED:
            return PrintOutcome::JobWaiting;
        case IPP_JSTATE_PENDING:
        case IPP_JSTATE_PROCESSING:
            break;
        default:
            return PrintOutcome::ServerUnreachable;
        }
        // Still queued or printing when the bound is reached: accepted, but not printed yet.
        if (bound.hasExpired())
            return PrintOutcome::JobWaiting;
        keepWindowPainted(pollInterval);
    }
}

std::string printerUriOf(const cups_dest_t &dest)
{
    if (const char *uri = option(dest, "printer-uri-supported"))
        return uri;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
        "/printers/%s", dest.name);
    return uri;
}

class CupsPrintBackend : public PrintBackend
{
public:
    PrintOutcome print(const QString &title, const PagePainter &paint) override
    {
        const Connection http = connectToServer();
        if (!http)
            return PrintOutcome::ServerUnreachable;
        Patience patience;
        httpSetTimeout(
            http.get(), std::chrono::duration<double>(slice).count(), &keepWaiting, &patience);

        patience.restart();
        const Destination dest(cupsGetNamedDest(http.get(), nullptr, nullptr));
        if (patience.gaveUp)
            return PrintOutcome::ServerUnreachable;
        if (!dest) {
            const ipp_status_t status = cupsLastError();
            return status == IPP_STATUS_ERROR_NOT_FOUND || status <= IPP_STATUS_OK_EVENTS_COMPLETE
                ? PrintOutcome::NoDefaultPrinter
                : failureOf(status);
        }
        // A queue that refuses jobs says so before one is sent; a stopped one would keep it.
        if (const char *accepting = option(*dest, "printer-is-accepting-jobs");
            accepting && std::string_view(accepting) == "false")
            return PrintOutcome::QueueRejecting;
        if (const char *state = option(*dest, "printer-state");
            state && std::atoi(state) == IPP_PSTATE_STOPPED)
            return PrintOutcome::QueuePaused;

        patience.restart();
        const QByteArray pdf = renderPdf(title, paint, pageFor(http.get(), dest.get()));
        if (pdf.isEmpty())
            return PrintOutcome::JobFailed;

        const QByteArray name = title.toUtf8();
        patience.restart();
        const int job = cupsCreateJob(http.get(), dest->name, name.constData(), 0, nullptr);
        if (job == 0)
            return patience.gaveUp ? PrintOutcome::ServerUnreachable : failureOf(cupsLastError());
        patience.restart();
        if (!sendDocument(http.get(), dest->name, job, name, pdf)) {
            const PrintOutcome outcome =
                patience.gaveUp ? PrintOutcome::ServerUnreachable : failureOf(cupsLastError());
            patience.restart();
            cupsCancelJob2(http.get(), dest->name, job, 0);
            return outcome;
        }
        return followJob(http.get(), printerUriOf(*dest), job, patience);
    }
};

} // namespace

std::unique_ptr<PrintBackend> cupsPrintBackend()
{
    return std::make_unique<CupsPrintBackend>();
}

} // namespace window
