#include "graph/sample_rows.h"

#include <algorithm>

bool allSweepable(std::initializer_list<const ExpListPtr*> lists) {
    return std::all_of(lists.begin(), lists.end(),
                       [](const ExpListPtr* list) { return *list == nullptr || canSweep(**list); });
}

void SampleRows::prepare(std::size_t lists) {
    const std::size_t n = values.size();
    evaluated = 0;
    errors.assign(n, 0);
    incomplete.assign(n, 0);
    for (std::size_t j = 0; j < lists; ++j)
        results[j].assign(n, 0.0);
}

void SampleRows::evaluateLists(Variable* variable, std::initializer_list<const ExpListPtr*> lists) {
    const ExpListPtr* const* list = lists.begin();
    if (!allSweepable(lists)) {
        evaluateEach(variable, lists.size(), [&](std::size_t i) {
            for (std::size_t j = 0; j < lists.size(); ++j)
                results[j][i] = evaluateNumber(*list[j]).value;
        });
        return;
    }
    prepare(lists.size());
    // A row is a moment's work; Stop is honoured between rows.
    if (workStopped(sampleWork * static_cast<long>(values.size()))) return;
    for (std::size_t j = 0; j < lists.size(); ++j)
        if (*list[j] != nullptr) evaluateSweep(**list[j], variable, values, results[j], errors);
    if (!values.empty()) setVariableValue(variable, values.back());
    evaluated = values.size();
}
