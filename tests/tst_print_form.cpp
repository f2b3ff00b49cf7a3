// What the user is told after pressing the print button, whatever the print system answers, and
// that printing changes nothing in the window. The print system is replaced by a stand-in that
// answers as told and paints the page it is given.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/print_backend.h"
#include "window/print_form.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

using namespace testing;
using window::PrintOutcome;

namespace {

class StandInBackend : public window::PrintBackend
{
public:
    explicit StandInBackend(PrintOutcome answer) : m_answer(answer) { }

    PrintOutcome print(const QString &title, const window::PagePainter &paint) override
    {
        ++jobs;
        jobTitle = title;
        const QCursor *cursor = QGuiApplication::overrideCursor();
        busyWhilePrinting = cursor && cursor->shape() == Qt::WaitCursor;
        // A page at twice the window's resolution, with the printable area away from the corner.
        page = QImage(2 * 700, 2 * 300, QImage::Format_RGB32);
        page.setDotsPerMeterX(qRound(192 / 0.0254));
        page.setDotsPerMeterY(qRound(192 / 0.0254));
        page.fill(Qt::white);
        QPainter painter(&page);
        paint(painter, QRectF(40, 20, 2 * 650, 2 * 250));
        return m_answer;
    }

    int jobs = 0;
    QString jobTitle;
    bool busyWhilePrinting = false;
    QImage page;

private:
    PrintOutcome m_answer;
};

} // namespace

Q_DECLARE_METATYPE(PrintOutcome)

class TestPrintForm : public QObject
{
    Q_OBJECT

private slots:
    void failureShowsOneMessageInTheWindowsLanguage_data();
    void failureShowsOneMessageInTheWindowsLanguage();
    void successShowsNothingAndChangesNothing();
    void pageIsTheWindowAtItsTrueSizeAtTheTopLeft();
    void printingShowsTheWaitCursorOnlyWhileItLasts();
    void aMissingPrintModuleIsReportedNotTakenForSuccess();
};

void TestPrintForm::failureShowsOneMessageInTheWindowsLanguage_data()
{
    QTest::addColumn<PrintOutcome>("outcome");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("message");
    auto row = [](const char *tag, PrintOutcome outcome, bool inSlovak, const char *message) {
        QTest::newRow(tag) << outcome << inSlovak << QString::fromUtf8(message);
    };
    row("no default printer", PrintOutcome::NoDefaultPrinter, false, "No default printer is set.");
    row("no default printer, slovak", PrintOutcome::NoDefaultPrinter, true,
        "Nie je nastavená žiadna predvolená tlačiareň.");
    row("print system unreachable", PrintOutcome::ServerUnreachable, false,
        "The print system cannot be reached.");
    row("print system unreachable, slovak", PrintOutcome::ServerUnreachable, true,
        "Tlačový systém je nedostupný.");
    row("queue paused", PrintOutcome::QueuePaused, false,
        "The printer is paused; the job would wait.");
    row("queue paused, slovak", PrintOutcome::QueuePaused, true,
        "Tlačiareň je pozastavená; úloha by čakala.");
    row("queue rejecting", PrintOutcome::QueueRejecting, false,
        "The printer is not accepting jobs.");
    row("queue rejecting, slovak", PrintOutcome::QueueRejecting, true,
        "Tlačiareň neprijíma úlohy.");
    row("job failed", PrintOutcome::JobFailed, false, "Printing failed.");
    row("job failed, slovak", PrintOutcome::JobFailed, true, "Tlač sa nepodarila.");
    row("job still waiting", PrintOutcome::JobWaiting, false,
        "The job is not printed yet; it is waiting in the print queue.");
    row("job still waiting, slovak", PrintOutcome::JobWaiting, true,
        "Úloha ešte nie je vytlačená; čaká v tlačovom fronte.");
    row("print module missing", PrintOutcome::NotInstalled, false,
        "Printing is not available: a part of the program is missing.");
    row("print module missing, slovak", PrintOutcome::NotInstalled, true,
        "Tlač nie je k dispozícii: chýba časť programu.");
}

