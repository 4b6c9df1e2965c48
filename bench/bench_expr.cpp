// ns per evaluation of expressions over a sweep of x in 1920 steps: our evaluator one sample at a
// time against muparser's Eval(), and whole sweeps (evaluateSweep) against muparser's bulk mode
// and hand-written C++ (the limit). The table at the end gives the ratios measured in this run.
#include <benchmark/benchmark.h>
#include <muParser.h>
#include <omp.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluator.h"

namespace {

constexpr int sweepSteps = 1920;
constexpr double sweepFrom = -5.0;
constexpr double sweepStep = 10.0 / sweepSteps;
constexpr double fixedY = 0.75;

struct Case {
    const char* text;
    double (*handWritten)(double x, double y);
};

double userF(double a) {
    return a * a * a - a;
}

// The hand-written column is what a C++ developer would write for the same function.
const Case cases[] = {
    {"x^2", [](double x, double) { return x * x; }},
    {"3*sin(x)^2+cos(x)", [](double x, double) { return 3.0 * std::sin(x) * std::sin(x) + std::cos(x); }},
    {"sqrt(x^2+1)/(1+x^4)-2*x",
     [](double x, double) { return std::sqrt(x * x + 1.0) / (1.0 + x * x * x * x) - 2.0 * x; }},
    {"x^2+y^2-4", [](double x, double y) { return x * x + y * y - 4.0; }},
    {"1+x+x^2/2+x^3/6+x^4/24+x^5/120+sin(x)*cos(x)*tan(x/7)",
     [](double x, double) {
         return 1.0 + x + x * x / 2.0 + x * x * x / 6.0 + x * x * x * x / 24.0 + x * x * x * x * x / 120.0 +
                std::sin(x) * std::cos(x) * std::tan(x / 7.0);
     }},
    {"x^3-2*x+1", [](double x, double) { return x * x * x - 2.0 * x + 1.0; }},
    {"x^4-3*x^2+2", [](double x, double) { return x * x * x * x - 3.0 * x * x + 2.0; }},
    {"x^5-x", [](double x, double) { return x * x * x * x * x - x; }},
    {"y^3+x*y-1", [](double x, double y) { return y * y * y + x * y - 1.0; }},
    {"2*x^3-4*x^2+3*x-7", [](double x, double) { return 2.0 * x * x * x - 4.0 * x * x + 3.0 * x - 7.0; }},
    {"(x-1)*(x+2)*(x-3)", [](double x, double) { return (x - 1.0) * (x + 2.0) * (x - 3.0); }},
    {"e^(-x^2/2)", [](double x, double) { return std::exp(-x * x / 2.0); }},
    {"log(x^2+1)", [](double x, double) { return std::log(x * x + 1.0); }},
    {"sin(cos(x))+sin(2*x)", [](double x, double) { return std::sin(std::cos(x)) + std::sin(2.0 * x); }},
    {"sinh(x)+cosh(x)-tanh(x)", [](double x, double) { return std::sinh(x) + std::cosh(x) - std::tanh(x); }},
    {"1/(1+x^2)-x/(2+x)", [](double x, double) { return 1.0 / (1.0 + x * x) - x / (2.0 + x); }},
    {"f(x)*2+1", [](double x, double) { return userF(x) * 2.0 + 1.0; }},
    {"sqrt(x^2+y^2)", [](double x, double y) { return std::sqrt(x * x + y * y); }},
};

// The samples of x, and y held at fixedY (muparser's bulk mode reads every variable from an
// array).
struct Samples {
    std::vector<double> x;
    std::vector<double> y;
    Samples() : x(sweepSteps), y(sweepSteps, fixedY) {
        for (int i = 0; i < sweepSteps; ++i)
            x[static_cast<std::size_t>(i)] = sweepFrom + i * sweepStep;
    }
};

const Samples samples;

// Inverted rate of (evaluations / 1e9) per iteration: nanoseconds per evaluation.
void reportPerEvaluation(benchmark::State& state) {
    state.counters["ns_per_eval"] = benchmark::Counter(
        sweepSteps / 1e9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

ExpListPtr prepareOurs(const Case& c) {
    initSymbolStore();
    setVariableValue(findOrCreateVariable("y"), fixedY);
    defineUserFunction("f", 1, {"a"}, "a^3-a");
    return compileExpression(c.text);
}

void tarvelion(benchmark::State& state, const Case& c) {
    const ExpListPtr list = prepareOurs(c);
    Variable* x = findOrCreateVariable("x");
    for (auto _ : state) {
        double sum = 0.0;
        for (const double value : samples.x) {
            setVariableValue(x, value);
            sum += evaluateToNumber(*list);
        }
        benchmark::DoNotOptimize(sum);
    }
    reportPerEvaluation(state);
}

void tarvelionSweep(benchmark::State& state, const Case& c) {
    const ExpListPtr list = prepareOurs(c);
    if (!canSweep(*list)) state.SkipWithError("no scalar path");
    Variable* x = findOrCreateVariable("x");
    std::vector<double> results(sweepSteps);
    std::vector<std::int32_t> errors(sweepSteps);
    for (auto _ : state) {
        evaluateSweep(*list, x, samples.x, results, errors);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

void defineForMuparser(mu::Parser& parser, double* x, double* y, const Case& c) {
    parser.DefineVar("x", x);
    parser.DefineVar("y", y);
    parser.DefineConst("e", 2.718281828459045);
    parser.DefineFun("f", userF);
    parser.SetExpr(c.text);
}

void muparser(benchmark::State& state, const Case& c) {
    double x = 0.0;
    double y = fixedY;
    mu::Parser parser;
    defineForMuparser(parser, &x, &y, c);
    for (auto _ : state) {
        double sum = 0.0;
        for (const double value : samples.x) {
            x = value;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    reportPerEvaluation(state);
}

// muparser's fastest way: Eval(results, n) over arrays of the variables.
void muparserBulk(benchmark::State& state, const Case& c) {
    std::vector<double> x = samples.x;
    std::vector<double> y = samples.y;
    std::vector<double> results(sweepSteps);
    mu::Parser parser;
    defineForMuparser(parser, x.data(), y.data(), c);
    for (auto _ : state) {
        parser.Eval(results.data(), sweepSteps);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

void handWritten(benchmark::State& state, const Case& c) {
    std::vector<double> results(sweepSteps);
    for (auto _ : state) {
        double y = fixedY;
        benchmark::DoNotOptimize(y);
        for (int i = 0; i < sweepSteps; ++i)
            results[static_cast<std::size_t>(i)] = c.handWritten(samples.x[static_cast<std::size_t>(i)], y);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
    reportPerEvaluation(state);
}

// Collects ns per evaluation by (evaluator, expression) and prints the ratio table at the end.
// Of repeated runs (--benchmark_repetitions=5 --benchmark_enable_random_interleaving=true) the
// fastest is kept: on a shared machine it is the one least disturbed by other work.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.run_name.str();
            const std::size_t slash = name.find('/');
            const auto counter = run.counters.find("ns_per_eval");
            if (slash == std::string::npos || counter == run.counters.end()) continue;
            double& kept = nsPerEval[name.substr(slash + 1)][name.substr(0, slash)];
            kept = kept > 0.0 ? std::min(kept, counter->second.value) : counter->second.value;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf(
            "\nns per evaluation (fastest of the repetitions)\n%-54s %7s %7s %7s %7s %7s %7s %7s %7s\n",
            "expression", "ours", "mu", "ours/mu", "sweep", "bulk", "sw/bulk", "hand", "sw/hand");
        std::array<double, 3> logSums{};
        int count = 0;
        for (const Case& c : cases) {
            auto& row = nsPerEval[c.text];
            const double ours = row["tarvelion"];
            const double mu = row["muparser"];
            const double sweep = row["tarvelion_sweep"];
            const double bulk = row["muparser_bulk"];
            const double hand = row["handwritten"];
            const std::array<double, 3> ratios = {ours / mu, sweep / bulk, sweep / hand};
            std::printf("%-54s %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f %7.2f\n", c.text, ours, mu,
                        ratios[0], sweep, bulk, ratios[1], hand, ratios[2]);
            if (!(ratios[0] > 0 && ratios[1] > 0 && ratios[2] > 0)) continue;
            for (std::size_t i = 0; i < 3; ++i)
                logSums[i] += std::log(ratios[i]);
            ++count;
        }
        if (count == 0) return;
        std::printf("geometric means: ours/mu %.2f, sweep/bulk %.2f, sweep/hand %.2f\n",
                    std::exp(logSums[0] / count), std::exp(logSums[1] / count), std::exp(logSums[2] / count));
    }

  private:
    std::map<std::string, std::map<std::string, double>> nsPerEval;
};

} // namespace

int main(int argc, char** argv) {
    // muparser's bulk mode spreads over OpenMP threads; one thread, as every other column.
    omp_set_num_threads(1);
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark((std::string("tarvelion/") + c.text).c_str(), tarvelion, c);
        benchmark::RegisterBenchmark((std::string("muparser/") + c.text).c_str(), muparser, c);
        benchmark::RegisterBenchmark((std::string("tarvelion_sweep/") + c.text).c_str(), tarvelionSweep, c);
        benchmark::RegisterBenchmark((std::string("muparser_bulk/") + c.text).c_str(), muparserBulk, c);
        benchmark::RegisterBenchmark((std::string("handwritten/") + c.text).c_str(), handWritten, c);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
