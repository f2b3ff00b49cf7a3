// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "print_helper/print_page.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>

#include <cups/cups.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace print_helper {

namespace {

constexpr int pdfDotsPerInch = 1200;

// Answers are awaited until a second before the bound, so that the helper ends with what it
// knows rather than being ended.
const auto answerDeadline = std::chrono::steady_clock::now() + printBound - std::chrono::seconds(1);

// The helper asks on one thread; these are that thread's own.
bool askedForCredentials = false;
bool deadlinePassed = false;

// Nobody is at a terminal to type a password, and the window asks for none: the user is told.
const char *refusePassword(const char *, http_t *, const char *, const char *, void *)
{
    askedForCredentials = true;
    return nullptr;
}

int beforeTheDeadline(http_t *, void *)
{
    deadlinePassed = std::chrono::steady_clock::now() >= answerDeadline;
    return deadlinePassed ? 0 : 1;
}

// The print system's own words go to the window, and to whoever reads the standard error.
void say(const char *words)
{
    std::fputs(words, stdout);
    std::fprintf(stderr, "lctune-print: %s\n", words);
}

// A connection to the print system whose every wait ends at the deadline.
http_t *connectUntilTheDeadline()
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        answerDeadline - std::chrono::steady_clock::now());
    http_t *http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
        std::max(1, int(left.count())), nullptr);
    if (http)
        httpSetTimeout(http, 0.25, &beforeTheDeadline, nullptr);
    return http;
}

// Whether what listens at the print system's address answers, but not as one: in another
// protocol, which libcups takes for a line that broke, or in HTTP with what libcups could not
// read as IPP, which it reports as its own internal error.
bool answersNotAsAPrintSystem(ipp_status_t error)
{
    const std::unique_ptr<http_t, void (*)(http_t *)> raw(connectUntilTheDeadline(), &httpClose);
    std::array<char, 256> line {};
    if (!raw || httpPrintf(raw.get(), "OPTIONS * HTTP/1.1\r\nHost: localhost\r\n\r\n") <= 0
        || httpFlushWrite(raw.get()) < 0 || !httpGets(line.data(), int(line.size()), raw.get()))
        return false;
    return std::string_view(line.data()).substr(0, 5) != "HTTP/"
        || error == IPP_STATUS_ERROR_INTERNAL;
}

// Why the last request failed; `notFound` is what the server's "not found" means for it.
PrintOutcome failure(http_t *http, PrintOutcome notFound)
{
    const http_status_t status = httpGetStatus(http);
    const ipp_status_t error = cupsLastError();
    if (deadlinePassed)
        return PrintOutcome::NoAnswer;
    // Whatever the scheme: Basic, Digest and Negotiate reach the password callback, Local,
    // PeerCred and Bearer come back as the server's 401.
    if (askedForCredentials || status == HTTP_STATUS_UNAUTHORIZED
        || error == IPP_STATUS_ERROR_NOT_AUTHENTICATED
        || error == IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED)
        return PrintOutcome::Credentials;
    if (error == IPP_STATUS_ERROR_NOT_FOUND)
        return notFound;
    if (error == IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS)
        return PrintOutcome::QueueRejecting;
    if (status >= HTTP_STATUS_BAD_REQUEST)
        return PrintOutcome::Refused;
    if (status == HTTP_STATUS_OK && error < IPP_STATUS_ERROR_INTERNAL)
        return PrintOutcome::Refused;
    return answersNotAsAPrintSystem(error) ? PrintOutcome::NotAPrintSystem
                                           : PrintOutcome::ServerUnreachable;
}

std::string_view option(const cups_dest_t &dest, const char *name)
{
    const char *value = cupsGetOption(name, dest.num_options, dest.options);
    return value ? value : "";
}

// Says why the print system stopped the queue, in its own words.
void sayWhyStopped(http_t *http, const cups_dest_t &dest)
{
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
        option(dest, "printer-uri-supported").data());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
        "printer-state-message");
    const std::unique_ptr<ipp_t, void (*)(ipp_t *)> response(
        cupsDoRequest(http, request, "/"), &ippDelete);
    if (const char *message = ippGetString(
            ippFindAttribute(response.get(), "printer-state-message", IPP_TAG_TEXT), 0, nullptr))
        say(message);
}

// The queue's default paper: the one named for it (by the user's lpoptions or the queue's
// media-default), else the size of its driver's default page; none where it states neither.
const pwg_media_t *defaultPaper(http_t *http, cups_dest_t *dest, cups_dinfo_t *info)
{
    const char *name = option(*dest, "media").data();
    if (const pwg_media_t *named = pwgMediaForPWG(name))
        return named;
    if (const pwg_media_t *legacy = pwgMediaForLegacy(name))
        return legacy;
    ipp_t *media = ippGetCollection(cupsFindDestDefault(http, dest, info, "media-col"), 0);
    ipp_t *size =
        ippGetCollection(ippFindAttribute(media, "media-size", IPP_TAG_BEGIN_COLLECTION), 0);
    const int width = ippGetInteger(ippFindAttribute(size, "x-dimension", IPP_TAG_INTEGER), 0);
    const int length = ippGetInteger(ippFindAttribute(size, "y-dimension", IPP_TAG_INTEGER), 0);
    return width > 0 && length > 0 ? pwgMediaForSize(width, length) : nullptr;
}

