// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The print button against real CUPS servers, started for this program by
// tests/print/run-print-tests.sh: the default destination is a cups-pdf queue, and the PDF it
// writes is read as a person would read the printed page. The click gives the window back at
// once; when the print system does not take the job, the user gets one message, within a bound,
// and the window stays as it was.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/print_form.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <cups/cups.h>

#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace testing;

namespace {

// However a server behaves, the window hears from it within the print helper's bound.
constexpr auto answerBoundMs = std::chrono::milliseconds(window::printBound).count();
constexpr int messageWaitMs = answerBoundMs + 5000;

QString setting(const char *name)
{
    return qEnvironmentVariable(name);
}

QString queue()
{
    return setting("LCTUNE_PRINT_QUEUE");
}

// The server that the print helper and this test both use.
void useServer(const QString &server)
{
    qputenv("CUPS_SERVER", server.toUtf8());
    cupsSetServer(qPrintable(server));
}

struct Job
{
    int id;
    int state;
};

// The jobs the current server has had for a queue, oldest first.
QList<Job> jobs(const QString &name = queue())
{
    cups_job_t *list = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, name.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    QList<Job> found;
    for (int i = 0; i < count; ++i)
        found << Job { list[i].id, list[i].state };
    cupsFreeJobs(count, list);
    std::ranges::sort(found, {}, &Job::id);
    return found;
}

// The jobs that may still print: neither done, nor cancelled, nor aborted.
qsizetype unfinished(const QList<Job> &list)
{
    return std::ranges::count_if(
        list, [](const Job &job) { return job.state < IPP_JSTATE_STOPPED; });
}

bool allCompleted(const QList<Job> &list)
{
    return std::ranges::all_of(
        list, [](const Job &job) { return job.state == IPP_JSTATE_COMPLETED; });
}

QString pathOf(const QString &name)
{
    return QDir(setting("LCTUNE_PRINT_OUT")).filePath(name);
}

QSet<QString> pdfs()
{
    const QStringList names =
        QDir(setting("LCTUNE_PRINT_OUT")).entryList({ QStringLiteral("*.pdf") }, QDir::Files);
    return QSet<QString>(names.begin(), names.end());
}

// cups-pdf creates its file empty and writes it as Ghostscript goes; a PDF is whole once it ends
// with its end-of-file marker.
bool isWhole(const QString &name)
{
    QFile file(pathOf(name));
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 1024));
    return file.readAll().contains("%%EOF");
}

// The PDFs that appeared since `before`, once all of them are whole, oldest first.
QStringList wholeNewPdfs(const QSet<QString> &before, int expected)
{
    QStringList fresh = (pdfs() - before).values();
    if (fresh.size() != expected || !std::ranges::all_of(fresh, isWhole))
        return {};
    std::ranges::sort(
        fresh, {}, [](const QString &name) { return QFileInfo(pathOf(name)).lastModified(); });
    return fresh;
}

// The paper of a PDF's first page, in millimetres.
QSizeF paperMm(const QString &pdf)
{
    const QString info = toolOutput(QStringLiteral("pdfinfo"), { pdf });
    for (const QString &line : info.split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("Page size:"))) {
            const QStringList words = line.mid(10).simplified().split(QLatin1Char(' '));
            return QSizeF(words[0].toDouble(), words[2].toDouble()) * 25.4 / 72;
        }
    }
    return {};
}

// Where CUPS keeps a person's own default printer and options, and the system's.
QString userOptions()
{
    return QDir::home().filePath(QStringLiteral(".cups/lpoptions"));
}

QString systemOptions()
{
    return QDir(setting("CUPS_SERVERROOT")).filePath(QStringLiteral("lpoptions"));
}

void writeDefault(const QString &path, const QString &printer)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("Default " + printer.toUtf8() + "\n") < 0)
        qFatal("cannot write %s", qPrintable(path));
}

