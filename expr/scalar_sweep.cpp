// The scalar path over a row of samples of one variable. runScalarProgram runs every step for one
// sample; here each step runs over a block of samples in a loop the compiler can vectorise. The
// operations on each sample and their order are the same, and so are the doubles.
#include <algorithm>
#include <array>

#include "expr/evaluation.h"


namespace {

// Vectorised loops run over whole blocks (a fixed trip count); the lanes past the last sample
// repeat it and are dropped.
constexpr int blockSize = 128;
// Deeper programs go sample by sample; the rows are preallocated for this many entries.
constexpr int sweepDepthLimit = 32;
// Programs that bind more parameters go sample by sample too.
constexpr int boundParameterLimit = 8;

using Row = double[blockSize];

// A sweep never runs inside another evaluation, so one set of rows serves.
struct SweepRows {
    alignas(64) Row stack[sweepDepthLimit];
    alignas(64) Row samples;
    alignas(64) Row spare;
    alignas(64) Row parameters[boundParameterLimit]; // the values of the parameters bound so far
    std::int32_t errors[blockSize]; // the math error each sample raised, 0 for none
    SineAndCosine pairs[blockSize];
};

SweepRows rows;

template <typename F> void eachLane(double* __restrict out, F f) {
    for (int i = 0; i < blockSize; ++i)
        out[i] = f(out[i]);
}

template <typename F> void eachLane(double* __restrict out, const double* __restrict operand, F f) {
    for (int i = 0; i < blockSize; ++i)
        out[i] = f(out[i], operand[i]);
}

void squareRoots(double* __restrict out) {
    std::copy_n(out, blockSize, rows.spare);
    eachLane(out, [](double a) { return std::sqrt(a); });
    for (int i = 0; i < blockSize; ++i) {
        if (rows.spare[i] > 0.0) continue;
        if (outsidePowerDomain(rows.spare[i], 0.5)) rows.errors[i] = EDOM;
        out[i] = halfPower(rows.spare[i]);
    }
}

template <int n> void wholePowers(double* __restrict out) {
    for (int i = 0; i < blockSize; ++i)
        rows.spare[i] = exact_powers::productPower<n>(out[i]);
    for (int i = 0; i < blockSize; ++i)
        out[i] = exact_powers::inExactRange(out[i], n) ? rows.spare[i] : std::pow(out[i], n);
}

void wholePowers(double* out, double exponent) {
    if (exponent == 3.0)
        wholePowers<3>(out);
    else if (exponent == 4.0)
        wholePowers<4>(out);
    else
        wholePowers<5>(out);
}

// One sample's variables: the swept one takes its sample, any other keeps its value.
class BlockRun {
  public:
    BlockRun(const double* varying, int count) : varying(varying), count(count) {}

    // Leaves the block's results in the bottom row.
    void run(const ScalarStep* step);

  private:
    const double* varying;
    int count; // samples in this block; the lanes after them are padding
    int depth = 0;

    double* top() { return rows.stack[depth - 1]; }

    double* push() { return rows.stack[depth++]; }

    // Each parameter a user call binds takes its row the first time it is bound.
    std::array<const double*, boundParameterLimit> bound{};
    int boundCount = 0;

    // The row of a variable that differs between samples; nullptr for any other.
    double* rowOf(const double* variable) const {
        if (variable == varying) return rows.samples;
        for (int k = 0; k < boundCount; ++k)
            if (bound[static_cast<std::size_t>(k)] == variable) return rows.parameters[k];
        return nullptr;
    }

    void bindParameter(double* parameter) {
        double* row = rowOf(parameter);
        if (row == nullptr) {
            bound[static_cast<std::size_t>(boundCount)] = parameter;
            row = rows.parameters[boundCount++];
        }
        std::copy_n(top(), blockSize, row);
        *parameter = top()[count - 1]; // as the samples one after another leave it
        --depth;
    }

    void pushVariable(const double* variable) {
        double* out = push();
        if (const double* row = rowOf(variable))
            std::copy_n(row, blockSize, out);
        else
            std::fill_n(out, blockSize, *variable);
    }

    // top = f(below, top), and the top entry goes.
    template <typename F> void withBelow(F f) {
        --depth;
        eachLane(top(), rows.stack[depth], f);
    }

    template <typename F> void withVariable(const double* variable, F f) {
        if (const double* row = rowOf(variable)) {
            eachLane(top(), row, f);
        } else {
            const double b = *variable;
            eachLane(top(), [&](double a) { return f(a, b); });
        }
    }

    // The general power, sample by sample: top = top ^ exponent(i).
    template <typename Exponent> void raise(Exponent exponent) {
        double* out = top();
        for (int i = 0; i < count; ++i) {
            const double y = exponent(i);
            if (outsidePowerDomain(out[i], y)) rows.errors[i] = EDOM;
            out[i] = powerValue(out[i], y);
        }
    }

    void withVariableExponent(const double* variable) {
        if (const double* row = rowOf(variable))
            raise([row](int i) { return row[i]; });
        else
            raise([y = *variable](int) { return y; });
    }

    template <typename F> void eachSample(F f) {
        double* out = top();
        for (int i = 0; i < count; ++i)
            out[i] = f(out[i], i);
    }

    // A built-in may raise a math error; each sample's own raising is kept apart.
    void function(double (*rule)(double)) {
        const RaisedFailures& raised = expressionState.raised;
        eachSample([rule, &raised](double a, int i) {
            const std::uint64_t before = raised.counts.mathErrors;
            const double value = rule(a);
            if (raised.counts.mathErrors != before) rows.errors[i] = raised.mathError;
            return value;
        });
    }

