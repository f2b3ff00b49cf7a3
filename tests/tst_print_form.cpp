// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// What the user is told after pressing the print button, whatever the print helper answers, and
// that printing changes nothing in the window. A stand-in program takes the helper's place: it
// keeps what the window hands over and answers as told, at once or later.

#include "print_test_support.h"
#include "window_test_support.h"

#include "window/print_form.h"

#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <memory>

using namespace testing;
using print_helper::PrintOutcome;

namespace {

// A print queue of the window whose helper is the stand-in: it answers `status` with `words`
// after `delayMs`, keeping each page it takes as a file in the directory `keep`.
std::unique_ptr<window::PrintForm> standInQueue(window::MainWindow &w, int status,
    const QString &delayMs, const QString &words = {}, const QString &keep = {})
{
    QStringList arguments { QString::number(status), delayMs, words };
    if (!keep.isEmpty())
        arguments << keep;
    return std::make_unique<window::PrintForm>(
        w, w.form(), QStringLiteral(LCTUNE_PRINT_STAND_IN), arguments);
}

std::unique_ptr<window::PrintForm> standInQueue(window::MainWindow &w, int status, int delayMs = 0,
    const QString &words = {}, const QString &keep = {})
{
    return standInQueue(w, status, QString::number(delayMs), words, keep);
}

// The window's bound: how long it lets a helper run before it kills it.
constexpr auto windowBoundMs =
    std::chrono::milliseconds(print_helper::printBound + print_helper::helperGrace).count();

int status(PrintOutcome outcome)
{
    return static_cast<int>(outcome);
}

struct HandedOver
{
    QString title;
    QImage page;
};

// What one hand-over carried: the job's title line, then the page.
HandedOver handedOver(const QByteArray &taken)
{
    const qsizetype titleEnd = taken.indexOf('\n');
    QImage page = QImage::fromData(taken.mid(titleEnd + 1), "BMP");
    page.setDevicePixelRatio(print_helper::printPixelRatio);
    return { QString::fromUtf8(taken.left(titleEnd)), page };
}

// What the stand-ins took, each page whole, in the order taken.
QList<HandedOver> pagesKept(const QTemporaryDir &keep)
{
    QList<HandedOver> pages;
    for (const QString &name : QDir(keep.path()).entryList(QDir::Files, QDir::Name)) {
        QFile file(keep.filePath(name));
        if (!name.startsWith(QLatin1String("taking")) && file.open(QIODevice::ReadOnly))
            pages << handedOver(file.readAll());
    }
    return pages;
}

} // namespace

class TestPrintForm : public QObject
{
    Q_OBJECT

private slots:
    void failureShowsOneMessageInTheWindowsLanguage_data();
    void failureShowsOneMessageInTheWindowsLanguage();
    void successShowsNothingAndChangesNothing();
    void pageIsTheClientAreaSharpEnoughForPaper();
    void pageShowsTheWindowAtRest();
    void clicksDuringAHandOverWaitTheirTurn_data();
    void clicksDuringAHandOverWaitTheirTurn();
    void theWindowTakesClicksBeforeThePrintSystemAnswers();
    void aHelperPastTheBoundIsStoppedAndReported();
    void aHelperThatEndsAsTheBoundPassesIsJudgedByItsStatus();
    void closingHandsThePagesOn();
    void theHelperTakesLeftPagesFromAFolderOfAnyName();
    void aHelperThatCannotStartIsReported_data();
    void aHelperThatCannotStartIsReported();
    void focusComesBackWhenTheMessageCloses();
    void aMissingPrintHelperIsReportedNotTakenForSuccess();
};