// The print helpers that this program has running now, from the process table.
QList<pid_t> printHelpers()
{
    QList<pid_t> found;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state parent ..."
        const QByteArray line = stat.readAll();
        const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (line.contains("(lctune-print)") && after.value(1).toInt() == getpid())
            found << entry.toInt();
    }
    return found;
}

void run(const QString &tool, const QStringList &arguments)
{
    if (QProcess::execute(tool, arguments) != 0)
        qFatal("%s failed", qPrintable(tool));
}

// A local server that is not the print system it claims to be.
enum class Answer {
    Silence,
    Trickle,
    HangUp,
    Garbage,
    ServerError,
    Html,
    CorruptIpp,
    Password,
    // Passes the requests on to the real server until the document comes, then reads no more.
    StopsReadingTheDocument,
};

class HostileServer : public QObject
{
public:
    // The print server of the moment is the one a relay passes requests on to.
    HostileServer(const QString &path, Answer answer)
        : m_answer(answer),
          m_upstream(setting("CUPS_SERVER"))
    {
        if (!m_server.listen(path))
            qFatal("cannot listen on %s", qPrintable(path));
        connect(&m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *peer = m_server.nextPendingConnection())
                serve(peer);
        });
    }

private:
    void serve(QLocalSocket *peer)
    {
        if (m_answer == Answer::HangUp) {
            peer->disconnectFromServer();
            return;
        }
        if (m_answer == Answer::StopsReadingTheDocument)
            return relayUntilTheDocument(peer);
        connect(peer, &QLocalSocket::readyRead, peer, [this, peer] {
            peer->readAll();
            if (peer->property("answered").toBool())
                return;
            peer->setProperty("answered", true);
            answer(peer);
        });
    }

    void answer(QLocalSocket *peer)
    {
        const auto reply = [peer](const QByteArray &head, const QByteArray &body) {
            peer->write(
                head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        };
        switch (m_answer) {
        case Answer::Silence:
        case Answer::HangUp:
        case Answer::StopsReadingTheDocument:
            break;
        case Answer::Trickle: {
            peer->write("HTTP/1.1 200 OK\r\n");
            auto *drip = new QTimer(peer);
            connect(drip, &QTimer::timeout, peer, [peer] { peer->write("X-Wait: 1\r\n"); });
            drip->start(30);
            break;
        }
        case Answer::Garbage:
            peer->write("\x13\x37 not a protocol at all\r\n\r\n");
            peer->disconnectFromServer();
            break;
        case Answer::ServerError:
            reply("HTTP/1.1 500 Internal Server Error\r\n", {});
            break;
        case Answer::Html:
            reply("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n",
                "<html><body>It works!</body></html>");
            break;
        case Answer::CorruptIpp:
            reply("HTTP/1.1 200 OK\r\nContent-Type: application/ipp\r\n",
                QByteArray("\x02\x00\x00\x00\x00\x00\x00\x01\x01\x47\xff\xff", 12));
            break;
        case Answer::Password:
            reply("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"CUPS\"\r\n", {});
            break;
        }
    }

    // The requests before the document take far less than this; the page's PDF takes more.
    static constexpr qint64 relayed = 16 * 1024;

    void relayUntilTheDocument(QLocalSocket *peer)
    {
        auto *upstream = new QLocalSocket(peer);
        upstream->connectToServer(m_upstream);
        if (!upstream->waitForConnected(5000))
            qFatal("cannot reach the test's print server");
        // Once the relay stops reading, the client's writes soon find no room.
        peer->setReadBufferSize(relayed);
        connect(upstream, &QLocalSocket::readyRead, peer,
            [peer, upstream] { peer->write(upstream->readAll()); });
        connect(peer, &QLocalSocket::readyRead, upstream, [peer, upstream] {
            const qint64 passed = peer->property("passed").toLongLong();
            if (passed >= relayed)
                return;
            const QByteArray data = peer->read(relayed - passed);
            peer->setProperty("passed", passed + data.size());
            upstream->write(data);
        });
    }

    QLocalServer m_server;
    Answer m_answer;
    QString m_upstream;
};

