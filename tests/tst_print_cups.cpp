// The print button against real CUPS servers, started for this program by
// tests/print/run-print-tests.sh: the default destination is a cups-pdf queue, and the PDF it
// writes is read as a person would read the printed page. When the print system cannot print,
// the user gets one message and the window stays as it was.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/backends/qt_print_backend.h"
#include "window/print_backend.h"
#include "window/print_page.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QSet>
#include <QTemporaryDir>

#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>

using namespace testing;

namespace {

// Where the script put things.
QString setting(const char *name)
{
    return qEnvironmentVariable(name);
}

QString queue()
{
    return setting("LCTUNE_PRINT_QUEUE");
}

struct Job
{
    int id;
    int state;
};

// The jobs the current server has had for the queue, oldest first.
QList<Job> jobs()
{
    cups_job_t *list = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue().toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    QList<Job> found;
    for (int i = 0; i < count; ++i)
        found << Job { list[i].id, list[i].state };
    cupsFreeJobs(count, list);
    std::ranges::sort(found, {}, &Job::id);
    return found;
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

// The PDFs that appeared since `before`, once all of them are whole.
QStringList wholeNewPdfs(const QSet<QString> &before, int expected)
{
    QStringList fresh = (pdfs() - before).values();
    if (fresh.size() != expected || !std::ranges::all_of(fresh, isWhole))
        return {};
    std::ranges::sort(
        fresh, {}, [](const QString &name) { return QFileInfo(pathOf(name)).lastModified(); });
    return fresh;
}

void run(const QString &tool, const QStringList &arguments)
{
    if (QProcess::execute(tool, arguments) != 0)
        qFatal("%s failed", qPrintable(tool));
}

enum class Trouble { NoServer, SilentServer, NoDefault, QueueDisabled, QueueRejecting };

// A server that takes the connection and never answers: a socket that listens and accepts no one.
class SilentServer
{
public:
    explicit SilentServer(const QString &path) : m_socket(::socket(AF_UNIX, SOCK_STREAM, 0))
    {
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::memcpy(address.sun_path, name.constData(),
            std::min<std::size_t>(name.size(), sizeof address.sun_path - 1));
        if (::bind(m_socket, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
            || ::listen(m_socket, 8) != 0)
            qFatal("cannot listen on %s", name.constData());
    }
    ~SilentServer() { ::close(m_socket); }
    SilentServer(const SilentServer &) = delete;
    SilentServer &operator=(const SilentServer &) = delete;

private:
    int m_socket;
};

// Counts how often the window is painted while something else keeps asking it to repaint, until a
// message box shows: proof that the window's thread kept painting while the print system worked.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget &window) : m_window(window)
    {
        window.installEventFilter(this);
        m_ask.setInterval(20);
        connect(&m_ask, &QTimer::timeout, this, [this] {
            const auto tops = QApplication::topLevelWidgets();
            m_counting = std::ranges::none_of(tops,
                [](QWidget *top) { return qobject_cast<QMessageBox *>(top) && top->isVisible(); });
            m_window.update();
        });
        m_ask.start();
    }
    int paints() const { return m_paints; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint && m_counting)
            ++m_paints;
        return false;
    }

private:
    QWidget &m_window;
    QTimer m_ask;
    bool m_counting = true;
    int m_paints = 0;
};

} // namespace

Q_DECLARE_METATYPE(Trouble)

class TestPrintCups : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void clickPrintsThePageThatTheWindowShows_data();
    void clickPrintsThePageThatTheWindowShows();
    void printingTwiceGivesTwoJobsWithTheSameContent();
    void troubleShowsOneMessageAndChangesNothing_data();
    void troubleShowsOneMessageAndChangesNothing();
    void qtsOwnPrintingPrintsOnTheDefaultQueue();
    void qtsOwnPrintingSeesThatThereIsNoDefault();

private:
    QByteArray m_server;
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
    m_server = qgetenv("CUPS_SERVER");
    QCOMPARE(QByteArray(cupsServer()), m_server);
}

