// The built-in functions: their table and the rules of those that evaluate further lists.
#include <algorithm>
#include <cmath>
#include <limits>

#include "expr/builtin_table.h"
#include "expr/evaluation.h"
#include "expr/evaluator.h"

namespace {

constexpr double quietNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double halfPi = 1.5707963267948966;
constexpr int highestDerivativeOrder = 64; // 2^64 evaluations: nobody waits that long, so no deeper
const char* const notAVariableMessage = "Error - expected a variable name";

const ExpList* argumentList(const ExpListNode& node, const ExpList& list, std::uint32_t index) {
    if (index >= node.argumentCount) return nullptr;
    return list.arguments[node.arguments + index].list.get();
}

// The variable a counter or derivative argument names: that of its first token.
Variable* argumentVariable(const ExpList* argument) {
    if (argument == nullptr || argument->tokens.empty() || argument->tokens[0].kind != kindVariable)
        return nullptr;
    return argument->tokens[0].variable;
}

// Bounds and orders are evaluated, so a plain number gives its value and -2 or n+1 work too.
double argumentNumber(const ExpList* argument) {
    return argument != nullptr ? runToNumber(*argument) : 0.0;
}

double checkedLog(double a) {
    if (a < 0.0 || std::isnan(a)) {
        raiseMathError();
        return quietNaN;
    }
    return std::log(a);
}

// Six-term Lanczos series.
double logGamma(double x) {
    static constexpr double coefficients[] = {76.18009172947146,    -86.50532032941678,
                                              24.01409824083091,    -1.231739572450155,
                                              0.001208650973866179, -0.000005395239384953};
    double t = x + 5.5;
    t = t - (x + 0.5) * checkedLog(t);
    double s = 1.00000000019015;
    double y = x;
    for (double c : coefficients) {
        y = y + 1.0;
        s = s + c / y;
    }
    return checkedLog(2.5066282746310007 * s / x) - t;
}

// gamma(a) = gamma(a + 1) / a below 1, unwound. Far below zero the unwinding would take
// millions of steps; its outcome is known there: every double is then a pole (an infinity)
// or the quotient has underflowed to zero, with the sign of the negative divisors' count.
double gammaFunction(double a) {
    if (a == 1.0) return 1.0;
    if (!(a < 1.0)) return std::exp(logGamma(a));
    if (a < -1000.0) {
        const bool whole = a == std::floor(a);
        const double negativeDivisors = whole ? -a : std::floor(-a) + 1.0;
        const double sign = std::fmod(negativeDivisors, 2.0) == 0.0 ? 1.0 : -1.0;
        return sign * (whole ? std::numeric_limits<double>::infinity() : 0.0);
    }
    double top = a;
    int steps = 0;
    while (top < 1.0) {
        top += 1.0;
        ++steps;
    }
    double result = gammaFunction(top);
    for (int k = steps - 1; k >= 0; --k)
        result /= a + k;
    return result;
}

double factorial(double a) {
    double r = 1.0;
    // Once the product is infinite nothing changes any more; this also ends a beyond 2^53.
    while (a > 1.0 && !std::isinf(r)) {
        r = r * a;
        a = a - 1.0;
    }
    return r;
}

double sign(double a) {
    if (std::isnan(a)) return a;
    return a > 0.0 ? 1.0 : a < 0.0 ? -1.0 : 0.0;
}

// A NaN argument gives NaN, where fmin and fmax would pass it over.
double smaller(double a, double b) {
    return std::isnan(a) || std::isnan(b) ? quietNaN : std::min(a, b);
}
double larger(double a, double b) {
    return std::isnan(a) || std::isnan(b) ? quietNaN : std::max(a, b);
}

double checkedLog10(double a) {
    return std::isnan(checkedLog(a)) ? quietNaN : std::log10(a);
}

} // namespace

