#pragma once
// The five character-level checks of a typed function definition. Each returns 0 when the text
// passes and 1 when it is refused, after showing its message through the message hook.

#include <string_view>

int checkDefinitionSyntax(std::string_view text); // the five checks in order, first refusal wins
int checkBracketBalance(std::string_view text);
int checkBracketKinds(std::string_view text);
int checkNumberPoints(std::string_view text);
int checkConsecutiveOperators(std::string_view text);
int checkMissingMultiply(std::string_view text);
// After the five checks: whether the body reads as a whole, refused with the compiler's reason.
int checkDefinitionReads(std::string_view text);

int isOperatorChar(char c); // 1 for * + - / ^
void showSyntaxError(const char* caption, const char* body);