void TestPrintForm::failureShowsOneMessageInTheWindowsLanguage_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("words");
    QTest::addColumn<bool>("inSlovak");
    QTest::addColumn<QString>("message");
    auto row = [](const char *tag, int status, bool inSlovak, const char *message,
                   const char *words = "") {
        QTest::newRow(tag) << status << QString::fromUtf8(words) << inSlovak
                           << QString::fromUtf8(message);
    };
    using O = PrintOutcome;
    row("no default printer", status(O::NoDefaultPrinter), false, "No default printer is set.");
    row("no default printer, slovak", status(O::NoDefaultPrinter), true,
        "Nie je nastavená žiadna predvolená tlačiareň.");
    row("print system unreachable", status(O::ServerUnreachable), false,
        "The print system cannot be reached.");
    row("print system unreachable, slovak", status(O::ServerUnreachable), true,
        "Tlačový systém je nedostupný.");
    row("queue stopped, the print system's words below", status(O::QueueStopped), false,
        "The printer is stopped; the job would wait.\n\nPaper jam <b>in</b> tray 2",
        "Paper jam <b>in</b> tray 2");
    row("queue stopped, slovak", status(O::QueueStopped), true,
        "Tlačiareň je zastavená; úloha by čakala.\n\nPaused", "Paused");
    row("queue rejecting", status(O::QueueRejecting), false, "The printer is not accepting jobs.");
    row("queue rejecting, slovak", status(O::QueueRejecting), true, "Tlačiareň neprijíma úlohy.");
    row("no such printer", status(O::NoSuchPrinter), false, "The default printer does not exist.");
    row("no such printer, slovak", status(O::NoSuchPrinter), true,
        "Predvolená tlačiareň neexistuje.");
    row("no answer", status(O::NoAnswer), false, "The print system does not answer.");
    row("no answer, slovak", status(O::NoAnswer), true, "Tlačový systém neodpovedá.");
    row("credentials asked", status(O::Credentials), false,
        "The print system asks you to sign in.");
    row("credentials asked, slovak", status(O::Credentials), true,
        "Tlačový systém žiada prihlásenie.");
    row("the page went out, no answer came", status(O::Unconfirmed), false,
        "The page went to the print system, which never confirmed it: it may or may not print.");
    row("the page went out, no answer came, slovak", status(O::Unconfirmed), true,
        "Stránka odišla do tlačového systému, ten ju však nepotvrdil: môže, ale nemusí sa "
        "vytlačiť.");
    row("something else answers", status(O::NotAPrintSystem), false,
        "What answers in place of the print system is not one.");
    row("something else answers, slovak", status(O::NotAPrintSystem), true,
        "Namiesto tlačového systému odpovedá niečo iné.");
    row("refused", status(O::Refused), false, "The print system refused the job.");
    row("refused, slovak", status(O::Refused), true, "Tlačový systém úlohu odmietol.");
    row("failed", status(O::Failed), false, "Printing failed.");
    row("failed, slovak", status(O::Failed), true, "Tlač sa nepodarila.");
    row("a status the helper does not give", 99, false, "Printing failed.");
    // The box keeps within the screen: a few lines of the print system's words, then an ellipsis.
    QStringList reason;
    for (int line = 1; line <= 300; ++line)
        reason << QStringLiteral("Reason line %1").arg(line);
    QTest::newRow("a reason of 300 lines, cut short")
        << status(O::QueueStopped) << reason.join(QLatin1Char('\n')) << false
        << QStringLiteral(
               "The printer is stopped; the job would wait.\n\nReason line 1\nReason line "
               "2\nReason line 3\nReason line 4\nReason line 5\u2026");
    QTest::newRow("a reason in lines ending in CR LF, cut short")
        << status(O::QueueStopped) << reason.join(QStringLiteral("\r\n")) << false
        << QStringLiteral(
               "The printer is stopped; the job would wait.\n\nReason line 1\nReason line "
               "2\nReason line 3\nReason line 4\nReason line 5\u2026");
    const QString word(150, QLatin1Char('x'));
    QTest::newRow("a word wider than the box, broken")
        << status(O::QueueStopped) << word << false
        << QStringLiteral("The printer is stopped; the job would wait.\n\n") + word.left(64)
            + QLatin1Char('\n') + word.mid(64, 64) + QLatin1Char('\n') + word.mid(128);
}

