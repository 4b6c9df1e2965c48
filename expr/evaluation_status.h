#pragma once
// What went wrong in an evaluation. The evaluator gives it with every value; the console's
// globals (evalErrorFlag, evalErrorMessage, mathErrorIndicator) only mirror it.

#include <cstdint>

struct EvaluationStatus {
    const char* error = nullptr; // the last evaluation error's message; none when null
    std::int32_t mathError = 0;  // EDOM after a domain case of log, ^, sqrt or gamma
    bool incomplete = false;     // stopped, or refused by the compiler: there is no value

    bool failed() const { return error != nullptr || mathError != 0 || incomplete; }
    // This status followed by `later`: the later error wins, as the mirror's message does.
    EvaluationStatus then(const EvaluationStatus& later) const {
        return {later.error != nullptr ? later.error : error, later.mathError != 0 ? later.mathError : mathError,
                incomplete || later.incomplete};
    }
};

// The evaluations made while one of these lives are measured apart: status() tells what they
// raised, whatever evaluations before them raised. When it ends, what they raised counts for an
// enclosing evaluation or measure too.
class MeasuredEvaluations {
  public:
    MeasuredEvaluations();
    ~MeasuredEvaluations();
    MeasuredEvaluations(const MeasuredEvaluations&) = delete;
    MeasuredEvaluations& operator=(const MeasuredEvaluations&) = delete;

    const EvaluationStatus& status() const;

  private:
    EvaluationStatus enclosing_;
};