    void sine() {
        eachSample([](double a, int) { return std::sin(a); });
    }
    void cosine() {
        eachSample([](double a, int) { return std::cos(a); });
    }
    void sineOfPair() {
        eachSample([](double a, int i) { return rows.pairs[i].of(a).sine; });
    }
    void cosineOfPair() {
        eachSample([](double a, int i) { return rows.pairs[i].of(a).cosine; });
    }
};

void BlockRun::run(const ScalarStep* step) {
    for (int i = 0; i < count; ++i)
        rows.pairs[i].known = false;
    for (;;) {
        const ScalarStep& s = *step++;
        const double number = s.number;
        // clang-format off
        switch (s.code) {
        case ScalarCode::pushNumber: std::fill_n(push(), blockSize, number); continue;
        case ScalarCode::pushVariable: pushVariable(s.variable); continue;
        case ScalarCode::pushSquare: pushVariable(s.variable); eachLane(top(), [](double a) { return a * a; }); continue;
        case ScalarCode::pushPower: pushVariable(s.variable); raise([number](int) { return number; }); continue;
        case ScalarCode::pushSquareRoot: pushVariable(s.variable); squareRoots(top()); continue;
        case ScalarCode::pushWholePower: pushVariable(s.variable); wholePowers(top(), number); continue;
        case ScalarCode::negate: eachLane(top(), [](double a) { return -a; }); continue;
        case ScalarCode::square: eachLane(top(), [](double a) { return a * a; }); continue;
        case ScalarCode::squareRoot: squareRoots(top()); continue;
        case ScalarCode::wholePower: wholePowers(top(), number); continue;
        case ScalarCode::function: function(s.function); continue;
        case ScalarCode::sine: sine(); continue;
        case ScalarCode::cosine: cosine(); continue;
        case ScalarCode::sineOfPair: sineOfPair(); continue;
        case ScalarCode::cosineOfPair: cosineOfPair(); continue;
        case ScalarCode::pushSineOfPair: pushVariable(s.variable); sineOfPair(); continue;
        case ScalarCode::pushCosineOfPair: pushVariable(s.variable); cosineOfPair(); continue;
        case ScalarCode::add: withBelow([](double a, double b) { return a + b; }); continue;
        case ScalarCode::subtract: withBelow([](double a, double b) { return a - b; }); continue;
        case ScalarCode::multiply: withBelow([](double a, double b) { return a * b; }); continue;
        case ScalarCode::divide: withBelow([](double a, double b) { return a / b; }); continue;
        case ScalarCode::power: {
            const double* exponents = top();
            --depth;
            raise([exponents](int i) { return exponents[i]; });
            continue;
        }
        case ScalarCode::addNumber: eachLane(top(), [number](double a) { return a + number; }); continue;
        case ScalarCode::subtractNumber: eachLane(top(), [number](double a) { return a - number; }); continue;
        case ScalarCode::multiplyNumber: eachLane(top(), [number](double a) { return a * number; }); continue;
        case ScalarCode::divideNumber: eachLane(top(), [number](double a) { return a / number; }); continue;
        case ScalarCode::powerNumber: raise([number](int) { return number; }); continue;
        case ScalarCode::addVariable: withVariable(s.variable, [](double a, double b) { return a + b; }); continue;
        case ScalarCode::subtractVariable: withVariable(s.variable, [](double a, double b) { return a - b; }); continue;
        case ScalarCode::multiplyVariable: withVariable(s.variable, [](double a, double b) { return a * b; }); continue;
        case ScalarCode::divideVariable: withVariable(s.variable, [](double a, double b) { return a / b; }); continue;
        case ScalarCode::powerVariable: withVariableExponent(s.variable); continue;
        case ScalarCode::bindParameter: bindParameter(s.parameter); continue;
        case ScalarCode::end: return;
        }
        // clang-format on
    }
}

} // namespace

bool canSweep(const ExpList& list) {
    const auto bindsParameter = [](const ScalarStep& step) { return step.code == ScalarCode::bindParameter; };
    return sweepsEnabled && !list.scalarSteps.empty() && list.scalarDepth <= sweepDepthLimit &&
           workStack.count + list.scalarDepth <= workStackLimit &&
           std::count_if(list.scalarSteps.begin(), list.scalarSteps.end(), bindsParameter) <= boundParameterLimit;
}

void evaluateSweep(const ExpList& list, Variable* varying, std::span<const double> values,
                   std::span<double> results, std::span<std::int32_t> mathErrors) {
    const double* variable = varying != nullptr ? &varying->value : nullptr;
    const std::size_t total = std::min({values.size(), results.size(), mathErrors.size()});
    for (std::size_t start = 0; start < total; start += blockSize) {
        const int count = static_cast<int>(std::min<std::size_t>(blockSize, total - start));
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(start), count, rows.samples);
        std::fill(rows.samples + count, rows.samples + blockSize, rows.samples[count - 1]);
        std::fill_n(rows.errors, count, 0);
        BlockRun(variable, count).run(list.scalarSteps.data());
        for (int i = 0; i < count; ++i) {
            results[start + static_cast<std::size_t>(i)] = rows.stack[0][i];
            if (rows.errors[i] != 0) mathErrors[start + static_cast<std::size_t>(i)] = rows.errors[i];
        }
    }
    if (total > 0) setVariableValue(varying, values[total - 1]);
}