enum class Trouble {
    NoServer,
    Hostile,
    NoDefault,
    NoSuchPrinter,
    QueueDisabled,
    QueueRejecting,
    StoppedByFailure,
};

// Where the window was printed on a page drawn at 96 dots per inch, and the colour there at a
// point of a control.
QColor printedColour(const QImage &page, QPoint origin, QWidget &window, QWidget *widget, QPoint at)
{
    return page.pixelColor(origin + widget->mapTo(&window, at));
}

} // namespace

Q_DECLARE_METATYPE(Trouble)
Q_DECLARE_METATYPE(Answer)

class TestPrintCups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void clickPrintsThePageThatTheWindowShows_data();
    void clickPrintsThePageThatTheWindowShows();
    void printingTwiceGivesTwoJobsWithTheSameContent();
    void theWindowTakesClicksWhileABusyPrinterPrints();
    void theUsersOwnDefaultPrinterGetsTheJob_data();
    void theUsersOwnDefaultPrinterGetsTheJob();
    void theQueuesPaperDecidesThePage_data();
    void theQueuesPaperDecidesThePage();
    void troubleShowsOneMessageAndChangesNothing_data();
    void troubleShowsOneMessageAndChangesNothing();
    void closingTheWindowDoesNotWaitForTheServer();
    void aHelperWithoutItsWindowEndsAtTheBound();
    void qtsOwnPrintingPrintsOnTheDefaultQueue();
    void qtsOwnPrintingSeesThatThereIsNoDefault();

private:
    QString m_server;
    QByteArray m_language;
};

void TestPrintCups::initTestCase()
{
    for (const char *name : { "CUPS_SERVER", "LCTUNE_PRINT_QUEUE", "LCTUNE_PRINT_OUT",
             "LCTUNE_NO_DEFAULT_SERVER", "LCTUNE_DEAD_SERVER" }) {
        if (setting(name).isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 is not set: run this program through "
                                            "tests/print/run-print-tests.sh")
                                 .arg(QLatin1String(name))));
    }
    m_server = setting("CUPS_SERVER");
    m_language = qgetenv("LANG");
    QCOMPARE(QString::fromUtf8(cupsServer()), m_server);
}

void TestPrintCups::cleanup()
{
    closeMessages();
    useServer(m_server);
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    qputenv("LANG", m_language);
    QFile::remove(userOptions());
    QFile::remove(systemOptions());
    for (const QString &name : { queue(), QStringLiteral("lctune-failing") }) {
        run(QStringLiteral("cupsenable"), { name });
        run(QStringLiteral("cupsaccept"), { name });
    }
}

void TestPrintCups::clickPrintsThePageThatTheWindowShows_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QStringList>("colours");
    // The back colours of the fix modes, as 0xBBGGRR: light red for the fixed lower value,
    // silver for the ignored upper box, light green and green for the boxes the user may change.
    QTest::newRow("fix mode 1, at start")
        << QStringList {}
        << QStringList { "Text1=C0C0FF", "Text2=C0C0C0", "Text3=C0FFC0", "Text4=C0FFC0",
               "Text5=C0FFC0", "Text6=C0FFC0", "Text7=80FF80" };
    QTest::newRow("fix mode 2") << QStringList { "Command2" }
                                << QStringList { "Text1=C0FFC0", "Text2=C0FFC0", "Text3=C0C0FF",
                                       "Text4=C0C0C0", "Text5=C0FFC0", "Text6=C0FFC0",
                                       "Text7=C0C0C0" };
    QTest::newRow("fix mode 3, in Slovak")
        << QStringList { "Command3", "Command5" }
        << QStringList { "Text1=C0FFC0", "Text2=C0FFC0", "Text3=C0FFC0", "Text4=C0FFC0",
               "Text5=C0C0FF", "Text6=C0C0C0", "Text7=80FF80" };
}

