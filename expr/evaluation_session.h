#pragma once
// One piece of work that the user can stop as a whole. See stop_hook.h.

// The evaluations made while one of these lives are one piece of work, which the user can stop
// as a whole (a console line, a ":solv" search, a curve, a repaint). Sessions nest: only the
// outermost one begins and ends the work.
struct EvaluationSession {
    EvaluationSession();
    ~EvaluationSession();
    EvaluationSession(const EvaluationSession&) = delete;
    EvaluationSession& operator=(const EvaluationSession&) = delete;
};
