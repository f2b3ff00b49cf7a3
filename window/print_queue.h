// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

#pragma once

#include "print_helper/handover.h"

#include <QByteArray>
#include <QProcess>
#include <QQueue>
#include <QTimer>

#include <functional>
#include <memory>

namespace window {

using print_helper::PrintOutcome;

// Hands pages to the print helper in the order given, one at a time, each within the bound. When
// the print system does not take a page, the pages waiting are dropped, as they would meet the
// same trouble, and the outcome is reported. When the queue goes, with the window, the page on its
// way and the pages waiting go on in helpers of its own, which end themselves at the bound.
class PrintQueue
{
public:
    using Report = std::function<void(PrintOutcome outcome, const QString &words)>;

    PrintQueue(QString helper, QStringList arguments, Report report);
    ~PrintQueue();

    // A page: its image, as BMP, and the job's title.
    void add(const QByteArray &bmp, const QString &title);

private:
    struct Page
    {
        QByteArray bmp;
        QByteArray title;
        int copies = 1;
    };

    static QByteArray record(const Page &page);

    void startNext();
    void finished(int status, QProcess::ExitStatus exit);
    void fail(PrintOutcome outcome, const QString &words);
    void handOn(const QList<Page> &left);
    std::unique_ptr<QProcess> startHelper() const;

    QString m_program;
    QStringList m_arguments;
    Report m_report;
    std::unique_ptr<QProcess> m_helper;
    Page m_handing;
    QTimer m_bound;
    QQueue<Page> m_waiting;
};

} // namespace window
