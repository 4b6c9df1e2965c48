// An arbitrary text compiled the way the plotters compile it and evaluated at sample points with
// their variables set: x (explicit curves, the chord), x and y (implicit curves, inequalities),
// t (parametric and polar curves) and a (the Vary slider). Lines before the last one are function
// definitions, so that the expression can call user functions; the last line is the expression.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "fuzz_support.h"

namespace {

// The factory view's edges and middle, a point off the view, and a far one.
constexpr double samples[] = {-5.0, -0.5, 0.0, 1.0, 3.25, 1e9};
constexpr int sampleCount = sizeof samples / sizeof samples[0];
// More definitions would only repeat what the console target covers.
constexpr int definitionLimit = 4;

struct PlotterVariables {
    Variable* x;
    Variable* y;
    Variable* t;
    Variable* a;
};

void setSample(const PlotterVariables& v, int i) {
    setVariableValue(v.x, samples[i]);
    setVariableValue(v.y, samples[(i + 1) % sampleCount]);
    setVariableValue(v.t, samples[(i + 2) % sampleCount]);
    setVariableValue(v.a, samples[(i + 3) % sampleCount]);
}

volatile double resultSink = 0.0;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    freshExpressionState();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t lastLine = text.rfind('\n');
    if (lastLine != std::string_view::npos) {
        int defined = 0;
        forEachLine(text.substr(0, lastLine), [&defined](std::string_view line) {
            if (defined++ < definitionLimit) defineFunctionFromText(line);
        });
    }
    const std::string_view expression = lastLine == std::string_view::npos ? text : text.substr(lastLine + 1);
    const PlotterVariables variables{findOrCreateVariable("x"), findOrCreateVariable("y"),
                                     findOrCreateVariable("t"), findOrCreateVariable("a")};
    const ExpListPtr list = compileExpression(expression);
    require(workStack.count == 0);
    for (int i = 0; i < sampleCount; ++i) {
        setSample(variables, i);
        resultSink = resultSink + evaluateToNumber(list);
        require(workStack.count == 0);
    }
    // The full result too, as the console prints it: a vector or a variable reference.
    if (const std::optional<Value> value = evaluate(list); value && value->kind == kindVariable)
        resultSink = resultSink + value->variable->value;
    require(workStack.count == 0);
    return 0;
}
