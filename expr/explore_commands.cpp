#include "expr/explore_commands.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <optional>
#include <vector>

#include "expr/compiler.h"
#include "expr/curve_numerics.h"
#include "expr/evaluation.h"
#include "expr/expression_function.h"

namespace {

constexpr std::size_t mostRoots = 20;
const char* const noValueAnswer = "Error - the expression has no value on the interval";

enum class Tool { roots, minimum, maximum, area };

struct ToolWord {
    std::string_view word;
    Tool tool;
};

constexpr ToolWord toolWords[] = {
    {":roots", Tool::roots}, {":min", Tool::minimum}, {":max", Tool::maximum}, {":area", Tool::area}};

const ToolWord* toolOf(std::string_view text) {
    for (const ToolWord& t : toolWords)
        if (text.substr(0, t.word.size()) == t.word) return &t;
    return nullptr;
}

// "%lf" would print a tiny negative as -0.000000.
double shown(double v) {
    return std::fabs(v) < 5e-7 ? 0.0 : v;
}

std::string formatted(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    std::string piece(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, '\0');
    std::vsnprintf(piece.data(), piece.size(), format, again);
    va_end(again);
    piece.pop_back();
    return piece;
}

// The pieces of "a,b,expression"; an expression may hold commas of its own.
std::optional<std::array<std::string_view, 3>> boundsAndExpression(std::string_view text) {
    const std::vector<std::string_view> pieces = splitArguments(text, 3);
    if (pieces.size() < 3) return std::nullopt;
    for (std::string_view piece : pieces)
        if (piece.empty()) return std::nullopt;
    return std::array<std::string_view, 3>{pieces[0], pieces[1], pieces[2]};
}

ExpListPtr compiled(std::string_view text) {
    ExpListPtr list = compileText(rewriteFactorials(text));
    toPostfix(*list);
    return list;
}

bool isPlainName(const std::string& name) {
    return !name.empty() && name.back() != '(' && name != "pi" && name != "e" && findVector(name) == nullptr;
}

// The names of the text that call no function and are not pi, e or a vector, in order.
std::vector<std::string> plainNames(std::string_view text) {
    std::vector<std::string> names;
    for (std::size_t position = 0; position < text.size();) {
        const char c = text[position];
        const bool letter = ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && c != 'X';
        if (!letter) {
            ++position;
            continue;
        }
        std::string name = readName(text, position);
        if (isPlainName(name)) names.push_back(std::move(name));
    }
    return names;
}

// x when the text uses it (so a counter such as sum's k is passed over), else the name as ":solv"
// finds it (right after the first "("), else the first plain name; empty when there is none.
std::string variableName(std::string_view text) {
    const std::vector<std::string> names = plainNames(text);
    if (std::find(names.begin(), names.end(), "x") != names.end()) return "x";
    const std::size_t bracket = text.find('(');
    if (bracket != std::string_view::npos) {
        std::size_t position = bracket + 1;
        std::string name = readName(text, position);
        if (isPlainName(name)) return name;
    }
    return names.empty() ? std::string() : names.front();
}

std::string rootsAnswer(const RootSearch& search, const std::string& name) {
    if (search.flat) return "Error - the expression is zero on the whole interval";
    if (search.roots.empty())
        return search.signChangeRefused
                   ? "Error - no root in the interval, the sign changes only at a pole or a jump"
                   : "Error - no root in the interval";
    std::string answer = "roots: ";
    for (std::size_t i = 0; i < search.roots.size(); ++i)
        answer += formatted(i == 0 ? "%s = %lf" : ", %s = %lf", name.c_str(), shown(search.roots[i]));
    return answer;
}

std::string extremumAnswer(const Extremum& e, const std::string& name, bool isMinimum) {
    const char* word = isMinimum ? "min" : "max";
    switch (e.outcome) {
    case ExtremumOutcome::found:
        return formatted("%s: %s = %lf, y = %lf", word, name.c_str(), shown(e.x), shown(e.y));
    case ExtremumOutcome::flat:
        return "Error - the expression is constant on the interval";
    case ExtremumOutcome::unbounded:
        return formatted("Error - no %s, the expression is unbounded near %s = %lf", word, name.c_str(),
                         shown(e.x));
    case ExtremumOutcome::noValue:
    case ExtremumOutcome::atEnd: // not asked for here
        break;
    }
    return noValueAnswer;
}

struct Outcome {
    std::string answer;
    std::optional<double> x = std::nullopt; // the variable's new value
};

Outcome explore(Tool tool, double a, double b, const ExpressionFunction& f, const std::string& name) {
    setVariableValue(f.variable, a);
    const std::optional<Value> trial = evaluateValue(f.list).value;
    if (trial && trial->kind == kindVector) return {"Error - the expression gives a vector, not a number"};
    if (tool == Tool::area) return {areaAnswer(integrate(f, a, b))};
    if (tool == Tool::roots) {
        const RootSearch search = findRoots(f, a, b, mostRoots);
        if (!search.anyValue) return {noValueAnswer};
        const std::optional<double> first =
            search.roots.empty() ? std::nullopt : std::optional<double>(search.roots.front());
        return {rootsAnswer(search, name), first};
    }
    const bool isMinimum = tool == Tool::minimum;
    const Extremum e = isMinimum ? findMinimum(f, a, b) : findMaximum(f, a, b);
    const std::optional<double> x =
        e.outcome == ExtremumOutcome::found ? std::optional<double>(e.x) : std::nullopt;
    return {extremumAnswer(e, name, isMinimum), x};
}

} // namespace

