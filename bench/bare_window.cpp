// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The reference for the start-up and memory benchmarks: the least a Qt Widgets program can show in
// a window of LC Tune's size, one line of text. Built a second time as bare_window_laid_out,
// which measures its text before it is shown, as a window laid out from its captions must: Qt
// then reads the system's font configuration before the window is mapped rather than at its
// first paint.

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("The Resonance circuit calculation"));
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(599, 185);
#ifdef BARE_WINDOW_LAID_OUT
    // The text box as wide as its text, at the left.
    window.setContentsMargins(
        0, 0, window.width() - window.fontMetrics().horizontalAdvance(window.text()), 0);
#endif
    window.show();
    return app.exec();
}
