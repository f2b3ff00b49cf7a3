// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/look.h"
#include "window/main_window.h"
#include "window/termination_signals.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    window::setApplicationLook();
    window::quitOnTerminationSignals();
    // Lets a Wayland desktop match the window to its menu entry, and so to its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lctune.LCTune"));
    window::MainWindow window;
    window.centreOnScreen();
    window.show();
    return app.exec();
}
