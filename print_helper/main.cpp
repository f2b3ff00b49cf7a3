// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The print helper: hands pages to the print system, in a process of its own, so that nothing the
// print system does can hold or harm the window, and so that pages still go out once the window
// is closed. See print_helper/handover.h.

#include "print_helper/print_page.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace print_helper {

namespace {

struct Page
{
    int copies = 0;
    QByteArray title;
    QByteArray image;
};

// The pages as the window wrote them; none where what came is not that.
QList<Page> pagesHanded(const QByteArray &handed)
{
    QList<Page> pages;
    for (qsizetype at = 0; at < handed.size();) {
        const qsizetype lineEnd = handed.indexOf('\n', at);
        const QList<QByteArray> head =
            handed.sliced(at, std::max<qsizetype>(lineEnd - at, 0)).split(' ');
        const qsizetype bytes = head.value(1).toLongLong();
        Page page { head.value(0).toInt(), head.mid(2).join(' '), {} };
        if (lineEnd < 0 || page.copies < 1 || bytes < 1 || lineEnd + 1 + bytes > handed.size())
            return {};
        page.image = handed.sliced(lineEnd + 1, bytes);
        at = lineEnd + 1 + bytes;
        pages << page;
    }
    return pages;
}

// What became of a page, for whoever reads the standard error: the one place left to say it once
// the window is gone.
void tellStandardError(PrintOutcome outcome, const std::string &title)
{
    const auto text = std::ranges::find(outcomeTexts, outcome, &OutcomeText::outcome);
    if (text != std::end(outcomeTexts))
        std::fprintf(stderr, "lctune-print: %s: %s\n", title.c_str(), text->english);
}

PrintOutcome printOne(const Page &page)
{
    // The bound holds even when the window that would kill the helper is gone.
    std::thread([title = page.title.toStdString()] {
        std::this_thread::sleep_for(printBound);
        tellStandardError(PrintOutcome::NoAnswer, title);
        std::_Exit(int(PrintOutcome::NoAnswer));
    }).detach();
    QImage image = QImage::fromData(page.image, "BMP");
    if (image.isNull())
        return PrintOutcome::Failed;
    image.setDevicePixelRatio(printPixelRatio);
    const PrintOutcome outcome = printPage(QString::fromUtf8(page.title), image);
    tellStandardError(outcome, page.title.toStdString());
    return outcome;
}

// Pages that a closed window left: each copy in turn by a helper of its own, with its own bound;
// once one fails, the rest would meet the same trouble.
int printInTurn(const QList<Page> &pages)
{
    int left = 0;
    for (const Page &page : pages)
        left += page.copies;
    for (const Page &page : pages) {
        for (int copy = 0; copy < page.copies; ++copy, --left) {
            QProcess helper;
            helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            helper.setStandardOutputFile(QProcess::nullDevice());
            helper.start(QCoreApplication::applicationFilePath(), {});
            helper.write("1 " + QByteArray::number(page.image.size()) + ' ' + page.title + '\n');
            helper.write(page.image);
            helper.closeWriteChannel();
            const auto wait = std::chrono::milliseconds(printBound + helperGrace);
            if (!helper.waitForFinished(int(wait.count()))) {
                helper.kill();
                helper.waitForFinished();
            }
            if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0) {
                if (left > 1)
                    std::fprintf(stderr, "lctune-print: %d more pages not printed\n", left - 1);
                return int(PrintOutcome::Failed);
            }
        }
    }
    return int(PrintOutcome::Submitted);
}

} // namespace

} // namespace print_helper

int main(int argc, char *argv[])
{
    using print_helper::PrintOutcome;
    // The pages go out though the terminal that started the window closes or is interrupted, and
    // words for a window that is gone must not end the helper before it has told them elsewhere.
    std::signal(SIGINT, SIG_IGN);
#ifdef SIGHUP
    std::signal(SIGHUP, SIG_IGN);
#endif
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    // The pages come on the standard input, or, from a window that has closed, in a file that
    // is the helper's to remove. Its name is taken as Qt reads the command line: on Windows the
    // temporary folder holds the user's name, in letters the ANSI code page may not have.
    const bool fromFile = argc == 3 && std::string_view(argv[1]) == "--pages";
    std::optional<QCoreApplication> application;
    if (fromFile)
        application.emplace(argc, argv);
    QFile input(fromFile ? QCoreApplication::arguments().at(2) : QString());
    const bool opened =
        fromFile ? input.open(QIODevice::ReadOnly) : input.open(stdin, QIODevice::ReadOnly);
    const QByteArray handed = opened ? input.readAll() : QByteArray();
    if (fromFile)
        input.remove();
    const QList<print_helper::Page> pages = print_helper::pagesHanded(handed);
    if (pages.isEmpty()) {
        std::fputs("lctune-print: the pages handed over are incomplete; none printed\n", stderr);
        return int(PrintOutcome::Failed);
    }
    // The words of a window that is gone have only the standard error to go to.
    if (fromFile || pages.size() > 1 || pages.first().copies > 1) {
        if (!application)
            application.emplace(argc, argv);
        return print_helper::printInTurn(pages);
    }
    return int(print_helper::printOne(pages.first()));
}
