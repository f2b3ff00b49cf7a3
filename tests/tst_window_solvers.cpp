// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// The solvers' wiring to the real window that the session test does not see: a range left without
// a result keeps its texts in the stale colour until the next range. What the solvers compute is
// tested on the model; what each click computes, against the session test's own reference.

#include "window_test_support.h"

#include "model/solvers.h"

#include <QLineEdit>

using namespace testing;

namespace {

QString shown(window::MainWindow &w, const char *boxName)
{
    return control<QLineEdit>(w, boxName)->text();
}

QColor textColour(window::MainWindow &w, const char *boxName)
{
    return control<QLineEdit>(w, boxName)->palette().color(QPalette::Active, QPalette::Text);
}

} // namespace

class TestWindowSolvers : public QObject
{
    Q_OBJECT

private slots:
    void noResultShowsCue();
};

// C fixed; a lower inductance typed as 0 leaves the frequency range without a result: the boxes
// keep the last range in the stale colour until the next run that has one.
void TestWindowSolvers::noResultShowsCue()
{
    ShownWindow window;
    auto &w = window.w;
    click(control(w, "Command2"));
    model::Vypocet_z_L(w.form(), w.module());
    QCOMPARE(shown(w, "Text5"), QStringLiteral("11.733"));
    const QColor normal = textColour(w, "Text5");
    QVERIFY(normal != window::QtForm::staleColour());

    typeInto(control<QLineEdit>(w, "Text1"), QStringLiteral("0"));
    model::Vypocet_z_L(w.form(), w.module());
    QCOMPARE(shown(w, "Text1"), QStringLiteral("0"));
    QCOMPARE(shown(w, "Text5"), QStringLiteral("11.733"));
    QCOMPARE(shown(w, "Text6"), QStringLiteral("14.841"));
    QCOMPARE(textColour(w, "Text5"), window::QtForm::staleColour());
    QCOMPARE(textColour(w, "Text6"), window::QtForm::staleColour());

    typeInto(control<QLineEdit>(w, "Text1"), QStringLiteral("4"));
    model::Vypocet_z_L(w.form(), w.module());
    // 159.1549 / sqrt(4 * 23).
    QCOMPARE(shown(w, "Text6"), QStringLiteral("16.593"));
    QCOMPARE(textColour(w, "Text5"), normal);
    QCOMPARE(textColour(w, "Text6"), normal);
}

LCTUNE_WINDOW_TEST_MAIN(TestWindowSolvers)
#include "tst_window_solvers.moc"
