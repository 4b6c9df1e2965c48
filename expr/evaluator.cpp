#include "expr/evaluator.h"

#include <algorithm>
#include <cmath>

#include "expr/evaluation.h"


namespace {

const char* const missingOperandMessage = "Error - missing operand";
const char* const assignTargetMessage = "Error - can only assign to a variable";

bool isScalar(const Value& value) {
    return value.kind != kindVector;
}

Value scaled(double factor, const std::array<double, 3>& v) {
    return vectorValue({factor * v[0], factor * v[1], factor * v[2]});
}

template <typename Combine> Value componentwise(const Value& left, const Value& right, Combine combine) {
    const auto& a = componentsOf(left);
    const auto& b = componentsOf(right);
    return vectorValue({combine(a[0], b[0]), combine(a[1], b[1]), combine(a[2], b[2])});
}

Value cross(const Value& left, const Value& right) {
    const auto& a = componentsOf(left);
    const auto& b = componentsOf(right);
    return vectorValue({a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]});
}

Value dot(const Value& left, const Value& right) {
    const auto& a = componentsOf(left);
    const auto& b = componentsOf(right);
    double sum = 0.0;
    for (std::size_t i = 0; i < 3; ++i)
        sum += a[i] * b[i];
    return scalarValue(sum);
}

Value assign(const Value& left, const Value& right) {
    if (isScalar(left) != isScalar(right))
        return evaluationError(isScalar(left) ? "Error - cannot assign scalar to vector"
                                              : "Error - cannot assign vector to scalar");
    if (!isScalar(left)) {
        // A computed vector on the left has no record: nothing to store into.
        if (left.vector != nullptr) left.vector->components = componentsOf(right);
        return right;
    }
    if (left.kind != kindVariable) return evaluationError(assignTargetMessage);
    const double value = scalarOf(right);
    setVariableValue(left.variable, value);
    return scalarValue(value, right.isInteger);
}

constexpr bool isArithmetic(Opcode code) {
    return code == Opcode::add || code == Opcode::subtract || code == Opcode::multiply ||
           code == Opcode::divide || code == Opcode::power;
}

template <Opcode code> double arithmetic(double a, double b) {
    if constexpr (code == Opcode::add)
        return a + b;
    else if constexpr (code == Opcode::subtract)
        return a - b;
    else if constexpr (code == Opcode::multiply)
        return a * b;
    else if constexpr (code == Opcode::divide)
        return a / b;
    else
        return power(a, b);
}

// Every operator with a vector operand, and dot, cross and assignment for any operands.
Value applyOperator(Opcode code, const Value& left, const Value& right) {
    const bool scalars = isScalar(left) && isScalar(right);
    switch (code) {
    case Opcode::add:
        if (isScalar(left) != isScalar(right)) return evaluationError("Cannot add scalar and vector");
        return componentwise(left, right, [](double a, double b) { return a + b; });
    case Opcode::subtract:
        if (isScalar(left) != isScalar(right))
            return evaluationError(isScalar(left) ? "Error - cannot subtract vector from scalar"
                                                  : "Error - cannot subtract scalar from vector");
        return componentwise(left, right, [](double a, double b) { return a - b; });
    case Opcode::multiply:
        if (!isScalar(left) && !isScalar(right))
            return evaluationError("Error - use X for cross product of two vectors");
        return isScalar(left) ? scaled(scalarOf(left), componentsOf(right))
                              : scaled(scalarOf(right), componentsOf(left));
    case Opcode::divide:
        return evaluationError("Error - cannot divide vectors");
    case Opcode::power:
        return evaluationError("Error - cannot exponentiate vectors");
    case Opcode::dot:
        return scalars || isScalar(left) || isScalar(right)
                   ? evaluationError("Error: dot product applied to scalar")
                   : dot(left, right);
    case Opcode::cross:
        return scalars || isScalar(left) || isScalar(right)
                   ? evaluationError("Error: cross product applied to scalar - use * to multiply")
                   : cross(left, right);
    default:
        return assign(left, right);
    }
}

Value refusedCall(Refusal refusal) {
    raiseIncomplete();
    return evaluationError(refusal == Refusal::recursive ? "Error - recursive function"
                                                         : "Error - expression too large");
}

