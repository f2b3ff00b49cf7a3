// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/print_form.h"

#include "model/leading_number.h"
#include "window/language.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMessageBox>

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
    {PrintOutcome::QueueStopped,      "The printer is stopped; the job would wait.", "Tlačiareň je zastavená; úloha by čakala."},
    {PrintOutcome::QueueRejecting,    "The printer is not accepting jobs.",         "Tlačiareň neprijíma úlohy."},
    {PrintOutcome::Failed,            "Printing failed.",                           "Tlač sa nepodarila."},
    {PrintOutcome::NotInstalled,      "Printing is not available: a part of the program is missing.",
                                      "Tlač nie je k dispozícii: chýba časť programu."},
};
// clang-format on

} // namespace

QImage clientAreaImage(QWidget &window)
{
    // The pointer rests on the print button, and the focus cue is the keyboard's, not the page's.
    QWidgetList hovered = window.findChildren<QWidget *>();
    hovered.removeIf([](const QWidget *widget) { return !widget->underMouse(); });
    const bool focusCues = window.testAttribute(Qt::WA_KeyboardFocusChange);
    for (QWidget *widget : hovered)
        widget->setAttribute(Qt::WA_UnderMouse, false);
    window.setAttribute(Qt::WA_KeyboardFocusChange, false);
    QImage image(window.size() * printPixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(printPixelRatio);
    window.render(&image);
    window.setAttribute(Qt::WA_KeyboardFocusChange, focusCues);
    for (QWidget *widget : hovered)
        widget->setAttribute(Qt::WA_UnderMouse, true);
    return image;
}

QString installedPrintHelper()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" LCTUNE_PRINT_HELPER);
}

PrintQueue::PrintQueue(
    QWidget &window, const model::Form &form, const QString &helper, const QStringList &arguments)
    : m_window(window),
      m_form(form)
{
    m_helper.setProgram(helper);
    m_helper.setArguments(arguments);
    m_bound.setSingleShot(true);
    m_bound.setInterval(printBound);
    QObject::connect(&m_bound, &QTimer::timeout, &m_helper, &QProcess::kill);
    QObject::connect(
        &m_helper, &QProcess::finished, &m_helper, [this](int status, QProcess::ExitStatus exit) {
            // Once the bound has passed, the helper was killed for it.
            if (!m_bound.isActive())
                return finish(PrintOutcome::NoAnswer);
            const bool known = exit == QProcess::NormalExit && status >= 0
                && status < int(PrintOutcome::NotInstalled);
            finish(known ? PrintOutcome(status) : PrintOutcome::Failed);
        });
    QObject::connect(&m_helper, &QProcess::errorOccurred, &m_helper, [this](auto error) {
        if (error == QProcess::FailedToStart)
            finish(PrintOutcome::NotInstalled);
    });
}

PrintQueue::~PrintQueue()
{
    // Closing the window never waits for the print system.
    m_helper.disconnect();
    m_helper.kill();
    m_helper.waitForFinished();
}

void PrintQueue::print()
{
    QByteArray page = m_window.windowTitle().toUtf8() + '\n';
    QBuffer buffer(&page);
    buffer.open(QIODevice::Append);
    clientAreaImage(m_window).save(&buffer, "BMP");
    // Clicks on a window that did not change in between share one copy of the page.
    if (!m_waiting.isEmpty() && m_waiting.last() == page)
        page = m_waiting.last();
    m_waiting.enqueue(page);
    if (m_helper.state() == QProcess::NotRunning)
        startNext();
}

void PrintQueue::startNext()
{
    if (m_waiting.isEmpty())
        return;
    const QByteArray page = m_waiting.dequeue();
    // The bound counts from the click, whatever starting the helper takes.
    m_bound.start();
    m_helper.start();
    // A start may fail at once, inside start() (as on Windows), and finish() has told the user.
    if (m_helper.state() == QProcess::NotRunning)
        return;
    m_helper.write(page);
    m_helper.closeWriteChannel();
}

void PrintQueue::finish(PrintOutcome outcome)
{
    m_bound.stop();
    const QString reason = QString::fromUtf8(m_helper.readAllStandardOutput()).trimmed();
    if (outcome == PrintOutcome::Submitted)
        return startNext();
    m_waiting.clear();
    tell(outcome, reason);
}

void PrintQueue::tell(PrintOutcome outcome, const QString &reason)
{
    const auto message = std::ranges::find(messages, outcome, &Message::outcome);
    if (message == std::end(messages))
        return;
    // The language button's tag records the language shown.
    const bool inSlovak = model::readLeadingNumber(m_form.tag(model::Control::Command5)) == slovak;
    QString text = QString::fromUtf8(inSlovak ? message->slovak : message->english);
    if (!reason.isEmpty())
        text += QStringLiteral("\n\n") + reason;
    // The same news again does not stack a box on the one still shown.
    if (m_message && m_message->text() == text)
        return;
    m_message = new QMessageBox(
        QMessageBox::Warning, m_window.windowTitle(), text, QMessageBox::Ok, &m_window);
    // The print system's own words, below ours, stand as they are: never taken for markup.
    m_message->setTextFormat(Qt::PlainText);
    m_message->setAttribute(Qt::WA_DeleteOnClose);
    // The keyboard user goes on where they were, whether or not the desktop reactivates the window.
    if (QWidget *focus = m_window.focusWidget()) {
        QObject::connect(m_message, &QDialog::finished, focus, [focus] {
            focus->activateWindow();
            focus->setFocus(Qt::OtherFocusReason);
        });
    }
    m_message->open();
}

} // namespace window
