// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "print_helper/print_page.h"

#include <QBuffer>
#include <QLocale>
#include <QPdfWriter>

#include <cups/cups.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace window {

namespace {

constexpr int pdfDotsPerInch = 1200;

bool askedForPassword = false;

// Nobody is at a terminal to type a password, and the window asks for none: the user is told.
const char *refusePassword(const char *, http_t *, const char *, const char *, void *)
{
    askedForPassword = true;
    return nullptr;
}

// Why the last request failed; `notFound` is what the server's "not found" means for it.
PrintOutcome failure(http_t *http, PrintOutcome notFound)
{
    if (askedForPassword)
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
        std::fputs(message, stdout);
}

// The queue's default paper: the one named for it (by the user's lpoptions or the queue's
// media-default), else the size of its driver's default page; none where it states neither.
const pwg_media_t *defaultPaper(http_t *http, cups_dest_t *dest)
{
    const char *name = option(*dest, "media").data();
    if (const pwg_media_t *named = pwgMediaForPWG(name))
        return named;
    if (const pwg_media_t *legacy = pwgMediaForLegacy(name))
        return legacy;
    const std::unique_ptr<cups_dinfo_t, void (*)(cups_dinfo_t *)> info(
        cupsCopyDestInfo(http, dest), &cupsFreeDestInfo);
    ipp_t *media = ippGetCollection(cupsFindDestDefault(http, dest, info.get(), "media-col"), 0);
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

// One Print-Job request, naming the paper that the page was made for. The server makes it a job
// only once the whole document has arrived, so a hand-over cut short leaves nothing behind, and
// only the server's answer to the whole counts as success.
PrintOutcome sendPdf(http_t *http, const cups_dest_t &dest, const QByteArray &title,
    const pwg_media_t *paper, const QByteArray &pdf)
{
    const std::string resource = "/printers/" + std::string(dest.name);
    ipp_t *request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
        option(dest, "printer-uri-supported").data());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.constData());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_PDF);
    if (paper)
        ippAddString(request, IPP_TAG_JOB, IPP_TAG_KEYWORD, "media", nullptr, paper->pwg);
    const bool sent = cupsSendRequest(http, request, resource.c_str(), CUPS_LENGTH_VARIABLE)
            == HTTP_STATUS_CONTINUE
        && cupsWriteRequestData(http, pdf.constData(), size_t(pdf.size())) == HTTP_STATUS_CONTINUE;
    ippDelete(request);
    // The answer is read even after a failed write, so that the server closes the request.
    ippDelete(cupsGetResponse(http, resource.c_str()));
    return sent && cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE
        ? PrintOutcome::Submitted
        : failure(http, PrintOutcome::NoSuchPrinter);
}

} // namespace

PrintOutcome printPage(const QString &title, const QImage &window)
{
    cupsSetPasswordCB2(&refusePassword, nullptr);
    const std::unique_ptr<http_t, void (*)(http_t *)> http(
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, -1, nullptr),
        &httpClose);
    if (!http)
        return PrintOutcome::ServerUnreachable;
    // The user's default by CUPS's own rules: LPDEST, PRINTER, the user's lpoptions, the
    // system's, then the server's.
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
    const pwg_media_t *paper = defaultPaper(http.get(), dest.get());
    const QByteArray pdf = pdfPage(title, window, paper);
    return pdf.isEmpty() ? PrintOutcome::Failed
                         : sendPdf(http.get(), *dest, title.toUtf8(), paper, pdf);
}

} // namespace window
