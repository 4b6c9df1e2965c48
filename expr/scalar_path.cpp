// The scalar path of evaluateToNumber: a short program over plain doubles for lists in which no
// vector can appear and nothing can change a variable while the list runs (see ScalarStep).
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <span>

#include "expr/evaluation.h"

namespace {

// Longer lists keep the evaluation order; the dispatch saved matters little for them.
constexpr std::size_t scalarStepLimit = 4096;

// The scalar forms of one arithmetic operator: both operands on the stack, or the right one
// taken from a constant or a variable.
struct OperatorForms {
    Opcode opcode;
    ScalarCode onStack;
    ScalarCode withNumber;
    ScalarCode withVariable;
};

constexpr OperatorForms operatorForms[] = {
    {Opcode::add, ScalarCode::add, ScalarCode::addNumber, ScalarCode::addVariable},
    {Opcode::subtract, ScalarCode::subtract, ScalarCode::subtractNumber, ScalarCode::subtractVariable},
    {Opcode::multiply, ScalarCode::multiply, ScalarCode::multiplyNumber, ScalarCode::multiplyVariable},
    {Opcode::divide, ScalarCode::divide, ScalarCode::divideNumber, ScalarCode::divideVariable},
    {Opcode::power, ScalarCode::power, ScalarCode::powerNumber, ScalarCode::powerVariable},
};

const OperatorForms* formsOf(Opcode opcode) {
    for (const OperatorForms& forms : operatorForms)
        if (forms.opcode == opcode) return &forms;
    return nullptr;
}

// A constant operation is folded only where running it would have no effect but its value.
bool foldable(Opcode opcode, double a, double b) {
    return opcode != Opcode::power || !outsidePowerDomain(a, b);
}

double fold(Opcode opcode, double a, double b) {
    switch (opcode) {
    case Opcode::add:
        return a + b;
    case Opcode::subtract:
        return a - b;
    case Opcode::multiply:
        return a * b;
    case Opcode::divide:
        return a / b;
    default:
        return power(a, b);
    }
}

bool sameStep(const ScalarStep& a, const ScalarStep& b) {
    return a.code == b.code &&
           std::bit_cast<std::uint64_t>(a.number) == std::bit_cast<std::uint64_t>(b.number) &&
           (a.code == ScalarCode::function ? a.function == b.function : a.variable == b.variable);
}

struct ScalarBuilder {
    std::vector<ScalarStep> steps;
    // Where the steps of each operand on the stack begin: one entry per WorkStack entry that
    // the evaluation order holds at this point.
    std::vector<std::size_t> operandStarts;
    std::size_t maxDepth = 0;
    // Each sin and cos emitted: where its step is and the steps of its argument.
    struct TrigCall {
        bool sine;
        std::size_t at;
        std::vector<ScalarStep> argument;
    };
    std::vector<TrigCall> trigCalls;

    bool lastIs(ScalarCode code, std::size_t back = 0) const {
        return steps.size() > back && steps[steps.size() - 1 - back].code == code;
    }

    void emit(ScalarCode code) { steps.push_back(ScalarStep{code, 0.0, {}}); }

    // A new operand whose steps follow; it may need `depth` entries while it runs.
    void beginOperand(std::size_t depth = 1) {
        operandStarts.push_back(steps.size());
        maxDepth = std::max(maxDepth, operandStarts.size() - 1 + depth);
    }

    void pushNumber(double number) {
        beginOperand();
        steps.push_back(ScalarStep{ScalarCode::pushNumber, number, {}});
    }

    void pushVariable(const Variable* variable) {
        beginOperand();
        ScalarStep& step = steps.emplace_back();
        step.code = ScalarCode::pushVariable;
        step.variable = &variable->value;
    }

    void negate() {
        if (lastIs(ScalarCode::pushNumber))
            steps.back().number = -steps.back().number;
        else
            emit(ScalarCode::negate);
    }

