// Graph engine on a 1920 x 1080 area: a ten-function repaint, an implicit circle, a
// three-inequality region, and clearGraph far from the origin against at the origin. Each plot
// is paired with a loop that only evaluates the same compiled expressions, so the report shows how
// close the plotter comes to the cost of its evaluations alone ("evals" is a rate: evaluations/s).
// The circle's pair covers only its coarse scan (the bisection points depend on the values), so
// compare those two by rate.
#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/symbol_store.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/implicit.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/sweep.h"
#include "graph/view_model.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int areaWidth = 1920;
constexpr int areaHeight = 1080;

const std::array<const char*, 10> functionBodies = {"sin(x)*x", "x^2-3",     "sqrt(x)", "1/x",
                                                    "cos(x)+1", "tan(x)",    "log(x)",  "atan(x)*2",
                                                    "x^3/10-x", "sinh(x)/10"};
const std::array<const char*, 6> inequalitySides = {"y", "x^2", "1", "y", "x+2", "0"};

void resetScene() {
    resetSymbolStore();
    plotSettings = PlotSettings{};
    setViewLimits(factoryLimits);
}

void defineTenFunctions() {
    const char names[] = "abcdfghkmn";
    for (std::size_t i = 0; i < functionBodies.size(); ++i) {
        defineFunctionFromText(std::string(1, names[i]) + "(x)=" + functionBodies[i]);
    }
}

void setCircle(const std::string& suffix) {
    plotSettings.implicitLeft[0] = "x^2+y^2" + suffix;
    plotSettings.implicitRight[0] = "4" + suffix;
}

void setInequalities(const std::string& suffix) {
    for (int i = 0; i < 3; ++i) {
        plotSettings.inequalityLeft[i] = inequalitySides[2 * i] + suffix;
        plotSettings.inequalityRight[i] = inequalitySides[2 * i + 1] + suffix;
    }
}

// Counts the expression evaluations of one plot: every side gets "+0*int(1)", which adds one
// integral step per evaluation and changes no value.
template <typename Setup, typename Plot> double countEvaluations(Setup setup, Plot plot, int sides) {
    resetScene();
    setup("+0*int(1)");
    integralSum = 0.0;
    plot();
    return std::round(integralSum / integralStep) - sides; // less one trial evaluation per side
}

// The plots run with argument 1 a row of samples at a time (the sweeps), with 0 one sample at a
// time, in the same run.
struct SweepsFromArgument {
    explicit SweepsFromArgument(const benchmark::State& state) { sweepsEnabled = state.range(0) != 0; }
    ~SweepsFromArgument() { sweepsEnabled = true; }
    SweepsFromArgument(const SweepsFromArgument&) = delete;
    SweepsFromArgument& operator=(const SweepsFromArgument&) = delete;
};

void BM_RepaintTenFunctions(benchmark::State& state) {
    const SweepsFromArgument sweeps(state);
    resetScene();
    defineTenFunctions();
    for (auto _ : state) {
        clearGraph();
        plotFunctions();
    }
    state.counters["evals"] =
        benchmark::Counter(10.0 * (areaWidth + 1), benchmark::Counter::kIsIterationInvariantRate);
}

