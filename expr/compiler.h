#pragma once
// Text to ExpList: the factorial rewrite, a three-state scanner that builds the token list
// (compiling each user-function call's body with its parameters bound to the arguments), and
// the operator-priority ordering into evaluation order. A text the compiler cannot read to its
// end is refused: its list carries the reason and evaluates to that error alone.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/symbol_store.h"

// A number written against a name or a bracket (2x, 3sin(x)): the definition check says the same.
inline constexpr const char* missedMultiplyMessage = "You have missed out * .. or not a function..";

std::string stripBlanks(std::string_view text);
std::string rewriteFactorials(std::string_view text);
// Builds the token list only.
ExpListPtr compileText(std::string_view text);
// Fills the evaluation-order list from the token list.
void toPostfix(ExpList& list);
// rewriteFactorials, compileText, toPostfix, then one trial evaluation whose result is dropped.
ExpListPtr compileExpression(std::string_view text);
// Why the body of a function would be refused wherever it is called, or empty when it reads;
// its parameters stand for numbers there.
std::string bodyRefusal(const FunctionEntry& function);

// A number from position: digits and "." (a leading "." included), then an exponent such as
// e5, E-3 or e+3; raises badNumber when the digits hold more than one ".".
std::string readNumber(std::string_view text, std::size_t& position, bool& badNumber);
// Letters and "!", and digits after the first character, up to the first "X"; an "(" is taken
// into the name and ends it.
std::string readName(std::string_view text, std::size_t& position);
// The pieces of a comma-separated text, split only at commas outside brackets, so that an argument
// may itself be a call with several arguments: g(1,2),3 is two pieces. The last of at most
// `mostPieces` pieces holds the rest of the text, commas and all. A text without a comma is one piece.
std::vector<std::string_view> splitArguments(std::string_view text, std::size_t mostPieces = SIZE_MAX);
