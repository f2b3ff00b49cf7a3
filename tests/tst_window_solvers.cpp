// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The solvers on the real window: fix modes and units chosen by clicks, boxes typed into as a user
// types, the solver called as a spin or unit click calls it, and the boxes read back.

#include "window_test_support.h"

#include "model/solvers.h"

#include <QLineEdit>
#include <QRadioButton>

using namespace testing;

namespace {

using Solver = void (*)(model::Form &, model::Module1 &);

Solver solverNamed(const QString &name)
{
    if (name == QLatin1String("Vypocet_z_L"))
        return model::Vypocet_z_L;
    if (name == QLatin1String("Vypocet_z_C"))
        return model::Vypocet_z_C;
    if (name == QLatin1String("Vypocet_z_F"))
        return model::Vypocet_z_F;
    qFatal("no solver %s", qPrintable(name));
}

// Through a click on another fix button first, so that every mode, 1 included, is entered by its
// own button.
void chooseFixMode(window::MainWindow &w, int mode)
{
    const QByteArray other = "Command" + QByteArray::number(mode % 3 + 1);
    const QByteArray own = "Command" + QByteArray::number(mode);
    click(control(w, other.constData()));
    click(control(w, own.constData()));
}

void type(window::MainWindow &w, const QString &boxName, const QString &text)
{
    auto *box = control<QLineEdit>(w, qPrintable(boxName));
    if (box->isReadOnly())
        qFatal("%s is locked in this fix mode", qPrintable(boxName));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

QString shown(window::MainWindow &w, const char *boxName)
{
    return control<QLineEdit>(w, boxName)->text();
}

QColor textColour(window::MainWindow &w, const char *boxName)
{
    return control<QLineEdit>(w, boxName)->palette().color(QPalette::Active, QPalette::Text);
}

// The boxes a quantity's range is shown in.
std::pair<const char *, const char *> resultBoxes(const QString &quantity)
{
    if (quantity == QLatin1String("L"))
        return { "Text1", "Text2" };
    if (quantity == QLatin1String("C"))
        return { "Text3", "Text4" };
    return { "Text5", "Text6" };
}

} // namespace

class TestWindowSolvers : public QObject
{
    Q_OBJECT

private slots:
    void initialRanges_data();
    void initialRanges();
    void units_data();
    void units();
    void noResultShowsCue();
};

void TestWindowSolvers::initialRanges_data()
{
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QString>("solver");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");

    // The three-decimal texts of 9.776807..., 14.841270..., 20.003952..., 49.965435...,
    // 11.733054..., 5.000859..., 11.514225..., 30.103397... and 4.996739...
    // clang-format off
    QTest::newRow("L fixed, C changed")    << 1 << "Vypocet_z_C" << "F" << "9.777"  << "14.841";
    QTest::newRow("L fixed, F changed")    << 1 << "Vypocet_z_F" << "C" << "20.004" << "49.965";
    QTest::newRow("C fixed, L changed")    << 2 << "Vypocet_z_L" << "F" << "11.733" << "14.841";
    QTest::newRow("C fixed, F changed")    << 2 << "Vypocet_z_F" << "L" << "5.001"  << "11.514";
    QTest::newRow("F fixed, L changed")    << 3 << "Vypocet_z_L" << "C" << "30.103" << "49.965";
    QTest::newRow("F fixed, C changed")    << 3 << "Vypocet_z_C" << "L" << "4.997"  << "11.514";
    // clang-format on
}

void TestWindowSolvers::initialRanges()
{
    QFETCH(int, fixMode);
    QFETCH(QString, solver);
    QFETCH(QString, quantity);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);

    ShownWindow window;
    chooseFixMode(window.w, fixMode);
    solverNamed(solver)(window.w.form(), window.w.module());

    const auto [lower, upper] = resultBoxes(quantity);
    QCOMPARE(shown(window.w, lower), lowerText);
    QCOMPARE(shown(window.w, upper), upperText);
}

