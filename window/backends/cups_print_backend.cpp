// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/backends/backends.h"
#include "window/backends/page_layout.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>
#include <QScopeGuard>
#include <QTimer>

#include <cups/cups.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string_view>
#include <thread>
#include <vector>

namespace window {

namespace {

using namespace std::chrono_literals;

// However a server answers, or trickles, the user hears from it within this time of the click.
constexpr auto answerBound = 10s;
constexpr int pdfDotsPerInch = 1200;

// One hand-over to the print system, on a thread of its own. The window's thread may cut its line
// at any time: when the bound is reached, or when the program closes.
struct Submission
{
    void cutLine()
    {
        const std::scoped_lock lock(mutex);
        cut = true;
        std::atomic_ref(stopConnecting).store(1);
        if (http)
            ::shutdown(httpGetFd(http), SHUT_RDWR);
    }

    const QString title;
    const QImage window;
    std::mutex mutex;
    http_t *http = nullptr;
    int stopConnecting = 0; // libcups polls it while it connects
    std::atomic<bool> cut = false;
    std::atomic<bool> askedForPassword = false;
    std::atomic<bool> finished = false;
};

// Nobody is at a terminal to type a password, and the window asks for none: the user is told.
const char *refusePassword(const char *, http_t *, const char *, const char *, void *submission)
{
    static_cast<Submission *>(submission)->askedForPassword = true;
    return nullptr;
}

// Should libcups connect anew after a cut, its first silence ends the wait.
int keepWaiting(http_t *, void *submission)
{
    return !static_cast<Submission *>(submission)->cut;
}

// Why the last request failed; `notFound` is what the server's "not found" means for it.
PrintOutcome failure(const Submission &submission, http_t *http, PrintOutcome notFound)
{
    if (submission.cut)
        return PrintOutcome::NoAnswer;
    if (submission.askedForPassword)
        return PrintOutcome::PasswordRequired;
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return notFound;
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return PrintOutcome::QueueRejecting;
    // An answer that says no, as opposed to a line that broke or carried no answer at all.
    const http_status_t status = httpGetStatus(http);
    return status >= HTTP_STATUS_BAD_REQUEST
            || (status == HTTP_STATUS_OK && cupsLastError() < IPP_STATUS_ERROR_INTERNAL)
        ? PrintOutcome::Refused
        : PrintOutcome::ServerUnreachable;
}

const char *option(const cups_dest_t &dest, const char *name)
{
    return cupsGetOption(name, dest.num_options, dest.options);
}

// The queue's default paper under its standard name, which the printer's driver knows.
const pwg_media_t *defaultPaper(const cups_dest_t &dest)
{
    const char *name = option(dest, "media");
    if (!name)
        return nullptr;
    if (const pwg_media_t *media = pwgMediaForPWG(name))
        return media;
    if (const pwg_media_t *media = pwgMediaForLegacy(name))
        return media;
    // A size of its own ("custom_148x210mm"); libcups measures in hundredths of a millimetre.
    double width = 0;
    double length = 0;
    char unit[3] = {};
    if (std::sscanf(name, "custom_%lfx%lf%2s", &width, &length, unit) != 3)
        return nullptr;
    const double scale = std::string_view(unit) == "in" ? 2540 : 100;
    return pwgMediaForSize(int(width * scale), int(length * scale));
}

// The page on the given paper, or on the locale's where the queue names none that can be read.
QByteArray pdfPage(const Submission &submission, const pwg_media_t *paper)
{
    const bool known = paper && paper->width > 0 && paper->length > 0;
    const QPageSize size = known
        ? QPageSize(QSizeF(paper->width, paper->length) / 100.0, QPageSize::Millimeter, QString(),
            QPageSize::FuzzyMatch)
        : QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                ? QPageSize::Letter
                : QPageSize::A4);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(submission.title);
    writer.setResolution(pdfDotsPerInch);
    writer.setPageLayout(
        QPageLayout(size, QPageLayout::Portrait, minimumMarginsMm, QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    drawWindowOnPage(painter, writer.pageLayout().paintRectPixels(pdfDotsPerInch).size(),
        pdfDotsPerInch, submission.window);
    return painter.end() ? pdf : QByteArray();
}

PrintOutcome sendPdf(Submission &submission, http_t *http, const cups_dest_t &dest,
    const pwg_media_t *paper, const QByteArray &pdf)
{
    const QByteArray title = submission.title.toUtf8();
    // The job names the paper that the page was made for.
    cups_option_t *options = nullptr;
    const int optionCount = paper ? cupsAddOption("media", paper->pwg, 0, &options) : 0;
    const int job = cupsCreateJob(http, dest.name, title.constData(), optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (job == 0
        || cupsStartDocument(http, dest.name, job, title.constData(), CUPS_FORMAT_PDF, 1)
            != HTTP_STATUS_CONTINUE)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    const bool written =
        cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
    // The answer is read even after a failed write, so that the server closes the request.
    if (cupsFinishDocument(http, dest.name) > IPP_STATUS_OK_EVENTS_COMPLETE || !written)
        return failure(submission, http, PrintOutcome::NoSuchPrinter);
    return PrintOutcome::Submitted;
}

PrintOutcome handOver(Submission &submission)
{
    cupsSetPasswordCB2(&refusePassword, &submission);
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
        int(std::chrono::milliseconds(answerBound).count()), &submission.stopConnecting);
    {
        const std::scoped_lock lock(submission.mutex);
        submission.http = http;
    }
    const auto hangUp = qScopeGuard([&submission] {
        const std::scoped_lock lock(submission.mutex);
        httpClose(std::exchange(submission.http, nullptr));
    });
    if (!http || submission.cut)
        return submission.cut ? PrintOutcome::NoAnswer : PrintOutcome::ServerUnreachable;
    httpSetTimeout(http, 0.1, &keepWaiting, &submission);
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
    const pwg_media_t *paper = defaultPaper(*dest);
    const QByteArray pdf = pdfPage(submission, paper);
    return pdf.isEmpty() ? PrintOutcome::Failed : sendPdf(submission, http, *dest, paper, pdf);
}

class CupsPrintBackend : public PrintBackend
{
public:
    ~CupsPrintBackend() override
    {
        // libcups may connect anew after a cut: each line is cut until its thread has ended.
        while (std::ranges::any_of(
            m_running, [](auto &running) { return !running.first->finished; })) {
            for (auto &running : m_running)
                running.first->cutLine();
            std::this_thread::sleep_for(10ms);
        }
    }

    void submit(const QString &title, const QImage &window, PrintDone done) override
    {
        std::erase_if(m_running, [](auto &running) { return running.first->finished.load(); });
        auto submission = std::make_shared<Submission>(title, window);
        QTimer::singleShot(answerBound, &m_context, [submission] { submission->cutLine(); });
        std::jthread thread([this, submission, done = std::move(done)] {
            const PrintOutcome outcome = handOver(*submission);
            QMetaObject::invokeMethod(
                &m_context, [done, outcome] { done(outcome); }, Qt::QueuedConnection);
            submission->finished = true;
        });
        m_running.emplace_back(std::move(submission), std::move(thread));
    }

private:
    // Where the outcomes arrive: on the window's thread, and never once the back-end is gone.
    QObject m_context;
    std::vector<std::pair<std::shared_ptr<Submission>, std::jthread>> m_running;
};

} // namespace

std::unique_ptr<PrintBackend> cupsPrintBackend()
{
    return std::make_unique<CupsPrintBackend>();
}

} // namespace window
