#include "expr_test_support.h"

#include <cstdio>
#include <cstring>

#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/evaluator.h"
#include "expr/expression_state.h"
#include "expr/message_hook.h"

std::vector<RecordedMessage> recordedMessages;

namespace {
void recordMessage(const char* caption, const char* body, int icon) {
    recordedMessages.push_back({caption, body, icon});
}

std::string nodeText(const ExpListNode& node) {
    switch (node.kind) {
    case kindNumber: {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%g", node.constant.value);
        return buffer;
    }
    case kindVariable:
        return node.variable->name;
    case kindVector:
        return node.vector->name;
    case kindCall:
        return node.function->name + "()";
    case kindSign:
        return std::string("sign") + node.op;
    default:
        return std::string(1, node.op);
    }
}
} // namespace

void ExprTest::SetUp() {
    resetExpressionState();
    recordedMessages.clear();
    setMessageHook(recordMessage);
    setStopHook(nullptr);
}

bool stopAtFirstPoll(WorkEvent event) {
    return event == WorkEvent::poll;
}

std::string answerTo(const std::string& line) {
    std::memset(consoleLine, 0, sizeof consoleLine);
    std::strncpy(consoleLine, line.c_str(), sizeof consoleLine - 1);
    runConsoleLine();
    return consoleLine;
}

std::string answerAfter(const std::vector<std::string>& lines) {
    std::string answer;
    for (const std::string& line : lines)
        answer = answerTo(line);
    return answer;
}

std::string postfixOf(const std::string& text) {
    const ExpListPtr list = compileText(rewriteFactorials(text));
    toPostfix(*list);
    std::string order;
    for (const ExpListNode& node : list->postfix)
        order += (order.empty() ? "" : " ") + nodeText(node);
    return order;
}

double valueOf(const std::string& text) {
    const ExpListPtr list = compileText(rewriteFactorials(text));
    toPostfix(*list);
    return evaluateToNumber(list);
}
