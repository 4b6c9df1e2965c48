#include "expr/stop_hook.h"

#include "expr/evaluation.h"
#include "expr/expression_state.h"

#include <algorithm>

// The fuzz build keeps a fixed allowance of steps per session, so that an input of many costly
// lines still runs in moments under the sanitizers; nothing there can press Stop.
#ifdef TARVELION_EVALUATION_WORK_LIMIT
#define TARVELION_HAS_WORK_LIMIT 1
#else
#define TARVELION_HAS_WORK_LIMIT 0
#define TARVELION_EVALUATION_WORK_LIMIT 0
#endif

void setWorkTask(std::string_view name) {
    const std::size_t length = std::min(name.size(), workProgress.task.size() - 1);
    name.copy(workProgress.task.data(), length);
    workProgress.task[length] = '\0';
}

namespace {

StopHook installedHook = nullptr;
WorkState& work = expressionState.work;

// The stop may come between two evaluations, so it reaches the mirror itself.
void stopWork(const char* message) {
    work.stopped = true;
    raiseIncomplete();
    evaluationError(message);
    mirrorStatus({message, 0, true});
}

} // namespace

void setStopHook(StopHook hook) {
    installedHook = hook;
}

bool workStopped(long steps) {
    if (work.stopped) {
        raiseIncomplete();
        return true;
    }
    work.stepsSincePoll += steps;
    if (TARVELION_HAS_WORK_LIMIT) {
        work.sessionSteps += steps;
        if (work.sessionSteps > TARVELION_EVALUATION_WORK_LIMIT) stopWork("Error - calculation too long");
    }
    if (work.stepsSincePoll >= stopPollSteps) {
        work.stepsSincePoll = 0;
        if (installedHook != nullptr && installedHook(WorkEvent::poll))
            stopWork("Error - calculation stopped");
    }
    return work.stopped;
}

EvaluationSession::EvaluationSession() {
    if (work.sessionDepth++ > 0) return;
    work.stopped = false;
    work.stepsSincePoll = 0;
    work.sessionSteps = 0;
    work.progress = {};
    if (installedHook != nullptr) installedHook(WorkEvent::begin);
}

EvaluationSession::~EvaluationSession() {
    if (--work.sessionDepth > 0) return;
    if (installedHook != nullptr) installedHook(WorkEvent::end);
    work.stopped = false;
    work.progress = {};
}
