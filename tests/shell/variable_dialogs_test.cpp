// VARLIST and VARY, and the slider step counting that PARAMETRIC shares.
#include "dialog_test_support.h"

#include "expr/symbol_store.h"
#include "graph/axes.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "shell/dialog_template.h"
#include "shell/redraws.h"
#include "shell/varlist_dialog.h"
#include "shell/vary_dialog.h"

#include <QDialog>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace {

using VariableDialogTest = DialogTest;

constexpr int nameFields = 40020;
constexpr int valueFields = 40030;
constexpr int lessButtons = 40117;
constexpr int moreButtons = 40122;
constexpr int replotId = 40116;
constexpr int closeId = 40200;

constexpr int varyValueId = 40138;
constexpr int varySliderId = 40019;
constexpr int varyOkId = 40200;

double valueOf(const char* name) {
    return findOrCreateVariable(name)->value;
}

TEST_F(VariableDialogTest, VarListShowsVariablesNewestFirstWithoutPiAndE) {
    QDialog* fresh = createVarListDialog(owner.get());
    EXPECT_EQ(fieldText(fresh, nameFields), "x");
    EXPECT_EQ(fieldText(fresh, valueFields), "0.000000");
    EXPECT_EQ(fieldText(fresh, nameFields + 1), "");

    setVariableValue(findOrCreateVariable("a"), 1.5);
    findOrCreateVariable("b");
    QDialog* later = createVarListDialog(owner.get());
    EXPECT_EQ(fieldText(later, nameFields), "b");
    EXPECT_EQ(fieldText(later, nameFields + 1), "a");
    EXPECT_EQ(fieldText(later, valueFields + 1), "1.500000");
    EXPECT_EQ(fieldText(later, nameFields + 2), "x");
    EXPECT_EQ(fieldText(later, nameFields + 3), "");
}

TEST_F(VariableDialogTest, VarListShowsAtMostFiveRows) {
    for (const char* name : {"a", "b", "c", "d", "f", "g"})
        findOrCreateVariable(name);
    QDialog* dialog = createVarListDialog(owner.get());
    EXPECT_EQ(fieldText(dialog, nameFields), "g");
    EXPECT_EQ(fieldText(dialog, nameFields + 4), "b");
}

struct NudgeCase {
    const char* behaviour;
    const char* shown;
    int button;
    const char* result;
    double value;
};

TEST_F(VariableDialogTest, MinusAndPlusScaleTheValueByTenPerCent) {
    const NudgeCase cases[] = {
        {"plus on 2", "2", moreButtons, "2.200000", 2.2},
        {"minus on 2", "2", lessButtons, "1.800000", 1.8},
        {"minus on -2 moves towards 0", "-2", lessButtons, "-1.800000", -1.8},
        {"zero stays zero", "0", moreButtons, "0.000000", 0.0},
        {"a value that is no number counts as 0", "abc", moreButtons, "0.000000", 0.0},
        {"the leading number counts", "3e1xyz", lessButtons, "27.000000", 27.0},
    };
    for (const NudgeCase& c : cases) {
        QDialog* dialog = createVarListDialog(owner.get());
        typeInto(dialog, valueFields, c.shown);
        clickControl(dialog, c.button);
        EXPECT_EQ(fieldText(dialog, valueFields), c.result) << c.behaviour;
        EXPECT_NEAR(valueOf("x"), c.value, 1e-12) << c.behaviour;
    }
}

TEST_F(VariableDialogTest, NudgeOnARowWithoutNameOnlyRedraws) {
    QDialog* dialog = createVarListDialog(owner.get());
    typeInto(dialog, valueFields + 3, "5");
    graph.fill(Qt::white);
    clickControl(dialog, moreButtons + 3);
    EXPECT_EQ(fieldText(dialog, valueFields + 3), "5");
    EXPECT_EQ(countPixels(graph, qRgb(255, 255, 255)), 0);
}

TEST_F(VariableDialogTest, ReplotAndCloseApplyEveryNamedRow) {
    QDialog* dialog = createVarListDialog(owner.get());
    dialog->show();
    typeInto(dialog, valueFields, "3.5abc");
    typeInto(dialog, nameFields + 1, "q");
    typeInto(dialog, valueFields + 1, "-1");
    clickControl(dialog, replotId);
    EXPECT_EQ(valueOf("x"), 3.5);
    EXPECT_EQ(valueOf("q"), -1.0);

    typeInto(dialog, valueFields, "7");
    clickControl(dialog, closeId);
    EXPECT_EQ(valueOf("x"), 7.0);
    EXPECT_FALSE(dialog->isVisible());
}

// Where a click hits a part of the scroll bar, as the style lays it out.
QPoint partOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar).center();
}

void clickPart(QScrollBar* bar, QStyle::SubControl part) {
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, partOf(bar, part));
}

