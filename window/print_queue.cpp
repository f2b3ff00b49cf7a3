// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#include "window/print_queue.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

#include <cstdio>
#include <utility>
#include <vector>

namespace window {

namespace {

// A QProcess kills its process when it is destroyed; the helper that a closed window leaves must
// outlive it, so its QProcess is kept until the program's end, which ends nothing it started.
void letGo(std::unique_ptr<QProcess> helper)
{
    static auto *const leftToThemselves = new std::vector<std::unique_ptr<QProcess>>;
    helper->disconnect();
    leftToThemselves->push_back(std::move(helper));
}

} // namespace

PrintQueue::PrintQueue(QString helper, QStringList arguments, Report report)
    : m_program(std::move(helper)),
      m_arguments(std::move(arguments)),
      m_report(std::move(report))
{
    m_bound.setSingleShot(true);
    m_bound.setTimerType(Qt::PreciseTimer);
    m_bound.setInterval(print_helper::printBound + print_helper::helperGrace);
    // Only a helper that has not ended is killed; one that has is judged by what it said.
    QObject::connect(&m_bound, &QTimer::timeout, &m_bound, [this] { m_helper->kill(); });
}

PrintQueue::~PrintQueue()
{
    m_bound.stop();
    QList<Page> left(m_waiting.cbegin(), m_waiting.cend());
    if (m_helper && m_helper->bytesToWrite() > 0) {
        // A helper still taking its page has sent nothing yet: the page goes with the others.
        m_helper->disconnect();
        m_helper->kill();
        m_helper->waitForFinished();
        left.prepend(m_handing);
    } else if (m_helper) {
        letGo(std::move(m_helper));
    }
    if (!left.isEmpty())
        handOn(left);
}

// The pages left go in a file to one helper of their own, which takes and removes it, so that
// closing waits for nobody: each copy in turn, within the bound.
void PrintQueue::handOn(const QList<Page> &left)
{
    // Clicks on a window that did not change in between share one copy of the page.
    QList<Page> pages;
    for (const Page &page : left) {
        if (!pages.isEmpty() && pages.last().bmp.constData() == page.bmp.constData()
            && pages.last().title == page.title)
            ++pages.last().copies;
        else
            pages << page;
    }
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("lctune-pages-XXXXXX")));
    file.setAutoRemove(false);
    bool written = file.open();
    for (const Page &page : pages)
        written = written && file.write(record(page)) > 0 && file.write(page.bmp) > 0;
    file.close();
    if (written
        && QProcess::startDetached(
            m_program, m_arguments + QStringList { QStringLiteral("--pages"), file.fileName() }))
        return;
    file.remove();
    std::fprintf(stderr, "lctune: %lld pages not printed: the print helper did not start\n",
        static_cast<long long>(left.size()));
}

void PrintQueue::add(const QByteArray &bmp, const QString &title)
{
    Page page { bmp, title.toUtf8(), 1 };
    if (!m_waiting.isEmpty() && m_waiting.last().bmp == bmp)
        page.bmp = m_waiting.last().bmp;
    m_waiting.enqueue(page);
    if (!m_helper)
        startNext();
}

void PrintQueue::startNext()
{
    if (m_waiting.isEmpty())
        return;
    m_handing = m_waiting.dequeue();
    m_helper = startHelper();
    if (!m_helper)
        return fail(PrintOutcome::NotInstalled, {});
    m_helper->write(record(m_handing));
    m_helper->write(m_handing.bmp);
    m_helper->closeWriteChannel();
    QObject::connect(m_helper.get(), &QProcess::finished, m_helper.get(),
        [this](int status, QProcess::ExitStatus exit) { finished(status, exit); });
    m_bound.start();
}

void PrintQueue::finished(int status, QProcess::ExitStatus exit)
{
    const bool boundPassed = !m_bound.isActive();
    m_bound.stop();
    // A helper's text-mode standard output on Windows ends each line with CR LF.
    static const QRegularExpression lineEnd(QStringLiteral("\r+\n"));
    const QString words = QString::fromUtf8(m_helper->readAllStandardOutput())
                              .replace(lineEnd, QStringLiteral("\n"))
                              .trimmed();
    m_helper.release()->deleteLater();
    const bool known =
        exit == QProcess::NormalExit && status >= 0 && status < int(PrintOutcome::NotInstalled);
    // A helper that did not end by itself was ended at the bound, or crashed.
    const PrintOutcome outcome = known               ? PrintOutcome(status)
        : exit == QProcess::CrashExit && boundPassed ? PrintOutcome::NoAnswer
                                                     : PrintOutcome::Failed;
    if (outcome == PrintOutcome::Submitted)
        return startNext();
    fail(outcome, words);
}

void PrintQueue::fail(PrintOutcome outcome, const QString &words)
{
    m_waiting.clear();
    m_report(outcome, words);
}

QByteArray PrintQueue::record(const Page &page)
{
    return QByteArray::number(page.copies) + ' ' + QByteArray::number(page.bmp.size()) + ' '
        + page.title + '\n';
}

// A helper started; none where it cannot be, whether start() says so at once, as on Windows for
// a missing program, or later, as on Linux.
std::unique_ptr<QProcess> PrintQueue::startHelper() const
{
    auto helper = std::make_unique<QProcess>();
    helper->setProgram(m_program);
    helper->setArguments(m_arguments);
    helper->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper->start();
    return helper->waitForStarted() ? std::move(helper) : nullptr;
}

} // namespace window
