#include "document_fixture.h"

#include "document/document_format.h"
#include "document/document_reset.h"
#include "expr/command_interpreter.h"
#include "expr/stop_hook.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr double storedPi = 3.141592653589793;
constexpr double storedE = 2.718281828459045;

std::int32_t int32At(const Bytes& bytes, std::size_t offset) {
    ByteReader in{bytes, offset};
    std::int32_t value = 0;
    EXPECT_TRUE(readInt32(in, value));
    return value;
}

double doubleAt(const Bytes& bytes, std::size_t offset) {
    ByteReader in{bytes, offset};
    double value = 0;
    EXPECT_TRUE(readDouble(in, value));
    return value;
}

std::string textAt(const Bytes& bytes, std::size_t offset, std::size_t size) {
    return std::string(bytes.begin() + offset, bytes.begin() + offset + size);
}

double variableValue(std::string_view name) {
    return findOrCreateVariable(name)->value;
}

bool hasVariable(std::string_view name) {
    return std::any_of(symbolStore.variables.begin(), symbolStore.variables.end(),
                       [&](const auto& variable) { return variable->name == name; });
}

// File > Open of the given bytes: reset, then read.
int open(const Bytes& bytes) {
    resetDocument();
    shownMessages().clear();
    return readDocument(bytes);
}

