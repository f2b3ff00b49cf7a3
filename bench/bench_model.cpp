// SPDX-FileCopyrightText: The LC Tune developers
// SPDX-License-Identifier: MIT

// What one spin click costs the model: reading a box, writing a result, and a whole solver run
// with both result boxes written, on the plain-data form so that no widget is timed.

#include "model/leading_number.h"
#include "model/number_format.h"
#include "model/solvers.h"

#include "tests/fake_form.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using model::Control;

void readBoxText(benchmark::State &state)
{
    const std::string text = "14.84";
    double value = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(text.data());
        value = model::readLeadingNumber(text);
        benchmark::DoNotOptimize(value);
    }
    if (value != 14.84)
        state.SkipWithError("read the wrong value");
}
BENCHMARK(readBoxText);

void formatResult(benchmark::State &state)
{
    double value = 9.776807789019582;
    std::optional<std::string> text;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        text = model::formatFixed(value, 3);
        benchmark::DoNotOptimize(text);
    }
    if (text != "9.777")
        state.SkipWithError("wrote the wrong text");
}
BENCHMARK(formatResult);

// The start layout with L fixed: a capacitance change computes and writes the F range.
void solverRun(benchmark::State &state)
{
    testing::FakeForm form = testing::startForm(1);
    model::Module1 m;
    for (auto _ : state) {
        model::Vypocet_z_C(form, m);
        benchmark::ClobberMemory();
    }
    if (form[Control::Text5].text != "9.777" || form[Control::Text6].text != "14.841")
        state.SkipWithError("wrote the wrong range");
}
BENCHMARK(solverRun);

} // namespace

BENCHMARK_MAIN();