void TestPrintCups::cleanup()
{
    cupsSetServer(m_server.constData());
    run(QStringLiteral("cupsenable"), { queue() });
    run(QStringLiteral("cupsaccept"), { queue() });
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
    PaintCounter painting(w);
    const QList<Message> seen = messagesDuring([&] { click(control(w, "Command4")); });
    const qint64 took = clock.elapsed();
    QVERIFY2(seen.isEmpty(), qPrintable(seen.isEmpty() ? QString() : seen.first().text));
    QCOMPARE(windowState(w), state);
    QVERIFY(painting.paints() > 0);
    qInfo("one print took %lld ms from the click to the finished job", took);

    // One job more, and done.
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 1 && allCompleted(jobsAfter), 60000);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 1)).isEmpty(), 60000);
    const QString pdf = pathOf(fresh.first());

    QCOMPARE(pageCount(pdf), 1);
    QCOMPARE(embeddedImages(pdf), QStringList());
    QTemporaryDir dir;
    const QImage page = rasterise(pdf, dir.filePath(QStringLiteral("page")));
    // The window at its true size, 599 x 185 pixels at 96 dpi, at the top left inside margins of
    // 10 mm (37.8 pixels), the printer giving none of its own.
    const QRect area = printedArea(page);
    QVERIFY2(std::abs(area.width() - 599) <= 1 && std::abs(area.height() - 185) <= 1,
        qPrintable(QStringLiteral("%1 x %2").arg(area.width()).arg(area.height())));
    QVERIFY2(std::abs(area.left() - 38) <= 1 && std::abs(area.top() - 38) <= 1,
        qPrintable(QStringLiteral("%1, %2").arg(area.left()).arg(area.top())));
    QVERIFY(sameColour(page.pixelColor(area.topLeft() + QPoint(3, 3)), rgb(0xC0C0C0), 3));
    for (const QString &expected : colours) {
        const QString name = expected.section(QLatin1Char('='), 0, 0);
        QLineEdit *box = control<QLineEdit>(w, qPrintable(name));
        const QPoint at = area.topLeft() + box->mapTo(&w, QPoint(5, box->height() / 2));
        const QColor want = rgb(expected.section(QLatin1Char('='), 1).toUInt(nullptr, 16));
        QVERIFY2(sameColour(page.pixelColor(at), want, 3),
            qPrintable(QStringLiteral("%1: printed %2, want %3")
                           .arg(name, page.pixelColor(at).name(), want.name())));
    }
}

void TestPrintCups::printingTwiceGivesTwoJobsWithTheSameContent()
{
    ShownWindow shown;
    const QList<Job> jobsBefore = jobs();
    const QSet<QString> pdfsBefore = pdfs();
    const QList<Message> seen = messagesDuring([&] {
        click(control(shown.w, "Command4"));
        click(control(shown.w, "Command4"));
    });
    QCOMPARE(seen.size(), 0);
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 2 && allCompleted(jobsAfter), 60000);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 2)).isEmpty(), 60000);
    QTemporaryDir dir;
    const QImage first = rasterise(pathOf(fresh[0]), dir.filePath(QStringLiteral("first")));
    const QImage second = rasterise(pathOf(fresh[1]), dir.filePath(QStringLiteral("second")));
    QVERIFY(!first.isNull());
    QVERIFY(first == second);
}

