// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/look.h"
#include "window/main_window.h"
#include "window/termination_signals.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    window::quitOnTerminationSignals();
    // The window's own face throughout: its message boxes match it, and no control lays out text
    // in the toolkit's default face before it gets its own, which would load that face too.
    QApplication::setFont(window::fontFor(window::Face::Dialog));
    // Lets a Wayland desktop match the window to its menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lctune.LCTune"));
    window::MainWindow window;
    window.move(window.screen()->availableGeometry().center() - window.rect().center());
    window.show();
    return app.exec();
}
