#include "window/backends/cups_print_backend.h"

#include "window/backends/page_layout.h"

#include <QBuffer>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTimer>

#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace window {

namespace {

using namespace std::chrono_literals;

// However a server answers, or trickles, the user hears from it within this time of the click.
constexpr auto answerBound = 10s;
// Fine enough that the page's edges fall on the page's own units.
constexpr int pdfDotsPerInch = 1200;

// One hand-over to the print system, talked through on a thread of its own. The window's thread
// may cut its line at any time: the bound is reached, or the program closes.
class Submission
{
public:
    Submission(QString title, QImage window)
        : title(std::move(title)),
          window(std::move(window)) { }

    void cutLine()
    {
        const std::scoped_lock lock(m_mutex);
        m_cut = true;
        std::atomic_ref(m_stopConnecting).store(1);
        if (m_http)
            ::shutdown(httpGetFd(m_http), SHUT_RDWR);
    }
    bool wasCut() const { return m_cut; }

    // The connection to the user's server, registered so that cutLine ends every wait on it.
    http_t *connect()
    {
        http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
            1, int(std::chrono::milliseconds(answerBound).count()), &m_stopConnecting);
        const std::scoped_lock lock(m_mutex);
        if (http && m_cut) {
            httpClose(http);
            http = nullptr;
        }
        // Should libcups connect anew after a cut, its first silence ends the wait.
        if (http)
            httpSetTimeout(http, 0.1, &keepWaiting, this);
        return m_http = http;
    }
    void hangUp()
    {
        const std::scoped_lock lock(m_mutex);
        httpClose(m_http);
        m_http = nullptr;
    }

    const QString title;
    const QImage window;
    std::atomic<bool> askedForPassword = false;
    std::atomic<bool> finished = false;

private:
    static int keepWaiting(http_t *, void *submission)
    {
        return !static_cast<Submission *>(submission)->wasCut();
    }

    std::mutex m_mutex;
    http_t *m_http = nullptr;
    // libcups polls it while it connects.
    int m_stopConnecting = 0;
    std::atomic<bool> m_cut = false;
};

// Nobody is at a terminal to type a password, and the window asks for none: the user is told.
const char *refusePassword(const char *, http_t *, const char *, const char *, void *submission)
{
    static_cast<Submission *>(submission)->askedForPassword = true;
    return nullptr;
}

// Why the last request failed. `notFound` is what the server's "not found" means for it.
PrintOutcome failure(const Submission &submission, http_t *http, PrintOutcome notFound)
{
    if (submission.wasCut())
        return PrintOutcome::NoAnswer;
    if (submission.askedForPassword)
        return PrintOutcome::PasswordRequired;
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return notFound;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return PrintOutcome::QueueRejecting;
    default:
        break;
    }
    // An answer in the protocol that says no, as opposed to a line that broke or carried no
    // answer at all.
    const http_status_t status = httpGetStatus(http);
    if (status >= HTTP_STATUS_BAD_REQUEST
        || (status == HTTP_STATUS_OK && cupsLastError() < IPP_STATUS_ERROR_INTERNAL))
        return PrintOutcome::Refused;
    return PrintOutcome::ServerUnreachable;
}

const char *option(const cups_dest_t &dest, const char *name)
{
    return cupsGetOption(name, dest.num_options, dest.options);
}

// The paper the queue prints on by default, by its standard name, which the printer's driver
// knows; the locale's paper when the queue names none that can be read.
struct Paper
{
    QPageSize size;
    QByteArray media;
};

const pwg_media_t *mediaNamed(const char *name)
{
    if (const pwg_media_t *media = pwgMediaForPWG(name))
        return media;
    if (const pwg_media_t *media = pwgMediaForLegacy(name))
        return media;
    if (const pwg_media_t *media = pwgMediaForPPD(name))
        return media;
    // A size of its own ("custom_148x210mm"), in hundredths of a millimetre.
    double width = 0;
    double length = 0;
    char unit[3] = {};
    if (std::sscanf(name, "custom_%lfx%lf%2s", &width, &length, unit) != 3)
        return nullptr;
    const double scale = std::string_view(unit) == "in" ? 2540 : 100;
    return pwgMediaForSize(int(width * scale), int(length * scale));
}

Paper paperOf(const cups_dest_t &dest)
{
    const char *name = option(dest, "media");
    if (const pwg_media_t *media = name ? mediaNamed(name) : nullptr;
        media && media->width > 0 && media->length > 0)
        return { QPageSize(QSizeF(media->width, media->length) / 100.0, QPageSize::Millimeter,
                     QString(), QPageSize::FuzzyMatch),
            media->pwg };
    return { QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                     ? QPageSize::Letter
                     : QPageSize::A4),
        {} };
}

