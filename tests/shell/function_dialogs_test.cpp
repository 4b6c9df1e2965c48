// DEFFUNC, EDITLIST, FUNLIST and GRAPHEXP driven by simulated clicks and keys.
#include "dialog_test_support.h"
#include "modal_answer.h"

#include "expr/compiler.h"
#include "expr/symbol_store.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/plot_settings.h"
#include "shell/deffunc_dialog.h"
#include "shell/dialog_template.h"
#include "shell/editlist_dialog.h"
#include "shell/funlist_dialog.h"
#include "shell/graphexp_dialog.h"
#include "shell/polar_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>


namespace {

constexpr int rowLabels = 40030;
constexpr int polarRowLabels = 40070;
constexpr int okId = 40200;
constexpr int definitionId = 40010;
constexpr int cancelId = 40002;

using FunctionDialogTest = DialogTest;

struct RowFormCase {
    const char* behaviour;
    QDialog* (*create)(QWidget*);
    int firstLabel;
    const char* row0;
    const char* row1;
};

TEST_F(FunctionDialogTest, RowTextsTakeTheFormOfTheirDialog) {
    const RowFormCase cases[] = {
        {"funlist shows the curve label form", createFunListDialog, rowLabels, "f(x) = 1+x", "g(x,y) = x*y"},
        {"polar shows the curve label form", createPolarDialog, polarRowLabels, "f(x) = 1+x", "g(x,y) = x*y"},
        {"editlist shows the definition form", createEditListDialog, rowLabels, "f(x)=1+x", "g(x,y)=x*y"},
    };
    defineFunctions({"f(x)=1+x", "g(x,y)=x*y"});
    for (const RowFormCase& c : cases) {
        QDialog* dialog = c.create(owner.get());
        EXPECT_EQ(fieldText(dialog, c.firstLabel), c.row0) << c.behaviour;
        EXPECT_EQ(fieldText(dialog, c.firstLabel + 1), c.row1) << c.behaviour;
        EXPECT_EQ(fieldText(dialog, c.firstLabel + 2), "") << c.behaviour;
    }
}

TEST_F(FunctionDialogTest, OnlyTheFirstTenFunctionsHaveRows) {
    for (char name = 'a'; name <= 'k'; ++name)
        defineFunctions({std::string("f") + name + "(x)=x"});
    QDialog* dialog = createFunListDialog(owner.get());
    EXPECT_EQ(fieldText(dialog, rowLabels + 9), "fj(x) = x");
    EXPECT_EQ(findDialogControl(dialog, rowLabels + 10), nullptr);
}

TEST_F(FunctionDialogTest, LongRowTextsAreCutAtTheEnd) {
    const std::string body = "x+" + std::string(60, '1') + "+" + std::string(40, '2');
    defineFunctions({"f(x)=" + body});
    QDialog* dialog = createEditListDialog(owner.get());
    const std::string row = fieldText(dialog, rowLabels);
    EXPECT_EQ(row, ("f(x)=" + body).substr(0, 79));
}

TEST_F(FunctionDialogTest, FunListBoxesFollowAndSetTheDisplayFlags) {
    defineFunctions({"f(x)=x", "g(x)=2*x"});
    displayFlags[1] = 0;
    QDialog* dialog = createFunListDialog(owner.get());
    auto* first = dialogControl<QCheckBox>(dialog, 40020);
    auto* second = dialogControl<QCheckBox>(dialog, 40021);
    auto* empty = dialogControl<QCheckBox>(dialog, 40025);
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(second->isChecked());

    QTest::mouseClick(first, Qt::LeftButton);
    QTest::mouseClick(second, Qt::LeftButton);
    QTest::mouseClick(empty, Qt::LeftButton);
    EXPECT_EQ(displayFlags[0], 0);
    EXPECT_EQ(displayFlags[1], 1);
    EXPECT_EQ(displayFlags[5], 1);
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(second->isChecked());
}

TEST_F(FunctionDialogTest, FunListDerivativeBoxesSetTheirOwnFlags) {
    defineFunctions({"f(x)=x^2"});
    QDialog* dialog = createFunListDialog(owner.get());
    QTest::mouseClick(dialogControl<QCheckBox>(dialog, 40240), Qt::LeftButton);
    QTest::mouseClick(dialogControl<QCheckBox>(dialog, 40251), Qt::LeftButton);
    EXPECT_EQ(plotSettings.firstDerivativeFlags[0], 1);
    EXPECT_EQ(plotSettings.secondDerivativeFlags[1], 1);
    EXPECT_EQ(plotSettings.secondDerivativeFlags[0], 0);
    EXPECT_EQ(displayFlags[0], 1);
}

TEST_F(FunctionDialogTest, FunListOkRedrawsSoAnUntickedGraphGoes) {
    defineFunctions({"f(x)=x-3"});
    displayFlags[0] = 0;
    plotGraphExpression(compileExpression("0.5*x+3")); // stands for a graph just unticked
    const QImage before = graph.copy();
    QDialog* dialog = createFunListDialog(owner.get());
    dialog->show();
    QTest::mouseClick(dialogControl<QCheckBox>(dialog, 40020), Qt::LeftButton);
    clickControl(dialog, okId);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(countPixels(graph, graphExpressionColour), 0);
    EXPECT_GT(countPixels(graph, rowColour(0)), countPixels(before, rowColour(0)));
}

TEST_F(FunctionDialogTest, EscapeDoesNotCloseADialogWhoseOnlyWayOutIsOk) {
    QDialog* dialog = createFunListDialog(owner.get());
    dialog->show();
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FunctionDialogTest, DefFuncOffersTheLastDefinitionText) {
    plotSettings.definitionText = "q(x)=x^2";
    QDialog* dialog = createDefFuncDialog(owner.get());
    EXPECT_EQ(fieldText(dialog, definitionId), "q(x)=x^2");
}

struct DefinitionCase {
    const char* behaviour;
    const char* typed;
    bool closes;
    const char* definitionText; // afterwards
    int userFunctions;          // afterwards
};

TEST_F(FunctionDialogTest, DefFuncOkDefinesOrStaysOpen) {
    const DefinitionCase cases[] = {
        {"an accepted text defines the function", "f(x)=1+x", true, "f(x)=1+x", 1},
        {"an empty text defines nothing but is kept", "", true, "", 0},
        {"a refused text keeps the dialog open", "f(x)=(1+x", false, "old", 0},
        {"a missing multiply is refused", "f(x)=2(x+1)", false, "old", 0},
        {"a number against a name is refused", "f(x)=2x", false, "old", 0},
        {"an unknown function is refused", "f(x)=nof(x)", false, "old", 0},
        {"an empty body is refused", "f(x)=", false, "old", 0},
        {"blanks between the parts are ignored", "f(x) = x + 1", true, "f(x) = x + 1", 1},
    };
    for (const DefinitionCase& c : cases) {
        resetSymbolStore();
        plotSettings.definitionText = "old";
        messages.clear();
        QDialog* dialog = createDefFuncDialog(owner.get());
        dialog->show();
        typeInto(dialog, definitionId, c.typed);
        clickControl(dialog, okId);
        EXPECT_EQ(dialog->isVisible(), !c.closes) << c.behaviour;
        EXPECT_EQ(messages.empty(), c.closes) << c.behaviour;
        EXPECT_EQ(plotSettings.definitionText, c.definitionText) << c.behaviour;
        EXPECT_EQ(userFunctionAt(0) != nullptr ? 1 : 0, c.userFunctions) << c.behaviour;
        if (!c.closes) {
            EXPECT_EQ(fieldText(dialog, definitionId), c.typed) << c.behaviour;
        }
    }
}

TEST_F(FunctionDialogTest, DefFuncFieldTakesAtMost79Characters) {
    QDialog* dialog = createDefFuncDialog(owner.get());
    typeInto(dialog, definitionId, QString(100, 'x'));
    EXPECT_EQ(fieldText(dialog, definitionId).size(), 79u);
}

// Answers the DEFFUNC that EDITLIST opens modally: types `text` and presses OK, or Cancel when
// `text` is null.
ModalAnswer answerDefFunc(const char* text) {
    return ModalAnswer([text](QWidget* modal) {
        if (text) typeInto(modal, definitionId, text);
        clickControl(modal, text ? okId : cancelId);
        return true;
    });
}

struct EditCase {
    const char* behaviour;
    const char* typed; // null: Cancel
    const char* row;
    const char* f; // f's body afterwards
    bool hasH;
};

TEST_F(FunctionDialogTest, EditOpensDefFuncWithTheRowAndShowsItsOutcome) {
    const EditCase cases[] = {
        {"cancel keeps the row and the function", nullptr, "f(x)=1+x", "1+x", false},
        {"ok replaces the function", "f(x)=2+x", "f(x)=2+x", "2+x", false},
        {"a new name adds a function", "h(x)=2+x", "h(x)=2+x", "1+x", true},
    };
    for (const EditCase& c : cases) {
        resetSymbolStore();
        defineFunctions({"f(x)=1+x"});
        QDialog* dialog = createEditListDialog(owner.get());
        const ModalAnswer answer = answerDefFunc(c.typed);
        clickControl(dialog, 40020);
        EXPECT_EQ(fieldText(dialog, rowLabels), c.row) << c.behaviour;
        ASSERT_NE(findFunction("f"), nullptr) << c.behaviour;
        EXPECT_EQ(findFunction("f")->bodyText, c.f) << c.behaviour;
        EXPECT_EQ(findFunction("h") != nullptr, c.hasH) << c.behaviour;
    }
}

TEST_F(FunctionDialogTest, DeleteUnlinksWithoutRenumberingAndFlagsStay) {
    defineFunctions({"f(x)=x", "g(x)=2*x", "h(x)=3*x"});
    displayFlags[0] = 1;
    displayFlags[1] = 0;
    displayFlags[2] = 1;
    QDialog* dialog = createEditListDialog(owner.get());
    clickControl(dialog, 40220);
    EXPECT_EQ(fieldText(dialog, rowLabels), "");
    EXPECT_EQ(fieldText(dialog, rowLabels + 1), "g(x)=2*x");
    EXPECT_EQ(findFunction("f"), nullptr);

    QDialog* reopened = createEditListDialog(owner.get());
    EXPECT_EQ(fieldText(reopened, rowLabels), "g(x)=2*x");
    EXPECT_EQ(fieldText(reopened, rowLabels + 1), "h(x)=3*x");
    EXPECT_EQ(fieldText(reopened, rowLabels + 2), "");
    EXPECT_EQ(displayFlags[0], 1);
    EXPECT_EQ(displayFlags[1], 0);
    EXPECT_EQ(displayFlags[2], 1);
}

TEST_F(FunctionDialogTest, DeleteOnAnEmptyOrStaleRowChangesNothing) {
    defineFunctions({"f(x)=x", "g(x)=2*x"});
    QDialog* dialog = createEditListDialog(owner.get());
    unlinkFunction("g"); // gone behind the dialog's back
    clickControl(dialog, 40221);
    clickControl(dialog, 40225);
    EXPECT_EQ(fieldText(dialog, rowLabels + 1), "g(x)=2*x");
    EXPECT_NE(findFunction("f"), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FunctionDialogTest, GraphExpStartsEmptyAndGraphsOnce) {
    QDialog* dialog = createGraphExpDialog(owner.get());
    dialog->show();
    EXPECT_EQ(fieldText(dialog, 40003), "");
    typeInto(dialog, 40003, "x");
    clickControl(dialog, okId);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_GT(countPixels(graph, graphExpressionColour), 0);
}

} // namespace