// The parameters a user call binds by value take their arguments' values; the arguments are
// evaluated in the caller's place, so none of them can see another's parameter.
void bindArguments(const ExpListNode& node, const ExpList& list) {
    for (std::uint32_t i = 0; i < node.argumentCount; ++i) {
        const ArgumentNode& argument = list.arguments[node.arguments + i];
        if (argument.parameter == nullptr && argument.vectorParameter == nullptr) continue;
        const Value* value = runToResult(*argument.list);
        const bool isVector = value != nullptr && value->kind == kindVector;
        if (argument.parameter != nullptr) {
            argument.parameter->value = value != nullptr && !isVector ? scalarOf(*value) : 0.0;
            argument.parameter->isInteger = value != nullptr && !isVector ? value->isInteger : 0;
        } else
            argument.vectorParameter->components = isVector ? componentsOf(*value) : std::array<double, 3>{};
    }
}

// What a user call gives: its body's result, where a parameter bound by value stands for that
// value, for the parameter exists only inside the call.
Value callResult(const ExpListNode& node, const ExpList& list, const Value* result) {
    if (result == nullptr) return scalarValue(0.0);
    if (result->kind != kindVariable) return *result;
    for (std::uint32_t i = 0; i < node.argumentCount; ++i)
        if (list.arguments[node.arguments + i].parameter == result->variable)
            return scalarValue(result->variable->value, result->variable->isInteger);
    return *result;
}

// A refused text evaluates to its reason; the message is kept here, for the list that holds it
// may be gone when the message is shown.
const Value* refusedList(const ExpList& list) {
    static char message[256];
    const std::size_t length = std::min(list.refusal.size(), sizeof message - 1);
    list.refusal.copy(message, length);
    message[length] = '\0';
    raiseIncomplete();
    static Value zero;
    zero = evaluationError(message);
    return &zero;
}

// An operator that finds fewer operands than it needs within its own expression takes those
// there are and gives 0.
template <bool checked> int missingOperands(int base) {
    const Value zero = evaluationError(missingOperandMessage);
    if (checked && base >= workStackLimit) return base;
    workStack.entries[static_cast<std::size_t>(base)] = zero;
    return base + 1;
}

template <bool checked, Opcode code> int binary(Value* stack, int count, int base) {
    if (checked && count - base < 2) return missingOperands<checked>(base);
    Value& left = stack[count - 2];
    const Value& right = stack[count - 1];
    if (isArithmetic(code) && isScalar(left) && isScalar(right)) {
        left.components[0] = arithmetic<code>(scalarOf(left), scalarOf(right));
        left.isInteger &= right.isInteger;
        left.kind = kindNumber;
    } else {
        left = applyOperator(code, left, right);
    }
    return count - 1;
}

template <bool checked> int push(Value* stack, int count, const Value& value) {
    if (checked && count >= workStackLimit) return count;
    stack[count] = value;
    return count + 1;
}

void negate(Value& value) {
    if (isScalar(value)) {
        value.components[0] = -scalarOf(value);
        value.kind = kindNumber;
    } else {
        value = scaled(-1.0, componentsOf(value));
    }
}