void TestPrintCups::clickPrintsThePageThatTheWindowShows()
{
    QFETCH(QStringList, presses);
    QFETCH(QStringList, colours);
    ShownWindow shown;
    auto &w = shown.w;
    for (const QString &press : presses)
        click(control(w, qPrintable(press)));
    const QStringList state = windowState(w);
    const QList<Job> jobsBefore = jobs();
    const QSet<QString> pdfsBefore = pdfs();

    QElapsedTimer clock;
    clock.start();
    click(control(w, "Command4"));
    qInfo("the window took the next event %lld ms after the print click", clock.elapsed());

    // One job more, and done, with nothing said.
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 1 && allCompleted(jobsAfter), 60000);
    QCOMPARE(awaitMessages(200).size(), 0);
    QCOMPARE(windowState(w), state);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 1)).isEmpty(), 60000);
    const QString pdf = pathOf(fresh.first());

    QCOMPARE(pageCount(pdf), 1);
    // One picture of the window, sharp on paper and stored without loss.
    const QStringList images = embeddedImages(pdf);
    QCOMPARE(images.size(), 1);
    const QStringList image = images.first().simplified().split(QLatin1Char(' '));
    QVERIFY2(
        image[8] != QLatin1String("jpeg") && image[12].toInt() >= 300, qPrintable(images.first()));
    QTemporaryDir dir;
    const QImage page = rasterise(pdf, dir.filePath(QStringLiteral("page")));
    // The window at its true size, 599 x 185 pixels at 96 dpi, at the top left inside margins of
    // 10 mm (37.8 pixels).
    const QRect area = printedArea(page);
    QVERIFY2(std::abs(area.width() - 599) <= 1 && std::abs(area.height() - 185) <= 1,
        qPrintable(QStringLiteral("%1 x %2").arg(area.width()).arg(area.height())));
    QVERIFY2(std::abs(area.left() - 38) <= 1 && std::abs(area.top() - 38) <= 1,
        qPrintable(QStringLiteral("%1, %2").arg(area.left()).arg(area.top())));
    // Flat areas keep their colours: the form's silver, the picture's grey wire, the boxes.
    QStringList measured;
    const auto expect = [&](const QString &what, QColor printed, QColor want) {
        measured << QStringLiteral("%1 %2").arg(what, printed.name());
        QVERIFY2(sameColour(printed, want, 3),
            qPrintable(
                QStringLiteral("%1: printed %2, want %3").arg(what, printed.name(), want.name())));
    };
    expect(QStringLiteral("form"), page.pixelColor(area.topLeft() + QPoint(3, 3)), rgb(0xC0C0C0));
    expect(
        QStringLiteral("wire"), page.pixelColor(area.topLeft() + QPoint(224, 72)), rgb(0x808080));
    for (const QString &expected : colours) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        QLineEdit *box = control<QLineEdit>(w, qPrintable(name));
        expect(name, printedColour(page, area.topLeft(), w, box, QPoint(5, box->height() / 2)),
            rgb(expected.section(QLatin1Char('='), 1).toUInt(nullptr, 16)));
    }
    qInfo("printed colours: %s", qPrintable(measured.join(QStringLiteral(", "))));
}

void TestPrintCups::printingTwiceGivesTwoJobsWithTheSameContent()
{
    ShownWindow shown;
    const QList<Job> jobsBefore = jobs();
    const QSet<QString> pdfsBefore = pdfs();
    click(control(shown.w, "Command4"));
    click(control(shown.w, "Command4"));
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 2 && allCompleted(jobsAfter), 60000);
    QCOMPARE(awaitMessages(200).size(), 0);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 2)).isEmpty(), 60000);
    QTemporaryDir dir;
    const QImage first = rasterise(pathOf(fresh[0]), dir.filePath(QStringLiteral("first")));
    const QImage second = rasterise(pathOf(fresh[1]), dir.filePath(QStringLiteral("second")));
    QVERIFY(!first.isNull());
    QVERIFY(first == second);
}