QByteArray pdfPage(const Submission &submission, const QPageSize &paper)
{
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(submission.title);
    writer.setResolution(pdfDotsPerInch);
    const QMarginsF margins(minimumMarginMm, minimumMarginMm, minimumMarginMm, minimumMarginMm);
    writer.setPageLayout(
        QPageLayout(paper, QPageLayout::Portrait, margins, QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    drawWindowOnPage(painter,
        QRectF(QPointF(0, 0), writer.pageLayout().paintRectPixels(pdfDotsPerInch).size()),
        pdfDotsPerInch, submission.window);
    return painter.end() ? pdf : QByteArray();
}

PrintOutcome sendPdf(Submission &submission, http_t *http, const cups_dest_t &dest,
    const Paper &paper, const QByteArray &pdf)
{
    const char *queue = dest.name;
    const QByteArray title = submission.title.toUtf8();
    // The job names the paper that the page is made for, in the printer's own words.
    cups_option_t *options = nullptr;
    int optionCount = 0;
    if (!paper.media.isEmpty())
        optionCount = cupsAddOption("media", paper.media.constData(), optionCount, &options);
    const int job = cupsCreateJob(http, queue, title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    if (cupsStartDocument(http, queue, job, title.constData(), CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    const bool written =
        cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
    // The answer is read even after a failed write, so that the server closes the request.
    if (cupsFinishDocument(http, queue) > IPP_STATUS_OK_EVENTS_COMPLETE || !written)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    return PrintOutcome::Submitted;
}

PrintOutcome handOver(Submission &submission)
{
    cupsSetPasswordCB2(&refusePassword, &submission);
    http_t *http = submission.connect();
    if (!http)
        return submission.wasCut() ? PrintOutcome::NoAnswer : PrintOutcome::ServerUnreachable;
    const char *name = cupsGetDefault2(http);
    if (!name)
        return failure(submission, http, PrintOutcome::NoDefaultPrinter);
    const std::unique_ptr<cups_dest_t, void (*)(cups_dest_t *)> dest(
        cupsGetNamedDest(http, name, nullptr), [](cups_dest_t *dest) { cupsFreeDests(1, dest); });
    if (!dest)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    // A queue that refuses jobs says so before one is sent; a paused one would keep it.
    if (const char *accepting = option(*dest, "printer-is-accepting-jobs");
        accepting && std::string_view(accepting) == "false")
        return PrintOutcome::QueueRejecting;
    if (const char *state = option(*dest, "printer-state");
        state && std::atoi(state) == IPP_PSTATE_STOPPED)
        return PrintOutcome::QueuePaused;
    const Paper paper = paperOf(*dest);
    const QByteArray pdf = pdfPage(submission, paper.size);
    if (pdf.isEmpty())
        return PrintOutcome::Failed;
    return sendPdf(submission, http, *dest, paper, pdf);
}

class CupsPrintBackend : public PrintBackend
{
public:
    ~CupsPrintBackend() override
    {
        // libcups may reconnect after a cut; every line is cut until its thread has ended.
        while (std::ranges::any_of(
            m_running, [](const Running &running) { return !running.submission->finished; })) {
            for (Running &running : m_running)
                running.submission->cutLine();
            std::this_thread::sleep_for(10ms);
        }
    }

    void submit(const QString &title, const QImage &window, PrintDone done) override
    {
        std::erase_if(
            m_running, [](const Running &running) { return running.submission->finished.load(); });
        auto submission = std::make_shared<Submission>(title, window);
        QTimer::singleShot(answerBound, &m_context, [submission] { submission->cutLine(); });
        std::jthread thread([this, submission, done = std::move(done)] {
            const PrintOutcome outcome = handOver(*submission);
            submission->hangUp();
            QMetaObject::invokeMethod(
                &m_context, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
            submission->finished = true;
        });
        m_running.push_back({ std::move(submission), std::move(thread) });
    }

private:
    struct Running
    {
        std::shared_ptr<Submission> submission;
        std::jthread thread;
    };

    // Where the outcomes arrive: on the window's thread, and never once the back-end is gone.
    QObject m_context;
    std::vector<Running> m_running;
};

} // namespace

std::unique_ptr<PrintBackend> cupsPrintBackend()
{
    return std::make_unique<CupsPrintBackend>();
}

} // namespace window
