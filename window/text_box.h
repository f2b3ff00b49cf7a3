// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLineEdit>

namespace window {

// A value box as a classic single-line edit control has it: it takes a text of any length, and
// a text that it selects whole when the focus comes in by key shows from its first character, as
// one that the program writes does (see QtForm::setText). A screen reader reads its one line
// whole.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Where a character of the text is drawn, for a screen reader that shows it.
    QRect characterRect(int offset) const;

protected:
    void focusInEvent(QFocusEvent *event) override;
};

} // namespace window
