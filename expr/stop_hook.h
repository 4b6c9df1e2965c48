#pragma once
// Long work that the user can stop. The program installs one hook: the window's shows a progress
// dialog with Stop after about half a second, the terminal console's reads a flag that Ctrl+C
// sets. Every loop that can run long (sum, prod, diff, diffn, the plotters' samples) calls
// workStopped(), which polls the hook every stopPollSteps steps; plain C++, no Qt.

#include <array>
#include <cstdint>
#include <string_view>

enum class WorkEvent : std::uint8_t {
    begin, // the outermost EvaluationSession starts
    poll,  // the answer is true when the user asked to stop
    end,   // the outermost EvaluationSession ends
};
using StopHook = bool (*)(WorkEvent event);

// nullptr (the default): work runs to its end.
void setStopHook(StopHook hook);

inline constexpr long stopPollSteps = 4096;

// Counts `steps` steps of the running work and polls the hook every stopPollSteps of them. True
// once the work has been stopped; the evaluation error "Error - calculation stopped" is set then,
// and every later call answers true until the outermost EvaluationSession ends.
bool workStopped(long steps = 1);

// What the running work is, for the progress indication: `task` names it (a curve's label, a
// copy, so a hook polled after the caller's string is gone still reads a live name); `done` of
// `total` steps are behind it (total 0: unknown).
struct WorkProgress {
    std::array<char, 80> task{};
    long done = 0;
    long total = 0;
};
extern WorkProgress& workProgress; // part of the expression state

// Names the running work, cut to fit `task`.
void setWorkTask(std::string_view name);
