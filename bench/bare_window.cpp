// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The reference for the start-up and memory benchmarks: the least a Qt Widgets program can show in
// a window of LC Tune's size, one label.

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("The Resonance circuit calculation"));
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(599, 185);
    window.show();
    return app.exec();
}
