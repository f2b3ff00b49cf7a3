// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// What one spin click costs: the handler, its nested pass, both solver runs and the writes into
// the boxes, on the real window offscreen. Moving the bar with setPosition is exactly what a
// click on an arrow does, so that variant times our code alone; the mouse variant adds the
// toolkit's event delivery and the bar's own repaint, and the "painted" variants also let the
// window repaint the boxes that changed. The plain-data variant is the logic without widgets.

#include "model/spin.h"
#include "tests/fake_form.h"
#include "tests/window_test_support.h"
#include "window/look.h"
#include "window/spin_bar.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

// Alternate up and down so that Text3 stays at 20.00 or 20.01 however long the loop runs.
QString textAfter(benchmark::State &state)
{
    return state.iterations() % 2 == 1 ? QStringLiteral("20.01") : QStringLiteral("20.00");
}

void checkWindow(benchmark::State &state, window::MainWindow &w)
{
    auto *bar = testing::control<window::SpinBar>(w, "VScroll3");
    if (testing::control<QLineEdit>(w, "Text3")->text() != textAfter(state) || bar->position() != 0)
        state.SkipWithError("the clicks did not step Text3 by one step each");
}

void clickByPosition(benchmark::State &state)
{
    const bool painted = state.range(0) != 0;
    testing::ShownWindow shown;
    auto *bar = testing::control<window::SpinBar>(shown.w, "VScroll3");
    int position = 1;
    for (auto _ : state) {
        bar->setPosition(position);
        if (painted)
            QCoreApplication::processEvents();
        position = -position;
    }
    checkWindow(state, shown.w);
}
BENCHMARK(clickByPosition)->ArgName("painted")->Arg(0)->Arg(1);

void clickByMouse(benchmark::State &state)
{
    const bool painted = state.range(0) != 0;
    testing::ShownWindow shown;
    auto *bar = testing::control<window::SpinBar>(shown.w, "VScroll3");
    testing::Arrow arrow = testing::Arrow::Upper;
    for (auto _ : state) {
        testing::clickArrow(bar, arrow);
        if (painted)
            QCoreApplication::processEvents();
        arrow = arrow == testing::Arrow::Upper ? testing::Arrow::Lower : testing::Arrow::Upper;
    }
    checkWindow(state, shown.w);
}
BENCHMARK(clickByMouse)->ArgName("painted")->Arg(0)->Arg(1);

// The start layout with L fixed on the plain-data form, whose bar raises the nested pass as the
// toolkit does.
void clickOnPlainForm(benchmark::State &state)
{
    using model::Control;
    testing::FakeForm form = testing::startForm(1);
    model::Module1 m;
    m.StepL = m.StepC = m.StepF = 0.01;
    form.onScrollChange = [&](Control bar) { model::spinChanged(form, m, bar); };
    int position = 1;
    for (auto _ : state) {
        form[Control::VScroll3].scroll = position;
        model::spinChanged(form, m, Control::VScroll3);
        position = -position;
    }
    if (QString::fromStdString(form[Control::Text3].text) != textAfter(state))
        state.SkipWithError("the clicks did not step Text3 by one step each");
}
BENCHMARK(clickOnPlainForm);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    window::setApplicationLook();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
