// PARAMETRIC, POLAR, INTRINSIC, INEQUAL, SETLIMITS and MEMODLG, and moving caption-less windows.
#include "dialog_test_support.h"

#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/dialog_template.h"
#include "shell/inequal_dialog.h"
#include "shell/intrinsic_dialog.h"
#include "shell/memo_dialog.h"
#include "shell/parametric_dialog.h"
#include "shell/polar_dialog.h"
#include "shell/setlimits_dialog.h"
#include "shell/varlist_dialog.h"
#include "shell/vary_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

namespace {

using PlotModeDialogTest = DialogTest;

constexpr int okId = 40200;

TEST_F(PlotModeDialogTest, ParametricValueFollowsTheStepCount) {
    plotSettings.parameterFrom = "0";
    plotSettings.parameterTo = "6.28";
    QDialog* dialog = createParametricDialog(owner.get());
    dialog->show();
    auto* slider = dialogControl<QScrollBar>(dialog, 40103);
    EXPECT_EQ(slider->maximum(), 1000);
    slider->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click right of the thumb
    EXPECT_EQ(fieldText(dialog, 40105), "0.006280");
    EXPECT_EQ(parametricStepCount, 1);
    slider->setSliderPosition(1000);
    EXPECT_EQ(fieldText(dialog, 40105), "6.280000");
}

// The value readouts of VARY and PARAMETRIC, with the thumb at the right end (value = To), show
// every number whole: the label and the dialog widen for it.
TEST_F(PlotModeDialogTest, SliderReadoutsShowEveryNumberWhole) {
    struct Case {
        const char* name;
        QDialog* (*create)(QWidget*);
        int fromId, toId, sliderId, maximum, valueId;
        const char* to;
        const char* shown;
    };
    const Case cases[] = {
        {"vary, eight digits and a sign", createVaryDialog, 40017, 40018, 40019, 100, 40138, "-10787036.1525",
         "-10787036.152500"},
        {"vary, the widest fixed-point text", createVaryDialog, 40017, 40018, 40019, 100, 40138,
         "-1234567890123456", "-1234567890123456.000000"},
        {"vary, huge", createVaryDialog, 40017, 40018, 40019, 100, 40138, "1e300", "1.000000e+300"},
        {"parametric, eight digits and a sign", createParametricDialog, 40101, 40102, 40103, 1000, 40105,
         "-10787036.1525", "-10787036.152500"},
        {"parametric, huge", createParametricDialog, 40101, 40102, 40103, 1000, 40105, "-1e300",
         "-1.000000e+300"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        QDialog* dialog = row.create(owner.get());
        dialog->show();
        setFieldText(dialog, row.fromId, "0");
        setFieldText(dialog, row.toId, row.to);
        dialogControl<QScrollBar>(dialog, row.sliderId)->setSliderPosition(row.maximum);
        EXPECT_EQ(fieldText(dialog, row.valueId), row.shown);
        const QWidget* label = findDialogControl(dialog, row.valueId);
        EXPECT_GE(label->width(), label->sizeHint().width());
        EXPECT_LE(label->x() + label->sizeHint().width(), dialog->width());
        delete dialog;
    }
}

TEST_F(PlotModeDialogTest, ParametricStoresTextsOnlyOnPlotOrSliderMovement) {
    plotSettings.parametricX = "cos(t)";
    QDialog* dialog = createParametricDialog(owner.get());
    dialog->show();
    EXPECT_EQ(fieldText(dialog, 40090), "cos(t)");
    typeInto(dialog, 40090, "sin(t)");
    clickControl(dialog, 40200);
    EXPECT_EQ(plotSettings.parametricX, "cos(t)");

    QDialog* second = createParametricDialog(owner.get());
    second->show();
    typeInto(second, 40091, "t^2");
    clickControl(second, 40104);
    EXPECT_EQ(plotSettings.parametricY, "t^2");
    typeInto(second, 40100, "s");
    dialogControl<QScrollBar>(second, 40103)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(plotSettings.parameterName, "s");
}

TEST_F(PlotModeDialogTest, PolarAlwaysOffersTAndStoresTheField) {
    plotSettings.angleVariable = "theta";
    QDialog* first = createPolarDialog(owner.get());
    EXPECT_EQ(fieldText(first, 40080), "t");
    typeInto(first, 40080, "u");
    clickControl(first, okId);
    EXPECT_EQ(plotSettings.angleVariable, "u");

    QDialog* second = createPolarDialog(owner.get());
    EXPECT_EQ(fieldText(second, 40080), "t");
    clickControl(second, okId);
    EXPECT_EQ(plotSettings.angleVariable, "t");
}

TEST_F(PlotModeDialogTest, PolarBoxesFollowAndSetThePolarFlags) {
    plotSettings.polarFlags[3] = 1;
    QDialog* dialog = createPolarDialog(owner.get());
    auto* row3 = dialogControl<QCheckBox>(dialog, 40063);
    auto* row4 = dialogControl<QCheckBox>(dialog, 40064);
    EXPECT_TRUE(row3->isChecked());
    QTest::mouseClick(row3, Qt::LeftButton);
    QTest::mouseClick(row4, Qt::LeftButton);
    EXPECT_EQ(plotSettings.polarFlags[3], 0);
    EXPECT_EQ(plotSettings.polarFlags[4], 1);
}

struct RelationCase {
    const char* behaviour;
    QDialog* (*create)(QWidget*);
    PlotMode mode;
    int firstLeftId;
    const SideText* firstLeft;
};

TEST_F(PlotModeDialogTest, RelationDialogsSetTheModeAtOnceAndStoreOnClose) {
    const RelationCase cases[] = {
        {"intrinsic", createIntrinsicDialog, PlotMode::Implicit, 40136, &plotSettings.implicitLeft[0]},
        {"inequal", createInequalDialog, PlotMode::Inequalities, 40129, &plotSettings.inequalityLeft[0]},
    };
    const QString longSide(300, 'x');
    for (const RelationCase& c : cases) {
        plotSettings.plotMode = PlotMode::Explicit;
        QDialog* dialog = c.create(owner.get());
        EXPECT_EQ(plotSettings.plotMode, c.mode) << c.behaviour;
        dialog->show();
        graph.fill(Qt::white);
        typeInto(dialog, c.firstLeftId, longSide);
        clickControl(dialog, relationCloseId);
        EXPECT_EQ(*c.firstLeft, longSide.left(254).toStdString()) << c.behaviour;
        EXPECT_FALSE(dialog->isVisible()) << c.behaviour;
        EXPECT_EQ(countPixels(graph, qRgb(255, 255, 255)), graph.width() * graph.height()) << c.behaviour;
    }
}

TEST_F(PlotModeDialogTest, InequalPlotStoresAndPaintsClearClears) {
    QDialog* dialog = createInequalDialog(owner.get());
    dialog->show();
    graph.fill(Qt::white);
    typeInto(dialog, 40129, "y");
    typeInto(dialog, 40132, "x");
    clickControl(dialog, relationPlotId);
    EXPECT_EQ(plotSettings.inequalityLeft[0], "y");
    EXPECT_EQ(plotSettings.inequalityRight[0], "x");
    EXPECT_LT(countPixels(graph, qRgb(255, 255, 255)), graph.width() * graph.height());

    graph.fill(Qt::white);
    clickControl(dialog, relationClearId);
    EXPECT_EQ(countPixels(graph, qRgb(255, 255, 255)), 0);
}

TEST_F(PlotModeDialogTest, SetLimitsShowsAndStoresTheFourLimits) {
    QDialog* dialog = createSetLimitsDialog(owner.get());
    dialog->show();
    EXPECT_EQ(fieldText(dialog, 40005), "5.000000");
    EXPECT_EQ(fieldText(dialog, 40006), "-5.000000");
    EXPECT_EQ(fieldText(dialog, 40007), "5.000000");
    EXPECT_EQ(fieldText(dialog, 40008), "-5.000000");
    typeInto(dialog, 40005, "abc");
    typeInto(dialog, 40006, "-2.5e1");
    typeInto(dialog, 40007, "  7junk");
    clickControl(dialog, okId);
    EXPECT_EQ(viewLimits.xMax, 0.0);
    EXPECT_EQ(viewLimits.xMin, -25.0);
    EXPECT_EQ(viewLimits.yMax, 7.0);
    EXPECT_EQ(viewLimits.yMin, -5.0);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(PlotModeDialogTest, MemoKeepsAtMost2047Characters) {
    plotSettings.memoText = "first line\nsecond";
    QDialog* dialog = createMemoDialog(owner.get());
    dialog->show();
    EXPECT_EQ(fieldText(dialog, 40303), "first line\nsecond");
    dialogControl<QPlainTextEdit>(dialog, 40303)->setPlainText(QString(3000, 'm'));
    clickControl(dialog, okId);
    EXPECT_EQ(plotSettings.memoText, std::string(2047, 'm'));
    EXPECT_FALSE(dialog->isVisible());
}

void sendMouse(QWidget* window, QEvent::Type type, QPoint local, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, modifiers);
    QApplication::sendEvent(window, &event);
}

TEST_F(PlotModeDialogTest, CaptionLessWindowsMoveByTheirBackgroundAndKeepTheirSize) {
    QDialog* dialog = createVarListDialog(owner.get());
    dialog->show();
    const QSize size = dialog->size();
    EXPECT_EQ(size.width(), 234); // the height grows when the dialog font needs more than 128
    EXPECT_GE(size.height(), 128);
    const QPoint start = dialog->pos();
    const QPoint background(230, 124);
    sendMouse(dialog, QEvent::MouseButtonPress, background, Qt::LeftButton);
    sendMouse(dialog, QEvent::MouseMove, background + QPoint(30, 20), Qt::LeftButton);
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 20));
    sendMouse(dialog, QEvent::MouseMove, background + QPoint(5, 5), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(dialog->pos(), start + QPoint(30, 20));
    sendMouse(dialog, QEvent::MouseButtonRelease, background, Qt::NoButton);
    EXPECT_EQ(dialog->size(), size);
}

} // namespace