bool isExploreCommand(std::string_view text) {
    return toolOf(text) != nullptr;
}

std::string runExploreCommand(std::string_view text) {
    const ToolWord* tool = toolOf(text);
    if (tool == nullptr) return {};
    const auto pieces = boundsAndExpression(text.substr(tool->word.size()));
    if (!pieces) return formatted("Error - expected %s a,b,expression", std::string(tool->word).c_str());
    const Bounds bounds = readBounds((*pieces)[0], (*pieces)[1]);
    if (bounds.error != nullptr) return bounds.error;
    const std::string name = variableName((*pieces)[2]);
    Variable* variable = name.empty() ? nullptr : findOrCreateVariable(name);
    Outcome outcome;
    {
        // The whole search is one piece of work, which Stop ends as a whole.
        const SearchScope scope(variable);
        const ExpListPtr expression = compiled((*pieces)[2]);
        const char* lastError = nullptr;
        outcome = explore(tool->tool, bounds.a, bounds.b, ExpressionFunction{*expression, variable, &lastError},
                          name.empty() ? "x" : name);
        // A stopped search tells nothing; elsewhere the evaluator's own reason says more.
        if (scope.stopped()) outcome = {evalErrorMessage};
        if (outcome.answer == noValueAnswer && lastError != nullptr) outcome.answer = lastError;
    }
    if (outcome.x) setVariableValue(variable, *outcome.x);
    return outcome.answer;
}

std::optional<double> boundValue(std::string_view text) {
    const ValueEvaluation bound = evaluateValue(*compiled(text));
    const std::optional<Value>& value = bound.value;
    if (!value || value->kind == kindVector || bound.status.failed()) return std::nullopt;
    const double v = scalarOf(*value);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

Bounds readBounds(std::string_view aText, std::string_view bText) {
    const std::optional<double> a = boundValue(aText);
    const std::optional<double> b = boundValue(bText);
    if (!a || !b) return {0.0, 0.0, "Error - the bounds must be finite numbers"};
    if (!(*a < *b)) return {*a, *b, "Error - the first bound must be below the second"};
    return {*a, *b};
}

std::string areaAnswer(const Area& area) {
    if (!area.anyValue) return noValueAnswer;
    if (!area.finite) return "Error - no area, the expression has a pole or no value in part of the interval";
    const std::string answer = formatted("area = %lf", shown(area.value));
    if (area.converged) return answer;
    return answer + formatted(" (Warning - no convergence, error estimate %lf)", area.errorEstimate);
}
