// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

// What the window tests share: the application's look, finding controls by name, clicking them
// as a user does, and reading back the colours and focus cues the user sees.

#include "window/look.h"
#include "window/main_window.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace testing {

template <typename T = QWidget> T *control(window::MainWindow &w, const char *name)
{
    T *found = w.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control named %s", name);
    return found;
}

inline void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Replaces a box's text as a user does: select all, then type (or delete, for an empty text).
inline void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    if (text.isEmpty())
        QTest::keyClick(box, Qt::Key_Delete);
    else
        QTest::keyClicks(box, text);
}

enum class Arrow { Upper, Lower };

// Where the style draws a scroll bar's arrow: found as the style finds it, not by pixel guess.
inline QPoint arrowCentre(QScrollBar *bar, Arrow arrow)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    const auto sub =
        arrow == Arrow::Upper ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, sub, bar).center();
}

inline void clickArrow(QScrollBar *bar, Arrow arrow)
{
    QTest::mouseClick(bar, Qt::LeftButton, {}, arrowCentre(bar, arrow));
}

// One user action: "Text1=8.00" types into a box, "VScroll3 up" and "VScroll3 down" click an
// arrow, and a bare name ("Command2", "Check1", "Option4") clicks that control.
inline void act(window::MainWindow &w, const QString &action)
{
    if (const qsizetype equals = action.indexOf(QLatin1Char('=')); equals > 0) {
        typeInto(control<QLineEdit>(w, qPrintable(action.left(equals))), action.mid(equals + 1));
        return;
    }
    const QStringList words = action.split(QLatin1Char(' '));
    if (words.size() == 2) {
        const Arrow arrow = words[1] == QLatin1String("up") ? Arrow::Upper : Arrow::Lower;
        clickArrow(control<QScrollBar>(w, qPrintable(words[0])), arrow);
        return;
    }
    click(control(w, qPrintable(action)));
}

// The colour on screen at a point of a control, taken from the rendered window.
inline QColor shownColour(window::MainWindow &w, QWidget *widget, QPoint inWidget)
{
    const QImage image = w.grab().toImage();
    const qreal scale = image.devicePixelRatio();
    const QPoint at = widget->mapTo(&w, inWidget) * scale;
    return image.pixelColor(at);
}

// A box's back colour as shown: beside the centred text, clear of the frame.
inline QColor shownBackColour(window::MainWindow &w, QLineEdit *box)
{
    return shownColour(w, box, QPoint(5, box->height() / 2));
}

inline QColor rgb(quint32 bbggrr)
{
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

struct ShownWindow
{
    ShownWindow()
    {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qFatal("window not exposed");
    }
    window::MainWindow w;
};

// Key events reach the focus widget, and a focus cue shows, only while the window is the active
// one.
struct ActiveWindow : ShownWindow
{
    ActiveWindow()
    {
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w))
            qFatal("window not active");
    }
};

// A control's rectangle in the window.
inline QRect areaIn(window::MainWindow &w, QWidget *widget)
{
    return QRect(widget->mapTo(&w, QPoint(0, 0)), widget->size());
}

// A pixel of the window that the focus changes, with its colour with and without the focus.
struct CuePixel
{
    QPoint at;
    QColor focused;
    QColor unfocused;
};

// What the focus shows: the window as drawn with the focus where it is against the window with
// no focus at all, in logical pixels, one for each device pixel. A box's caret blinks, so it is
// left out: the cue must show without it. The focus goes back after, as Tab gives it.
inline QList<CuePixel> focusCue(window::MainWindow &w)
{
    QWidget *focus = QApplication::focusWidget();
    QRect caret;
    if (qobject_cast<QLineEdit *>(focus)) {
        caret = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        caret = QRect(focus->mapTo(&w, caret.topLeft()), caret.size()).adjusted(-2, -2, 2, 2);
    }
    const QImage focused = w.grab().toImage();
    focus->clearFocus();
    const QImage unfocused = w.grab().toImage();
    focus->setFocus(Qt::TabFocusReason);
    QList<CuePixel> changed;
    const qreal scale = focused.devicePixelRatio();
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            const QPoint at = (QPointF(x, y) / scale).toPoint();
            if (focused.pixel(x, y) != unfocused.pixel(x, y) && !caret.contains(at))
                changed.append({ at, focused.pixelColor(x, y), unfocused.pixelColor(x, y) });
        }
    }
    return changed;
}

} // namespace testing

// QTEST_MAIN for a test of the window, with the look that main() gives the application.
#define LCTUNE_WINDOW_TEST_MAIN(TestObject)                                                        \
    int main(int argc, char *argv[])                                                               \
    {                                                                                              \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        window::setApplicationLook();                                                              \
        TestObject test;                                                                           \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
