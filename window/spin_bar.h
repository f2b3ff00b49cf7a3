// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QScrollBar>

class QLineEdit;

namespace window {

// A vertical scroll bar used as a one-step spin control. Its position runs from +1 at the top
// end to -1 at the bottom end and rests at 0. Qt's vertical bar moves toward its minimum with
// the top arrow, so the position is the bar's value negated.
//
// For a screen reader its value is the number in the box it steps, and what a step did is told
// in its description while it has the focus.
class SpinBar : public QScrollBar
{
    Q_OBJECT

public:
    explicit SpinBar(QWidget *parent = nullptr);

    int position() const { return -value(); }
    void setPosition(int position);

    // The box whose number this bar steps, and how many decimals a step writes there.
    void setBox(QLineEdit *box, int decimals);
    QLineEdit *box() const { return m_box; }
    int decimals() const { return m_decimals; }

signals:
    // The position changed, by the user or by the program; raised at once, nested inside a
    // setPosition() call. It carries no value: a receiver reads position(), which is never stale
    // even when an earlier receiver has already moved the bar back.
    void changed();
    // One move of the bar is done, with every change it raised, the nested ones included.
    void stepped();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QLineEdit *m_box = nullptr;
    int m_decimals = 2;
    int m_depth = 0;
};

} // namespace window
