// Definition texts as the Define dialog takes them: the five checks one by one and together, and
// for a text that passes, the definition, a call of the defined function, and its body compiled and
// evaluated the way the curve plotter does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/syntax_check.h"
#include "fuzz_support.h"

namespace {

using Check = int (*)(std::string_view);
constexpr Check checks[] = {checkBracketBalance, checkBracketKinds, checkNumberPoints,
                            checkConsecutiveOperators, checkMissingMultiply};

// Arguments of the kinds the help page shows: a name, a number, a bracketed sum, a vector.
constexpr std::string_view arguments[] = {"x", "1.5", "(x+1)", "i", "y"};

volatile double resultSink = 0.0;

// Each check answers 0 or 1 and shows exactly one message when it refuses; the whole check
// refuses when any of them does, with the message of the first.
bool checksAgree(std::string_view text) {
    int refusals = 0;
    for (const Check check : checks) {
        const std::size_t shownBefore = fuzzMessageCount;
        const int result = check(text);
        require(result == 0 || result == 1);
        require(fuzzMessageCount - shownBefore == static_cast<std::size_t>(result));
        refusals += result;
    }
    const std::size_t shownBefore = fuzzMessageCount;
    const int result = checkDefinitionSyntax(text);
    require(result == (refusals > 0 ? 1 : 0));
    require(fuzzMessageCount - shownBefore == static_cast<std::size_t>(result));
    return result == 0;
}

std::string callOf(const FunctionEntry& entry) {
    std::string call = entry.name + "(";
    for (int i = 0; i < entry.arity; ++i) {
        if (i > 0) call += ",";
        call += arguments[static_cast<std::size_t>(i) % std::size(arguments)];
    }
    return call + ")";
}

void compileAndEvaluate(std::string_view text) {
    const ExpListPtr list = compileExpression(text);
    Variable* x = findOrCreateVariable("x");
    for (const double sample : {-5.0, 0.0, 2.5}) {
        setVariableValue(x, sample);
        resultSink = resultSink + evaluateToNumber(list);
        require(workStack.count == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    freshExpressionState();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!checksAgree(text) || text.empty()) return 0;
    defineFunctionFromText(text);
    // The store was fresh, so every user function in it came from this text.
    for (std::size_t i = 0; i < symbolStore.functions.size(); ++i) {
        const FunctionEntry entry = *symbolStore.functions[i];
        if (entry.isBuiltin != 0) continue;
        compileAndEvaluate(callOf(entry));
        compileAndEvaluate(entry.bodyText);
    }
    return 0;
}