constexpr std::array<BuiltinRow, builtinCount> builtinTable = {{
    {"sin", 1, Builtin::sin, "Error - cannot apply sine to vector", [](double a) { return std::sin(a); }},
    {"cos", 1, Builtin::cos, "Error - cannot apply cosine to vector", [](double a) { return std::cos(a); }},
    {"sqrt", 1, Builtin::sqrt, "Error - cannot apply square root to vector", [](double a) { return power(a, 0.5); }},
    {"sum", 4, Builtin::sum},
    {"prod", 4, Builtin::prod},
    {"!", 1, Builtin::factorial, "Error - cannot apply factorial to vector", factorial},
    {"mod", 1, Builtin::mod, "Error - cannot apply mod to vector", [](double a) { return std::fabs(a); }},
    // Registered without a rule of its own; the reciprocal is what users expect of it.
    {"inv", 1, Builtin::inv, "Error - cannot apply inv to vector", [](double a) { return 1.0 / a; }},
    {"gamma", 1, Builtin::gamma, "Error - cannot apply gamma to vector", gammaFunction},
    {"acos", 1, Builtin::acos, "Error - cannot apply inverse cos to vector",
     [](double a) { return a < -1.0 || a > 1.0 ? quietNaN : halfPi - std::atan2(a, std::sqrt(1.0 - a * a)); }},
    {"asin", 1, Builtin::asin, "Error - cannot apply inverse sin to vector",
     [](double a) { return std::atan2(a, std::sqrt(1.0 - a * a)); }},
    {"atan", 1, Builtin::atan, "Error - cannot apply inverse tan to vector", [](double a) { return std::atan(a); }},
    {"ceil", 1, Builtin::ceil, "Error - cannot apply ceil to vector", [](double a) { return std::ceil(a); }},
    {"cosh", 1, Builtin::cosh, "Error - cannot apply cosh to vector",
     [](double a) { return (std::exp(a) + std::exp(-a)) / 2.0; }},
    {"floor", 1, Builtin::floor, "Error - cannot apply floor to vector", [](double a) { return std::floor(a); }},
    {"log", 1, Builtin::log, "Error - cannot apply log to vector", checkedLog},
    {"sinh", 1, Builtin::sinh, "Error - cannot apply sinh to vector",
     [](double a) { return (std::exp(a) - std::exp(-a)) / 2.0; }},
    {"tan", 1, Builtin::tan, "Error - cannot apply tan to vector", [](double a) { return std::tan(a); }},
    {"tanh", 1, Builtin::tanh, "Error - cannot apply tanh to vector",
     [](double a) { return 1.0 - 2.0 / (std::exp(2.0 * a) + 1.0); }},
    {"diff", 2, Builtin::diff},
    {"diffn", 3, Builtin::diffn},
    {"sec", 1, Builtin::sec, "Error - cannot apply sec to vector", [](double a) { return 1.0 / std::cos(a); }},
    {"cosec", 1, Builtin::cosec, "Error - cannot apply cosec to vector", [](double a) { return 1.0 / std::sin(a); }},
    {"cot", 1, Builtin::cot, "Error - cannot apply cot to vector", [](double a) { return 1.0 / std::tan(a); }},
    {"int", 3, Builtin::integral},
    {"abs", 1, Builtin::abs, "Error - cannot apply abs to vector", [](double a) { return std::fabs(a); }},
    {"exp", 1, Builtin::exp, "Error - cannot apply exp to vector", [](double a) { return std::exp(a); }},
    {"ln", 1, Builtin::ln, "Error - cannot apply ln to vector", checkedLog},
    {"log10", 1, Builtin::log10, "Error - cannot apply log10 to vector", checkedLog10},
    {"min", 2, Builtin::min, "Error - cannot apply min to vector", nullptr, smaller},
    {"max", 2, Builtin::max, "Error - cannot apply max to vector", nullptr, larger},
    {"sign", 1, Builtin::sign, "Error - cannot apply sign to vector", sign},
}};

