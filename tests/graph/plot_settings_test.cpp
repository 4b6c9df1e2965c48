#include "graph/plot_settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

template <typename Text> void expectCutAtLimit(Text& field, std::size_t limit) {
    const std::string longText(limit + 40, 'a');
    field = longText;
    EXPECT_EQ(field.view().size(), limit);
    EXPECT_EQ(field.bytes().back(), '\0');
    field = "short";
    EXPECT_EQ(field, "short");
    // A shorter text leaves no remains of the longer one behind its terminator.
    for (std::size_t i = 5; i < field.bytes().size(); ++i)
        ASSERT_EQ(field.bytes()[i], '\0');
}

TEST(PlotSettings, TextsAreCutAtTheirFieldLimit) {
    PlotSettings s;
    expectCutAtLimit(s.angleVariable, 79);
    expectCutAtLimit(s.parametricX, 79);
    expectCutAtLimit(s.implicitRight[1], 254);
    expectCutAtLimit(s.inequalityLeft[2], 254);
    expectCutAtLimit(s.memoText, 2047);
    expectCutAtLimit(s.documentTitle, 259);
}

TEST(PlotSettings, TextStopsAtEmbeddedZero) {
    ShortText text;
    text = std::string_view("ab\0cd", 5);
    EXPECT_EQ(text, "ab");
}

} // namespace
