// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// What the user is told after pressing the print button, whatever the print system answers, and
// that printing changes nothing in the window. The print system is replaced by a stand-in that
// takes the page and answers as told, at once or later.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/print_backend.h"
#include "window/print_form.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <optional>

using namespace testing;
using window::PrintOutcome;

namespace {

// Takes the page and answers as told: at once, or when the test says.
class StandInBackend : public window::PrintBackend
{
public:
    explicit StandInBackend(std::optional<PrintOutcome> answer) : m_answer(answer) { }

    void submit(const QString &title, const QImage &window, window::PrintDone done) override
    {
        ++jobs;
        jobTitle = title;
        page = window;
        if (m_answer)
            done(*m_answer);
        else
            pending = std::move(done);
    }

    int jobs = 0;
    QString jobTitle;
    QImage page;
    window::PrintDone pending;

private:
    std::optional<PrintOutcome> m_answer;
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
    void pageIsTheClientAreaSharpEnoughForPaper();
    void theWindowTakesClicksBeforeThePrintSystemAnswers();
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
    row("no such printer", PrintOutcome::NoSuchPrinter, false,
        "The default printer does not exist.");
    row("no such printer, slovak", PrintOutcome::NoSuchPrinter, true,
        "Predvolená tlačiareň neexistuje.");
    row("no answer", PrintOutcome::NoAnswer, false, "The print system does not answer.");
    row("no answer, slovak", PrintOutcome::NoAnswer, true, "Tlačový systém neodpovedá.");
    row("password asked", PrintOutcome::PasswordRequired, false,
        "The print system asks for a password.");
    row("password asked, slovak", PrintOutcome::PasswordRequired, true,
        "Tlačový systém žiada heslo.");
    row("refused", PrintOutcome::Refused, false, "The print system refused the job.");
    row("refused, slovak", PrintOutcome::Refused, true, "Tlačový systém úlohu odmietol.");
    row("failed", PrintOutcome::Failed, false, "Printing failed.");
    row("failed, slovak", PrintOutcome::Failed, true, "Tlač sa nepodarila.");
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
    window::printForm(shown.w, shown.w.form(), &backend);
    const QList<Message> seen = awaitMessages(5000);
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
    StandInBackend backend(PrintOutcome::Submitted);
    window::printForm(shown.w, shown.w.form(), &backend);
    const QList<Message> seen = awaitMessages(100);
    QCOMPARE(backend.jobs, 1);
    QCOMPARE(backend.jobTitle, QStringLiteral("The Resonance circuit calculation"));
    QCOMPARE(seen.size(), 0);
    QCOMPARE(windowState(shown.w), before);
}

void TestPrintForm::pageIsTheClientAreaSharpEnoughForPaper()
{
    ShownWindow shown;
    click(control(shown.w, "Command2"));
    StandInBackend backend(PrintOutcome::Submitted);
    window::printForm(shown.w, shown.w.form(), &backend);
    // The client area alone, 599 x 185 window pixels, at four page pixels to the window pixel:
    // 384 dots per inch at its true size.
    QCOMPARE(backend.page.deviceIndependentSize(), QSizeF(599, 185));
    QCOMPARE(backend.page.devicePixelRatio(), 4.0);
    const auto onPage = [&](const char *name, QPoint inControl) {
        const QPoint inWindow = control(shown.w, name)->mapTo(&shown.w, inControl);
        return backend.page.pixelColor(4 * inWindow + QPoint(1, 1));
    };
    // Fix mode 2: the fixed lower capacitance light red, its upper box silver.
    QCOMPARE(onPage("Text3", QPoint(5, 12)), rgb(0xC0C0FF));
    QCOMPARE(onPage("Text4", QPoint(5, 12)), rgb(0xC0C0C0));
    QCOMPARE(onPage("Text1", QPoint(5, 12)), rgb(0xC0FFC0));
    QCOMPARE(backend.page.pixelColor(1, 1), rgb(0xC0C0C0));
    QCOMPARE(backend.page.pixelColor(4 * 599 - 2, 4 * 185 - 2), rgb(0xC0C0C0));
}

void TestPrintForm::theWindowTakesClicksBeforeThePrintSystemAnswers()
{
    ShownWindow shown;
    StandInBackend backend(std::nullopt);
    window::printForm(shown.w, shown.w.form(), &backend);
    QCOMPARE(backend.jobs, 1);
    clickArrow(control<QScrollBar>(shown.w, "VScroll3"), Arrow::Upper);
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("20.01"));
    QCOMPARE(closeMessages().size(), 0);
    const QStringList before = windowState(shown.w);
    backend.pending(PrintOutcome::QueuePaused);
    const QList<Message> seen = awaitMessages(5000);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, QStringLiteral("The printer is paused; the job would wait."));
    QCOMPARE(windowState(shown.w), before);
}

// The print module is looked for beside the program; a copy of this test in a directory of its
// own has none there, and presses the print button for real.
void TestPrintForm::aMissingPrintModuleIsReportedNotTakenForSuccess()
{
    if (qEnvironmentVariableIsSet("LCTUNE_TEST_WITHOUT_PRINT_MODULE")) {
        ShownWindow shown;
        const QStringList before = windowState(shown.w);
        click(control(shown.w, "Command4"));
        const QList<Message> seen = awaitMessages(5000);
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