TEST_F(VariableDialogTest, VarySetsTheVariableFromTheStepCount) {
    QDialog* dialog = createVaryDialog(owner.get());
    dialog->show();
    auto* slider = dialogControl<QScrollBar>(dialog, varySliderId);
    clickPart(slider, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(fieldText(dialog, varyValueId), "0.100000");
    EXPECT_DOUBLE_EQ(valueOf("a"), 0.1);

    slider->setSliderPosition(100); // as dragging the thumb does
    EXPECT_EQ(fieldText(dialog, varyValueId), "10.000000");

    clickPart(slider, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(fieldText(dialog, varyValueId), "10.100000");
    EXPECT_EQ(slider->value(), 100);

    clickPart(slider, QStyle::SC_ScrollBarSubPage);
    EXPECT_EQ(fieldText(dialog, varyValueId), "10.000000");
}

TEST_F(VariableDialogTest, VaryReadsItsFieldsAtEveryMovement) {
    QDialog* dialog = createVaryDialog(owner.get());
    dialog->show();
    typeInto(dialog, 40016, "b");
    typeInto(dialog, 40017, "10");
    typeInto(dialog, 40018, "zero");
    auto* slider = dialogControl<QScrollBar>(dialog, varySliderId);
    clickPart(slider, QStyle::SC_ScrollBarAddPage);
    EXPECT_EQ(fieldText(dialog, varyValueId), "9.900000");
    EXPECT_DOUBLE_EQ(valueOf("b"), 9.9);
}

TEST_F(VariableDialogTest, VaryStepCountOutlivesTheWindow) {
    QDialog* first = createVaryDialog(owner.get());
    first->show();
    clickPart(dialogControl<QScrollBar>(first, varySliderId), QStyle::SC_ScrollBarAddLine);
    clickPart(dialogControl<QScrollBar>(first, varySliderId), QStyle::SC_ScrollBarAddLine);
    clickControl(first, varyOkId);
    EXPECT_FALSE(first->isVisible());

    QDialog* second = createVaryDialog(owner.get());
    second->show();
    auto* slider = dialogControl<QScrollBar>(second, varySliderId);
    EXPECT_EQ(slider->value(), 0);
    clickPart(slider, QStyle::SC_ScrollBarAddLine);
    EXPECT_EQ(fieldText(second, varyValueId), "0.300000");
    EXPECT_EQ(slider->value(), 3);
}

struct StepCase {
    const char* behaviour;
    int action;
    int count;
    int thumb;
    int expected;
};

TEST(StepCount, ScrollActionsMapOntoTheFiveStepChanges) {
    const StepCase cases[] = {
        {"left arrow counts down", QAbstractSlider::SliderSingleStepSub, 5, 4, 4},
        {"trough left of the thumb counts down", QAbstractSlider::SliderPageStepSub, 5, 0, 4},
        {"right arrow counts up", QAbstractSlider::SliderSingleStepAdd, 5, 6, 6},
        {"trough right of the thumb counts up", QAbstractSlider::SliderPageStepAdd, 5, 15, 6},
        {"counting goes on beyond the end", QAbstractSlider::SliderSingleStepAdd, 100, 100, 101},
        {"counting goes on below the start", QAbstractSlider::SliderSingleStepSub, 0, 0, -1},
        {"moving the thumb takes its position", QAbstractSlider::SliderMove, 120, 37, 37},
        {"jumping to an end keeps the count", QAbstractSlider::SliderToMaximum, 7, 100, 7},
    };
    for (const StepCase& c : cases)
        EXPECT_EQ(changedStepCount(c.count, c.action, c.thumb), c.expected) << c.behaviour;
}

struct RedrawCase {
    const char* behaviour;
    PlotMode mode;
};

// Whatever the plot mode, the slider keeps the other graphs: it draws what a repaint draws.
TEST_F(VariableDialogTest, VaryRedrawsTheWholePictureInEveryMode) {
    const RedrawCase cases[] = {
        {"explicit mode", PlotMode::Explicit},
        {"inequalities mode", PlotMode::Inequalities},
        {"parametric mode with the curve hidden", PlotMode::Parametric},
    };
    defineFunctions({"f(x)=x+a"});
    plotSettings.parametricX = "t";
    plotSettings.parametricY = "t";
    plotSettings.parameterName = "t";
    plotSettings.parameterTo = "1";
    QImage axesOnly(graph.size(), QImage::Format_RGB32);
    setGraphImage(&axesOnly);
    clearGraph();
    setGraphImage(&graph);
    for (const RedrawCase& c : cases) {
        plotSettings.plotMode = c.mode;
        QDialog* dialog = createVaryDialog(owner.get());
        dialog->show();
        graph.fill(Qt::white);
        clickPart(dialogControl<QScrollBar>(dialog, varySliderId), QStyle::SC_ScrollBarAddLine);
        const QImage moved = graph.copy();
        redraw(Trigger::Repaint);
        EXPECT_NE(moved, axesOnly) << c.behaviour;
        EXPECT_EQ(moved, graph) << c.behaviour;
    }
}

} // namespace
