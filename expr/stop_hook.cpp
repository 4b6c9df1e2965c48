#include "expr/stop_hook.h"

#include "expr/evaluation.h"

#include <algorithm>

// The fuzz build keeps a fixed allowance of steps per session, so that an input of many costly
// lines still runs in moments under the sanitizers; nothing there can press Stop.
#ifdef TARVELION_EVALUATION_WORK_LIMIT
#define TARVELION_HAS_WORK_LIMIT 1
#else
#define TARVELION_HAS_WORK_LIMIT 0
#define TARVELION_EVALUATION_WORK_LIMIT 0
#endif

WorkProgress workProgress;

void setWorkTask(std::string_view name) {
    const std::size_t length = std::min(name.size(), workProgress.task.size() - 1);
    name.copy(workProgress.task.data(), length);
    workProgress.task[length] = '\0';
}

namespace {

StopHook installedHook = nullptr;
int sessionDepth = 0;
long stepsSincePoll = 0;
long sessionSteps = 0;
bool stopped = false;

// The stop may come between two evaluations, so it reaches the mirror itself.
void stopWork(const char* message) {
    stopped = true;
    raisedStatus.incomplete = true;
    evaluationError(message);
    mirrorStatus(raisedStatus);
}

} // namespace

void setStopHook(StopHook hook) {
    installedHook = hook;
}

bool workStopped(long steps) {
    if (stopped) {
        raisedStatus.incomplete = true;
        return true;
    }
    stepsSincePoll += steps;
    if (TARVELION_HAS_WORK_LIMIT) {
        sessionSteps += steps;
        if (sessionSteps > TARVELION_EVALUATION_WORK_LIMIT) stopWork("Error - calculation too long");
    }
    if (stepsSincePoll >= stopPollSteps) {
        stepsSincePoll = 0;
        if (installedHook != nullptr && installedHook(WorkEvent::poll))
            stopWork("Error - calculation stopped");
    }
    return stopped;
}

void resetWorkState() {
    sessionDepth = 0;
    stepsSincePoll = 0;
    sessionSteps = 0;
    stopped = false;
    raisedStatus = {};
    workProgress = {};
}

EvaluationSession::EvaluationSession() {
    if (sessionDepth++ > 0) return;
    stopped = false;
    stepsSincePoll = 0;
    sessionSteps = 0;
    workProgress = {};
    if (installedHook != nullptr) installedHook(WorkEvent::begin);
}

EvaluationSession::~EvaluationSession() {
    if (--sessionDepth > 0) return;
    if (installedHook != nullptr) installedHook(WorkEvent::end);
    stopped = false;
    workProgress = {};
}
