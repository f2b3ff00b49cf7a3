// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/print_form.h"

#include "model/language.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QMessageBox>

#include <algorithm>
#include <iterator>

namespace window {

namespace {

// Enough for the reasons print systems give, few enough lines for the smallest screen.
constexpr qsizetype wordsShown = 320;
constexpr qsizetype linesShown = 5;
constexpr qsizetype lineLength = 64;

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
    QImage image(window.size() * print_helper::printPixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(print_helper::printPixelRatio);
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

QString shownWords(const QString &words)
{
    QStringList lines;
    qsizetype length = 0;
    // Long lines broken, as a word longer than the box is wide would widen it past the screen.
    for (const QString &line : words.split(QLatin1Char('\n'))) {
        for (qsizetype at = 0; at == 0 || at < line.size(); at += lineLength) {
            lines << line.mid(at, lineLength);
            length += lines.last().size();
        }
    }
    if (lines.size() <= linesShown && length <= wordsShown)
        return lines.join(QLatin1Char('\n'));
    lines.resize(linesShown);
    return lines.join(QLatin1Char('\n')).left(wordsShown) + QChar(0x2026);
}

PrintForm::PrintForm(
    QWidget &window, const model::Form &form, const QString &helper, const QStringList &arguments)
    : m_window(window),
      m_form(form),
      m_queue(helper, arguments,
          [this](PrintOutcome outcome, const QString &words) { tell(outcome, words); })
{
}

void PrintForm::print()
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    clientAreaImage(m_window).save(&buffer, "BMP");
    m_queue.add(bmp, m_window.windowTitle());
}

void PrintForm::tell(PrintOutcome outcome, const QString &words)
{
    using print_helper::outcomeTexts;
    const auto message =
        std::ranges::find(outcomeTexts, outcome, &print_helper::OutcomeText::outcome);
    if (message == std::end(outcomeTexts))
        return;
    // The language button's tag records the language shown.
    const bool inSlovak = model::shownLanguage(m_form) == model::slovak;
    QString text = QString::fromUtf8(inSlovak ? message->slovak : message->english);
    if (!words.isEmpty())
        text += QStringLiteral("\n\n") + shownWords(words);
    // The same news again does not stack a box on the one still shown.
    if (m_message && m_message->isVisible() && m_message->text() == text)
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
