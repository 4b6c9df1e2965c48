#include "expr/compiler.h"

#include <algorithm>
#include <cctype>

#include "expr/evaluator.h"
#include "expr/expression_state.h"

namespace {

// Ceilings of one top-level compilation. They keep the compiler's own recursion well within the
// stack and its work well under a second, far beyond what a typed expression needs.
constexpr int scanDepthLimit = 1024; // bracket groups, arguments and bodies inside one another
constexpr std::size_t compileTokenLimit = 500'000;
// A refusal quotes at most this much of the text it could not read.
constexpr std::size_t quotedTextLimit = 40;

CompileBudget& budget = expressionState.compileBudget;

// Entered by every compileText; the outermost one starts a fresh budget.
struct NestingGuard {
    NestingGuard() {
        if (budget.nesting++ == 0) {
            budget.scanDepth = 0;
            budget.tokens = 0;
            budget.bodies.clear();
            budget.frames.clear();
            budget.failure.clear();
        }
    }
    ~NestingGuard() { --budget.nesting; }
    bool outermost() const { return budget.nesting == 1; }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;
};

struct ScanDepthGuard {
    ScanDepthGuard() { ++budget.scanDepth; }
    ~ScanDepthGuard() { --budget.scanDepth; }
    ScanDepthGuard(const ScanDepthGuard&) = delete;
    ScanDepthGuard& operator=(const ScanDepthGuard&) = delete;
};

bool beyondCeilings() {
    return budget.scanDepth >= scanDepthLimit || budget.tokens >= compileTokenLimit;
}

// The first failure is the one reported; what follows it is not read.
bool fail(std::string message) {
    if (budget.failure.empty()) budget.failure = std::move(message);
    return false;
}

std::string quoted(std::string_view text) {
    if (text.size() <= quotedTextLimit) return std::string(text);
    return std::string(text.substr(0, quotedTextLimit)) + "...";
}

bool failUnreadable(std::string_view rest) {
    return fail("Error - cannot read " + quoted(rest));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isNumberChar(char c) {
    return isDigit(c) || c == '.';
}
bool isBinaryOperator(char c) {
    return c != 0 && std::string_view("+-*/=^.X").find(c) != std::string_view::npos;
}
// Where a number starts: a digit, or a point before a digit (.5).
bool startsNumber(std::string_view text, std::size_t p) {
    return isDigit(text[p]) || (text[p] == '.' && p + 1 < text.size() && isDigit(text[p + 1]));
}

ExpListNode& appendToken(ExpList& list, NodeKind kind, char op = 0) {
    ++budget.tokens;
    ExpListNode& node = list.tokens.emplace_back();
    node.kind = kind;
    node.op = op;
    return node;
}

// An operand that stands for what the compiler would not build; evaluating it is an error.
void appendRefusal(ExpList& list, Refusal refusal) {
    appendToken(list, kindCall).refusal = refusal;
}

// The text between an "(" and its matching ")", which starts at `from`; `close` is then the
// position of that ")". Empty when the group is not closed.
std::optional<std::string_view> bracketGroup(std::string_view text, std::size_t from, std::size_t& close) {
    int depth = 0;
    for (std::size_t p = from; p < text.size(); ++p) {
        if (text[p] == '(')
            ++depth;
        else if (text[p] == ')' && depth-- == 0) {
            close = p;
            return text.substr(from, p - from);
        }
    }
    return std::nullopt;
}

bool scanInto(ExpList& list, std::string_view text);

// An argument, a bracket group or a body: compiled on its own, and refused when empty.
ExpListPtr compileOperandText(std::string_view text) {
    ExpListPtr compiled = compileText(text);
    if (text.empty()) fail("Error - missing operand");
    toPostfix(*compiled);
    return compiled;
}

std::uint32_t compileArguments(ExpList& list, std::string_view argumentText, std::size_t mostArguments) {
    std::uint32_t count = 0;
    for (std::string_view piece : splitArguments(argumentText)) {
        if (count == mostArguments) break;
        list.arguments.push_back(ArgumentNode{compileOperandText(piece)});
        ++count;
    }
    return count;
}

void compileBuiltinCall(ExpList& list, const std::shared_ptr<FunctionEntry>& entry,
                        std::string_view argumentText) {
    ExpListNode& node = appendToken(list, kindCall);
    node.function = entry.get();
    node.builtin = entry->builtin;
    node.arguments = static_cast<std::uint32_t>(list.arguments.size());
    list.records.push_back(entry);
    const std::uint32_t count = compileArguments(list, argumentText, SIZE_MAX);
    // The arguments compile into lists of their own, so `node` is still in place.
    node.argumentCount = count;
}

// Whether the stored body of `function` calls it again, directly or through other user functions.
bool callsItself(const FunctionEntry& function) {
    std::vector<const FunctionEntry*> reached{&function};
    for (std::size_t next = 0; next < reached.size(); ++next) {
        const std::string_view body = reached[next]->bodyText;
        for (std::size_t position = 0; position < body.size();) {
            if (!isLetter(body[position]) && body[position] != '!') {
                ++position;
                continue;
            }
            const std::size_t start = position;
            const std::string name = readName(body, position);
            if (position == start) ++position; // an "X", which no name holds
            if (name.empty() || name.back() != '(') continue;
            const FunctionEntry* callee = findFunction(std::string_view(name).substr(0, name.size() - 1));
            if (callee == &function) return true;
            if (callee != nullptr && callee->isBuiltin == 0 &&
                std::find(reached.begin(), reached.end(), callee) == reached.end())
                reached.push_back(callee);
        }
    }
    return false;
}

// A call of a function inside its own expansion either comes from an argument, as the inner
// call of f(f(2)), or from a body that calls the function again and would expand for ever.
bool isRecursiveCall(const FunctionEntry& function) {
    return std::find(budget.bodies.begin(), budget.bodies.end(), &function) != budget.bodies.end() &&
           callsItself(function);
}

// What parameter `name` stands for in the body: an argument that is a plain name stands for
// that name's own record, as the name itself would; any other argument for a record of the
// call's own that takes the argument's value before the body runs.
Binding bindParameter(ExpList& list, ArgumentNode& argument, const std::string& name) {
    Binding binding;
    binding.name = name;
    const ExpList& value = *argument.list;
    if (value.tokens.size() == 1 && value.tokens[0].kind == kindVariable) {
        binding.variable = value.tokens[0].variable;
    } else if (value.tokens.size() == 1 && value.tokens[0].kind == kindVector) {
        binding.vector = value.tokens[0].vector;
    } else if (value.resultIsVector) {
        auto slot = std::make_shared<VectorVariable>();
        slot->name = name;
        binding.vector = argument.vectorParameter = slot.get();
        binding.record = slot;
    } else {
        auto slot = std::make_shared<Variable>();
        slot->name = name;
        binding.variable = argument.parameter = slot.get();
        binding.record = slot;
    }
    if (binding.record) list.records.push_back(binding.record);
    return binding;
}

// Each parameter stands for its argument's value, as if the argument were in brackets; the body
// is compiled once for the call, its parameters bound.
void compileUserCall(ExpList& list, const std::shared_ptr<FunctionEntry>& entry,
                     std::string_view argumentText) {
    if (isRecursiveCall(*entry)) return appendRefusal(list, Refusal::recursive);
    if (beyondCeilings()) return appendRefusal(list, Refusal::tooLarge);
    const auto first = static_cast<std::uint32_t>(list.arguments.size());
    // g() of a function without parameters has one empty argument, which is no argument.
    const std::size_t parameters = entry->parameters.size();
    const std::uint32_t count = parameters == 0 ? 0 : compileArguments(list, argumentText, parameters);
    std::vector<Binding> frame;
    for (std::uint32_t i = 0; i < count; ++i)
        frame.push_back(bindParameter(list, list.arguments[first + i], entry->parameters[i].name));

    budget.bodies.push_back(entry.get());
    budget.frames.push_back(std::move(frame));
    const std::string body = rewriteFactorials(stripBlanks(entry->bodyText));
    ExpListPtr compiled = compileOperandText(body);
    budget.frames.pop_back();
    budget.bodies.pop_back();

    ExpListNode& node = appendToken(list, kindCall);
    node.function = entry.get();
    node.body = compiled.get();
    node.arguments = first;
    node.argumentCount = count;
    list.records.push_back(entry);
    list.bodies.push_back(std::move(compiled));
}

bool compileCall(ExpList& list, std::string_view nameWithBracket, std::string_view argumentText) {
    const std::string_view name = nameWithBracket.substr(0, nameWithBracket.size() - 1);
    const std::shared_ptr<FunctionEntry> entry = findFunctionRecord(name);
    if (!entry) return fail("Error - unknown function " + quoted(name));
    if (entry->isBuiltin == 0)
        compileUserCall(list, entry, argumentText);
    else if (beyondCeilings())
        appendRefusal(list, Refusal::tooLarge);
    else
        compileBuiltinCall(list, entry, argumentText);
    return true;
}

const Binding* boundParameter(std::string_view name) {
    if (budget.frames.empty()) return nullptr;
    for (const Binding& binding : budget.frames.back())
        if (binding.name == name) return &binding;
    return nullptr;
}

void appendName(ExpList& list, std::string_view name) {
    if (const Binding* binding = boundParameter(name)) {
        if (binding->vector != nullptr)
            appendToken(list, kindVector).vector = binding->vector;
        else
            appendToken(list, kindVariable).variable = binding->variable;
    } else if (auto vector = findVectorRecord(name)) {
        appendToken(list, kindVector).vector = vector.get();
        list.records.push_back(std::move(vector));
    } else {
        auto variable = findOrCreateVariableRecord(name);
        appendToken(list, kindVariable).variable = variable.get();
        list.records.push_back(std::move(variable));
    }
}

bool scanGroup(ExpList& list, std::string_view text, std::size_t& position) {
    std::size_t close = 0;
    const auto group = bracketGroup(text, position + 1, close);
    if (!group) return fail("Error - brackets do not match in " + quoted(text));
    position = close + 1;
    if (beyondCeilings()) {
        appendRefusal(list, Refusal::tooLarge);
        return true;
    }
    appendToken(list, kindOpen, '(');
    if (group->empty()) return fail("Error - missing operand");
    if (!scanInto(list, *group)) return false;
    appendToken(list, kindClose, ')');
    return true;
}

bool scanNumber(ExpList& list, std::string_view text, std::size_t& position) {
    const std::size_t start = position;
    bool badNumber = false;
    const std::string number = readNumber(text, position, badNumber);
    if (badNumber) return fail("Error - incorrect number " + quoted(text.substr(start, position - start)));
    appendToken(list, kindNumber).constant = addConstant(number);
    return true;
}

// <operand> = "(" <text> ")" | <number> | <name> | <name> "(" <arguments> ")"
bool scanOperand(ExpList& list, std::string_view text, std::size_t& position) {
    const char c = text[position];
    if (c == '(') return scanGroup(list, text, position);
    if (startsNumber(text, position)) return scanNumber(list, text, position);
    if (c == ')') return fail("Error - brackets do not match in " + quoted(text));
    const std::size_t start = position;
    const std::string name = (isLetter(c) || c == '!') ? readName(text, position) : std::string();
    // An "X" where an operand belongs, or any other character, starts no operand.
    if (name.empty()) return failUnreadable(text.substr(start));
    if (name.back() != '(') {
        appendName(list, name);
        return true;
    }
    std::size_t close = 0;
    const auto group = bracketGroup(text, position, close);
    if (!group) return fail("Error - brackets do not match in " + quoted(text));
    position = close + 1;
    return compileCall(list, name, *group);
}

// What follows an operand where an operator belongs.
bool failAfterOperand(std::string_view text, std::size_t position) {
    const char c = text[position];
    if (c == ')') return fail("Error - brackets do not match in " + quoted(text));
    // 2x, 3sin(x), 2(x+1), (x+1)(x-1), x2: a product written without its "*".
    if (isLetter(c) || isDigit(c) || c == '(' || c == '!') return fail(missedMultiplyMessage);
    return failUnreadable(text.substr(position));
}

// <text> = [sign] <operand> {<binary operator> <operand>}. Anything else refuses the text.
bool scanInto(ExpList& list, std::string_view text) {
    const ScanDepthGuard depth;
    std::size_t position = 0;
    if (text.empty()) return true;
    if (text[0] == '+' || text[0] == '-') {
        appendToken(list, kindSign, text[0]);
        ++position;
    }
    for (;;) {
        if (position == text.size()) return fail("Error - missing operand");
        if (!scanOperand(list, text, position) || !budget.failure.empty()) return false;
        if (position == text.size()) return true;
        if (!isBinaryOperator(text[position])) return failAfterOperand(text, position);
        appendToken(list, kindOperator, text[position]);
        ++position;
    }
}

} // namespace

std::string stripBlanks(std::string_view text) {
    std::string stripped;
    stripped.reserve(text.size());
    for (char c : text) {
        if (c != ' ' && c != '\t') stripped.push_back(c);
    }
    return stripped;
}

namespace {

// Digits after an exponent mark: e5, E-3, e+3. A letter e not followed so is the name e.
std::size_t exponentLength(std::string_view text, std::size_t p) {
    if (p >= text.size() || (text[p] != 'e' && text[p] != 'E')) return 0;
    std::size_t digits = p + 1;
    if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) ++digits;
    if (digits >= text.size() || !isDigit(text[digits])) return 0;
    while (digits < text.size() && isDigit(text[digits]))
        ++digits;
    return digits - p;
}

} // namespace

