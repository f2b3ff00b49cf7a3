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
#include "window/termination_signals.h"

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

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

using namespace testing;

namespace {

// However a server behaves, the window hears from it within the print helper's bound, and kills
// a helper that has not ended a little later.
constexpr auto answerBoundMs = std::chrono::milliseconds(print_helper::printBound).count();
constexpr auto windowBoundMs =
    std::chrono::milliseconds(print_helper::printBound + print_helper::helperGrace).count();
constexpr int messageWaitMs = windowBoundMs + 5000;

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

void writeDefault(const QString &path, const QString &printer, const QString &options = {})
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    const QByteArray line = ("Default " + printer + ' ' + options).trimmed().toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(line) < 0)
        qFatal("cannot write %s", qPrintable(path));
}

// The print helpers of this run, whether this program or a window it started and ended started
// them: those whose environment names this run's output directory.
QList<pid_t> printHelpers()
{
    const QByteArray ours = "LCTUNE_PRINT_OUT=" + setting("LCTUNE_PRINT_OUT").toUtf8();
    QList<pid_t> found;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        QFile environment(QStringLiteral("/proc/%1/environ").arg(entry));
        if (!stat.open(QIODevice::ReadOnly) || !stat.readAll().contains("(lctune-print)")
            || !environment.open(QIODevice::ReadOnly))
            continue;
        if (environment.readAll().split('\0').contains(ours))
            found << entry.toInt();
    }
    return found;
}

// One attribute of a job as the server keeps it, as ipptool would print its value.
QString jobAttribute(int id, const char *name)
{
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const QByteArray uri = "ipp://localhost/jobs/" + QByteArray::number(id);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.constData());
    ippAddString(
        request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/jobs/");
    char value[256] = "";
    if (ipp_attribute_t *attribute = ippFindAttribute(response, name, IPP_TAG_ZERO))
        ippAttributeString(attribute, value, sizeof value);
    ippDelete(response);
    return QString::fromUtf8(value);
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
    Bearer,
    // Relays to the real server, but reads no more of the document after its start.
    StopsReadingTheDocument,
    // Relays to the real server, but breaks the line once the document is in, before the answer.
    DropsTheAnswer,
    // Relays to the real server, but never passes on the answer to the document.
    HoldsTheAnswer,
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
        if (m_answer == Answer::StopsReadingTheDocument || m_answer == Answer::DropsTheAnswer
            || m_answer == Answer::HoldsTheAnswer)
            return relay(peer);
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
        case Answer::DropsTheAnswer:
        case Answer::HoldsTheAnswer:
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
        case Answer::Bearer:
            reply("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Bearer realm=\"CUPS\"\r\n", {});
            break;
        }
    }

    // The requests before the document take far less than this; the page's PDF takes more.
    static constexpr qint64 relayed = 16 * 1024;

    void relay(QLocalSocket *peer)
    {
        auto *upstream = new QLocalSocket(peer);
        upstream->connectToServer(m_upstream);
        if (!upstream->waitForConnected(5000))
            qFatal("cannot reach the test's print server");
        const bool stopsReading = m_answer == Answer::StopsReadingTheDocument;
        // Once the relay stops reading, the client's writes soon find no room.
        if (stopsReading)
            peer->setReadBufferSize(relayed);
        connect(upstream, &QLocalSocket::readyRead, peer, [this, peer, upstream] {
            const QByteArray answer = upstream->readAll();
            // Past the requests before it, what the server says answers the document.
            if (peer->property("passed").toLongLong() < relayed)
                peer->write(answer);
            else if (m_answer == Answer::DropsTheAnswer)
                peer->abort();
        });
        connect(peer, &QLocalSocket::readyRead, upstream, [peer, upstream, stopsReading] {
            const qint64 passed = peer->property("passed").toLongLong();
            if (stopsReading && passed >= relayed)
                return;
            const QByteArray data = stopsReading ? peer->read(relayed - passed) : peer->readAll();
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
    StoppedWithALongReason,
};

enum class Closing { Frame, Sigterm };

// A reason for stopping a queue as long as CUPS keeps, one short line after another.
QString longReason()
{
    QStringList lines;
    for (int line = 1; line <= 300; ++line)
        lines << QStringLiteral("Reason line %1").arg(line);
    return lines.join(QLatin1Char('\n'));
}

// Where the window was printed on a page drawn at 96 dots per inch, and the colour there at a
// point of a control.
QColor printedColour(const QImage &page, QPoint origin, QWidget &window, QWidget *widget, QPoint at)
{
    return page.pixelColor(origin + widget->mapTo(&window, at));
}

} // namespace

Q_DECLARE_METATYPE(Trouble)
Q_DECLARE_METATYPE(Answer)
Q_DECLARE_METATYPE(Closing)

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
    void closingHandsEveryPageOn_data();
    void closingHandsEveryPageOn();
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
    // What the user's lpoptions set for the destination, and what the job carries then.
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("attributes");
    // The server's default is lctune-pdf. CUPS's own order, as lp has it: LPDEST, PRINTER, the
    // user's lpoptions, the system's lpoptions, the server.
    const QString none;
    const QString dl = QStringLiteral("lctune-dl");
    const QString a5 = QStringLiteral("lctune-a5");
    const QString letter = QStringLiteral("lctune-letter");
    // clang-format off
    QTest::newRow("the user's lpoptions beat the server's default") << dl   << none << none   << none << dl << none << QStringList {};
    QTest::newRow("the system's lpoptions beat the server's default") << none << a5 << none   << none << a5 << none << QStringList {};
    QTest::newRow("the user's lpoptions beat the system's")          << dl   << a5   << none   << none << dl << none << QStringList {};
    QTest::newRow("PRINTER beats the user's lpoptions")              << dl   << none << letter << none << letter << none << QStringList {};
    QTest::newRow("LPDEST beats PRINTER and the user's lpoptions")   << dl   << none << letter << a5   << a5 << none << QStringList {};
    // clang-format on
    QTest::newRow("the user's lpoptions options go with the job, as lp sends them")
        << dl << none << none << none << dl
        << QStringLiteral("sides=two-sided-long-edge print-color-mode=monochrome")
        << QStringList { QStringLiteral("sides=two-sided-long-edge"),
               QStringLiteral("print-color-mode=monochrome") };
}