void TestPrintCups::theWindowTakesClicksWhileABusyPrinterPrints()
{
    const QString slow = QStringLiteral("lctune-slow");
    qputenv("PRINTER", slow.toUtf8());
    ShownWindow shown;
    const auto printing = [&] {
        const QList<Job> list = jobs(slow);
        return !list.isEmpty() && list.last().state == IPP_JSTATE_PROCESSING;
    };
    QElapsedTimer clock;
    clock.start();
    click(control(shown.w, "Command4"));
    qInfo("on the busy printer the window took the next event %lld ms after the print click",
        clock.elapsed());
    QTRY_VERIFY_WITH_TIMEOUT(printing(), 10000);
    clickArrow(control<QScrollBar>(shown.w, "VScroll3"), Arrow::Upper);
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("20.01"));
    QCOMPARE(control<QLineEdit>(shown.w, "Text5")->text(), QStringLiteral("9.777"));
    QCOMPARE(control<QLineEdit>(shown.w, "Text6")->text(), QStringLiteral("14.838"));
    QVERIFY(printing());
    QCOMPARE(awaitMessages(200).size(), 0);
}

void TestPrintCups::theUsersOwnDefaultPrinterGetsTheJob_data()
{
    QTest::addColumn<QString>("userDefault");
    QTest::addColumn<QString>("systemDefault");
    QTest::addColumn<QString>("printer");
    QTest::addColumn<QString>("lpdest");
    QTest::addColumn<QString>("printsOn");
    // The server's default is lctune-pdf. CUPS's own order, as lp has it: LPDEST, PRINTER, the
    // user's lpoptions, the system's lpoptions, the server.
    const QString none;
    const QString dl = QStringLiteral("lctune-dl");
    const QString a5 = QStringLiteral("lctune-a5");
    const QString letter = QStringLiteral("lctune-letter");
    // clang-format off
    QTest::newRow("the user's lpoptions beat the server's default") << dl   << none << none   << none << dl;
    QTest::newRow("the system's lpoptions beat the server's default") << none << a5 << none   << none << a5;
    QTest::newRow("the user's lpoptions beat the system's")          << dl   << a5   << none   << none << dl;
    QTest::newRow("PRINTER beats the user's lpoptions")              << dl   << none << letter << none << letter;
    QTest::newRow("LPDEST beats PRINTER and the user's lpoptions")   << dl   << none << letter << a5   << a5;
    // clang-format on
}

void TestPrintCups::theUsersOwnDefaultPrinterGetsTheJob()
{
    QFETCH(QString, userDefault);
    QFETCH(QString, systemDefault);
    QFETCH(QString, printer);
    QFETCH(QString, lpdest);
    QFETCH(QString, printsOn);
    if (!userDefault.isEmpty())
        writeDefault(userOptions(), userDefault);
    if (!systemDefault.isEmpty())
        writeDefault(systemOptions(), systemDefault);
    if (!printer.isEmpty())
        qputenv("PRINTER", printer.toUtf8());
    if (!lpdest.isEmpty())
        qputenv("LPDEST", lpdest.toUtf8());
    const QList<Job> onServerDefault = jobs();
    const QList<Job> before = jobs(printsOn);
    ShownWindow shown;
    click(control(shown.w, "Command4"));
    QList<Job> after;
    QTRY_VERIFY_WITH_TIMEOUT(
        (after = jobs(printsOn)).size() == before.size() + 1 && allCompleted(after), 60000);
    QCOMPARE(awaitMessages(200).size(), 0);
    QCOMPARE(jobs().size(), onServerDefault.size());
}

