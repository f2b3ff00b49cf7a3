// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/text_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontMetrics>

#include <limits>

namespace window {

namespace {

// The box for a screen reader. The toolkit's own reads "a line" by the places where a line may
// break, so "5.00" is read as "5.0" and "20" as "2": a box holds one line, its whole text.
class TextBoxAccessible : public QAccessibleWidget,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface
{
public:
    explicit TextBoxAccessible(TextBox *box) : QAccessibleWidget(box, QAccessible::EditableText) { }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.editable = !box()->isReadOnly();
        state.readOnly = box()->isReadOnly();
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text type) const override
    {
        return type == QAccessible::Value ? box()->text() : QAccessibleWidget::text(type);
    }
    using QAccessibleWidget::text;

    void selection(int index, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
        if (index == 0 && box()->hasSelectedText()) {
            *startOffset = box()->selectionStart();
            *endOffset = box()->selectionEnd();
        }
    }
    int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override
    {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { box()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override
    {
        box()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return box()->cursorPosition(); }
    void setCursorPosition(int position) override { box()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override
    {
        return box()->text().mid(startOffset, endOffset - startOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int *startOffset,
        int *endOffset) const override
    {
        if (boundary != QAccessible::LineBoundary && boundary != QAccessible::ParagraphBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, boundary, startOffset, endOffset);
        *startOffset = 0;
        *endOffset = characterCount();
        return box()->text();
    }
    int characterCount() const override { return static_cast<int>(box()->text().size()); }
    QRect characterRect(int offset) const override
    {
        const QRect local = box()->characterRect(offset);
        return QRect(box()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return box()->cursorPositionAt(box()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int) override { box()->setCursorPosition(startIndex); }
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

    void deleteText(int startOffset, int endOffset) override
    {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString &text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString &text) override
    {
        if (box()->isReadOnly())
            return;
        box()->setText(box()->text().replace(startOffset, endOffset - startOffset, text));
    }

private:
    TextBox *box() const { return static_cast<TextBox *>(widget()); }
};

QAccessibleInterface *textBoxAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(TextBox::staticMetaObject.className()))
        return new TextBoxAccessible(static_cast<TextBox *>(object));
    return nullptr;
}

} // namespace

TextBox::TextBox(QWidget *parent) : QLineEdit(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(textBoxAccessible);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setMaxLength(std::numeric_limits<int>::max());
}

QRect TextBox::characterRect(int offset) const
{
    const int x = cursorRect().center().x();
    const QFontMetrics metrics(font());
    const int before = metrics.horizontalAdvance(text().left(cursorPosition()));
    const int at = metrics.horizontalAdvance(text().left(offset));
    const QString character = text().mid(offset, 1);
    return QRect(x - before + at, cursorRect().top(), metrics.horizontalAdvance(character),
        cursorRect().height());
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    const auto length = static_cast<int>(text().size());
    if (length > 0 && selectedText().size() == length)
        setSelection(length, -length);
}

} // namespace window