void TestPrintCups::theUsersOwnDefaultPrinterGetsTheJob()
{
    QFETCH(QString, userDefault);
    QFETCH(QString, systemDefault);
    QFETCH(QString, printer);
    QFETCH(QString, lpdest);
    QFETCH(QString, printsOn);
    QFETCH(QString, options);
    QFETCH(QStringList, attributes);
    if (!userDefault.isEmpty())
        writeDefault(userOptions(), userDefault, options);
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
    if (attributes.isEmpty())
        return;
    // lp's own job with the same lpoptions, held so that it never prints.
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("page.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("page\n") > 0);
    file.close();
    const QString lp = toolOutput(QStringLiteral("lp"),
        { QStringLiteral("-d"), printsOn, QStringLiteral("-H"), QStringLiteral("hold"),
            file.fileName() });
    const int lpJob = lp.section(QLatin1Char(' '), 3, 3).section(QLatin1Char('-'), -1).toInt();
    QVERIFY2(lpJob > 0, qPrintable(lp));
    for (const QString &attribute : attributes) {
        const QByteArray name = attribute.section(QLatin1Char('='), 0, 0).toUtf8();
        QCOMPARE(jobAttribute(after.last().id, name.constData()), attribute.section('=', 1));
        QCOMPARE(jobAttribute(lpJob, name.constData()), attribute.section('=', 1));
    }
    run(QStringLiteral("cancel"), { QString::number(lpJob) });
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
    // The jobs that the server made, though the window was not told so.
    QTest::addColumn<int>("jobsMade");
    const auto row = [](const char *tag, Trouble trouble, bool inSlovak, const char *message,
                         Answer answer = Answer::Silence, int clicks = 1, int jobsMade = 0) {
        QTest::newRow(tag) << trouble << answer << inSlovak << QString::fromUtf8(message) << clicks
                           << jobsMade;
    };
    const char *unreachable = "The print system cannot be reached.";
    const char *notOne = "What answers in place of the print system is not one.";
    const char *signIn = "The print system asks you to sign in.";
    const char *unconfirmed =
        "The page went to the print system, which never confirmed it: it may or may not print.";
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
    row("a server that answers garbage", Trouble::Hostile, false, notOne, Answer::Garbage);
    row("a server that answers HTML", Trouble::Hostile, false, notOne, Answer::Html);
    row("a server that answers corrupt IPP", Trouble::Hostile, false, notOne, Answer::CorruptIpp);
    row("the line breaks after the whole page, before the answer", Trouble::Hostile, false,
        unconfirmed, Answer::DropsTheAnswer, 1, 1);
    row("the answer held past the bound", Trouble::Hostile, false, unconfirmed,
        Answer::HoldsTheAnswer, 1, 1);
    row("the line breaks after the whole page, in Slovak", Trouble::Hostile, true,
        "Stránka odišla do tlačového systému, ten ju však nepotvrdil: môže, ale nemusí sa "
        "vytlačiť.",
        Answer::DropsTheAnswer, 1, 1);
    row("a server that answers HTTP 500", Trouble::Hostile, false,
        "The print system refused the job.", Answer::ServerError);
    row("a server that asks for a password", Trouble::Hostile, false, signIn, Answer::Password);
    row("a server that asks for a Bearer token", Trouble::Hostile, false, signIn, Answer::Bearer);
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
    row("a stopped queue's reason of 300 lines: the box within the screen",
        Trouble::StoppedWithALongReason, false,
        "The printer is stopped; the job would wait.\n\nReason line 1\nReason line 2\nReason "
        "line 3\nReason line 4\nReason line 5\u2026");
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
    QFETCH(int, jobsMade);
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
    case Trouble::StoppedWithALongReason:
        run(QStringLiteral("cupsdisable"), { QStringLiteral("-r"), longReason(), queue() });
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
    QVERIFY2(seen.first().onScreen, qPrintable(seen.first().geometry));
    QCOMPARE(windowState(shown.w), state);
    // Nothing was left waiting in the queue either, once the line is gone.
    hostile.reset();
    useServer(m_server);
    QCOMPARE(jobs().size(), jobsBefore.size() + jobsMade);
    QTRY_COMPARE_WITH_TIMEOUT(unfinished(jobs()), unfinished(jobsBefore), 30000);
}

void TestPrintCups::closingHandsEveryPageOn_data()
{
    QTest::addColumn<Closing>("closing");
    QTest::addColumn<bool>("silentServer");
    QTest::addColumn<int>("pages");
    QTest::newRow("five clicks on a slow queue, then the frame closes")
        << Closing::Frame << false << 5;
    QTest::newRow("five clicks on a slow queue, then SIGTERM") << Closing::Sigterm << false << 5;
    QTest::newRow("five clicks on a silent server, then the frame closes")
        << Closing::Frame << true << 0;
}

// Closing the window, by its frame or by a signal, returns at once and loses no click: the pages
// go on in helpers that outlive the window, each within the bound, and none is left after it.
void TestPrintCups::closingHandsEveryPageOn()
{
    QFETCH(Closing, closing);
    QFETCH(bool, silentServer);
    QFETCH(int, pages);
    const QString slow = QStringLiteral("lctune-slow");
    qputenv("PRINTER", slow.toUtf8());
    // The window that a signal ends is a copy of this program, run for this row alone.
    if (qEnvironmentVariableIsSet("LCTUNE_PRINT_CHILD")) {
        {
            ShownWindow shown;
            window::quitOnTerminationSignals();
            for (int i = 0; i < 5; ++i)
                click(control(shown.w, "Command4"));
            std::puts("clicked");
            std::fflush(stdout);
            QApplication::exec();
        }
        std::puts("gone");
        std::fflush(stdout);
        return;
    }
    const qsizetype jobsBefore = jobs(slow).size();
    QTemporaryDir dir;
    std::optional<HostileServer> silent;
    if (silentServer) {
        silent.emplace(dir.filePath(QStringLiteral("socket")), Answer::Silence);
        useServer(dir.filePath(QStringLiteral("socket")));
    }
    QElapsedTimer clock;
    if (closing == Closing::Frame) {
        auto shown = std::make_unique<ShownWindow>();
        for (int i = 0; i < 5; ++i)
            click(control(shown->w, "Command4"));
        clock.start();
        shown->w.close();
        shown.reset();
    } else {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LCTUNE_PRINT_CHILD"), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(),
            { QStringLiteral("closingHandsEveryPageOn:") + QTest::currentDataTag() });
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT(
            (said += child.readAll()).contains("clicked"), said.constData(), 30000);
        clock.start();
        QVERIFY(::kill(pid_t(child.processId()), SIGTERM) == 0);
        QTRY_VERIFY2_WITH_TIMEOUT(
            (said += child.readAll()).contains("gone"), said.constData(), 5000);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitCode(), 0);
    }
    qInfo("the window was gone %lld ms after it was closed, five pages to hand over",
        clock.elapsed());
    QVERIFY(clock.elapsed() < 500);
    QVERIFY(!printHelpers().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(printHelpers().isEmpty(), int(windowBoundMs) + 2000);
    qInfo("the last helper ended %lld ms after the window", clock.elapsed());
    useServer(m_server);
    QCOMPARE(jobs(slow).size() - jobsBefore, pages);
    QCOMPARE(awaitMessages(200).size(), 0);
    run(QStringLiteral("cancel"), { QStringLiteral("-a"), slow });
}

