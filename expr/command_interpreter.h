#pragma once
// The console language: one line in through consoleLine, its answer out through the same buffer.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "expr/symbol_store.h"

inline constexpr std::size_t consoleBufferSize = 1024; // terminator included

// Parts of the expression state (expr/expression_state.h).
extern char (&consoleLine)[consoleBufferSize];
extern char (&answerText)[consoleBufferSize];

// Reads consoleLine, leaves the answer in consoleLine (":bye" leaves the line as it was).
void runConsoleLine();
// One line as the consoles run it: refused when longer than the buffer, run, and answered with
// the evaluator's error message when the evaluation failed, with the answer in consoleLine otherwise.
std::string answerConsoleLine(std::string_view line);
// Handles one text with its blanks removed; writes into answerText.
void interpretLine(std::string_view text);
void runCommand(std::string_view text);
// Appends the printed form of a result to answerText.
void formatResult(const std::optional<Value>& result);
// Parses name(parameters)=body and defines the user function.
void defineFunctionFromText(std::string_view text);
// The function a definition text defines, not entered in the store; nothing without "(" and ")".
std::optional<FunctionEntry> parseDefinition(std::string_view text);
