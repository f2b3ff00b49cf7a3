// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// Renders the window as a user sees it, in each fix mode and both languages, and with the focus
// on a spin bar, into PNG files:
// take_screenshots <directory>
// or, on a dark desktop, the start-up window and the focused spin bar framed by the desktop's own
// window colour:
// take_screenshots --dark-desktop <directory>

#include "window/look.h"
#include "window/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTest>

namespace {

void press(window::MainWindow &w, const char *name)
{
    auto *button = w.findChild<QAbstractButton *>(QString::fromLatin1(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

bool save(QWidget &w, const QDir &directory, const QString &name)
{
    return w.grab().save(directory.filePath(name));
}

// The spin bar of the lower capacitance with the keyboard focus; shown is the top-level window
// that holds w.
bool saveFocusedSpin(
    QWidget &shown, window::MainWindow &w, const QDir &directory, const QString &name)
{
    QApplication::setActiveWindow(&shown);
    if (!QTest::qWaitForWindowActive(&shown))
        return false;
    w.findChild<QWidget *>(QStringLiteral("VScroll3"))->setFocus(Qt::TabFocusReason);
    return save(shown, directory, name);
}

// The frame shows the desktop's theme, so that the picture tells a dark desktop from a light one.
// Painted rather than given a palette, which the window inside would inherit.
class Desktop : public QWidget
{
public:
    explicit Desktop(const QColor &colour) : m_colour(colour) { }

protected:
    void paintEvent(QPaintEvent *) override { QPainter(this).fillRect(rect(), m_colour); }

private:
    QColor m_colour;
};

int saveOnTheDesktop(const QDir &directory, const QColor &desktopColour)
{
    Desktop desktop(desktopColour);
    const int margin = 12;
    window::MainWindow w(&desktop);
    w.move(margin, margin);
    desktop.resize(w.size() + QSize(2 * margin, 2 * margin));
    desktop.show();
    if (!QTest::qWaitForWindowExposed(&desktop))
        return 1;
    const bool saved = save(desktop, directory, QStringLiteral("window-dark-desktop.png"));
    return saved
            && saveFocusedSpin(desktop, w, directory, QStringLiteral("focus-spin-dark-desktop.png"))
        ? 0
        : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // The desktop's own, before the program sets the window's look.
    const QColor desktopColour = QApplication::palette().color(QPalette::Window);
    window::setApplicationLook();
    const bool darkDesktop = argc == 3 && qstrcmp(argv[1], "--dark-desktop") == 0;
    if (argc != 2 && !darkDesktop) {
        qWarning("usage: take_screenshots [--dark-desktop] <directory>");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[argc - 1]));
    if (darkDesktop)
        return saveOnTheDesktop(directory, desktopColour);
    window::MainWindow w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    bool saved = save(w, directory, QStringLiteral("window.png"));
    const char *fixButtons[] = { "Command1", "Command2", "Command3" };
    for (const char *language : { "en", "sk" }) {
        for (int mode = 1; mode <= 3; ++mode) {
            if (mode > 1)
                press(w, fixButtons[mode - 1]);
            saved =
                save(w, directory, QStringLiteral("window-mode%1-%2.png").arg(mode).arg(language))
                && saved;
        }
        press(w, "Command1");
        press(w, "Command5");
    }
    // Last, so that no other picture shows a focus cue.
    saved = saveFocusedSpin(w, w, directory, QStringLiteral("focus-spin.png")) && saved;
    return saved ? 0 : 1;
}