void TestPrintForm::failureShowsOneMessageInTheWindowsLanguage()
{
    QFETCH(int, status);
    QFETCH(QString, words);
    QFETCH(bool, inSlovak);
    QFETCH(QString, message);
    ShownWindow shown;
    if (inSlovak)
        click(control(shown.w, "Command5"));
    const QStringList before = windowState(shown.w);
    const auto queue = standInQueue(shown.w, status, 0, words);
    queue->print();
    const QList<Message> seen = awaitMessages(5000);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, message);
    QCOMPARE(seen.first().title, shown.w.windowTitle());
    QVERIFY2(seen.first().onScreen, qPrintable(seen.first().geometry));
    QCOMPARE(windowState(shown.w), before);
}

void TestPrintForm::successShowsNothingAndChangesNothing()
{
    ShownWindow shown;
    click(control(shown.w, "Command3"));
    click(control(shown.w, "Check2"));
    const QStringList before = windowState(shown.w);
    QTemporaryDir kept;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted), 0, {}, kept.path());
    queue->print();
    QTRY_COMPARE(pagesKept(kept).size(), 1);
    QCOMPARE(awaitMessages(200).size(), 0);
    QCOMPARE(pagesKept(kept).first().title, QStringLiteral("The Resonance circuit calculation"));
    QCOMPARE(windowState(shown.w), before);
}

void TestPrintForm::pageIsTheClientAreaSharpEnoughForPaper()
{
    ShownWindow shown;
    click(control(shown.w, "Command2"));
    QTemporaryDir kept;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted), 0, {}, kept.path());
    queue->print();
    QTRY_COMPARE(pagesKept(kept).size(), 1);
    const QImage page = pagesKept(kept).first().page;
    // The client area alone, 599 x 185 window pixels, at four page pixels to the window pixel:
    // 384 dots per inch at its true size.
    QCOMPARE(page.size(), QSize(4 * 599, 4 * 185));
    const auto onPage = [&](const char *name, QPoint inControl) {
        const QPoint inWindow = control(shown.w, name)->mapTo(&shown.w, inControl);
        return page.pixelColor(4 * inWindow + QPoint(1, 1));
    };
    // Fix mode 2: the fixed lower capacitance light red, its upper box silver.
    QCOMPARE(onPage("Text3", QPoint(5, 12)), rgb(0xC0C0FF));
    QCOMPARE(onPage("Text4", QPoint(5, 12)), rgb(0xC0C0C0));
    QCOMPARE(onPage("Text1", QPoint(5, 12)), rgb(0xC0FFC0));
    QCOMPARE(page.pixelColor(1, 1), rgb(0xC0C0C0));
    QCOMPARE(page.pixelColor(4 * 599 - 2, 4 * 185 - 2), rgb(0xC0C0C0));
}

// The pointer rests on the print button and the keyboard's focus cue is on it, as after a click
// or a key; the page shows neither, as a window that nobody touched shows it.
void TestPrintForm::pageShowsTheWindowAtRest()
{
    ShownWindow untouched;
    const QImage atRest = window::clientAreaImage(untouched.w);
    ShownWindow shown;
    QWidget *print = control(shown.w, "Command4");
    const QRect printArea(print->mapTo(&shown.w, QPoint(0, 0)), print->size());
    const QImage before = shown.w.grab().toImage().copy(printArea);
    shown.w.setAttribute(Qt::WA_KeyboardFocusChange);
    print->setFocus(Qt::TabFocusReason);
    // The pointer itself, too: where the platform follows it, as Windows does, a pointer left
    // elsewhere takes the hover off the button again. It comes from outside the window, so that
    // it moves even if an earlier window left it there.
    QCursor::setPos(shown.w.mapToGlobal(QPoint(-20, -20)));
    QTest::qWait(50);
    QCursor::setPos(print->mapToGlobal(print->rect().center()));
    QTest::mouseMove(shown.w.windowHandle(), print->mapTo(&shown.w, print->rect().center()));
    QTRY_VERIFY(print->underMouse());
    // Otherwise the test would show nothing: the button looks different while touched.
    QVERIFY(shown.w.grab().toImage().copy(printArea) != before);
    QTemporaryDir kept;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted), 0, {}, kept.path());
    queue->print();
    QTRY_COMPARE(pagesKept(kept).size(), 1);
    QVERIFY(pagesKept(kept).first().page == atRest);
    QVERIFY(print->underMouse() && print->hasFocus());
}

