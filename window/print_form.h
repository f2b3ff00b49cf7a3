// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "print_helper/handover.h"

#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QQueue>
#include <QTimer>

class QMessageBox;
class QWidget;

namespace window {

// The window's client area as it is now, at rest (no hover look, no focus cue), at its true size
// of 96 window pixels to the inch, drawn at printPixelRatio device pixels to the window pixel.
QImage clientAreaImage(QWidget &window);

// The print helper that the installation puts where the program looks for it.
QString installedPrintHelper();

// The print button's work: each click hands the client area as it is then to the print helper,
// one page at a time, and gives the window back at once. When the print system does not take a
// page, the pages waiting are dropped, as they would meet the same trouble, and the user reads why
// in one message in the window's language. Success shows nothing; the window never changes.
class PrintQueue
{
public:
    PrintQueue(QWidget &window, const model::Form &form, const QString &helper,
        const QStringList &arguments = {});
    ~PrintQueue();

    void print();

private:
    void startNext();
    void finish(PrintOutcome outcome);
    void tell(PrintOutcome outcome, const QString &reason);

    QWidget &m_window;
    const model::Form &m_form;
    QProcess m_helper;
    QTimer m_bound;
    // Each page as the helper takes it: the title line, then the image.
    QQueue<QByteArray> m_waiting;
    QPointer<QMessageBox> m_message;
};

} // namespace window