std::string readNumber(std::string_view text, std::size_t& position, bool& badNumber) {
    if (position > text.size()) return {};
    const std::size_t start = position;
    while (position < text.size() && isNumberChar(text[position]))
        ++position;
    const std::string_view run = text.substr(start, position - start);
    if (std::count(run.begin(), run.end(), '.') > 1) badNumber = true;
    if (!run.empty()) position += exponentLength(text, position);
    return std::string(text.substr(start, position - start));
}

std::string readName(std::string_view text, std::size_t& position) {
    if (position > text.size()) return {};
    const std::size_t start = position;
    while (position < text.size()) {
        const char c = text[position];
        // Digits after the first character belong to the name, as in log10.
        const bool digit = isDigit(c) && position > start;
        if (c == 'X' || !(isLetter(c) || c == '(' || c == '!' || digit)) break;
        ++position;
        if (c == '(') break;
    }
    return std::string(text.substr(start, position - start));
}

std::vector<std::string_view> splitArguments(std::string_view text, std::size_t mostPieces) {
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t p = 0; p < text.size() && pieces.size() + 1 < mostPieces; ++p) {
        if (text[p] == '(')
            ++depth;
        else if (text[p] == ')')
            depth = std::max(depth - 1, 0); // a stray ")" hides no later comma
        else if (text[p] == ',' && depth == 0) {
            pieces.push_back(text.substr(start, p - start));
            start = p + 1;
        }
    }
    pieces.push_back(text.substr(start));
    return pieces;
}