void TestPrintForm::clicksDuringAHandOverWaitTheirTurn_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("pages");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("each page taken in turn")
        << status(PrintOutcome::Submitted) << 5 << QStringList {};
    QTest::newRow("trouble drops the pages waiting, and says so once")
        << status(PrintOutcome::NoAnswer) << 1
        << QStringList { QStringLiteral("The print system does not answer.") };
}

void TestPrintForm::clicksDuringAHandOverWaitTheirTurn()
{
    QFETCH(int, status);
    QFETCH(int, pages);
    QFETCH(QStringList, messages);
    ShownWindow shown;
    QTemporaryDir kept;
    const auto queue = standInQueue(shown.w, status, 300, {}, kept.path());
    for (int click = 0; click < 5; ++click)
        queue->print();
    QTRY_COMPARE_WITH_TIMEOUT(pagesKept(kept).size(), pages, 10000);
    const QList<Message> seen = awaitMessages(messages.isEmpty() ? 500 : 5000);
    QCOMPARE(pagesKept(kept).size(), pages);
    QStringList texts;
    for (const Message &message : seen)
        texts << message.text;
    QCOMPARE(texts, messages);
}

void TestPrintForm::theWindowTakesClicksBeforeThePrintSystemAnswers()
{
    ShownWindow shown;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::QueueRejecting), 1000);
    QElapsedTimer clock;
    clock.start();
    queue->print();
    clickArrow(control<QScrollBar>(shown.w, "VScroll3"), Arrow::Upper);
    QCOMPARE(control<QLineEdit>(shown.w, "Text3")->text(), QStringLiteral("20.01"));
    QCOMPARE(closeMessages().size(), 0);
    qInfo("print and a spin click took %lld ms", clock.elapsed());
    const QStringList before = windowState(shown.w);
    const QList<Message> seen = awaitMessages(5000);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, QStringLiteral("The printer is not accepting jobs."));
    QCOMPARE(windowState(shown.w), before);
}

// A helper that hangs is stopped at the bound, whatever it does, and the user is told.
void TestPrintForm::aHelperPastTheBoundIsStoppedAndReported()
{
    ShownWindow shown;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted), 60000);
    QElapsedTimer clock;
    clock.start();
    queue->print();
    const QList<Message> seen = awaitMessages(15000);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.first().text, QStringLiteral("The print system does not answer."));
    // A coarse timer may fire a twentieth early.
    QVERIFY2(clock.elapsed() >= windowBoundMs * 19 / 20 && clock.elapsed() < windowBoundMs + 1000,
        qPrintable(QString::number(clock.elapsed())));
}

// The helper ends with success just before the bound, and the window hears of both only after
// it: what the helper said counts, and the page behind it goes out.
void TestPrintForm::aHelperThatEndsAsTheBoundPassesIsJudgedByItsStatus()
{
    ShownWindow shown;
    QTemporaryDir kept;
    QElapsedTimer clock;
    clock.start();
    const qint64 helperEnds = QDateTime::currentMSecsSinceEpoch() + windowBoundMs - 300;
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted),
        QStringLiteral("@%1,0").arg(helperEnds), {}, kept.path());
    queue->print();
    queue->print();
    QTRY_COMPARE(pagesKept(kept).size(), 1);
    QThread::msleep(std::max<qint64>(0, windowBoundMs + 500 - clock.elapsed()));
    QTRY_COMPARE(pagesKept(kept).size(), 2);
    QCOMPARE(awaitMessages(500).size(), 0);
}