// The page on the given paper, or on the locale's where the queue states none.
QByteArray pdfPage(const QString &title, const QImage &window, const pwg_media_t *paper)
{
    const QPageSize size = paper
        ? QPageSize(QSizeF(paper->width, paper->length) / 100.0, QPageSize::Millimeter, QString(),
            QPageSize::FuzzyMatch)
        : QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                ? QPageSize::Letter
                : QPageSize::A4);
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setResolution(pdfDotsPerInch);
    writer.setPageLayout(
        QPageLayout(size, QPageLayout::Portrait, pageMarginsMm, QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&writer))
        return {};
    drawWindowOnPage(painter, writer.pageLayout().paintRectPixels(pdfDotsPerInch).size(),
        pdfDotsPerInch, window);
    return painter.end() ? pdf : QByteArray();
}

// One Print-Job request with the destination's options as lp sends them, and the paper that the
// page was made for. The server makes it a job only once the whole document has arrived, so a
// hand-over cut short leaves nothing behind, and only the server's answer to the whole counts.
PrintOutcome sendPdf(http_t *http, cups_dest_t &dest, const QByteArray &title,
    const pwg_media_t *paper, const QByteArray &pdf)
{
    if (paper && option(dest, "media").empty())
        dest.num_options = cupsAddOption("media", paper->pwg, dest.num_options, &dest.options);
    const char *uri = option(dest, "printer-uri-supported").data();
    std::array<char, 32> scheme {}, user {}, host {};
    std::array<char, 1024> resource {};
    int port = 0;
    httpSeparateURI(HTTP_URI_CODING_ALL, uri, scheme.data(), scheme.size(), user.data(),
        user.size(), host.data(), host.size(), &port, resource.data(), resource.size());
    ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.constData());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    cupsEncodeOptions2(request, dest.num_options, dest.options, IPP_TAG_OPERATION);
    cupsEncodeOptions2(request, dest.num_options, dest.options, IPP_TAG_JOB);
    const bool delivered = cupsSendRequest(http, request, resource.data(), CUPS_LENGTH_VARIABLE)
            == HTTP_STATUS_CONTINUE
        && cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
    ippDelete(request);
    // The answer is read even after a failed write, so that the server closes the request.
    const std::unique_ptr<ipp_t, void (*)(ipp_t *)> response(
        cupsGetResponse(http, resource.data()), &ippDelete);
    if (response && ippGetStatusCode(response.get()) <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return PrintOutcome::Submitted;
    if (!response && delivered)
        return PrintOutcome::Unconfirmed;
    return failure(http, PrintOutcome::NoSuchPrinter);
}

} // namespace

PrintOutcome printPage(const QString &title, const QImage &window)
{
    cupsSetPasswordCB2(&refusePassword, nullptr);
    const std::unique_ptr<http_t, void (*)(http_t *)> http(connectUntilTheDeadline(), &httpClose);
    if (!http)
        return PrintOutcome::ServerUnreachable;
    // The user's default by CUPS's own rules (LPDEST, PRINTER, the user's lpoptions, the
    // system's, then the server's), with the options that lpoptions give it.
    const std::unique_ptr<cups_dest_t, void (*)(cups_dest_t *)> dest(
        cupsGetNamedDest(http.get(), nullptr, nullptr),
        [](cups_dest_t *dest) { cupsFreeDests(1, dest); });
    // Without one, the server's answer to CUPS-Get-Default tells why: a default that the
    // environment names but that is missing, none at all, or trouble with the server.
    if (!dest)
        return cupsGetDefault2(http.get()) ? PrintOutcome::NoSuchPrinter
                                           : failure(http.get(), PrintOutcome::NoDefaultPrinter);
    // A queue that refuses jobs says so before one is sent; a stopped one would keep it.
    if (option(*dest, "printer-is-accepting-jobs") == "false")
        return PrintOutcome::QueueRejecting;
    if (std::atoi(option(*dest, "printer-state").data()) == IPP_PSTATE_STOPPED) {
        sayWhyStopped(http.get(), *dest);
        return PrintOutcome::QueueStopped;
    }
    // The destination API sets up a printer found on the network that has no queue yet, and
    // gives the printer's URI from then on.
    const std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t *)> info(
        cupsCopyDestInfo(http.get(), dest.get()), &cupsFreeDestInfo);
    if (!info || option(*dest, "printer-uri-supported").empty())
        return failure(http.get(), PrintOutcome::NoSuchPrinter);
    const pwg_media_t *paper = defaultPaper(http.get(), dest.get(), info.get());
    const QByteArray pdf = pdfPage(title, window, paper);
    return pdf.isEmpty() ? PrintOutcome::Failed
                         : sendPdf(http.get(), *dest, title.toUtf8(), paper, pdf);
}

} // namespace print_helper