namespace {

constexpr bool rowsInEnumOrder() {
    for (std::size_t i = 0; i < builtinTable.size(); ++i)
        if (static_cast<std::size_t>(builtinTable[i].builtin) != i + 1) return false;
    return true;
}
static_assert(rowsInEnumOrder(), "row i of the built-in table must be Builtin i + 1");

constexpr bool everyRuleHasItsMessage() {
    for (const BuiltinRow& row : builtinTable)
        if ((row.rule != nullptr || row.pairRule != nullptr) != (row.vectorMessage != nullptr)) return false;
    return true;
}
static_assert(everyRuleHasItsMessage(), "a built-in with a rule names the error of a vector argument");

const BuiltinRow* oneArgumentFunction(Builtin builtin) {
    const BuiltinRow* row = builtinRow(builtin);
    return row != nullptr && row->rule != nullptr ? row : nullptr;
}

double numberOf(const std::optional<Value>& value) {
    return value && value->kind != kindVector ? scalarOf(*value) : 0.0;
}

// sum (counter, from, to, term) and prod.
Value sumOrProduct(const ExpListNode& node, const ExpList& list, bool isSum) {
    Variable* counter = argumentVariable(argumentList(node, list, 0));
    if (counter == nullptr) return evaluationError(notAVariableMessage);
    const double low = argumentNumber(argumentList(node, list, 1));
    const double high = argumentNumber(argumentList(node, list, 2));
    const ExpList* term = argumentList(node, list, 3);
    double accumulator = isSum ? 0.0 : 1.0;
    for (double q = low; q <= high; q += 1.0) {
        if (workStopped()) return scalarValue(0.0);
        setVariableValue(counter, q);
        const double t = term != nullptr ? runToNumber(*term) : 0.0;
        accumulator = isSum ? accumulator + t : accumulator * t;
        if (q + 1.0 == q) // past 2^53 the counter cannot move on
            break;
    }
    return scalarValue(accumulator);
}

// Five-point central difference; the variable is moved and moved back, not saved.
Value firstDerivative(const ExpList& expression, Variable& v) {
    if (workStopped(5)) return scalarValue(0.0);
    v.value = v.value - 0.0001;
    const std::optional<Value> p = runToValue(expression);
    if (p && p->kind == kindVector) {
        v.value = v.value + 0.0002;
        const std::optional<Value> s = runToValue(expression);
        v.value = v.value - 0.0001;
        const auto& pc = componentsOf(*p);
        const auto sc = s && s->kind == kindVector ? componentsOf(*s) : std::array<double, 3>{};
        return vectorValue({(sc[0] - pc[0]) * 5000.0, (sc[1] - pc[1]) * 5000.0, (sc[2] - pc[2]) * 5000.0});
    }
    return scalarValue(
        fivePointDifference(v, numberOf(p), [&expression] { return runToNumber(expression); }));
}

double nthDerivative(const ExpList& expression, Variable& v, int order) {
    if (order <= 1) {
        if (workStopped(2)) return 0.0;
        const double f0 = runToNumber(expression);
        v.value = v.value + 0.00000001;
        const double f1 = runToNumber(expression);
        const double result = (f1 - f0) * 100000000.0;
        v.value = v.value - 0.00000001;
        return result;
    }
    if (workStopped()) return 0.0;
    v.value = v.value + derivativeStep;
    const double u = nthDerivative(expression, v, order - 1);
    v.value = v.value - 2.0 * derivativeStep;
    const double w = nthDerivative(expression, v, order - 1);
    v.value = v.value + derivativeStep;
    return (u - w) / (2.0 * derivativeStep);
}

Value derivative(const ExpListNode& node, const ExpList& list, bool nth) {
    const ExpList* expression = argumentList(node, list, 0);
    Variable* v = argumentVariable(argumentList(node, list, 1));
    if (expression == nullptr || v == nullptr) return evaluationError(notAVariableMessage);
    if (!nth) return firstDerivative(*expression, *v);
    const double order = std::trunc(argumentNumber(argumentList(node, list, 2)));
    // Orders below 1 give the first difference; NaN counts as below 1.
    const int n = order >= highestDerivativeOrder ? highestDerivativeOrder
                  : order >= 1.0                  ? static_cast<int>(order)
                                                  : 1;
    return scalarValue(nthDerivative(*expression, *v, n));
}

// min and max take the values of two arguments.
Value applyPair(const BuiltinRow& f, const ExpListNode& node, const ExpList& list, const Value* firstValue) {
    const ExpList* second = argumentList(node, list, 1);
    if (firstValue == nullptr || second == nullptr) return evaluationError("Error - two arguments needed");
    const Value a = *firstValue; // the next evaluation may overwrite the entry
    const Value* b = runToResult(*second);
    if (b == nullptr) return evaluationError("Error - two arguments needed");
    if (a.kind == kindVector || b->kind == kindVector) return evaluationError(f.vectorMessage);
    return scalarValue(f.pairRule(scalarOf(a), scalarOf(*b)));
}

} // namespace

bool isOneArgumentBuiltin(Builtin builtin) {
    return oneArgumentFunction(builtin) != nullptr;
}

OneArgumentRule oneArgumentRule(Builtin builtin) {
    return oneArgumentFunction(builtin)->rule;
}

Value applyOneArgument(Builtin builtin, const Value& argument) {
    const BuiltinRow& f = *oneArgumentFunction(builtin);
    if (argument.kind == kindVector) return evaluationError(f.vectorMessage);
    return scalarValue(f.rule(scalarOf(argument)));
}

Value callBuiltin(const ExpListNode& node, const ExpList& list) {
    const ExpList* first = argumentList(node, list, 0);
    const Value* firstValue = first != nullptr ? runToResult(*first) : nullptr;
    const bool isVector = firstValue != nullptr && firstValue->kind == kindVector;
    const double a = firstValue != nullptr && !isVector ? scalarOf(*firstValue) : 0.0;

    if (isOneArgumentBuiltin(node.builtin))
        return firstValue != nullptr ? applyOneArgument(node.builtin, *firstValue)
                                     : scalarValue(oneArgumentFunction(node.builtin)->rule(0.0));
    if (const BuiltinRow* row = builtinRow(node.builtin); row != nullptr && row->pairRule != nullptr)
        return applyPair(*row, node, list, firstValue);
    switch (node.builtin) {
    case Builtin::sum:
        return sumOrProduct(node, list, true);
    case Builtin::prod:
        return sumOrProduct(node, list, false);
    case Builtin::diff:
        return derivative(node, list, false);
    case Builtin::diffn:
        return derivative(node, list, true);
    case Builtin::integral:
        integralSum = integralSum + integralStep * a;
        return scalarValue(integralSum);
    default:
        // A registered name without a rule gives 0.
        return scalarValue(0.0);
    }
}