    // A push just before the operator is its right operand, and a push before that its left.
    // x + c and x * c give exactly c + x and c * x, so a constant left operand of them is taken
    // as the right one.
    void binary(const OperatorForms& forms) {
        const std::size_t leftStart = operandStarts[operandStarts.size() - 2];
        const bool constantLeft =
            leftStart + 1 == operandStarts.back() && steps[leftStart].code == ScalarCode::pushNumber;
        operandStarts.pop_back();
        ScalarStep& right = steps.back();
        if (lastIs(ScalarCode::pushNumber) && lastIs(ScalarCode::pushNumber, 1) &&
            foldable(forms.opcode, steps[steps.size() - 2].number, right.number)) {
            const double b = right.number;
            steps.pop_back();
            steps.back().number = fold(forms.opcode, steps.back().number, b);
        } else if (forms.opcode == Opcode::power && lastIs(ScalarCode::pushNumber)) {
            const double exponent = right.number;
            steps.pop_back();
            raiseTo(exponent);
        } else if (lastIs(ScalarCode::pushNumber)) {
            right.code = forms.withNumber;
        } else if (lastIs(ScalarCode::pushVariable)) {
            right.code = forms.withVariable;
        } else if (constantLeft && (forms.opcode == Opcode::add || forms.opcode == Opcode::multiply)) {
            const double number = steps[leftStart].number;
            steps.erase(steps.begin() + static_cast<std::ptrdiff_t>(leftStart));
            for (TrigCall& call : trigCalls)
                if (call.at > leftStart) --call.at;
            steps.push_back(ScalarStep{forms.withNumber, number, {}});
        } else {
            emit(forms.onStack);
        }
    }

    // The top to a constant power; a variable just pushed is raised as it is pushed.
    void raiseTo(double exponent) {
        ScalarCode pushed = ScalarCode::pushPower;
        ScalarCode onTop = ScalarCode::powerNumber;
        if (exponent == 2.0) {
            pushed = ScalarCode::pushSquare;
            onTop = ScalarCode::square;
        } else if (exponent == 0.5) {
            pushed = ScalarCode::pushSquareRoot;
            onTop = ScalarCode::squareRoot;
        } else if (takesWholePower(exponent)) {
            pushed = ScalarCode::pushWholePower;
            onTop = ScalarCode::wholePower;
        }
        if (lastIs(ScalarCode::pushVariable)) {
            steps.back().code = pushed;
            steps.back().number = exponent;
        } else {
            steps.push_back(ScalarStep{onTop, exponent, {}});
        }
    }

    void oneArgument(Builtin builtin) {
        if (builtin == Builtin::sqrt) { // defined as the power 0.5
            raiseTo(0.5);
            return;
        }
        if (builtin == Builtin::sin || builtin == Builtin::cos) {
            const auto argument = steps.begin() + static_cast<std::ptrdiff_t>(operandStarts.back());
            trigCalls.push_back({builtin == Builtin::sin, steps.size(), {argument, steps.end()}});
            emit(builtin == Builtin::sin ? ScalarCode::sine : ScalarCode::cosine);
            return;
        }
        ScalarStep& step = steps.emplace_back();
        step.code = ScalarCode::function;
        step.function = oneArgumentRule(builtin);
    }

    // The steps of a program without its end.
    void insertProgram(const ExpList& program) {
        steps.insert(steps.end(), program.scalarSteps.begin(), program.scalarSteps.end() - 1);
    }

    // The arguments' values go to the parameters they bind, then the body's program runs in
    // place of the call and leaves its one result where the call would.
    bool userCall(const ExpList& list, const ExpListNode& node) {
        const ExpList& body = *node.body;
        if (body.scalarSteps.empty() || body.resultCount != 1) return false;
        const auto arguments = std::span(list.arguments).subspan(node.arguments, node.argumentCount);
        for (const ArgumentNode& argument : arguments) {
            if (argument.vectorParameter != nullptr) return false;
            if (argument.parameter != nullptr &&
                (argument.list->scalarSteps.empty() || argument.list->resultCount != 1))
                return false;
        }
        for (const ArgumentNode& argument : arguments) {
            if (argument.parameter == nullptr) continue;
            beginOperand(static_cast<std::size_t>(argument.list->scalarDepth));
            insertProgram(*argument.list);
            ScalarStep& step = steps.emplace_back();
            step.code = ScalarCode::bindParameter;
            step.parameter = &argument.parameter->value;
            operandStarts.pop_back();
        }
        beginOperand(static_cast<std::size_t>(body.scalarDepth));
        insertProgram(body);
        return true;
    }

    bool add(const ExpList& list, const ExpListNode& node) {
        switch (node.code) {
        case Opcode::pushNumber:
            pushNumber(node.constant.value);
            return true;
        case Opcode::pushVariable:
            pushVariable(node.variable);
            return true;
        case Opcode::plusSign:
            return true;
        case Opcode::minusSign:
            negate();
            return true;
        case Opcode::callUnary:
            oneArgument(node.builtin);
            return true;
        case Opcode::callUser:
            return userCall(list, node);
        default: {
            // Vectors, dot and cross products, assignments and the built-ins that evaluate
            // further lists (sum, diff, int, ...) need the evaluation order.
            const OperatorForms* forms = formsOf(node.code);
            if (forms != nullptr) binary(*forms);
            return forms != nullptr;
        }
        }
    }

