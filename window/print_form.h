// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "model/form.h"
#include "window/print_queue.h"

#include <QImage>
#include <QPointer>

class QMessageBox;
class QWidget;

namespace window {

// The window's client area as it is now, at rest (no hover look, no focus cue), at its true size
// of 96 window pixels to the inch, drawn at printPixelRatio device pixels to the window pixel.
QImage clientAreaImage(QWidget &window);

// The print helper that the installation puts where the program looks for it.
QString installedPrintHelper();

// The print system's words as the message box shows them: whole up to a few short lines, cut
// short beyond, so that the box fits on any screen.
QString shownWords(const QString &words);

// The print button's work: each click hands the client area as it is then to the print queue and
// gives the window back at once. A page the print system did not take is told in one message in
// the window's language; success shows nothing; the window never changes.
class PrintForm
{
public:
    PrintForm(QWidget &window, const model::Form &form, const QString &helper,
        const QStringList &arguments = {});

    void print();

private:
    void tell(PrintOutcome outcome, const QString &words);

    QWidget &m_window;
    const model::Form &m_form;
    QPointer<QMessageBox> m_message;
    // Last, so that it goes first, handing its pages over while the window is still whole.
    PrintQueue m_queue;
};

} // namespace window