void TestPrintCups::theQueuesPaperDecidesThePage_data()
{
    QTest::addColumn<QString>("queueName");
    QTest::addColumn<QByteArray>("language");
    QTest::addColumn<QSizeF>("paper");
    // The queue's paper, whatever the locale's: A4 and A5 from the queue's media-default, Letter
    // from its driver's default page size alone.
    const QByteArray c = "C.UTF-8";
    const QByteArray us = "en_US.UTF-8";
    const QString a4 = QStringLiteral("lctune-pdf");
    const QString letter = QStringLiteral("lctune-letter");
    // clang-format off
    QTest::newRow("Letter from the driver, C locale")  << letter << c  << QSizeF(215.9, 279.4);
    QTest::newRow("Letter from the driver, US locale") << letter << us << QSizeF(215.9, 279.4);
    QTest::newRow("A4, C locale")                      << a4     << c  << QSizeF(210, 297);
    QTest::newRow("A4, US locale")                     << a4     << us << QSizeF(210, 297);
    QTest::newRow("A5: the window scaled down to the paper's width")
        << QStringLiteral("lctune-a5") << c << QSizeF(148, 210);
    QTest::newRow("DL envelope: the window scaled down, nothing cut off")
        << QStringLiteral("lctune-dl") << c << QSizeF(110, 220);
    // clang-format on
}

void TestPrintCups::theQueuesPaperDecidesThePage()
{
    QFETCH(QString, queueName);
    QFETCH(QByteArray, language);
    QFETCH(QSizeF, paper);
    qputenv("PRINTER", queueName.toUtf8());
    qputenv("LANG", language);
    ShownWindow shown;
    const QSet<QString> pdfsBefore = pdfs();
    click(control(shown.w, "Command4"));
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 1)).isEmpty(), 60000);
    const QString pdf = pathOf(fresh.first());
    const QSizeF printedPaper = paperMm(pdf);
    QVERIFY2(std::abs(printedPaper.width() - paper.width()) < 1
            && std::abs(printedPaper.height() - paper.height()) < 1,
        qPrintable(
            QStringLiteral("%1 x %2 mm").arg(printedPaper.width()).arg(printedPaper.height())));
    QTemporaryDir dir;
    const QRect area = printedArea(rasterise(pdf, dir.filePath(QStringLiteral("page"))));
    qInfo("%s under LANG=%s: paper %.1f x %.1f mm, the window %d x %d px at %d, %d (96 dpi)",
        qPrintable(queueName), language.constData(), printedPaper.width(), printedPaper.height(),
        area.width(), area.height(), area.left(), area.top());
    // At its true size of 599 x 185 pixels where the paper has room; else whole, in proportion,
    // filling the width inside the 10 mm margins.
    const double width = std::min(599.0, (printedPaper.width() - 20) / 25.4 * 96);
    QVERIFY2(
        std::abs(area.width() - width) <= 2 && std::abs(area.height() - width * 185 / 599) <= 2,
        qPrintable(QStringLiteral("%1 x %2").arg(area.width()).arg(area.height())));
    QVERIFY2(std::abs(area.left() - 38) <= 1 && std::abs(area.top() - 38) <= 1,
        qPrintable(QStringLiteral("%1, %2").arg(area.left()).arg(area.top())));
}

