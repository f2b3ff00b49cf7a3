// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/print_form.h"

#include "model/leading_number.h"
#include "window/language.h"
#include "window/print_backend.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace window {

namespace {

struct Message
{
    PrintOutcome outcome;
    const char *english;
    const char *slovak;
};

// clang-format off
constexpr Message messages[] = {
    {PrintOutcome::NoDefaultPrinter,  "No default printer is set.",                 "Nie je nastavená žiadna predvolená tlačiareň."},
    {PrintOutcome::NoSuchPrinter,     "The default printer does not exist.",        "Predvolená tlačiareň neexistuje."},
    {PrintOutcome::ServerUnreachable, "The print system cannot be reached.",        "Tlačový systém je nedostupný."},
    {PrintOutcome::NoAnswer,          "The print system does not answer.",          "Tlačový systém neodpovedá."},
    {PrintOutcome::PasswordRequired,  "The print system asks for a password.",      "Tlačový systém žiada heslo."},
    {PrintOutcome::Refused,           "The print system refused the job.",          "Tlačový systém úlohu odmietol."},
    {PrintOutcome::QueuePaused,       "The printer is paused; the job would wait.", "Tlačiareň je pozastavená; úloha by čakala."},
    {PrintOutcome::QueueRejecting,    "The printer is not accepting jobs.",         "Tlačiareň neprijíma úlohy."},
    {PrintOutcome::Failed,            "Printing failed.",                           "Tlač sa nepodarila."},
    {PrintOutcome::NotInstalled,      "Printing is not available: a part of the program is missing.",
                                      "Tlač nie je k dispozícii: chýba časť programu."},
};
// clang-format on

void tellOutcome(QWidget &window, const model::Form &form, PrintOutcome outcome)
{
    const auto message = std::ranges::find(messages, outcome, &Message::outcome);
    if (message == std::end(messages))
        return;
    // The language button's tag records the language shown.
    const bool inSlovak = model::readLeadingNumber(form.tag(model::Control::Command5)) == slovak;
    auto *box = new QMessageBox(QMessageBox::Warning, window.windowTitle(),
        QString::fromUtf8(inSlovak ? message->slovak : message->english), QMessageBox::Ok, &window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

} // namespace

// The print system's libraries (for CUPS some twenty of them) come with the print module, so
// they cost the first print, not every start. The module stays loaded: its back-ends live there.
std::unique_ptr<PrintBackend> systemPrintBackend()
{
    static CreatePrintBackend *const create = [] {
        QLibrary module(QDir(QCoreApplication::applicationDirPath())
                            .filePath(QStringLiteral(LCTUNE_PRINT_MODULE_DIR "/lctune-print")));
        auto *found =
            reinterpret_cast<CreatePrintBackend *>(module.resolve(createPrintBackendSymbol));
        if (!found)
            qWarning("lctune: no print module: %s", qUtf8Printable(module.errorString()));
        return found;
    }();
    return std::unique_ptr<PrintBackend>(create ? create() : nullptr);
}

QImage clientAreaImage(QWidget &window)
{
    QImage image(window.size() * printPixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(printPixelRatio);
    window.render(&image);
    return image;
}

void printForm(QWidget &window, const model::Form &form, PrintBackend *backend)
{
    if (!backend)
        return tellOutcome(window, form, PrintOutcome::NotInstalled);
    backend->submit(window.windowTitle(), clientAreaImage(window),
        [target = QPointer<QWidget>(&window), &form](PrintOutcome outcome) {
            if (target)
                tellOutcome(*target, form, outcome);
        });
}

} // namespace window
