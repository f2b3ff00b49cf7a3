#include "window/print_form.h"

#include "model/leading_number.h"
#include "window/language.h"
#include "window/print_backend.h"
#include "window/print_page.h"

#include <QGuiApplication>
#include <QMessageBox>
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
    {PrintOutcome::NoDefaultPrinter,  "No default printer is set.",               "Nie je nastavená žiadna predvolená tlačiareň."},
    {PrintOutcome::ServerUnreachable, "The print system cannot be reached.",      "Tlačový systém je nedostupný."},
    {PrintOutcome::QueuePaused,       "The printer is paused; the job would wait.", "Tlačiareň je pozastavená; úloha by čakala."},
    {PrintOutcome::QueueRejecting,    "The printer is not accepting jobs.",       "Tlačiareň neprijíma úlohy."},
    {PrintOutcome::JobFailed,         "Printing failed.",                         "Tlač sa nepodarila."},
    {PrintOutcome::JobWaiting,        "The job is not printed yet; it is waiting in the print queue.",
                                      "Úloha ešte nie je vytlačená; čaká v tlačovom fronte."},
    {PrintOutcome::NotInstalled,      "Printing is not available: a part of the program is missing.",
                                      "Tlač nie je k dispozícii: chýba časť programu."},
};
// clang-format on

// The wait cursor for as long as the print system keeps the window busy.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

} // namespace

void printForm(QWidget &window, const model::Form &form)
{
    printForm(window, form, *systemPrintBackend());
}

void printForm(QWidget &window, const model::Form &form, PrintBackend &backend)
{
    const auto paint = [&window](QPainter &painter, const QRectF &printable) {
        paintWindowOnPage(painter, window, printable);
    };
    PrintOutcome outcome;
    {
        const BusyCursor busy;
        outcome = backend.print(window.windowTitle(), paint);
    }
    const auto message = std::ranges::find(messages, outcome, &Message::outcome);
    if (message == std::end(messages))
        return;
    // The language button's tag records the language shown.
    const bool inSlovak = model::readLeadingNumber(form.tag(model::Control::Command5)) == slovak;
    QMessageBox::warning(&window, window.windowTitle(),
        QString::fromUtf8(inSlovak ? message->slovak : message->english));
}

} // namespace window
