#include "expr/command_interpreter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluation.h"
#include "expr/evaluator.h"
#include "expr/explore_commands.h"


namespace {

constexpr std::size_t parameterLimit = 20;
constexpr std::size_t vectorSeparatorLimit = 80;
constexpr int bisectionLimit = 4096;

// Appends to answerText, cutting at the end of the buffer.
void appendAnswer(std::string_view piece) {
    const std::size_t used = std::strlen(answerText);
    const std::size_t room = consoleBufferSize - 1 - used;
    const std::size_t n = piece.size() < room ? piece.size() : room;
    std::memcpy(answerText + used, piece.data(), n);
    answerText[used + n] = '\0';
}

void replaceAnswer(std::string_view piece) {
    answerText[0] = '\0';
    appendAnswer(piece);
}

// One printf-style piece, formatted in full; only the answer as a whole is cut.
template <typename... Args> void appendFormatted(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    if (length <= 0) return;
    std::string piece(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(piece.data(), piece.size(), format, args...);
    piece.pop_back();
    appendAnswer(piece);
}

double toDouble(std::string_view text) {
    const std::string terminated(text);
    return std::strtod(terminated.c_str(), nullptr);
}

void listConstants() {
    replaceAnswer("Constants: ");
    for (const Constant& c : symbolStore.constants)
        appendFormatted("%lf  ", c.value);
}

void listVariables() {
    replaceAnswer("Variables: ");
    for (const auto& v : symbolStore.variables)
        appendFormatted("%s = %lf .. ", v->name.c_str(), v->value);
}

// A listing cut at the end of the buffer ends with ".." so that it does not pass for whole.
void listFunctions() {
    replaceAnswer("Functions: ");
    std::size_t wanted = std::strlen(answerText);
    for (const auto& f : symbolStore.functions) {
        appendFormatted("%s ", f->name.c_str());
        wanted += f->name.size() + 1;
    }
    if (wanted >= consoleBufferSize) std::memcpy(answerText + consoleBufferSize - 3, "..", 2);
}

void listVectors() {
    replaceAnswer("Vectors: ");
    for (const auto& v : symbolStore.vectors) {
        appendFormatted("Vector %s  = ", v->name.c_str());
        for (std::int32_t i = 0; i < v->count; ++i)
            appendFormatted(" %lf ", v->components[static_cast<std::size_t>(i)]);
    }
}

// name(parameters)=body, the character after ")" skipped unexamined. A text without "(" or
// ")" defines nothing; parameters beyond the twentieth are ignored.
std::optional<FunctionEntry> parsedDefinition(std::string_view text) {
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = text.find(')', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    FunctionEntry entry;
    entry.name = std::string(text.substr(0, open));
    if (close > open + 1) {
        for (std::string_view name : splitArguments(text.substr(open + 1, close - open - 1)))
            if (entry.parameters.size() < parameterLimit) entry.parameters.push_back(ParameterNode{std::string(name)});
    }
    entry.arity = static_cast<int>(entry.parameters.size());
    entry.bodyText = close + 2 <= text.size() ? std::string(text.substr(close + 2)) : std::string();
    return entry;
}

void defineFromParsedText(std::string_view text) {
    std::optional<FunctionEntry> entry = parsedDefinition(text);
    if (!entry) return;
    std::vector<std::string> parameters;
    for (ParameterNode& parameter : entry->parameters)
        parameters.push_back(std::move(parameter.name));
    defineUserFunction(std::move(entry->name), entry->arity, std::move(parameters), std::move(entry->bodyText));
}

// Blanks in the name, the parameters and before the "=" count nowhere, so f(x) = x + 1 is
// f(x)= x + 1; the body keeps its own, which the compiler ignores.
std::string withoutHeadBlanks(std::string_view text) {
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos) return std::string(text);
    std::size_t separatorAt = close + 1;
    while (separatorAt < text.size() && (text[separatorAt] == ' ' || text[separatorAt] == '\t'))
        ++separatorAt;
    return stripBlanks(text.substr(0, close + 1)) + std::string(text.substr(separatorAt));
}

void defineFunctionCommand(std::string_view text) {
    defineFromParsedText(rewriteFactorials(stripBlanks(text.substr(5))));
}

// The position of `c` at or after `from`, or npos unless it is within the first 81 characters.
std::size_t separator(std::string_view text, char c, std::size_t from) {
    const std::size_t found = from <= text.size() ? text.find(c, from) : std::string_view::npos;
    return found <= vectorSeparatorLimit ? found : std::string_view::npos;
}

std::string_view range(std::string_view text, std::size_t from, std::size_t to) {
    return from < to && from < text.size() ? text.substr(from, to - from) : std::string_view();
}

void defineVectorCommand(std::string_view line) {
    const std::string text = stripBlanks(line.substr(5));
    const std::size_t e = separator(text, '=', 0);
    if (e == std::string::npos) return replaceAnswer("Ignored - no '='");
    const std::size_t c1 = separator(text, ',', e + 2);
    const std::size_t c2 = c1 == std::string::npos ? c1 : separator(text, ',', c1 + 1);
    if (c2 == std::string::npos) return replaceAnswer("Ignored - missing comma");
    const std::size_t p = separator(text, ')', c2 + 1);
    if (p == std::string::npos) return replaceAnswer("Ignored - missing closing bracket");
    const std::string name = text.substr(0, e);
    const double x = toDouble(range(text, e + 2, c1));
    const double y = toDouble(range(text, c1 + 1, c2));
    const double z = toDouble(range(text, c2 + 1, p));
    // An existing vector takes the new components too, so that the answer tells the truth.
    findOrCreateVector(name, 3, x, y, z)->components = {x, y, z};
    replaceAnswer("Added vector name = ");
    appendAnswer(name);
    appendFormatted("  : %lf", x);
    appendFormatted("  : %lf", y);
    appendFormatted("  : %lf", z);
}

// Halves [low, high] around a change of sign until |f| <= 0.000001, the value is not a
// number, or the interval cannot shrink any more (a pole); the variable keeps the last point.
void bisect(const ExpList& expression, Variable& variable, double low, double high, double fLow) {
    for (int i = 0; i < bisectionLimit; ++i) {
        const double mid = (high + low) * 0.5;
        setVariableValue(&variable, mid);
        const double fMid = evaluateToNumber(expression);
        if (std::fabs(fMid) <= 0.000001 || std::isnan(fMid) || mid == low || mid == high) return;
        if (fLow * fMid > 0)
            low = mid;
        else
            high = mid;
    }
}

// A bound or end value that is a root: the search ends there.
bool isRootAt(Variable& variable, double x, double f) {
    if (f != 0.0) return false;
    setVariableValue(&variable, x);
    return true;
}

// Whether one of the 20 subintervals of [a, a + 20(b - a)/21] shows a root or a change of sign;
// the first that does is bisected, and the search ends there.
bool searchSubintervals(const ExpList& expression, Variable& variable, double a, double b) {
    const double step = (b - a) * 0.047619047619047616;
    double x = a;
    for (int i = 0; i < 20; ++i) {
        const double low = x;
        x = x + step;
        const double high = x;
        setVariableValue(&variable, low);
        const double fLow = evaluateToNumber(expression);
        setVariableValue(&variable, high);
        const double fHigh = evaluateToNumber(expression);
        if (isRootAt(variable, low, fLow) || isRootAt(variable, high, fHigh)) return true;
        if (fLow * fHigh < 0) {
            bisect(expression, variable, low, high, fLow);
            return true;
        }
    }
    return false;
}

// :solv a,b,expression, the bounds any expressions. Without a change of sign the variable keeps
// its value and the answer says so.
void solveCommand(std::string_view line) {
    const std::string text = stripBlanks(line.substr(5));
    const std::vector<std::string_view> pieces = splitArguments(text, 3);
    if (pieces.size() < 3) return replaceAnswer("Error - expected :solv a,b,expression");
    const std::optional<double> a = boundValue(pieces[0]);
    const std::optional<double> b = boundValue(pieces[1]);
    if (!a || !b) return replaceAnswer("Error - the bounds must be finite numbers");
    const ExpListPtr expression = compileText(rewriteFactorials(pieces[2]));
    toPostfix(*expression);
    if (!expression->refusal.empty()) return replaceAnswer(expression->refusal);

    const std::size_t bracket = pieces[2].find('(');
    std::size_t namePosition = bracket + 1;
    const std::string name = bracket == std::string::npos ? std::string() : readName(pieces[2], namePosition);
    if (name.empty() || name.back() == '(')
        return replaceAnswer("Error - name the variable after a bracket, as in :solv 1,2,f(x)");
    Variable& variable = *findOrCreateVariable(name);
    const double before = variable.value;

    const EvaluationSession session;
    if (searchSubintervals(*expression, variable, *a, *b)) return;
    setVariableValue(&variable, before);
    replaceAnswer("Error - no change of sign");
}

bool startsWith(std::string_view text, std::string_view word) {
    return text.substr(0, word.size()) == word;
}

} // namespace

void runConsoleLine() {
    const std::string stripped =
        stripBlanks(std::string_view(consoleLine, strnlen(consoleLine, consoleBufferSize - 1)));
    if (stripped == ":bye") return;
    answerText[0] = '\0';
    const EvaluationSession session; // the whole line is what Stop or Ctrl+C ends
    interpretLine(stripped);
    std::memcpy(consoleLine, answerText, std::strlen(answerText) + 1);
}

std::string answerConsoleLine(std::string_view line) {
    // A cut line could compute its first part as if it were the whole.
    if (line.size() >= consoleBufferSize) return "Error - the line is longer than 1023 characters";
    std::memset(consoleLine, 0, sizeof consoleLine);
    line.copy(consoleLine, sizeof consoleLine - 1);
    evalErrorFlag = 0;
    runConsoleLine();
    if (evalErrorFlag != 0 && evalErrorMessage != nullptr) return evalErrorMessage;
    return std::string(consoleLine, strnlen(consoleLine, sizeof consoleLine));
}

void interpretLine(std::string_view text) {
    if (!text.empty() && text[0] == ':') return runCommand(text);
    const ExpListPtr list = compileText(rewriteFactorials(text));
    toPostfix(*list);
    const std::optional<Value> result = evaluate(*list);
    appendAnswer("result = ");
    formatResult(result);
}

void runCommand(std::string_view text) {
    if (startsWith(text, ":listc")) listConstants();
    if (startsWith(text, ":listv")) listVariables();
    if (startsWith(text, ":listf")) listFunctions();
    if (startsWith(text, ":listvec")) listVectors();
    if (startsWith(text, ":defn")) defineFunctionCommand(text);
    if (startsWith(text, ":solv")) solveCommand(text);
    if (startsWith(text, ":defv")) defineVectorCommand(text);
    if (isExploreCommand(text)) replaceAnswer(runExploreCommand(text));
}

void formatResult(const std::optional<Value>& result) {
    if (!result) return;
    if (result->kind == kindVector) {
        const auto& c = componentsOf(*result);
        replaceAnswer("( ");
        appendFormatted(" %lf, ", c[0]);
        appendFormatted(" %lf, ", c[1]);
        appendFormatted(" %lf )", c[2]);
    } else if (result->kind == kindVariable) {
        appendFormatted("%s = %lf", result->variable->name.c_str(), result->variable->value);
    } else if (result->isInteger == 0 || !isWhole(result->components[0])) {
        // The flag says both operands were whole, not that the value is: 7/2 is 3.5.
        appendFormatted("%lf ", result->components[0]);
    } else {
        // Whole numbers beyond 32 bits (and infinities) are printed in full, not wrapped.
        const double whole = result->components[0];
        if (whole >= -2147483648.0 && whole <= 2147483647.0)
            appendFormatted("%i ", static_cast<int>(whole));
        else
            appendFormatted("%.0f ", whole);
    }
}

void defineFunctionFromText(std::string_view text) {
    defineFromParsedText(withoutHeadBlanks(text));
}

std::optional<FunctionEntry> parseDefinition(std::string_view text) {
    return parsedDefinition(withoutHeadBlanks(text));
}
