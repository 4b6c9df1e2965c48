// Ordering of a token list into evaluation order (operator priorities, shunting-yard).
#include <algorithm>
#include <vector>

#include "expr/compiler.h"
#include "expr/evaluation.h"

namespace {

int precedence(char op) {
    switch (op) {
    case '=':
        return 0;
    case '(':
        return 1;
    case '+':
    case '-':
    case ')':
        return 2;
    case '*':
    case '/':
    case '.':
        return 3;
    case 'X':
        return 4;
    case '^':
        return 5;
    default:
        return 6; // vectors, and anything else
    }
}

bool isBracket(const ExpListNode& node) {
    return node.kind == kindOpen || node.kind == kindClose;
}

Opcode operatorCode(char op) {
    switch (op) {
    case '+':
        return Opcode::add;
    case '-':
        return Opcode::subtract;
    case '*':
        return Opcode::multiply;
    case '/':
        return Opcode::divide;
    case '^':
        return Opcode::power;
    case '.':
        return Opcode::dot;
    case 'X':
        return Opcode::cross;
    default:
        return Opcode::assign;
    }
}

Opcode instructionCode(const ExpListNode& node) {
    switch (node.kind) {
    case kindNumber:
        return Opcode::pushNumber;
    case kindVariable:
        return Opcode::pushVariable;
    case kindVector:
        return Opcode::pushVector;
    case kindSign:
        return node.op == '-' ? Opcode::minusSign : Opcode::plusSign;
    case kindOperator:
        return operatorCode(node.op);
    case kindCall:
        if (node.refusal != Refusal::none) return Opcode::refusedCall;
        return node.function->isBuiltin != 0 ? Opcode::callBuiltin : Opcode::callUser;
    default:
        return Opcode::none;
    }
}

// The operator stack of the ordering, with the WorkStack's limit: a push beyond it is lost.
struct OperatorStack {
    std::vector<ExpListNode> nodes;
    void push(const ExpListNode& node) {
        if (nodes.size() < static_cast<std::size_t>(workStackLimit)) nodes.push_back(node);
    }
};

// The evaluation order of a one-argument call's first argument, when running it in place
// gives exactly what evaluating it on its own would: it finds all its operands and leaves one
// result. Most calls qualify, and they then cost no nested evaluation.
const ExpList* inlinableArgument(const ExpList& list, const ExpListNode& node) {
    if (node.kind != kindCall || node.refusal != Refusal::none || node.function->isBuiltin == 0 ||
        !isOneArgumentBuiltin(node.builtin) || node.argumentCount == 0)
        return nullptr;
    const ExpList& argument = *list.arguments[node.arguments].list;
    return argument.wellFormed && argument.resultCount == 1 ? &argument : nullptr;
}

// Copies an argument's instructions into `list`; the calls among them refer to argument lists
// that are appended to `list` for them.
void inlineArgument(ExpList& list, const ExpList& argument) {
    const auto offset = static_cast<std::uint32_t>(list.arguments.size());
    list.arguments.insert(list.arguments.end(), argument.arguments.begin(), argument.arguments.end());
    for (const ExpListNode& node : argument.postfix)
        list.postfix.emplace_back(node).arguments += offset;
}

void emit(ExpList& list, const ExpListNode& node) {
    const ExpList* argument = inlinableArgument(list, node);
    if (argument != nullptr) inlineArgument(list, *argument);
    ExpListNode& copy = list.postfix.emplace_back(node);
    copy.code = argument != nullptr ? Opcode::callUnary : instructionCode(node);
}

// Rule for a sign, operator, bracket or vector while the stack holds something: pop while the
// token does not outrank the top, stop at a bracket (dropping the token).
void placeOperator(ExpList& list, OperatorStack& stack, const ExpListNode& token) {
    for (;;) {
        const ExpListNode& top = stack.nodes.back();
        if (precedence(token.op) > precedence(top.op)) {
            if (token.kind == kindClose && top.kind == kindOpen)
                stack.nodes.pop_back();
            else
                stack.push(token);
            return;
        }
        if (isBracket(top)) return;
        emit(list, top);
        stack.nodes.pop_back();
        if (stack.nodes.empty()) {
            stack.push(token);
            return;
        }
    }
}

// Whether an instruction gives a vector, from whether its operands are vectors: a variable is
// never one and a vector always, so the kinds of all values follow from the nodes. A failing
// operation gives the scalar 0.
bool givesVector(const ExpListNode& node, const ExpList& list, bool left, bool right) {
    switch (node.code) {
    case Opcode::pushVector:
        return true;
    case Opcode::plusSign:
    case Opcode::minusSign:
        return right;
    case Opcode::add:
    case Opcode::subtract:
    case Opcode::cross:
    case Opcode::assign:
        return left && right;
    case Opcode::multiply:
        return left != right;
    case Opcode::callUser:
        return node.body->resultIsVector;
    case Opcode::callBuiltin:
        return node.builtin == Builtin::diff && node.argumentCount > 0 &&
               list.arguments[node.arguments].list->resultIsVector;
    default:
        return false;
    }
}

// How many operands each instruction takes and leaves, and whether the result is a vector.
void measureDepth(ExpList& list) {
    std::vector<bool> vectors; // one per entry the evaluation order holds at this point
    list.maxDepth = 0;
    list.wellFormed = true;
    for (const ExpListNode& node : list.postfix) {
        std::size_t needs = 0;
        if (node.kind == kindSign || node.code == Opcode::callUnary)
            needs = 1;
        else if (node.kind == kindOperator)
            needs = 2;
        if (vectors.size() < needs) list.wellFormed = false;
        // An operator short of operands takes what there is and leaves one result all the same.
        const bool right = needs >= 1 && !vectors.empty() && vectors.back();
        const bool left = needs == 2 && vectors.size() >= 2 && vectors[vectors.size() - 2];
        vectors.resize(vectors.size() - std::min(needs, vectors.size()));
        vectors.push_back(givesVector(node, list, left, right));
        list.maxDepth = std::max(list.maxDepth, static_cast<std::int32_t>(vectors.size()));
    }
    list.resultCount = static_cast<std::int32_t>(vectors.size());
    list.resultIsVector = !vectors.empty() && vectors.back();
}

} // namespace

void toPostfix(ExpList& list) {
    list.postfix.clear();
    OperatorStack stack;
    for (const ExpListNode& token : list.tokens) {
        if (token.kind == kindNumber || token.kind == kindVariable || token.kind == kindCall)
            emit(list, token);
        else if (stack.nodes.empty() || token.kind == kindOpen)
            stack.push(token);
        else
            placeOperator(list, stack, token);
    }
    while (!stack.nodes.empty()) {
        if (!isBracket(stack.nodes.back())) emit(list, stack.nodes.back());
        stack.nodes.pop_back();
    }
    measureDepth(list);
    // Only an "=" meeting an opening bracket is dropped, which leaves its two operands.
    if (list.resultCount > 1 && list.refusal.empty()) list.refusal = "Error - cannot assign inside brackets";
    buildScalarProgram(list);
}