void TestPrintCups::troubleShowsOneMessageAndChangesNothing_data()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("clicks");
    const auto row = [](const char *tag, Trouble trouble, bool inSlovak, const char *message,
                         Answer answer = Answer::Silence, int clicks = 1) {
        QTest::newRow(tag) << trouble << answer << inSlovak << QString::fromUtf8(message) << clicks;
    };
    const char *unreachable = "The print system cannot be reached.";
    row("no server running", Trouble::NoServer, false, unreachable);
    row("a server that never answers", Trouble::Hostile, false, "The print system does not answer.",
        Answer::Silence);
    row("a server that trickles one header line every 30 ms", Trouble::Hostile, false,
        "The print system does not answer.", Answer::Trickle);
    row("a server that stops reading the document", Trouble::Hostile, false,
        "The print system does not answer.", Answer::StopsReadingTheDocument);
    row("twenty clicks while a server never answers", Trouble::Hostile, false,
        "The print system does not answer.", Answer::Silence, 20);
    row("a server that hangs up", Trouble::Hostile, false, unreachable, Answer::HangUp);
    row("a server that answers garbage", Trouble::Hostile, false, unreachable, Answer::Garbage);
    row("a server that answers HTML", Trouble::Hostile, false, unreachable, Answer::Html);
    row("a server that answers corrupt IPP", Trouble::Hostile, false, unreachable,
        Answer::CorruptIpp);
    row("a server that answers HTTP 500", Trouble::Hostile, false,
        "The print system refused the job.", Answer::ServerError);
    row("a server that asks for a password", Trouble::Hostile, false,
        "The print system asks for a password.", Answer::Password);
    row("a server with no default destination", Trouble::NoDefault, false,
        "No default printer is set.");
    row("PRINTER naming a queue that does not exist", Trouble::NoSuchPrinter, false,
        "The default printer does not exist.");
    row("default queue disabled", Trouble::QueueDisabled, false,
        "The printer is stopped; the job would wait.\n\nPaused");
    row("default queue rejecting jobs", Trouble::QueueRejecting, false,
        "The printer is not accepting jobs.");
    row("a queue that stopped when its printer failed", Trouble::StoppedByFailure, false,
        "The printer is stopped; the job would wait.\n\nPaper jam in tray 2");
    row("no server running, in Slovak", Trouble::NoServer, true, "Tlačový systém je nedostupný.");
    row("a server that never answers, in Slovak", Trouble::Hostile, true,
        "Tlačový systém neodpovedá.", Answer::Silence);
    row("default queue disabled, in Slovak", Trouble::QueueDisabled, true,
        "Tlačiareň je zastavená; úloha by čakala.\n\nPaused");
}

void TestPrintCups::troubleShowsOneMessageAndChangesNothing()
{
    QFETCH(Trouble, trouble);
    QFETCH(Answer, answer);
    QFETCH(bool, inSlovak);
    QFETCH(QString, message);
    QFETCH(int, clicks);
    ShownWindow shown;
    if (inSlovak)
        click(control(shown.w, "Command5"));
    const QList<Job> jobsBefore = jobs();
    QTemporaryDir dir;
    std::optional<HostileServer> hostile;
    switch (trouble) {
    case Trouble::NoServer:
        useServer(setting("LCTUNE_DEAD_SERVER"));
        break;
    case Trouble::Hostile:
        hostile.emplace(dir.filePath(QStringLiteral("socket")), answer);
        useServer(dir.filePath(QStringLiteral("socket")));
        break;
    case Trouble::NoDefault:
        useServer(setting("LCTUNE_NO_DEFAULT_SERVER"));
        break;
    case Trouble::NoSuchPrinter:
        qputenv("PRINTER", "lctune-nowhere");
        break;
    case Trouble::QueueDisabled:
        run(QStringLiteral("cupsdisable"), { queue() });
        break;
    case Trouble::QueueRejecting:
        run(QStringLiteral("cupsreject"), { queue() });
        break;
    case Trouble::StoppedByFailure: {
        qputenv("PRINTER", "lctune-failing");
        click(control(shown.w, "Command4"));
        QTRY_VERIFY_WITH_TIMEOUT(toolOutput(QStringLiteral("lpstat"),
                                     { QStringLiteral("-p"), QStringLiteral("lctune-failing") })
                                     .contains(QLatin1String("disabled")),
            30000);
        QCOMPARE(closeMessages().size(), 0);
        break;
    }
    }
    for (int i = 0; i < clicks; ++i)
        click(control(shown.w, "Command4"));
    // The window is the user's while the print system is asked.
    clickArrow(control<QScrollBar>(shown.w, "VScroll3"), Arrow::Upper);
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("20.01"));
    const QStringList state = windowState(shown.w);
    const QList<Message> seen = awaitMessages(messageWaitMs);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, message);
    QCOMPARE(seen.first().title, shown.w.windowTitle());
    QCOMPARE(windowState(shown.w), state);
    // Nothing was left waiting in the queue either, once the line is gone.
    hostile.reset();
    useServer(m_server);
    QTRY_COMPARE_WITH_TIMEOUT(unfinished(jobs()), unfinished(jobsBefore), 30000);
}

