#pragma once
// A fresh store per test, and the console seen as "line in, answer out".

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "expr/stop_hook.h"
#include "expr/symbol_store.h"

class ExprTest : public ::testing::Test {
  protected:
    void SetUp() override;
};

// A stop hook that stops the work at its first poll, so endless input ends at once.
bool stopAtFirstPoll(WorkEvent event);

// Runs one console line and returns the answer left in consoleLine.
std::string answerTo(const std::string& line);
// Runs lines in order and returns the answer to the last one.
std::string answerAfter(const std::vector<std::string>& lines);
// The evaluation order of a compiled text, e.g. "2 3 4 * +".
std::string postfixOf(const std::string& text);
// Compiles (with the factorial rewrite) and evaluates a text to a number.
double valueOf(const std::string& text);

struct RecordedMessage {
    std::string caption;
    std::string body;
    int icon;
};
// Messages shown through the hook since the last SetUp.
extern std::vector<RecordedMessage> recordedMessages;