// Closing the window loses no click: the page on its way and those waiting go on without it.
void TestPrintForm::closingHandsThePagesOn()
{
    ShownWindow shown;
    QTemporaryDir kept;
    auto queue = standInQueue(shown.w, status(PrintOutcome::Submitted), 300, {}, kept.path());
    for (int click = 0; click < 5; ++click)
        queue->print();
    QElapsedTimer clock;
    clock.start();
    queue.reset();
    qInfo("closing with five pages to hand over took %lld ms", clock.elapsed());
    QVERIFY(clock.elapsed() < 500);
    QTRY_COMPARE_WITH_TIMEOUT(pagesKept(kept).size(), 5, 10000);
    for (const HandedOver &page : pagesKept(kept))
        QCOMPARE(page.title, QStringLiteral("The Resonance circuit calculation"));
}

// A closed window leaves its pages in the temporary folder, whose path on Windows holds the
// user's name; the helper finds them whatever its letters, and takes the file away.
void TestPrintForm::theHelperTakesLeftPagesFromAFolderOfAnyName()
{
    QTemporaryDir scratch;
    const QString folder = scratch.filePath(QStringLiteral("Čermák Ťažký"));
    QVERIFY(QDir().mkpath(folder));
    QFile pages(folder + QStringLiteral("/lctune-pages"));
    QVERIFY(pages.open(QIODevice::WriteOnly));
    pages.write("none");
    pages.close();
    QProcess helper;
    helper.start(window::installedPrintHelper(), { QStringLiteral("--pages"), pages.fileName() });
    QVERIFY(helper.waitForFinished(10000));
    QVERIFY(!pages.exists());
}

void TestPrintForm::aHelperThatCannotStartIsReported_data()
{
    QTest::addColumn<QString>("helper");
    // Qt reports the first inside start(), as on Windows a missing program; the second after.
    QTest::newRow("no program at all: start() fails at once") << QString();
    QTest::newRow("a program that is not there") << QStringLiteral("/nonexistent/lctune-print");
}

void TestPrintForm::aHelperThatCannotStartIsReported()
{
    QFETCH(QString, helper);
    ShownWindow shown;
    window::PrintForm printing(shown.w, shown.w.form(), helper);
    for (int click = 0; click < 2; ++click) {
        printing.print();
        printing.print();
        const QList<Message> seen = awaitMessages(5000);
        QCOMPARE(seen.size(), 1);
        QCOMPARE(seen.first().text,
            QStringLiteral("Printing is not available: a part of the program is missing."));
    }
}

void TestPrintForm::focusComesBackWhenTheMessageCloses()
{
    ShownWindow shown;
    QApplication::setActiveWindow(&shown.w);
    QVERIFY(QTest::qWaitForWindowActive(&shown.w));
    QWidget *box = control(shown.w, "Text3");
    box->setFocus(Qt::TabFocusReason);
    const auto queue = standInQueue(shown.w, status(PrintOutcome::Failed));
    queue->print();
    QCOMPARE(awaitMessages(5000).size(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), box);
}

// The helper is looked for where the installation puts it, beside the program; a copy of this
// test in a directory of its own has none there, and presses the print button for real.
void TestPrintForm::aMissingPrintHelperIsReportedNotTakenForSuccess()
{
    if (qEnvironmentVariableIsSet("LCTUNE_TEST_WITHOUT_PRINT_HELPER")) {
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
    environment.insert(QStringLiteral("LCTUNE_TEST_WITHOUT_PRINT_HELPER"), QStringLiteral("1"));
    // Windows looks for the DLLs of a program beside it, then on the PATH; the copy's are beside
    // the original, with Qt's plugins.
    const QString original = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    environment.insert(QStringLiteral("PATH"),
        original + QDir::listSeparator() + environment.value(QStringLiteral("PATH")));
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), original);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(copy, { QStringLiteral("aMissingPrintHelperIsReportedNotTakenForSuccess") });
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
}

LCTUNE_WINDOW_TEST_MAIN(TestPrintForm)
#include "tst_print_form.moc"
