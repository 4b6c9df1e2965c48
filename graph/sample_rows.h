// A row of samples of one variable and the values of one or two lists there, as sample-by-sample
// code gives them: for each sample the variable is set, then the lists are evaluated in order.
// Where every list takes the scalar path, each is evaluated over the whole row at once instead.
#pragma once

#include "expr/evaluator.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"
#include "graph/sweep.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct SampleRows {
    std::vector<double> values;                 // of the variable; the caller fills them
    std::array<std::vector<double>, 2> results; // of each list, in the order given
    std::vector<std::int32_t> errors;           // the math error each sample raised; 0 for none
    std::vector<std::uint8_t> incomplete;       // whether the sample had no value (stopped, refused)
    std::size_t evaluated = 0;                  // the samples before the user stopped the work

    void evaluate(Variable* variable, const ExpListPtr& list) { evaluateLists(variable, {&list}); }
    void evaluate(Variable* variable, const ExpListPtr& first, const ExpListPtr& second) {
        evaluateLists(variable, {&first, &second});
    }

    // One sample at a time: evaluate(i) stores the values of sample i with the variable set.
    template <typename Evaluate> void evaluateEach(Variable* variable, std::size_t lists, Evaluate evaluate) {
        prepare(lists);
        const std::size_t n = values.size();
        workProgress.total = static_cast<long>(n);
        for (std::size_t i = 0; i < n && !workStopped(sampleWork); ++i) {
            workProgress.done = static_cast<long>(i);
            setVariableValue(variable, values[i]);
            const MeasuredEvaluations sample;
            evaluate(i);
            errors[i] = sample.status().mathError;
            incomplete[i] = sample.status().incomplete ? 1 : 0;
            evaluated = i + 1;
        }
    }

  private:
    void prepare(std::size_t lists);
    void evaluateLists(Variable* variable, std::initializer_list<const ExpListPtr*> lists);
};

// Whether every given list can be evaluated a whole row at once (a missing list gives 0 anyway).
bool allSweepable(std::initializer_list<const ExpListPtr*> lists);
