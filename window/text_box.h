// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLineEdit>

#include <limits>

namespace window {

// A value box as a classic single-line edit control has it: it takes a text of any length, and
// a text that it selects whole when the focus comes in by key shows from its first character, as
// one that the program writes does (see QtForm::setText).
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr) : QLineEdit(parent)
    {
        setMaxLength(std::numeric_limits<int>::max());
    }

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QLineEdit::focusInEvent(event);
        const auto length = static_cast<int>(text().size());
        if (length > 0 && selectedText().size() == length)
            setSelection(length, -length);
    }
};

} // namespace window
