// Long plots tell the progress dialog how far they are, from start to end without going back.
#include "graph_test_support.h"

#include "expr/stop_hook.h"
#include "graph/implicit.h"
#include "graph/parametric_polar.h"
#include "graph/plot_settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

// A sum of one term costs little but keeps every sample on the sample-by-sample path.
constexpr const char* slowX = "sum(n,1,1,x)";

struct Seen {
    long done;
    long total;
};
std::vector<Seen> seen;

// Records the progress at each poll and stops the work once it is half done.
bool recordProgress(WorkEvent event) {
    if (event != WorkEvent::poll) return false;
    seen.push_back({workProgress.done, workProgress.total});
    return workProgress.total > 0 && workProgress.done * 2 >= workProgress.total;
}

struct ProgressCase {
    const char* name;
    std::function<void()> plot;
};

const ProgressCase progressCases[] = {
    {"Polar",
     [] {
         resetPlotState({"f(t)=sum(n,1,1,t)"});
         plotSettings.angleVariable = "t";
         plotSettings.polarFlags[0] = 1;
         plotPolar();
     }},
    {"Parametric",
     [] {
         plotSettings.parametricX = "sum(n,1,1,t)";
         plotSettings.parametricY = "t";
         plotSettings.parameterName = "t";
         plotSettings.parameterFrom = "0";
         plotSettings.parameterTo = "1";
         plotParametric();
     }},
    {"Implicit",
     [] {
         plotSettings.implicitLeft[0] = slowX;
         plotSettings.implicitRight[0] = "y";
         plotImplicit();
     }},
    {"Region",
     [] {
         plotSettings.inequalityLeft[0] = slowX;
         plotSettings.inequalityRight[0] = "y";
         plotInequalities();
     }},
};

class WorkProgressTest : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(WorkProgressTest, GrowsTowardsTheKnownTotal) {
    GraphArea area(200, 200);
    resetPlotState();
    seen.clear();
    setStopHook(recordProgress);
    GetParam().plot();
    setStopHook(nullptr);
    // Before its first sample a plot only gathers its sample values, a moment's work.
    const auto known = std::find_if(seen.begin(), seen.end(), [](const Seen& s) { return s.total > 0; });
    ASSERT_NE(known, seen.end());
    EXPECT_TRUE(std::all_of(known, seen.end(), [](const Seen& s) { return s.total > 0; }));
    EXPECT_TRUE(
        std::is_sorted(known, seen.end(), [](const Seen& a, const Seen& b) { return a.done < b.done; }));
    EXPECT_GE(seen.back().done * 2, seen.back().total);
}

INSTANTIATE_TEST_SUITE_P(Plots, WorkProgressTest, ::testing::ValuesIn(progressCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
