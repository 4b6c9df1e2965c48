// The main window's menu entries that open the dialogs, and what the window does around them.
#include "dialog_test_support.h"
#include "shell_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

namespace {

// The open dialogs of the window that hold a control with that id.
int openDialogsWith(const MainWindow& window, int controlId) {
    int count = 0;
    for (const QDialog* dialog : window.findChildren<QDialog*>()) {
        count += dialog->isVisible() && findDialogControl(dialog, controlId) ? 1 : 0;
    }
    return count;
}

// Clicks a button of the next modal dialog, as a user would.
ModalAnswer clickInNextModal(int buttonId) {
    return ModalAnswer([buttonId](QWidget* modal) {
        clickControl(modal, buttonId);
        return true;
    });
}

struct ModelessCase {
    const char* behaviour;
    Command command;
    int controlId;
};

TEST(DialogCommands, EveryOpeningOfAModelessDialogGivesAFurtherWindow) {
    const ModelessCase cases[] = {
        {"variables setup", Command::VariablesSetup, 40116},   {"vary", Command::Vary, 40019},
        {"parametric setup", Command::ParametricSetup, 40103}, {"implicit", Command::Implicit, 40401},
        {"inequalities", Command::Inequalities, 40131},        {"memo", Command::Memo, 40303},
    };
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    for (const ModelessCase& c : cases) {
        window->runCommand(c.command);
        window->runCommand(c.command);
        EXPECT_EQ(openDialogsWith(*window, c.controlId), 2) << c.behaviour;
    }
}

TEST(DialogCommands, ParametricSetupShowsTheCurveInParametricMode) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::ParametricSetup);
    EXPECT_TRUE(window->isChecked(Command::ShowParametric));
    EXPECT_EQ(plotSettings.parametricShown, 1);
    EXPECT_EQ(plotSettings.plotMode, PlotMode::Parametric);
}

struct ModalCase {
    const char* behaviour;
    Command command;
    int button;
    PlotMode before;
    PlotMode after;
};

TEST(DialogCommands, ModalDialogsSetThePlotModeAfterTheyClose) {
    const ModalCase cases[] = {
        {"define closed with cancel", Command::DefineFunction, 40002, PlotMode::Polar, PlotMode::Explicit},
        {"polar", Command::Polar, 40200, PlotMode::Explicit, PlotMode::Polar},
        {"select graph keeps the mode", Command::SelectGraph, 40200, PlotMode::Implicit, PlotMode::Implicit},
    };
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    for (const ModalCase& c : cases) {
        plotSettings.plotMode = c.before;
        const ModalAnswer click = clickInNextModal(c.button);
        window->runCommand(c.command);
        EXPECT_EQ(plotSettings.plotMode, c.after) << c.behaviour;
    }
}

TEST(DialogCommands, SetLimitsClearsThenTheWindowDrawsTheGraphs) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    defineFunctionFromText("f(x)=1");
    const ModalAnswer click = clickInNextModal(40200);
    window->runCommand(Command::SetLimits);
    // f(x) = 1 lies on row 200 of the 500-pixel factory view, in the colour of function row 0.
    EXPECT_EQ(window->graphArea()->image().pixel(50, 200), qRgb(64, 0, 255));
}

struct OpenCase {
    const char* behaviour;
    PlotMode mode;
    int controlId;
};

TEST(DialogCommands, OpeningADocumentOpensTheDialogOfItsMode) {
    const OpenCase cases[] = {
        {"parametric", PlotMode::Parametric, 40103},
        {"implicit", PlotMode::Implicit, 40401},
        {"inequalities", PlotMode::Inequalities, 40131},
    };
    QTemporaryDir dir;
    for (const OpenCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        const QString path = dir.filePath("mode.tvl");
        plotSettings.plotMode = c.mode;
        plotSettings.documentPath = path.toStdString();
        window->runCommand(Command::Save);
        const ModalAnswer choose = chooseFileInNextPrompt(path);
        window->runCommand(Command::Open);
        EXPECT_EQ(openDialogsWith(*window, c.controlId), 1) << c.behaviour;
        EXPECT_FALSE(window->isChecked(Command::ShowParametric)) << c.behaviour;
    }
}

} // namespace