void TestWindowSolvers::units_data()
{
    QTest::addColumn<int>("fixMode");
    QTest::addColumn<QStringList>("unitButtons");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("solver");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<QString>("lowerText");
    QTest::addColumn<QString>("upperText");

    // clang-format off
    QTest::newRow("F shown in kHz")             << 1 << QStringList{"Option5"} << QStringList{}
                                                << "Vypocet_z_C" << "F" << "9776.808" << "14841.271";
    QTest::newRow("C read in nF, Cx in pF")     << 1 << QStringList{"Option4"} << QStringList{"Text3=0.02", "Text4=0.05"}
                                                << "Vypocet_z_C" << "F" << "9.777" << "14.841";
    QTest::newRow("C shown in nF")              << 1 << QStringList{"Option4"} << QStringList{}
                                                << "Vypocet_z_F" << "C" << "0.020" << "0.050";
    QTest::newRow("F read in kHz")              << 1 << QStringList{"Option5"} << QStringList{"Text5=9780", "Text6=14840"}
                                                << "Vypocet_z_F" << "C" << "20.004" << "49.965";
    QTest::newRow("L read in nH")               << 2 << QStringList{"Option1"} << QStringList{"Text1=5000", "Text2=8000"}
                                                << "Vypocet_z_L" << "F" << "11.733" << "14.841";
    QTest::newRow("L shown in nH")              << 3 << QStringList{"Option1"} << QStringList{}
                                                << "Vypocet_z_C" << "L" << "4996.739" << "11514.225";
    QTest::newRow("typed Cx larger than needed") << 1 << QStringList{} << QStringList{"Text7=100"}
                                                << "Vypocet_z_F" << "C" << "-76.996" << "-47.035";
    // clang-format on
}

// A unit click runs a solver of its own, which may rewrite boxes: the texts are typed after it.
void TestWindowSolvers::units()
{
    QFETCH(int, fixMode);
    QFETCH(QStringList, unitButtons);
    QFETCH(QStringList, typed);
    QFETCH(QString, solver);
    QFETCH(QString, quantity);
    QFETCH(QString, lowerText);
    QFETCH(QString, upperText);

    ShownWindow window;
    auto &w = window.w;
    chooseFixMode(w, fixMode);
    const QStringList start = { "Text1=5.00", "Text2=8.00", "Text3=20", "Text4=50", "Text5=9.78",
        "Text6=14.84", "Text7=3.0" };
    for (const QString &unit : unitButtons) {
        click(control(w, qPrintable(unit)));
        QVERIFY(control<QRadioButton>(w, qPrintable(unit))->isChecked());
    }
    for (const QString &edit : start + typed) {
        const QString name = edit.section(QLatin1Char('='), 0, 0);
        if (!control<QLineEdit>(w, qPrintable(name))->isReadOnly())
            type(w, name, edit.section(QLatin1Char('='), 1));
    }
    solverNamed(solver)(w.form(), w.module());

    const auto [lower, upper] = resultBoxes(quantity);
    QCOMPARE(shown(w, lower), lowerText);
    QCOMPARE(shown(w, upper), upperText);
}

// C fixed; a lower inductance typed as 0 leaves the frequency range without a result: the boxes
// keep the last range in the stale colour until the next run that has one.
void TestWindowSolvers::noResultShowsCue()
{
    ShownWindow window;
    auto &w = window.w;
    chooseFixMode(w, 2);
    model::Vypocet_z_L(w.form(), w.module());
    QCOMPARE(shown(w, "Text5"), QStringLiteral("11.733"));
    const QColor normal = textColour(w, "Text5");
    QVERIFY(normal != window::QtForm::staleColour());

    type(w, "Text1", "0");
    model::Vypocet_z_L(w.form(), w.module());
    QCOMPARE(shown(w, "Text1"), QStringLiteral("0"));
    QCOMPARE(shown(w, "Text5"), QStringLiteral("11.733"));
    QCOMPARE(shown(w, "Text6"), QStringLiteral("14.841"));
    QCOMPARE(textColour(w, "Text5"), window::QtForm::staleColour());
    QCOMPARE(textColour(w, "Text6"), window::QtForm::staleColour());

    type(w, "Text1", "4");
    model::Vypocet_z_L(w.form(), w.module());
    // 159.1549 / sqrt(4 * 23).
    QCOMPARE(shown(w, "Text6"), QStringLiteral("16.593"));
    QCOMPARE(textColour(w, "Text5"), normal);
    QCOMPARE(textColour(w, "Text6"), normal);
}

QTEST_MAIN(TestWindowSolvers)
#include "tst_window_solvers.moc"
