#pragma once
// What went wrong in an evaluation. The evaluator gives it with every value; the console's
// globals (evalErrorFlag, evalErrorMessage, mathErrorIndicator) only mirror it.

#include <cstdint>

struct EvaluationStatus {
    const char* error = nullptr; // the last evaluation error's message; none when null
    std::int32_t mathError = 0;  // EDOM after a domain case of log, ^, sqrt or gamma
    bool incomplete = false;     // stopped, or refused by the compiler: there is no value

    bool failed() const { return error != nullptr || mathError != 0 || incomplete; }
};

// How often each kind of failure has been raised. The counts only grow, so any stretch of
// evaluations can tell what it raised itself by its counts at its start.
struct RaisedCounts {
    std::uint64_t errors = 0;
    std::uint64_t mathErrors = 0;
    std::uint64_t incompletes = 0;
    bool operator==(const RaisedCounts&) const = default;
};

// The counts, and the latest message and domain error.
struct RaisedFailures {
    RaisedCounts counts;
    const char* error = nullptr;
    std::int32_t mathError = 0;
};

// The evaluations made while one of these lives are measured apart: status() tells what they
// raised, whatever evaluations before them raised; what they raised counts for any enclosing
// evaluation or measure as well. Costs a comparison when nothing failed.
class MeasuredEvaluations {
  public:
    MeasuredEvaluations();
    MeasuredEvaluations(const MeasuredEvaluations&) = delete;
    MeasuredEvaluations& operator=(const MeasuredEvaluations&) = delete;

    EvaluationStatus status() const;

  private:
    RaisedCounts start_;
};