    // A sin and a cos of the same argument take their values from one computation of both; one
    // of a variable just pushed is taken as the variable is pushed.
    void pairSinesWithCosines() {
        std::vector<bool> pairs(steps.size(), false);
        for (const TrigCall& call : trigCalls) {
            pairs[call.at] = std::any_of(trigCalls.begin(), trigCalls.end(), [&call](const TrigCall& other) {
                return other.sine != call.sine &&
                       std::equal(call.argument.begin(), call.argument.end(), other.argument.begin(),
                                  other.argument.end(), sameStep);
            });
        }
        std::vector<ScalarStep> paired;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const ScalarStep& step = steps[i];
            const bool sine = step.code == ScalarCode::sine;
            if (!pairs[i])
                paired.push_back(step);
            else if (!paired.empty() && paired.back().code == ScalarCode::pushVariable)
                paired.back().code = sine ? ScalarCode::pushSineOfPair : ScalarCode::pushCosineOfPair;
            else
                paired.push_back(
                    ScalarStep{sine ? ScalarCode::sineOfPair : ScalarCode::cosineOfPair, 0.0, {}});
        }
        steps = std::move(paired);
    }
};

// The entries under the top; the scalar path never runs inside itself, so one array serves.
double scalarStack[workStackLimit];

} // namespace

void buildScalarProgram(ExpList& list) {
    list.scalarSteps.clear();
    list.scalarDepth = 0;
    if (!list.wellFormed || list.resultCount < 1 || !list.refusal.empty()) return;
    ScalarBuilder builder;
    for (const ExpListNode& node : list.postfix) {
        if (!builder.add(list, node) || builder.steps.size() >= scalarStepLimit) return;
    }
    builder.pairSinesWithCosines();
    builder.emit(ScalarCode::end);
    list.scalarSteps = std::move(builder.steps);
    list.scalarDepth = static_cast<std::int32_t>(builder.maxDepth);
}

double runScalarProgram(const ScalarStep* step) {
    double* below = scalarStack; // the entries under the top
    double top = 0.0;
    SineAndCosine pair;
    for (;;) {
        const ScalarStep& s = *step++;
        // clang-format off
        switch (s.code) {
        case ScalarCode::pushNumber: *below++ = top; top = s.number; continue;
        case ScalarCode::pushVariable: *below++ = top; top = *s.variable; continue;
        case ScalarCode::pushSquare: *below++ = top; top = *s.variable * *s.variable; continue;
        case ScalarCode::pushPower: *below++ = top; top = power(*s.variable, s.number); continue;
        case ScalarCode::pushSquareRoot: *below++ = top; top = squareRootPower(*s.variable); continue;
        case ScalarCode::pushWholePower: *below++ = top; top = wholePower(*s.variable, static_cast<int>(s.number)); continue;
        case ScalarCode::bindParameter: *s.parameter = top; top = *--below; continue;
        case ScalarCode::negate: top = -top; continue;
        case ScalarCode::square: top = top * top; continue;
        case ScalarCode::squareRoot: top = squareRootPower(top); continue;
        case ScalarCode::wholePower: top = wholePower(top, static_cast<int>(s.number)); continue;
        case ScalarCode::function: top = s.function(top); continue;
        case ScalarCode::sine: top = std::sin(top); continue;
        case ScalarCode::cosine: top = std::cos(top); continue;
        case ScalarCode::sineOfPair: top = pair.of(top).sine; continue;
        case ScalarCode::cosineOfPair: top = pair.of(top).cosine; continue;
        case ScalarCode::pushSineOfPair: *below++ = top; top = pair.of(*s.variable).sine; continue;
        case ScalarCode::pushCosineOfPair: *below++ = top; top = pair.of(*s.variable).cosine; continue;
        case ScalarCode::add: top = *--below + top; continue;
        case ScalarCode::subtract: top = *--below - top; continue;
        case ScalarCode::multiply: top = *--below * top; continue;
        case ScalarCode::divide: top = *--below / top; continue;
        case ScalarCode::power: top = power(*--below, top); continue;
        case ScalarCode::addNumber: top += s.number; continue;
        case ScalarCode::subtractNumber: top -= s.number; continue;
        case ScalarCode::multiplyNumber: top *= s.number; continue;
        case ScalarCode::divideNumber: top /= s.number; continue;
        case ScalarCode::powerNumber: top = power(top, s.number); continue;
        case ScalarCode::addVariable: top += *s.variable; continue;
        case ScalarCode::subtractVariable: top -= *s.variable; continue;
        case ScalarCode::multiplyVariable: top *= *s.variable; continue;
        case ScalarCode::divideVariable: top /= *s.variable; continue;
        case ScalarCode::powerVariable: top = power(top, *s.variable); continue;
        case ScalarCode::end: return top;
        }
        // clang-format on
    }
}