TEST_F(DocumentTest, FreshStartSavesTheDocumentOf3175Bytes) {
    const Bytes bytes = writeDocument();
    ASSERT_EQ(bytes.size(), 3175u);
    EXPECT_EQ(textAt(bytes, 0, 7), "001.200");
    EXPECT_EQ(int32At(bytes, 7), 0);   // memo length
    EXPECT_EQ(int32At(bytes, 11), -1); // no definitions
    EXPECT_EQ(int32At(bytes, 15), 1);  // only x: pi and e are never written
    EXPECT_EQ(int32At(bytes, 19), 1);
    EXPECT_EQ(textAt(bytes, 23, 1), "x");
    EXPECT_EQ(doubleAt(bytes, 24), 0.0);
    const std::size_t fixed = 32;
    EXPECT_EQ(doubleAt(bytes, fixed + 2950), 5.0);
    EXPECT_EQ(doubleAt(bytes, fixed + 2958), -5.0);
    EXPECT_EQ(doubleAt(bytes, fixed + 2966), 5.0);
    EXPECT_EQ(doubleAt(bytes, fixed + 2974), -5.0);
    EXPECT_TRUE(
        std::all_of(bytes.begin() + fixed, bytes.begin() + fixed + 2950, [](auto b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(bytes.begin() + fixed + 2982, bytes.end(), [](auto b) { return b == 0; }));
}

TEST_F(DocumentTest, DefinitionIsStoredAsLengthTextAndZero) {
    defineFunctionFromText("f(x,y)=x+2*y");
    const Bytes bytes = writeDocument();
    EXPECT_EQ(int32At(bytes, 11), 12);
    EXPECT_EQ(textAt(bytes, 15, 13), std::string("f(x,y)=x+2*y\0", 13));
    EXPECT_EQ(int32At(bytes, 28), -1);
}

TEST_F(DocumentTest, FunctionWithoutParametersReadsBackWithNone) {
    defineFunctionFromText("g()=5");
    const Bytes bytes = writeDocument();
    EXPECT_EQ(textAt(bytes, 15, 6), std::string("g()=5\0", 6));
    ASSERT_EQ(open(bytes), 0);
    const FunctionEntry* g = userFunctionAt(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->name, "g");
    EXPECT_EQ(g->arity, 0);
    EXPECT_TRUE(g->parameters.empty());
    EXPECT_EQ(g->bodyText, "5");
}

TEST_F(DocumentTest, LongDefinitionComesBackWhole) {
    std::string body = "x";
    while (body.size() < 445)
        body += "+x";
    defineFunctionFromText("f(x)=" + body);
    ASSERT_EQ(open(writeDocument()), 0);
    ASSERT_NE(findFunction("f"), nullptr);
    EXPECT_EQ(findFunction("f")->bodyText, body);
}

TEST_F(DocumentTest, SavingCreatesTheVariablesThatBodiesName) {
    defineFunctionFromText("f(x)=a*x");
    ASSERT_FALSE(hasVariable("a"));
    const Bytes bytes = writeDocument();
    EXPECT_TRUE(hasVariable("a"));
    ASSERT_EQ(open(bytes), 0);
    EXPECT_TRUE(hasVariable("a"));
    EXPECT_EQ(variableValue("a"), 0.0);
}

// One Stop ends the trial evaluations of the whole save, not only the body being evaluated.
TEST_F(DocumentTest, OneStopEndsTheTrialEvaluationsOfTheWholeSave) {
    defineFunctionFromText("f(x)=sum(n,1,6000000,1)");
    defineFunctionFromText("g(x)=sum(n,1,6000000,1)");
    static int polls = 0;
    polls = 0;
    setStopHook([](WorkEvent event) { return event == WorkEvent::poll && ++polls > 0; });
    writeDocument();
    setStopHook(nullptr);
    EXPECT_EQ(polls, 1);
}

TEST_F(DocumentTest, PiAndEComeBackWithTheirStandardValues) {
    setVariableValue(findOrCreateVariable("pi"), 1.0);
    setVariableValue(findOrCreateVariable("e"), 2.0);
    setVariableValue(findOrCreateVariable("x"), 3.0);
    ASSERT_EQ(open(writeDocument()), 0);
    EXPECT_EQ(variableValue("pi"), storedPi);
    EXPECT_EQ(variableValue("e"), storedE);
    EXPECT_EQ(variableValue("x"), 3.0);
}

TEST_F(DocumentTest, VectorsAreNotSavedButSurviveOpen) {
    findOrCreateVector("v", 3, 1, 2, 3);
    const Bytes bytes = writeDocument();
    initSymbolStore(); // a new run of the program, without v
    findOrCreateVector("w", 3, 4, 5, 6);
    ASSERT_EQ(open(bytes), 0);
    EXPECT_EQ(findVector("v"), nullptr);
    ASSERT_NE(findVector("w"), nullptr);
    EXPECT_EQ(findVector("w")->components[2], 6.0);
    EXPECT_EQ(std::count_if(symbolStore.vectors.begin(), symbolStore.vectors.end(),
                            [](const auto& v) { return v->name == "i"; }),
              1);
}

// Every field the document holds, each set to something other than its reset value.
void fillEveryField() {
    PlotSettings& s = plotSettings;
    s.memoText = "A memo\nof two lines";
    defineFunctionFromText("f(x)=x^2");
    defineFunctionFromText("h(u,v)=u*v+b");
    setVariableValue(findOrCreateVariable("x"), 1.5);
    setVariableValue(findOrCreateVariable("c"), -2.25);
    s.parametricX = "cos(t)";
    s.parametricY = "sin(t)";
    s.parameterName = "t";
    s.parameterFrom = "0";
    s.parameterTo = "6.28";
    s.implicitLeft = {SideText("x^2+y^2"), SideText("y")};
    s.implicitRight = {SideText("4"), SideText("x^3")};
    s.inequalityLeft = {SideText("y"), SideText("x"), SideText("x+y")};
    s.inequalityRight = {SideText("x^2"), SideText("-1"), SideText(std::string(254, 'q'))};
    setViewLimits({-1.5, 2.5, -0.25, 8.0});
    s.plotMode = PlotMode::Inequalities;
    s.angleVariable = "phi";
    for (int row = 0; row < functionRowCount; ++row) {
        s.polarFlags[row] = row % 3 == 0;
        displayFlags[row] = row % 2;
    }
}

TEST_F(DocumentTest, EveryFieldSurvivesSaveAndOpen) {
    fillEveryField();
    const PlotSettings saved = plotSettings;
    const Bytes bytes = writeDocument();
    plotSettings = PlotSettings{};
    ASSERT_EQ(open(bytes), 0);
    const PlotSettings& s = plotSettings;
    EXPECT_EQ(s.memoText, saved.memoText.view());
    for (auto [field, want] : {std::pair{&s.parametricX, &saved.parametricX},
                               {&s.parametricY, &saved.parametricY},
                               {&s.parameterName, &saved.parameterName},
                               {&s.parameterFrom, &saved.parameterFrom},
                               {&s.parameterTo, &saved.parameterTo},
                               {&s.angleVariable, &saved.angleVariable}})
        EXPECT_EQ(*field, want->view());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(s.implicitLeft[i], saved.implicitLeft[i].view());
        EXPECT_EQ(s.implicitRight[i], saved.implicitRight[i].view());
    }
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s.inequalityLeft[i], saved.inequalityLeft[i].view());
        EXPECT_EQ(s.inequalityRight[i], saved.inequalityRight[i].view());
    }
    EXPECT_EQ(viewLimits.xMin, -1.5);
    EXPECT_EQ(viewLimits.xMax, 2.5);
    EXPECT_EQ(viewLimits.yMin, -0.25);
    EXPECT_EQ(viewLimits.yMax, 8.0);
    EXPECT_EQ(s.plotMode, PlotMode::Inequalities);
    EXPECT_EQ(s.polarFlags, saved.polarFlags);
    for (int row = 0; row < functionRowCount; ++row)
        EXPECT_EQ(displayFlags[row], row % 2) << row;
    ASSERT_NE(userFunctionAt(1), nullptr);
    EXPECT_EQ(userFunctionAt(0)->bodyText, "x^2");
    EXPECT_EQ(userFunctionAt(1)->parameters.size(), 2u);
    EXPECT_EQ(userFunctionAt(1)->bodyText, "u*v+b");
    EXPECT_EQ(variableValue("x"), 1.5);
    EXPECT_EQ(variableValue("c"), -2.25);
    EXPECT_TRUE(hasVariable("b"));
    EXPECT_EQ(shownMessages(), (std::vector<ShownMessage>{{"File memo..", "A memo\nof two lines"}}));
}