void TestPrintForm::failureShowsOneMessageInTheWindowsLanguage()
{
    QFETCH(PrintOutcome, outcome);
    QFETCH(bool, inSlovak);
    QFETCH(QString, message);
    ShownWindow shown;
    if (inSlovak)
        click(control(shown.w, "Command5"));
    const QStringList before = windowState(shown.w);
    StandInBackend backend(outcome);
    const QList<Message> seen =
        messagesDuring([&] { window::printForm(shown.w, shown.w.form(), backend); });
    QCOMPARE(backend.jobs, 1);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, message);
    QCOMPARE(seen.first().title, shown.w.windowTitle());
    QCOMPARE(windowState(shown.w), before);
}

void TestPrintForm::successShowsNothingAndChangesNothing()
{
    ShownWindow shown;
    click(control(shown.w, "Command3"));
    click(control(shown.w, "Check2"));
    const QStringList before = windowState(shown.w);
    StandInBackend backend(PrintOutcome::Printed);
    const QList<Message> seen =
        messagesDuring([&] { window::printForm(shown.w, shown.w.form(), backend); });
    QCOMPARE(backend.jobs, 1);
    QCOMPARE(backend.jobTitle, QStringLiteral("The Resonance circuit calculation"));
    QCOMPARE(seen.size(), 0);
    QCOMPARE(windowState(shown.w), before);
}

void TestPrintForm::pageIsTheWindowAtItsTrueSizeAtTheTopLeft()
{
    ShownWindow shown;
    StandInBackend backend(PrintOutcome::Printed);
    window::printForm(shown.w, shown.w.form(), backend);
    // At 192 dpi a window pixel is two page pixels, measured from the printable area's corner.
    auto onPage = [&](const char *name, QPoint inControl) {
        const QPoint inWindow = control(shown.w, name)->mapTo(&shown.w, inControl);
        return backend.page.pixelColor(QPoint(40, 20) + 2 * inWindow + QPoint(1, 1));
    };
    QCOMPARE(onPage("Text1", QPoint(5, 12)), rgb(0xC0C0FF));
    QCOMPARE(onPage("Text3", QPoint(5, 12)), rgb(0xC0FFC0));
    QCOMPARE(onPage("Text7", QPoint(5, 12)), rgb(0x80FF80));
    QCOMPARE(backend.page.pixelColor(40 + 1, 20 + 1), rgb(0xC0C0C0));
    QCOMPARE(backend.page.pixelColor(40 + 2 * 599 - 2, 20 + 2 * 185 - 2), rgb(0xC0C0C0));
    // Nothing beyond the client area: no frame, no title bar.
    QCOMPARE(backend.page.pixelColor(40 - 1, 20 - 1), QColor(Qt::white));
    QCOMPARE(backend.page.pixelColor(40 + 2 * 599 + 1, 20 + 2 * 185 + 1), QColor(Qt::white));
}

void TestPrintForm::printingShowsTheWaitCursorOnlyWhileItLasts()
{
    ShownWindow shown;
    StandInBackend backend(PrintOutcome::JobFailed);
    messagesDuring([&] { window::printForm(shown.w, shown.w.form(), backend); });
    QVERIFY(backend.busyWhilePrinting);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

// The print module is looked for beside the program; a copy of this test in a directory of its
// own has none there, and presses the print button for real.
void TestPrintForm::aMissingPrintModuleIsReportedNotTakenForSuccess()
{
    if (qEnvironmentVariableIsSet("LCTUNE_TEST_WITHOUT_PRINT_MODULE")) {
        ShownWindow shown;
        const QStringList before = windowState(shown.w);
        const QList<Message> seen = messagesDuring([&] { click(control(shown.w, "Command4")); });
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().text,
            QStringLiteral("Printing is not available: a part of the program is missing."));
        QCOMPARE(windowState(shown.w), before);
        return;
    }
    QTemporaryDir scratch;
    QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("bin")));
    const QString copy = scratch.filePath(
        QStringLiteral("bin/") + QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LCTUNE_TEST_WITHOUT_PRINT_MODULE"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(copy, { QStringLiteral("aMissingPrintModuleIsReportedNotTakenForSuccess") });
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

QTEST_MAIN(TestPrintForm)
#include "tst_print_form.moc"
