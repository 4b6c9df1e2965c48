// ns per evaluation of five expressions over a sweep of x in 1920 steps: our evaluator, muparser's
// Eval() and hand-written C++ with the same power function (the limit for these semantics).
// The table at the end gives the ratios measured in this run.
#include <benchmark/benchmark.h>
#include <muParser.h>

#include <algorithm>
#include <cmath>
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

const Case cases[] = {
    {"x^2", [](double x, double) { return std::pow(x, 2.0); }},
    {"3*sin(x)^2+cos(x)", [](double x, double) { return 3.0 * std::pow(std::sin(x), 2.0) + std::cos(x); }},
    {"sqrt(x^2+1)/(1+x^4)-2*x",
     [](double x, double) {
         return std::pow(std::pow(x, 2.0) + 1.0, 0.5) / (1.0 + std::pow(x, 4.0)) - 2.0 * x;
     }},
    {"x^2+y^2-4", [](double x, double y) { return std::pow(x, 2.0) + std::pow(y, 2.0) - 4.0; }},
    {"1+x+x^2/2+x^3/6+x^4/24+x^5/120+sin(x)*cos(x)*tan(x/7)",
     [](double x, double) {
         return 1.0 + x + std::pow(x, 2.0) / 2.0 + std::pow(x, 3.0) / 6.0 + std::pow(x, 4.0) / 24.0 +
                std::pow(x, 5.0) / 120.0 + std::sin(x) * std::cos(x) * std::tan(x / 7.0);
     }},
};

// Inverted rate of (evaluations / 1e9) per iteration: nanoseconds per evaluation.
void reportPerEvaluation(benchmark::State& state) {
    state.counters["ns_per_eval"] = benchmark::Counter(
        sweepSteps / 1e9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void tarvelion(benchmark::State& state, const Case& c) {
    initSymbolStore();
    setVariableValue(findOrCreateVariable("y"), fixedY);
    Variable* x = findOrCreateVariable("x");
    const ExpListPtr list = compileExpression(c.text);
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i < sweepSteps; ++i) {
            setVariableValue(x, sweepFrom + i * sweepStep);
            sum += evaluateToNumber(*list);
        }
        benchmark::DoNotOptimize(sum);
    }
    reportPerEvaluation(state);
}

void muparser(benchmark::State& state, const Case& c) {
    double x = 0.0;
    double y = fixedY;
    mu::Parser parser;
    parser.DefineVar("x", &x);
    parser.DefineVar("y", &y);
    parser.SetExpr(c.text);
    for (auto _ : state) {
        double sum = 0.0;
        for (int i = 0; i < sweepSteps; ++i) {
            x = sweepFrom + i * sweepStep;
            sum += parser.Eval();
        }
        benchmark::DoNotOptimize(sum);
    }
    reportPerEvaluation(state);
}

void handWritten(benchmark::State& state, const Case& c) {
    double y = fixedY;
    for (auto _ : state) {
        benchmark::DoNotOptimize(y);
        double sum = 0.0;
        for (int i = 0; i < sweepSteps; ++i)
            sum += c.handWritten(sweepFrom + i * sweepStep, y);
        benchmark::DoNotOptimize(sum);
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
        std::printf("\n%-56s %10s %10s %10s %10s %10s\n", "expression", "ours ns", "muparser", "hand C++",
                    "ours/hand", "ours/mu");
        double logSum = 0.0;
        int count = 0;
        for (const Case& c : cases) {
            auto& row = nsPerEval[c.text];
            const double ours = row["tarvelion"];
            const double mu = row["muparser"];
            const double hand = row["handwritten"];
            std::printf("%-56s %10.2f %10.2f %10.2f %10.2f %10.2f\n", c.text, ours, mu, hand, ours / hand,
                        ours / mu);
            if (hand > 0 && ours > 0) {
                logSum += std::log(ours / hand);
                ++count;
            }
        }
        if (count > 0) std::printf("geometric mean of ours/hand: %.2f\n", std::exp(logSum / count));
    }

  private:
    std::map<std::string, std::map<std::string, double>> nsPerEval;
};

} // namespace

int main(int argc, char** argv) {
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark((std::string("tarvelion/") + c.text).c_str(), tarvelion, c);
        benchmark::RegisterBenchmark((std::string("muparser/") + c.text).c_str(), muparser, c);
        benchmark::RegisterBenchmark((std::string("handwritten/") + c.text).c_str(), handWritten, c);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