TEST_F(DocumentTest, SecondSaveAfterOpenGivesTheSameDocumentButForVariableOrder) {
    fillEveryField();
    const Bytes first = writeDocument();
    ASSERT_EQ(open(first), 0);
    ASSERT_EQ(open(writeDocument()), 0); // variables reverse on each load: twice is the first order
    EXPECT_EQ(writeDocument(), first);
}

TEST_F(DocumentTest, NoMemoBoxForAnEmptyMemo) {
    ASSERT_EQ(open(writeDocument()), 0);
    EXPECT_TRUE(shownMessages().empty());
}

TEST_F(DocumentTest, TextsLeaveNoRemainsOfLongerOnesInTheFile) {
    plotSettings.parametricX = std::string(79, 'L');
    plotSettings.parametricX = "t";
    const Bytes bytes = writeDocument();
    EXPECT_EQ(textAt(bytes, 32, 80), "t" + std::string(79, '\0'));
}

TEST_F(DocumentTest, MoreThanTenFunctionsComeBackInOrder) {
    for (int i = 0; i < 12; ++i)
        defineFunctionFromText("f" + std::to_string(i) + "(x)=x+" + std::to_string(i));
    displayFlags[3] = 0;
    ASSERT_EQ(open(writeDocument()), 0);
    EXPECT_EQ(userFunctionCount, 12);
    for (int i = 0; i < 12; ++i) {
        ASSERT_NE(userFunctionAt(i), nullptr) << i;
        EXPECT_EQ(userFunctionAt(i)->name, "f" + std::to_string(i));
    }
    EXPECT_EQ(displayFlags[3], 0);
    EXPECT_EQ(displayFlags[9], 1);
}

TEST_F(DocumentTest, WriterCutsFieldsToWhatTheReaderTakes) {
    setVariableValue(findOrCreateVariable(std::string(300, 'n')), 7.0);
    defineFunctionFromText("f(x)=1");
    FunctionEntry* f = findFunction("f");
    ASSERT_NE(f, nullptr);
    f->bodyText = std::string(1100, '1');
    const Bytes bytes = writeDocument();
    EXPECT_EQ(int32At(bytes, 11), 1023);
    EXPECT_EQ(bytes[15 + 1023], 0);
    const std::size_t variables = 15 + 1024 + 4;
    EXPECT_EQ(int32At(bytes, variables + 4), 199); // the newest variable comes first
    ASSERT_EQ(open(bytes), 0);
    EXPECT_EQ(variableValue(std::string(199, 'n')), 7.0);
}

TEST_F(DocumentTest, WrongVersionShowsTwoBoxesAndLeavesTheResetState) {
    struct Row {
        const char* name;
        Bytes bytes;
        std::string caption;
    };
    const Bytes later = concat({textBytes("001.300"), int32Bytes(4), textBytes("memo"), int32Bytes(-1)});
    const Row rows[] = {
        {"other_version", later, "001.300"},
        {"shorter_than_the_tag", textBytes("00"), "00"},
        {"empty_file", {}, ""},
        {"zero_inside_the_tag", textBytes(std::string_view("ab\0defg", 7)), "ab"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        defineFunctionFromText("f(x)=x");
        EXPECT_EQ(open(row.bytes), 1);
        EXPECT_EQ(shownMessages(),
                  (std::vector<ShownMessage>{{"Wrong version", "Cant read file"}, {row.caption, "test ="}}));
        EXPECT_EQ(userFunctionAt(0), nullptr);
        EXPECT_TRUE(plotSettings.memoText.empty());
        EXPECT_EQ(viewLimits.xMax, 5.0);
    }
}

TEST_F(DocumentTest, LargeDocumentLoadsWithAFewNameComparisonsPerRecord) {
    constexpr int records = 20000;
    ByteWriter out;
    writeText(out, documentVersion);
    writeInt32(out, 0);
    for (int i = 0; i < records; ++i) {
        // The second half redefines the functions of the first.
        const std::string definition = "f" + std::to_string(i % (records / 2)) + "(x)=x";
        writeInt32(out, static_cast<std::int32_t>(definition.size()));
        writeText(out, definition);
        writeText(out, std::string_view("\0", 1));
    }
    writeInt32(out, -1);
    writeInt32(out, records);
    for (int i = 0; i < records; ++i) {
        const std::string name = "v" + std::to_string(i);
        writeInt32(out, static_cast<std::int32_t>(name.size()));
        writeText(out, name);
        writeDouble(out, i);
    }
    const Bytes fixed = plainFixedPart();
    out.bytes.insert(out.bytes.end(), fixed.begin(), fixed.end());
    const std::uint64_t before = storeNameComparisons;
    ASSERT_EQ(open(out.bytes), 0);
    EXPECT_LT(storeNameComparisons - before, 8u * 2 * records);
    EXPECT_EQ(symbolStore.variables.front()->name, "v19999");
    EXPECT_EQ(userFunctionCount, records / 2);
}

} // namespace