// A window that is killed cannot kill its helper: the helper, stuck on a silent server, ends
// itself within the same bound, and says that the print system did not answer.
void TestPrintCups::aHelperWithoutItsWindowEndsAtTheBound()
{
    QTemporaryDir dir;
    HostileServer silent(dir.filePath(QStringLiteral("socket")), Answer::Silence);
    useServer(dir.filePath(QStringLiteral("socket")));
    ShownWindow shown;
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    window::clientAreaImage(shown.w).save(&buffer, "BMP");
    QProcess helper;
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    helper.start(window::installedPrintHelper());
    helper.write("1 " + QByteArray::number(bmp.size()) + " LC Tune\n" + bmp);
    helper.closeWriteChannel();
    QVERIFY(helper.waitForFinished(int(windowBoundMs) + 5000));
    QCOMPARE(helper.exitCode(), int(print_helper::PrintOutcome::NoAnswer));
    QVERIFY2(clock.elapsed() >= answerBoundMs - 1000 && clock.elapsed() <= answerBoundMs + 500,
        qPrintable(QString::number(clock.elapsed())));
}

void TestPrintCups::qtsOwnPrintingPrintsOnTheDefaultQueue()
{
    ShownWindow shown;
    window::PrintForm qtPrinting(shown.w, shown.w.form(), QStringLiteral(LCTUNE_QT_PRINT_HELPER));
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
    window::PrintForm qtPrinting(shown.w, shown.w.form(), QStringLiteral(LCTUNE_QT_PRINT_HELPER));
    qtPrinting.print();
    const QList<Message> seen = awaitMessages(messageWaitMs);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, QStringLiteral("No default printer is set."));
}

LCTUNE_WINDOW_TEST_MAIN(TestPrintCups)
#include "tst_print_cups.moc"