void TestPrintCups::troubleShowsOneMessageAndChangesNothing_data()
{
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("message");
    QTest::newRow("no server running")
        << Trouble::NoServer << false << QStringLiteral("The print system cannot be reached.");
    QTest::newRow("a server that does not answer")
        << Trouble::SilentServer << false << QStringLiteral("The print system cannot be reached.");
    QTest::newRow("a server with no default destination")
        << Trouble::NoDefault << false << QStringLiteral("No default printer is set.");
    QTest::newRow("default queue disabled")
        << Trouble::QueueDisabled << false
        << QStringLiteral("The printer is paused; the job would wait.");
    QTest::newRow("default queue rejecting jobs")
        << Trouble::QueueRejecting << false << QStringLiteral("The printer is not accepting jobs.");
    QTest::newRow("no server running, in Slovak")
        << Trouble::NoServer << true << QStringLiteral("Tlačový systém je nedostupný.");
    QTest::newRow("default queue disabled, in Slovak")
        << Trouble::QueueDisabled << true
        << QStringLiteral("Tlačiareň je pozastavená; úloha by čakala.");
}

void TestPrintCups::troubleShowsOneMessageAndChangesNothing()
{
    QFETCH(Trouble, trouble);
    QFETCH(bool, inSlovak);
    QFETCH(QString, message);
    ShownWindow shown;
    if (inSlovak)
        click(control(shown.w, "Command5"));
    const QList<Job> jobsBefore = jobs();
    QTemporaryDir dir;
    std::optional<SilentServer> silent;
    switch (trouble) {
    case Trouble::NoServer:
        cupsSetServer(qPrintable(setting("LCTUNE_DEAD_SERVER")));
        break;
    case Trouble::SilentServer:
        silent.emplace(dir.filePath(QStringLiteral("socket")));
        cupsSetServer(qPrintable(dir.filePath(QStringLiteral("socket"))));
        break;
    case Trouble::NoDefault:
        cupsSetServer(qPrintable(setting("LCTUNE_NO_DEFAULT_SERVER")));
        break;
    case Trouble::QueueDisabled:
        run(QStringLiteral("cupsdisable"), { queue() });
        break;
    case Trouble::QueueRejecting:
        run(QStringLiteral("cupsreject"), { queue() });
        break;
    }
    const QStringList state = windowState(shown.w);
    PaintCounter painting(shown.w);
    const QList<Message> seen = messagesDuring([&] { click(control(shown.w, "Command4")); });
    if (trouble == Trouble::SilentServer)
        QVERIFY(painting.paints() > 0);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, message);
    QCOMPARE(seen.first().title, shown.w.windowTitle());
    QCOMPARE(windowState(shown.w), state);
    // Nothing was left waiting in the queue either.
    cupsSetServer(m_server.constData());
    QCOMPARE(jobs().size(), jobsBefore.size());
}

void TestPrintCups::qtsOwnPrintingPrintsOnTheDefaultQueue()
{
    ShownWindow shown;
    const QList<Job> jobsBefore = jobs();
    const QSet<QString> pdfsBefore = pdfs();
    const auto outcome = window::qtPrintBackend()->print(
        QStringLiteral("Qt printing"), [&](QPainter &painter, const QRectF &printable) {
            window::paintWindowOnPage(painter, shown.w, printable);
        });
    QCOMPARE(outcome, window::PrintOutcome::Printed);
    QList<Job> jobsAfter;
    QTRY_VERIFY_WITH_TIMEOUT(
        (jobsAfter = jobs()).size() == jobsBefore.size() + 1 && allCompleted(jobsAfter), 60000);
    QStringList fresh;
    QTRY_VERIFY_WITH_TIMEOUT(!(fresh = wholeNewPdfs(pdfsBefore, 1)).isEmpty(), 60000);
    QCOMPARE(embeddedImages(pathOf(fresh.first())), QStringList());
}

void TestPrintCups::qtsOwnPrintingSeesThatThereIsNoDefault()
{
    // Left to itself, QPrinter would print on the first queue it finds.
    cupsSetServer(qPrintable(setting("LCTUNE_NO_DEFAULT_SERVER")));
    const auto outcome = window::qtPrintBackend()->print(
        QStringLiteral("Qt printing"), [](QPainter &, const QRectF &) {});
    QCOMPARE(outcome, window::PrintOutcome::NoDefaultPrinter);
}

QTEST_MAIN(TestPrintCups)
#include "tst_print_cups.moc"
