#include "expr/syntax_check.h"

#include <string>

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"

namespace {

int refuse(const char* caption, std::string_view body) {
    showSyntaxError(caption, std::string(body).c_str());
    return 1;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsName(char c) {
    return c == '=' || c == '(' || c == ',';
}

} // namespace

int isOperatorChar(char c) {
    return c == '*' || c == '+' || c == '-' || c == '/' || c == '^' ? 1 : 0;
}

void showSyntaxError(const char* caption, const char* body) {
    showMessage(caption, body, messageIconError);
}

// Only the final count matters, not the order of the brackets.
int checkBracketBalance(std::string_view text) {
    long depth = 0;
    for (char c : text)
        depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    return depth != 0 ? refuse("Brackets do not match in..", text) : 0;
}

int checkBracketKinds(std::string_view text) {
    if (text.find_first_of("[]{}") != std::string_view::npos)
        return refuse("Use only ( and ) brackets in ..", text);
    return 0;
}

// A run of digits may hold one "."; a "." not after a digit starts nothing.
int checkNumberPoints(std::string_view text) {
    bool inNumber = false;
    bool seenPoint = false;
    for (char c : text) {
        if (!inNumber && isDigit(c)) {
            inNumber = true;
            seenPoint = false;
        } else if (inNumber && c == '.') {
            if (seenPoint) return refuse("Incorrect number in ..", text);
            seenPoint = true;
        } else if (inNumber && !isDigit(c)) {
            inNumber = false;
            seenPoint = false;
        }
    }
    return 0;
}

int checkConsecutiveOperators(std::string_view text) {
    for (std::size_t p = 1; p < text.size(); ++p) {
        if (isOperatorChar(text[p]) && isOperatorChar(text[p - 1]))
            return refuse("Two consecutive operators in ..", text);
    }
    return 0;
}

// Every "(" of the body that follows neither an operator, ",", "(" nor "=" must follow the name
// of a known function. A text without "=" has no body to look at and passes.
int checkMissingMultiply(std::string_view text) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return 0;
    for (std::size_t p = equals + 2; p < text.size(); ++p) {
        if (text[p] != '(') continue;
        const char before = text[p - 1];
        if (isOperatorChar(before) || startsName(before)) continue;
        // The "=" at or before s - 1 stops the walk before the start of the text.
        std::size_t s = p - 1;
        while (!startsName(text[s - 1]) && !isOperatorChar(text[s]))
            --s;
        if (isOperatorChar(text[s])) ++s;
        const std::string_view name = text.substr(s, p - s);
        if (findFunction(name) == nullptr)
            return refuse(missedMultiplyMessage, name);
    }
    return 0;
}

int checkDefinitionReads(std::string_view text) {
    const std::optional<FunctionEntry> function = parseDefinition(text);
    if (!function) return 0;
    const std::string refusal = bodyRefusal(*function);
    return refusal.empty() ? 0 : refuse(refusal.c_str(), text);
}

int checkDefinitionSyntax(std::string_view text) {
    if (checkBracketBalance(text) != 0 || checkBracketKinds(text) != 0 || checkNumberPoints(text) != 0 ||
        checkConsecutiveOperators(text) != 0 || checkMissingMultiply(text) != 0)
        return 1;
    return 0;
}