void TestPrintCups::closingTheWindowDoesNotWaitForTheServer()
{
    QTemporaryDir dir;
    HostileServer silent(dir.filePath(QStringLiteral("socket")), Answer::Silence);
    useServer(dir.filePath(QStringLiteral("socket")));
    auto shown = std::make_unique<ShownWindow>();
    QElapsedTimer clicking;
    clicking.start();
    for (int i = 0; i < 5; ++i)
        click(control(shown->w, "Command4"));
    qInfo("five print clicks on a silent server took %lld ms", clicking.elapsed());
    QList<pid_t> helpers;
    QTRY_VERIFY(!(helpers = printHelpers()).isEmpty());
    // One page at a time: the other four wait in the window.
    QCOMPARE(helpers.size(), 1);
    QElapsedTimer clock;
    clock.start();
    shown.reset();
    qInfo("the window closed in %lld ms, five pages waiting on a silent server", clock.elapsed());
    QVERIFY(clock.elapsed() < 500);
    for (pid_t pid : helpers)
        QVERIFY2(!QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid)), "a helper is left");
}

// A window that is killed cannot kill its helper: the helper, stuck on a silent server, ends
// itself at the same bound, and says that the print system did not answer.
void TestPrintCups::aHelperWithoutItsWindowEndsAtTheBound()
{
    QTemporaryDir dir;
    HostileServer silent(dir.filePath(QStringLiteral("socket")), Answer::Silence);
    useServer(dir.filePath(QStringLiteral("socket")));
    ShownWindow shown;
    QByteArray page = "LC Tune\n";
    QBuffer buffer(&page);
    buffer.open(QIODevice::Append);
    window::clientAreaImage(shown.w).save(&buffer, "BMP");
    QProcess helper;
    QElapsedTimer clock;
    clock.start();
    helper.start(window::installedPrintHelper());
    helper.write(page);
    helper.closeWriteChannel();
    QVERIFY(helper.waitForFinished(int(answerBoundMs) + 5000));
    QCOMPARE(helper.exitCode(), int(window::PrintOutcome::NoAnswer));
    QVERIFY2(clock.elapsed() >= answerBoundMs, qPrintable(QString::number(clock.elapsed())));
}

void TestPrintCups::qtsOwnPrintingPrintsOnTheDefaultQueue()
{
    ShownWindow shown;
    window::PrintQueue qtPrinting(shown.w, shown.w.form(), QStringLiteral(LCTUNE_QT_PRINT_HELPER));
    const QList<Job> jobsBefore = jobs();
    const QSet<QString> pdfsBefore = pdfs();
    qtPrinting.print();
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 1 && allCompleted(jobsAfter), 60000);
    QCOMPARE(awaitMessages(200).size(), 0);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 1)).isEmpty(), 60000);
    QTemporaryDir dir;
    const QRect area =
        printedArea(rasterise(pathOf(fresh.first()), dir.filePath(QStringLiteral("page"))));
    QVERIFY2(std::abs(area.width() - 599) <= 1 && std::abs(area.height() - 185) <= 1,
        qPrintable(QStringLiteral("%1 x %2").arg(area.width()).arg(area.height())));
}

void TestPrintCups::qtsOwnPrintingSeesThatThereIsNoDefault()
{
    // Left to itself, QPrinter would print on the first queue it finds.
    useServer(setting("LCTUNE_NO_DEFAULT_SERVER"));
    ShownWindow shown;
    window::PrintQueue qtPrinting(shown.w, shown.w.form(), QStringLiteral(LCTUNE_QT_PRINT_HELPER));
    qtPrinting.print();
    const QList<Message> seen = awaitMessages(messageWaitMs);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, QStringLiteral("No default printer is set."));
}

LCTUNE_WINDOW_TEST_MAIN(TestPrintCups)
#include "tst_print_cups.moc"