// The evaluation order of one list, with the WorkStack count from `base` up. Unchecked runs are
// those known in advance to fit the stack and to find every operand.
template <bool checked> void run(const ExpList& list, int base) {
    Value* stack = workStack.entries.data();
    int count = base;
    for (const ExpListNode& node : list.postfix) {
        switch (node.code) {
        case Opcode::pushNumber:
            if (checked && count >= workStackLimit) continue;
            stack[count].kind = kindNumber;
            stack[count].isInteger = node.constant.isInteger;
            stack[count].components[0] = node.constant.value;
            ++count;
            continue;
        case Opcode::pushVariable:
            if (checked && count >= workStackLimit) continue;
            stack[count].kind = kindVariable;
            stack[count].isInteger = node.variable->isInteger;
            stack[count].variable = node.variable;
            ++count;
            continue;
        case Opcode::pushVector:
            if (checked && count >= workStackLimit) continue;
            stack[count].kind = kindVector;
            stack[count].isInteger = 0;
            stack[count].vector = node.vector;
            ++count;
            continue;
        case Opcode::plusSign:
            if (checked && count == base) count = missingOperands<checked>(base);
            continue;
        case Opcode::minusSign:
            if (checked && count == base)
                count = missingOperands<checked>(base);
            else
                negate(stack[count - 1]);
            continue;
        case Opcode::add:
            count = binary<checked, Opcode::add>(stack, count, base);
            continue;
        case Opcode::subtract:
            count = binary<checked, Opcode::subtract>(stack, count, base);
            continue;
        case Opcode::multiply:
            count = binary<checked, Opcode::multiply>(stack, count, base);
            continue;
        case Opcode::divide:
            count = binary<checked, Opcode::divide>(stack, count, base);
            continue;
        case Opcode::power:
            count = binary<checked, Opcode::power>(stack, count, base);
            continue;
        case Opcode::dot:
            count = binary<checked, Opcode::dot>(stack, count, base);
            continue;
        case Opcode::cross:
            count = binary<checked, Opcode::cross>(stack, count, base);
            continue;
        case Opcode::assign:
            count = binary<checked, Opcode::assign>(stack, count, base);
            continue;
        case Opcode::callBuiltin: {
            workStack.count = count;
            const Value result = callBuiltin(node, list);
            count = push<checked>(stack, count, result);
            continue;
        }
        case Opcode::callUnary:
            if (checked && count == base)
                count = missingOperands<checked>(base);
            else
                stack[count - 1] = applyOneArgument(node.builtin, stack[count - 1]);
            continue;
        case Opcode::callUser: {
            workStack.count = count;
            bindArguments(node, list);
            count = push<checked>(stack, count, callResult(node, list, runToResult(*node.body)));
            continue;
        }
        case Opcode::refusedCall:
            count = push<checked>(stack, count, refusedCall(node.refusal));
            continue;
        case Opcode::none:
            continue;
        }
    }
    workStack.count = count;
}

} // namespace

Value evaluationError(const char* message) {
    RaisedFailures& raised = expressionState.raised;
    raised.error = message;
    ++raised.counts.errors;
    return scalarValue(0.0);
}

void mirrorStatus(const EvaluationStatus& status) {
    if (status.error != nullptr) {
        evalErrorFlag = 1;
        evalErrorMessage = status.error;
    }
    if (status.mathError != 0) mathErrorIndicator = status.mathError;
}

MeasuredEvaluations::MeasuredEvaluations() : start_(expressionState.raised.counts) {}

EvaluationStatus MeasuredEvaluations::status() const {
    const RaisedFailures& now = expressionState.raised;
    if (now.counts == start_) return {};
    return {now.counts.errors != start_.errors ? now.error : nullptr,
            now.counts.mathErrors != start_.mathErrors ? now.mathError : 0, now.counts.incompletes != start_.incompletes};
}

// The stack count goes back to where it was, for leftovers of malformed input (such as
// "(x=2)") must not pile up.
const Value* runToResult(const ExpList& list) {
    if (!list.refusal.empty()) return refusedList(list);
    const int base = workStack.count;
    {
        const EvaluationSession session;
        if (list.wellFormed && base + list.maxDepth <= workStackLimit)
            run<false>(list, base);
        else
            run<true>(list, base);
    }
    const int top = workStack.count;
    workStack.count = base;
    return top > base ? &workStack.entries[static_cast<std::size_t>(top - 1)] : nullptr;
}

std::optional<Value> runToValue(const ExpList& list) {
    const Value* result = runToResult(list);
    return result != nullptr ? std::optional<Value>(*result) : std::nullopt;
}

double runToNumber(const ExpList& list) {
    // The scalar path gives the same number with the same effects; where the evaluation order
    // could fill the WorkStack, it runs itself, for the full stack drops pushes.
    if (!list.scalarSteps.empty() && workStack.count + list.scalarDepth <= workStackLimit)
        return runScalarProgram(list.scalarSteps.data());
    const Value* result = runToResult(list);
    return result == nullptr || result->kind == kindVector ? 0.0 : scalarOf(*result);
}

ValueEvaluation evaluateValue(const ExpList& list) {
    const MeasuredEvaluations measured;
    std::optional<Value> value = runToValue(list);
    return {value, measured.status()};
}

NumberEvaluation evaluateNumber(const ExpList& list) {
    const MeasuredEvaluations measured;
    const double value = runToNumber(list);
    return {value, measured.status()};
}

std::optional<Value> evaluate(const ExpList& list) {
    const ValueEvaluation evaluation = evaluateValue(list);
    mirrorStatus(evaluation.status);
    return evaluation.value;
}

double evaluateToNumber(const ExpList& list) {
    const NumberEvaluation evaluation = evaluateNumber(list);
    if (evaluation.status.failed()) mirrorStatus(evaluation.status);
    return evaluation.value;
}
