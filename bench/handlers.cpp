// What every handler a player triggers costs, in process, repaint included.
#include "rules/drawing.h"
#include "rules/fraction.h"
#include "tests/support/fakes.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>

using namespace quorvela;
using namespace quorvela::test;

namespace {

// A started game, shown, with the clock's own timer stopped.
struct Started {
    Game game;
    Started()
    {
        game.start();
        game.c().Timer1->stop();
        if (!QTest::qWaitForWindowExposed(game.window.get()))
            qFatal("the window did not show");
    }
};

void DrawProblem(benchmark::State &state)
{
    Started s;
    for (auto _ : state) {
        s.game.window->dispatch([&] { s.game.window->cmdNext_Click(); });
        s.game.window->repaint();
    }
}

void JudgeAnswer(benchmark::State &state, bool right)
{
    Started s;
    Controls &c = s.game.c();
    for (auto _ : state) {
        state.PauseTiming();
        c.txtAnswer->setText(QString::number(s.game.window->resultNum + (right ? 0 : 1)));
        c.Text3->setText(QString::number(s.game.window->resultDen));
        // Keep the counters far from their limit.
        s.game.window->correctAnswers = 0;
        s.game.window->wrongAnswers = 0;
        state.ResumeTiming();
        QTest::keyClick(c.Text3, Qt::Key_Return);
        s.game.window->repaint();
    }
}

void ClockTick(benchmark::State &state)
{
    Started s;
    for (auto _ : state) {
        s.game.window->dispatch([&] { s.game.window->Timer1_Timer(); });
        if (s.game.window->secondsLeft < 2) {
            state.PauseTiming();
            s.game.window->secondsLeft = 600;
            s.game.window->clockMinutes = 10;
            state.ResumeTiming();
        }
    }
}

void FractionsOfEveryProblem(benchmark::State &state)
{
    const std::vector<Problem> problems = everyProblem();
    for (auto _ : state) {
        for (const Problem &p : problems) {
            std::int32_t n = 0, m = 0;
            FractionFromDecimal(double(sumNumerator(p)) / double(sumDenominator(p)), n, m);
            benchmark::DoNotOptimize(n);
            benchmark::DoNotOptimize(m);
        }
    }
}

} // namespace

BENCHMARK(DrawProblem)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK_CAPTURE(JudgeAnswer, right, true)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK_CAPTURE(JudgeAnswer, wrong, false)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(ClockTick)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(FractionsOfEveryProblem)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