// The curves alone, drawn over the previous picture: plotFunctions against its evaluations.
void BM_PlotTenFunctions(benchmark::State& state) {
    const SweepsFromArgument sweeps(state);
    resetScene();
    defineTenFunctions();
    clearGraph();
    for (auto _ : state)
        plotFunctions();
    state.counters["evals"] =
        benchmark::Counter(10.0 * (areaWidth + 1), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_EvaluateTenFunctionsOnly(benchmark::State& state) {
    resetScene();
    std::vector<ExpListPtr> lists;
    for (const char* body : functionBodies)
        lists.push_back(compileExpression(body));
    Variable* x = findOrCreateVariable("x");
    for (auto _ : state) {
        for (const ExpListPtr& list : lists) {
            setVariableValue(x, worldX(0));
            benchmark::DoNotOptimize(evaluateToNumber(list));
            for (int i = 0; i < areaWidth; ++i) {
                setVariableValue(x, worldX(i));
                benchmark::DoNotOptimize(evaluateToNumber(list));
            }
        }
    }
    state.counters["evals"] =
        benchmark::Counter(10.0 * (areaWidth + 1), benchmark::Counter::kIsIterationInvariantRate);
}

// The ten bodies as a C++ developer would write them, over the same columns: the limit for the
// evaluations of a repaint.
void BM_HandWrittenTenFunctions(benchmark::State& state) {
    resetScene();
    using Body = double (*)(double);
    static const Body bodies[] = {
        [](double x) { return std::sin(x) * x; },      [](double x) { return x * x - 3.0; },
        [](double x) { return std::sqrt(x); },         [](double x) { return 1.0 / x; },
        [](double x) { return std::cos(x) + 1.0; },    [](double x) { return std::tan(x); },
        [](double x) { return std::log(x); },          [](double x) { return std::atan(x) * 2.0; },
        [](double x) { return x * x * x / 10.0 - x; }, [](double x) { return std::sinh(x) / 10.0; }};
    std::vector<double> columns(areaWidth + 1);
    columns[0] = worldX(0);
    for (int i = 0; i < areaWidth; ++i)
        columns[static_cast<std::size_t>(i) + 1] = worldX(i);
    std::vector<double> values(columns.size());
    for (auto _ : state) {
        for (const Body body : bodies) {
            for (std::size_t i = 0; i < columns.size(); ++i)
                values[i] = body(columns[i]);
            benchmark::DoNotOptimize(values.data());
            benchmark::ClobberMemory();
        }
    }
    state.counters["evals"] =
        benchmark::Counter(10.0 * (areaWidth + 1), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImplicitCircle(benchmark::State& state) {
    const SweepsFromArgument sweeps(state);
    const double evaluations = countEvaluations(setCircle, plotImplicit, 2);
    resetScene();
    setCircle("");
    for (auto _ : state)
        plotImplicit();
    state.counters["evals"] = benchmark::Counter(evaluations, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["perPlot"] = evaluations;
}

// Evaluations of the circle's two sides over the points of the coarse scan, without drawing.
void BM_EvaluateCircleOnly(benchmark::State& state) {
    resetScene();
    const ExpListPtr left = compileExpression("x^2+y^2");
    const ExpListPtr right = compileExpression("4");
    Variable* x = findOrCreateVariable("x");
    Variable* y = findOrCreateVariable("y");
    for (auto _ : state) {
        for (int row = 0; row < 200; ++row) {
            for (int column = 0; column < 50; ++column) {
                setVariableValue(x, -5.0 + column * 0.2);
                setVariableValue(y, -5.0 + row * 0.05);
                benchmark::DoNotOptimize(evaluateToNumber(left) - evaluateToNumber(right));
            }
        }
    }
    state.counters["evals"] =
        benchmark::Counter(2.0 * 200 * 50, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ThreeInequalities(benchmark::State& state) {
    const SweepsFromArgument sweeps(state);
    const double evaluations = countEvaluations(setInequalities, plotInequalities, 6);
    resetScene();
    setInequalities("");
    for (auto _ : state)
        plotInequalities();
    state.counters["evals"] = benchmark::Counter(evaluations, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["perPlot"] = evaluations;
}

// The plotter's own evaluations without drawing: the same lattice by repeated addition, each
// point's sides right before left, stopping at the first inequality that fails.
void BM_EvaluateInequalitiesOnly(benchmark::State& state) {
    const double evaluations = countEvaluations(setInequalities, plotInequalities, 6);
    resetScene();
    std::vector<ExpListPtr> lists;
    for (const char* side : inequalitySides)
        lists.push_back(compileExpression(side));
    Variable* x = findOrCreateVariable("x");
    Variable* y = findOrCreateVariable("y");
    const double step = (factoryLimits.xMax - factoryLimits.xMin) / 600.0;
    for (auto _ : state) {
        sweep(factoryLimits.yMin, factoryLimits.yMax, step, [&](double yValue) {
            sweep(factoryLimits.xMin, factoryLimits.xMax, step, [&](double xValue) {
                setVariableValue(x, xValue);
                setVariableValue(y, yValue);
                for (std::size_t i = 0; i < lists.size(); i += 2) {
                    const double right = evaluateToNumber(lists[i + 1]);
                    if (!(evaluateToNumber(lists[i]) - right > 0)) return;
                }
            });
        });
    }
    state.counters["evals"] = benchmark::Counter(evaluations, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["perPlot"] = evaluations;
}

// The region's lattice with the three inequalities written in C++.
void BM_HandWrittenInequalities(benchmark::State& state) {
    resetScene();
    const double step = (factoryLimits.xMax - factoryLimits.xMin) / 600.0;
    for (auto _ : state) {
        long inside = 0;
        sweep(factoryLimits.yMin, factoryLimits.yMax, step, [&](double y) {
            sweep(factoryLimits.xMin, factoryLimits.xMax, step,
                  [&](double x) { inside += (y - x * x > 0 && 1.0 - y > 0 && x + 2.0 > 0) ? 1 : 0; });
        });
        benchmark::DoNotOptimize(inside);
    }
}

void clearGraphAt(benchmark::State& state, double xMin) {
    resetScene();
    setViewLimits({xMin, xMin + 10, -5, 5});
    for (auto _ : state)
        clearGraph();
}

void BM_ClearGraphAtOrigin(benchmark::State& state) {
    clearGraphAt(state, -5.0);
}
void BM_ClearGraphFarFromOrigin(benchmark::State& state) {
    clearGraphAt(state, 1e12);
}

BENCHMARK(BM_RepaintTenFunctions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlotTenFunctions)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateTenFunctionsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandWrittenTenFunctions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImplicitCircle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateCircleOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThreeInequalities)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EvaluateInequalitiesOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HandWrittenInequalities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClearGraphAtOrigin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearGraphFarFromOrigin)->Unit(benchmark::kMicrosecond);

// Prints, after the runs, each plot's time a row at a time against one sample at a time and
// against the hand-written evaluations of the same samples (CPU time, fastest repetition).
class PlotRatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
            const double ms = run.GetAdjustedCPUTime(); // the plots report in milliseconds
            double& kept = msPerRun[run.run_name.str()];
            kept = kept > 0.0 ? std::min(kept, ms) : ms;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-24s %10s %12s %10s %10s %10s\n", "plot (ms)", "sweeps", "per sample", "ratio",
                    "hand C++", "sw/hand");
        row("ten-function repaint", "BM_RepaintTenFunctions", "BM_HandWrittenTenFunctions");
        row("ten-function plot", "BM_PlotTenFunctions", "BM_HandWrittenTenFunctions");
        row("three inequalities", "BM_ThreeInequalities", "BM_HandWrittenInequalities");
        row("implicit circle", "BM_ImplicitCircle", "");
    }

  private:
    std::map<std::string, double> msPerRun;

    void row(const char* title, const std::string& plot, const std::string& hand) {
        const double sweeps = msPerRun[plot + "/1"];
        const double apart = msPerRun[plot + "/0"];
        const double limit = hand.empty() ? 0.0 : msPerRun[hand];
        std::printf("%-24s %10.2f %12.2f %10.2f %10.2f %10.2f\n", title, sweeps, apart, sweeps / apart, limit,
                    limit > 0 ? sweeps / limit : 0.0);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QImage image(areaWidth, areaHeight, QImage::Format_RGB32);
    setGraphImage(&image);
    resizeView(areaWidth, areaHeight);
    benchmark::Initialize(&argc, argv);
    PlotRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
