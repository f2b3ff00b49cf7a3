// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// What the print tests share: the window's whole visible and readable state, the messages that
// appear while printing, and the tools that read a PDF as a person would.

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace testing {

// Every control's texts, colours, states and tag, one line per control, so that two snapshots
// compare equal only when nothing the user sees or the program reads has changed.
inline QStringList windowState(const QWidget &window)
{
    QStringList lines { QStringLiteral("title ") + window.windowTitle() };
    for (const QWidget *widget : window.findChildren<QWidget *>()) {
        // Controls of the window only, not of a message box it owns.
        if (widget->window() != &window)
            continue;
        QStringList line { widget->objectName(),
            widget->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("disabled"),
            widget->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"),
            widget->toolTip(), widget->property("Tag").toString() };
        const QPalette palette = widget->palette();
        for (auto role : { QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text,
                 QPalette::Button, QPalette::ButtonText })
            line << palette.color(QPalette::Active, role).name();
        if (auto *box = qobject_cast<const QLineEdit *>(widget))
            line << box->text() << (box->isReadOnly() ? "locked" : "unlocked");
        if (auto *button = qobject_cast<const QAbstractButton *>(widget))
            line << button->text() << (button->isChecked() ? "on" : "off");
        if (auto *label = qobject_cast<const QLabel *>(widget))
            line << label->text();
        if (auto *frame = qobject_cast<const QGroupBox *>(widget))
            line << frame->title();
        if (auto *bar = qobject_cast<const QScrollBar *>(widget))
            line << QString::number(bar->value());
        lines << line.join(QLatin1Char('|'));
    }
    return lines;
}

struct Message
{
    QString title;
    QString text;
    // Whether the whole box, its button too, lies within the screen's available area; and where.
    bool onScreen;
    QString geometry;
};

// Closes, with its own button as a user would, every message box open now; returns what they
// said.
inline QList<Message> closeMessages()
{
    QList<Message> seen;
    for (QWidget *top : QApplication::topLevelWidgets()) {
        auto *box = qobject_cast<QMessageBox *>(top);
        if (!box || !box->isVisible() || box->buttons().isEmpty())
            continue;
        const QRect screen = box->screen()->availableGeometry();
        const QRect frame = box->frameGeometry();
        const QRect button(
            box->buttons().first()->mapToGlobal(QPoint(0, 0)), box->buttons().first()->size());
        seen << Message { box->windowTitle(), box->text(),
            screen.contains(frame) && screen.contains(button),
            QStringLiteral("box %1x%2 at %3,%4 on a screen of %5x%6")
                .arg(frame.width())
                .arg(frame.height())
                .arg(frame.x())
                .arg(frame.y())
                .arg(screen.width())
                .arg(screen.height()) };
        box->buttons().first()->click();
    }
    return seen;
}

// Waits, with the window taking events, until a message box opens or `timeoutMs` pass; then
// closes every one open and returns what they said.
inline QList<Message> awaitMessages(int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    QList<Message> seen;
    do {
        QTest::qWait(10);
        seen = closeMessages();
    } while (seen.isEmpty() && !deadline.hasExpired());
    return seen;
}

// A command-line tool's standard output, or a null string when the tool is missing or fails.
inline QString toolOutput(const QString &tool, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return {};
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The images embedded in a PDF, one line each, as pdfimages lists them below its two header lines.
inline QStringList embeddedImages(const QString &pdf)
{
    QStringList lines = toolOutput(QStringLiteral("pdfimages"), { QStringLiteral("-list"), pdf })
                            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.mid(2);
}

// The first page of a PDF as poppler draws it at 96 dots per inch, where one pixel is one of the
// window's pixels: the whole page, or its top left corner of a given size.
inline QImage rasterise(const QString &pdf, const QString &pngStem, QSize corner = {})
{
    QStringList arguments { QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
        QStringLiteral("-singlefile") };
    if (corner.isValid())
        arguments << QStringLiteral("-W") << QString::number(corner.width()) << QStringLiteral("-H")
                  << QString::number(corner.height());
    toolOutput(QStringLiteral("pdftoppm"), arguments << pdf << pngStem);
    return QImage(pngStem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

inline int pageCount(const QString &pdf)
{
    const QString info = toolOutput(QStringLiteral("pdfinfo"), { pdf });
    for (const QString &line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    }
    return 0;
}

// The rectangle of a page image that is not white: where the window was printed. The faint
// fringe that a rasteriser leaves beside an edge lying on a pixel boundary counts as white.
inline QRect printedArea(const QImage &page)
{
    QRect area;
    for (int y = 0; y < page.height(); ++y) {
        const auto *row = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (std::min({ qRed(row[x]), qGreen(row[x]), qBlue(row[x]) }) < 0xE0)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

inline bool sameColour(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace testing