ExpListPtr compileText(std::string_view text) {
    const NestingGuard guard;
    auto list = std::make_shared<ExpList>();
    if (!guard.outermost()) {
        scanInto(*list, text);
        return list;
    }
    // Blanks count nowhere; the outermost text is the one that may hold them.
    scanInto(*list, stripBlanks(text));
    list->refusal = std::move(budget.failure);
    return list;
}

std::string bodyRefusal(const FunctionEntry& function) {
    const NestingGuard guard;
    std::vector<Binding> frame;
    for (const ParameterNode& parameter : function.parameters) {
        Binding& binding = frame.emplace_back();
        binding.name = parameter.name;
        auto slot = std::make_shared<Variable>();
        binding.variable = slot.get();
        binding.record = std::move(slot);
    }
    budget.frames.push_back(std::move(frame));
    budget.bodies.push_back(&function);
    ExpList list;
    scanInto(list, rewriteFactorials(stripBlanks(function.bodyText)));
    if (function.bodyText.find_first_not_of(" \t") == std::string::npos) fail("Error - missing operand");
    return std::move(budget.failure);
}

namespace {

// Pass 1: an operand run of letters, digits and "." before a "!" is put in brackets.
void bracketFactorialOperands(std::string& text) {
    for (std::size_t p = 0; p < text.size(); ++p) {
        if (text[p] != '!' || (p > 0 && text[p - 1] == ')')) continue;
        std::size_t start = p;
        while (start > 0 && (isLetter(text[start - 1]) || isNumberChar(text[start - 1])))
            --start;
        if (start == p) // no operand: a "!" that already names the call, as in !(3)
            continue;
        text.insert(p, 1, ')');
        text.insert(start, 1, '(');
        p += 2;
    }
}

// The "(" matching the ")" at `close`, if there is one.
std::optional<std::size_t> openingBracket(const std::string& text, std::size_t close) {
    int depth = 0;
    for (std::size_t p = close + 1; p-- > 0;) {
        if (text[p] == ')')
            ++depth;
        else if (text[p] == '(' && --depth == 0)
            return p;
    }
    return std::nullopt;
}

// Pass 2: a "!" after a bracket group moves in front of it, "(n+1)!" becoming "!(n+1)".
// Every move takes a "!" further left, so the passes end.
void moveFactorialsBeforeGroups(std::string& text) {
    bool changed = true;
    while (changed) {
        changed = false;
        for (std::size_t p = text.size(); p-- > 1;) {
            if (text[p] != '!' || text[p - 1] != ')') continue;
            const auto open = openingBracket(text, p - 1);
            if (!open) continue;
            text.erase(p, 1);
            text.insert(*open, 1, '!');
            p = *open + 1; // look at the moved "!" again
            changed = true;
        }
    }
}

} // namespace

std::string rewriteFactorials(std::string_view text) {
    std::string rewritten(text);
    bracketFactorialOperands(rewritten);
    moveFactorialsBeforeGroups(rewritten);
    return rewritten;
}

ExpListPtr compileExpression(std::string_view text) {
    ExpListPtr list = compileText(rewriteFactorials(stripBlanks(text)));
    toPostfix(*list);
    evaluate(*list);
    return list;
}
