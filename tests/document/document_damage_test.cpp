#include "document_fixture.h"

#include "document/document_format.h"
#include "document/document_reset.h"
#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

#include <functional>
#include <string>

namespace {

const ShownMessage damagedBox{"Error", damagedFileText};

int open(const Bytes& bytes) {
    resetDocument();
    shownMessages().clear();
    return readDocument(bytes);
}

Bytes tag() {
    return textBytes(documentVersion);
}

Bytes definition(std::string_view text) {
    return concat({int32Bytes(int(text.size())), textBytes(text), Bytes{0}});
}

Bytes fixedPartWith(std::size_t offset, const Bytes& bytes) {
    Bytes part = plainFixedPart();
    std::copy(bytes.begin(), bytes.end(), part.begin() + offset);
    return part;
}

struct DamageRow {
    const char* name;
    Bytes bytes;
    std::function<void()> check; // what was kept of the damaged file
};

TEST_F(DocumentTest, DamagedFilesLoadWhatIsSoundAndSayTheFileIsDamaged) {
    const Bytes noDefinitions = int32Bytes(-1);
    const Bytes noVariables = int32Bytes(0);
    const DamageRow rows[] = {
        {"negative_memo_length_stops_at_once", concat({tag(), int32Bytes(-2), noDefinitions}),
         [] { EXPECT_EQ(userFunctionAt(0), nullptr); }},
        {"memo_longer_than_2047_is_cut_and_the_rest_read",
         concat({tag(), int32Bytes(3000), textBytes(std::string(3000, 'm')), definition("f(x)=x"),
                 noDefinitions, noVariables, plainFixedPart()}),
         [] {
             EXPECT_EQ(plotSettings.memoText.view().size(), 2047u);
             EXPECT_NE(userFunctionAt(0), nullptr);
         }},
        {"definitions_without_their_end",
         concat({tag(), int32Bytes(0), definition("f(x)=x"), definition("g(x)=1")}),
         [] {
             ASSERT_NE(userFunctionAt(1), nullptr);
             EXPECT_EQ(userFunctionAt(1)->name, "g");
         }},
        {"definition_longer_than_1023_is_cut_and_the_rest_read",
         concat({tag(), int32Bytes(0), definition("k(x)=" + std::string(1500, '2')), definition("g(x)=1"),
                 noDefinitions, noVariables, plainFixedPart()}),
         [] {
             ASSERT_NE(userFunctionAt(1), nullptr);
             EXPECT_EQ(userFunctionAt(0)->name, "k");
             EXPECT_EQ(userFunctionAt(1)->name, "g");
         }},
        {"negative_definition_length",
         concat({tag(), int32Bytes(0), int32Bytes(-7), noVariables, plainFixedPart()}),
         [] { EXPECT_EQ(userFunctionAt(0), nullptr); }},
        {"definition_without_its_zero_byte",
         concat({tag(), int32Bytes(0), int32Bytes(6), textBytes("f(x)=xZ"), noDefinitions, noVariables,
                 plainFixedPart()}),
         [] {
             ASSERT_NE(userFunctionAt(0), nullptr);
             EXPECT_EQ(userFunctionAt(0)->bodyText, "x");
         }},
        {"negative_variable_count",
         concat({tag(), int32Bytes(0), noDefinitions, int32Bytes(-1), plainFixedPart()}),
         [] { EXPECT_EQ(viewLimits.xMax, 5.0); }},
        {"variable_name_longer_than_199_is_cut",
         concat({tag(), int32Bytes(0), noDefinitions, int32Bytes(1), int32Bytes(250),
                 textBytes(std::string(250, 'v')), doubleBytes(4), plainFixedPart()}),
         [] { EXPECT_EQ(findOrCreateVariable(std::string(199, 'v'))->value, 4.0); }},
        {"more_variables_than_the_file_holds",
         concat({tag(), int32Bytes(0), noDefinitions, int32Bytes(0x7fffffff), int32Bytes(1), textBytes("q"),
                 doubleBytes(9)}),
         [] { EXPECT_EQ(findOrCreateVariable("q")->value, 9.0); }},
        {"text_block_without_zero_is_cut_to_79",
         documentWith(fixedPartWith(0, textBytes(std::string(80, 't')))),
         [] { EXPECT_EQ(plotSettings.parametricX, std::string(79, 't')); }},
        {"side_block_without_zero_is_cut_to_254",
         documentWith(fixedPartWith(2695, textBytes(std::string(255, 's')))),
         [] { EXPECT_EQ(plotSettings.inequalityRight[2], std::string(254, 's')); }},
        {"plot_mode_above_4_reads_as_explicit", documentWith(fixedPartWith(2982, Bytes{9})),
         [] { EXPECT_EQ(plotSettings.plotMode, PlotMode::Explicit); }},
    };
    for (const DamageRow& row : rows) {
        SCOPED_TRACE(row.name);
        plotSettings.plotMode = PlotMode::Polar;
        EXPECT_EQ(open(row.bytes), 1);
        ASSERT_FALSE(shownMessages().empty());
        EXPECT_EQ(shownMessages().front(), damagedBox);
        row.check();
    }
}

TEST_F(DocumentTest, TrailingBytesAfterTheFixedPartAreIgnored) {
    EXPECT_EQ(open(concat({writeDocument(), textBytes("extra")})), 0);
    EXPECT_TRUE(shownMessages().empty());
}

// A rich document cut after every byte: each load ends, says the file is damaged, and keeps
// the view limits at their reset values until the whole fixed part is there.
TEST_F(DocumentTest, TruncatedAtEveryOffsetLoadsSafely) {
    plotSettings.memoText = "memo";
    defineFunctionFromText("f(x)=a*x");
    defineFunctionFromText("g()=5");
    setVariableValue(findOrCreateVariable("x"), 2.0);
    setViewLimits({-1, 1, -2, 2});
    const Bytes whole = writeDocument();
    for (std::size_t size = documentVersion.size(); size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_EQ(open(Bytes(whole.begin(), whole.begin() + size)), 1);
        ASSERT_FALSE(shownMessages().empty());
        EXPECT_EQ(shownMessages().front(), damagedBox);
        EXPECT_EQ(viewLimits.xMax, 5.0);
    }
    EXPECT_EQ(open(whole), 0);
    EXPECT_EQ(viewLimits.xMax, 1.0);
}

} // namespace
