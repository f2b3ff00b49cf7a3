// Renders the window as a user sees it, in each fix mode and both languages, into PNG files:
// take_screenshots <directory>

#include "window/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTest>

namespace {

void press(window::MainWindow &w, const char *name)
{
    auto *button = w.findChild<QAbstractButton *>(QString::fromLatin1(name));
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

bool save(window::MainWindow &w, const QDir &directory, const QString &name)
{
    return w.grab().save(directory.filePath(name));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qWarning("usage: take_screenshots <directory>");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
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
    return saved ? 0 : 1;
}
