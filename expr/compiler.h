#pragma once
// Text to ExpList: the factorial rewrite, a three-state scanner that builds the token list
// (expanding user-function calls by textual substitution), and the operator-priority ordering
// into evaluation order. The compiler never reports: it stops at the first character it cannot use.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "expr/symbol_store.h"

// Working-buffer limits, terminator included.
inline constexpr std::size_t rewriteBufferSize = 1024; // factorial rewrite, substituted bodies
inline constexpr std::size_t tokenBufferSize = 80;     // one number, one name, one argument
inline constexpr std::size_t groupBufferSize = 256;    // the text inside one pair of brackets

std::string stripBlanks(std::string_view text);
std::string rewriteFactorials(std::string_view text);
// Builds the token list only.
ExpListPtr compileText(std::string_view text);
// Fills the evaluation-order list from the token list.
void toPostfix(ExpList& list);
// rewriteFactorials, compileText, toPostfix, then one trial evaluation whose result is dropped.
ExpListPtr compileExpression(std::string_view text);

// The longest run of digits and "." from position (at most 79 characters kept); raises
// badNumber when the run holds more than one ".".
std::string readNumber(std::string_view text, std::size_t& position, bool& badNumber);
// Letters and "!" up to the first "X"; an "(" is taken into the name and ends it.
std::string readName(std::string_view text, std::size_t& position);
// The pieces of a comma-separated text, split only at commas outside brackets, so that an argument
// may itself be a call with several arguments: g(1,2),3 is two pieces. The last of at most
// `mostPieces` pieces holds the rest of the text, commas and all. A text without a comma is one piece.
std::vector<std::string_view> splitArguments(std::string_view text, std::size_t mostPieces = SIZE_MAX);
// The body text with parameter `index` of `entry` replaced by `argument`.
std::string substituteParameter(std::string_view text, std::size_t index, std::string_view argument,
                                const FunctionEntry& entry);
