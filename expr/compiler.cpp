#include "expr/compiler.h"

#include <algorithm>
#include <cctype>

#include "expr/evaluator.h"

namespace {

// Ceilings of one top-level compilation. They keep the compiler's own recursion well within the
// stack and its work well under a second, far beyond what a typed expression needs: 16 levels of
// f(x)=x+x inside one another make about 200 000 tokens.
constexpr int scanDepthLimit = 1024; // bracket groups, arguments and bodies inside one another
constexpr std::size_t compileTokenLimit = 500'000;
constexpr std::size_t substitutionStepLimit = 65536;

struct CompileBudget {
    int nesting = 0;                          // compileText calls in progress
    int scanDepth = 0;                        // scanInto calls in progress
    std::size_t tokens = 0;                   // tokens made since the outermost compileText began
    std::vector<const FunctionEntry*> bodies; // user functions being expanded, outermost first
};
CompileBudget budget;

// Entered by every compileText; the outermost one starts a fresh budget.
struct NestingGuard {
    NestingGuard() {
        if (budget.nesting++ == 0) {
            budget.scanDepth = 0;
            budget.tokens = 0;
            budget.bodies.clear();
        }
    }
    ~NestingGuard() { --budget.nesting; }
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

// The text between an "(" and its matching ")", which starts at `from`. Empty when the group is
// not closed or does not fit the group buffer; `close` is then left unchanged.
std::optional<std::string_view> bracketGroup(std::string_view text, std::size_t from, std::size_t& close) {
    int depth = 0;
    for (std::size_t p = from; p < text.size() && p - from < groupBufferSize; ++p) {
        if (text[p] == '(')
            ++depth;
        else if (text[p] == ')' && depth-- == 0) {
            close = p;
            return text.substr(from, p - from);
        }
    }
    return std::nullopt;
}

// One argument as the argument buffer holds it.
std::string_view argumentPiece(std::string_view piece) {
    return piece.substr(0, tokenBufferSize - 1);
}

void scanInto(ExpList& list, std::string_view text);

void compileBuiltinCall(ExpList& list, const std::shared_ptr<FunctionEntry>& entry,
                        std::string_view argumentText) {
    ExpListNode& node = appendToken(list, kindCall);
    node.function = entry.get();
    node.builtin = entry->builtin;
    node.arguments = static_cast<std::uint32_t>(list.arguments.size());
    list.records.push_back(entry);
    std::uint32_t count = 0;
    for (std::string_view piece : splitArguments(argumentText)) {
        ExpListPtr argument = compileText(argumentPiece(piece));
        toPostfix(*argument);
        list.arguments.push_back(ArgumentNode{std::move(argument)});
        ++count;
    }
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

void compileUserCall(ExpList& list, const std::shared_ptr<FunctionEntry>& entry,
                     std::string_view argumentText) {
    if (isRecursiveCall(*entry)) return appendRefusal(list, Refusal::recursive);
    if (beyondCeilings()) return appendRefusal(list, Refusal::tooLarge);
    std::string body = entry->bodyText.substr(0, rewriteBufferSize - 1);
    const std::vector<std::string_view> pieces = splitArguments(argumentText);
    for (std::size_t i = 0; i < pieces.size() && i < entry->parameters.size(); ++i)
        body = substituteParameter(body, i, argumentPiece(pieces[i]), *entry);

    budget.bodies.push_back(entry.get());
    ExpListPtr expanded = compileText(body);
    budget.bodies.pop_back();
    toPostfix(*expanded);

    ExpListNode& node = appendToken(list, kindCall);
    node.function = entry.get();
    node.body = expanded.get();
    list.records.push_back(entry);
    list.bodies.push_back(std::move(expanded));
}

// Unknown names add no node at all.
void compileCall(ExpList& list, std::string_view nameWithBracket, std::string_view argumentText) {
    const std::shared_ptr<FunctionEntry> entry =
        findFunctionRecord(nameWithBracket.substr(0, nameWithBracket.size() - 1));
    if (!entry) return;
    if (entry->isBuiltin == 0)
        compileUserCall(list, entry, argumentText);
    else if (beyondCeilings())
        appendRefusal(list, Refusal::tooLarge);
    else
        compileBuiltinCall(list, entry, argumentText);
}

// <operand> = "(" <text> ")" | <number> | <name> | <name> "(" <arguments> ")"
// Returns false when the operand ends the expression.
bool scanOperand(ExpList& list, std::string_view text, std::size_t& position, bool& badNumber) {
    const char c = text[position];
    if (c == '(') {
        std::size_t close = 0;
        const auto group = bracketGroup(text, position + 1, close);
        if (!group) return false;
        position = close + 1;
        if (beyondCeilings()) {
            appendRefusal(list, Refusal::tooLarge);
            return true;
        }
        appendToken(list, kindOpen, '(');
        scanInto(list, *group);
        appendToken(list, kindClose, ')');
        return true;
    }
    if (isDigit(c)) {
        const std::size_t start = position;
        const std::string number = readNumber(text, position, badNumber);
        if (position - start >= tokenBufferSize) return false;
        if (!badNumber) appendToken(list, kindNumber).constant = addConstant(number);
        return true;
    }
    if (!isLetter(c) && c != '!') return false;
    const std::size_t start = position;
    const std::string name = readName(text, position);
    // An empty name (an "X" where an operand belongs) or one longer than a name buffer ends it.
    if (name.empty() || position - start >= tokenBufferSize) return false;
    if (name.back() == '(') {
        std::size_t close = 0;
        const auto group = bracketGroup(text, position, close);
        if (!group) return false;
        position = close + 1;
        compileCall(list, name, *group);
    } else if (auto vector = findVectorRecord(name)) {
        appendToken(list, kindVector).vector = vector.get();
        list.records.push_back(std::move(vector));
    } else {
        auto variable = findOrCreateVariableRecord(name);
        appendToken(list, kindVariable).variable = variable.get();
        list.records.push_back(std::move(variable));
    }
    return true;
}

// <text> = [sign] <operand> {<binary operator> <operand>}, ending silently at anything else.
void scanInto(ExpList& list, std::string_view text) {
    const ScanDepthGuard depth;
    bool badNumber = false;
    std::size_t position = 0;
    if (position < text.size() && (text[0] == '+' || text[0] == '-')) {
        appendToken(list, kindSign, text[0]);
        ++position;
    }
    while (position < text.size()) {
        if (!scanOperand(list, text, position, badNumber)) return;
        if (position >= text.size() || !isBinaryOperator(text[position])) return;
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

std::string readNumber(std::string_view text, std::size_t& position, bool& badNumber) {
    if (position > text.size()) return {};
    const std::size_t start = position;
    while (position < text.size() && isNumberChar(text[position]))
        ++position;
    const std::string_view run = text.substr(start, position - start);
    if (std::count(run.begin(), run.end(), '.') > 1) badNumber = true;
    return std::string(run.substr(0, tokenBufferSize - 1));
}

std::string readName(std::string_view text, std::size_t& position) {
    if (position > text.size()) return {};
    const std::size_t start = position;
    while (position < text.size()) {
        const char c = text[position];
        if (c == 'X' || !(isLetter(c) || c == '(' || c == '!')) break;
        ++position;
        if (c == '(') break;
    }
    return std::string(text.substr(start, std::min(position - start, tokenBufferSize - 1)));
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

std::string substituteParameter(std::string_view text, std::size_t index, std::string_view argument,
                                const FunctionEntry& entry) {
    std::string result(text.substr(0, rewriteBufferSize - 1));
    if (index >= entry.parameters.size()) return result;
    const std::string& name = entry.parameters[index].name;
    if (name.empty() || argument == name) return result;
    // Each replacement looks for the name in the whole text again, so an occurrence that the
    // replacement itself completes is replaced too (ab := a turns aabb into aab, then aa); the
    // text before the replaced place held none, so the search may start just before it. An
    // argument that holds the name (f(x+1)) would be found again for ever: then the search goes
    // on after each inserted argument. The step bound ends replacements that could cycle.
    const bool resumeAfter = argument.find(name) != std::string_view::npos;
    std::size_t from = 0;
    for (std::size_t steps = 0; steps < substitutionStepLimit; ++steps) {
        from = result.find(name, from);
        if (from == std::string::npos) break;
        result.replace(from, name.size(), argument);
        if (result.size() >= rewriteBufferSize) {
            result.resize(rewriteBufferSize - 1);
            break;
        }
        from = resumeAfter ? from + argument.size() : from - std::min(from, name.size() - 1);
    }
    return result;
}

ExpListPtr compileText(std::string_view text) {
    const NestingGuard guard;
    auto list = std::make_shared<ExpList>();
    scanInto(*list, text);
    return list;
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
        if (text.size() >= rewriteBufferSize) text.resize(rewriteBufferSize - 1);
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
    std::string rewritten(text.substr(0, rewriteBufferSize - 1));
    bracketFactorialOperands(rewritten);
    moveFactorialsBeforeGroups(rewritten);
    return rewritten;
}

ExpListPtr compileExpression(std::string_view text) {
    ExpListPtr list = compileText(rewriteFactorials(text));
    toPostfix(*list);
    evaluate(*list);
    return list;
}
