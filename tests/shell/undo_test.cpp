// Undo and redo: each undo gives back the very bytes of the earlier document, the history keeps
// only the newest steps within its bounds, and the keys reach the commands without taking
// Ctrl+Z from the console's own text.
#include "dialog_test_support.h"
#include "document/document_format.h"
#include "document/file_prompts.h"
#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/change_tracker.h"
#include "shell/command_dialog.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"
#include "shell/undo_history.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Types a maximum x into the next Set Limits dialog and presses OK.
ModalAnswer typeMaximumXInNextLimits(const QString& xMax) {
    return ModalAnswer([xMax](QWidget* modal) {
        typeInto(modal, 40005, xMax);
        clickControl(modal, 40200);
        return true;
    });
}

// The document's bytes, but for x, whose value is whatever the plotter that ran last left in it;
// then the work's, which end with the vectors.
Bytes documentBytes() {
    setVariableValue(findOrCreateVariable("x"), 0.0);
    Bytes bytes = writeDocument();
    const Bytes work = writeDocumentWork();
    bytes.insert(bytes.end(), work.begin(), work.end());
    return bytes;
}

struct Edit {
    const char* behaviour;
    std::function<void(MainWindow&)> make;
};

TEST(Undo, EachUndoGivesBackTheEarlierDocumentAndRedoGoesForward) {
    QTemporaryDir dir;
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    storeDocumentName(window.get(), dir.filePath("work.tvl"), plotSettings.documentPath,
                      plotSettings.documentTitle);
    window->runCommand(Command::Save);
    const QString savedCaption = window->windowTitle();
    const Edit edits[] = {
        {"function_defined", [](MainWindow& w) { typeConsoleLine(w, ":defn f(x)=x^2"); }},
        {"variable_created", [](MainWindow& w) { typeConsoleLine(w, "a=3"); }},
        {"variable_created_second", [](MainWindow& w) { typeConsoleLine(w, "b=4"); }},
        {"variable_value", [](MainWindow& w) { typeConsoleLine(w, "a=5"); }},
        {"function_edited", [](MainWindow& w) { typeConsoleLine(w, ":defn f(x)=a*x+b"); }},
        {"vector_defined", [](MainWindow& w) { typeConsoleLine(w, ":defv undone=(1,2,3)"); }},
        {"memo", [](MainWindow&) { plotSettings.memoText = "a note"; }},
        {"setup_text", [](MainWindow&) { plotSettings.parametricX = "cos(t)"; }},
        {"flag", [](MainWindow&) { displayFlags[0] = 0; }},
        {"plot_mode", [](MainWindow& w) { w.runCommand(Command::ShowParametric); }},
        {"limits",
         [](MainWindow& w) {
             const ModalAnswer limits = typeMaximumXInNextLimits(QStringLiteral("2"));
             w.runCommand(Command::SetLimits);
         }},
        {"function_deleted", [](MainWindow&) { unlinkFunction("f"); }},
    };
    std::vector<Bytes> saved{documentBytes()};
    std::vector<bool> parametricChecked{false};
    for (const Edit& edit : edits) {
        edit.make(*window);
        window->changeTracker()->check(); // as after every input
        saved.push_back(documentBytes());
        parametricChecked.push_back(window->isChecked(Command::ShowParametric));
    }
    ASSERT_EQ(window->undoHistory()->undoCount(), std::size(edits));
    for (std::size_t k = std::size(edits); k-- > 0;) {
        window->runCommand(Command::Undo);
        EXPECT_EQ(documentBytes(), saved[k]) << "undo of " << edits[k].behaviour;
        EXPECT_EQ(window->isChecked(Command::ShowParametric), parametricChecked[k]) << edits[k].behaviour;
    }
    EXPECT_EQ(window->windowTitle(), savedCaption);
    EXPECT_FALSE(window->action(Command::Undo)->isEnabled());
    for (std::size_t k = 1; k < saved.size(); ++k) {
        window->runCommand(Command::Redo);
        EXPECT_EQ(documentBytes(), saved[k]) << "redo of " << edits[k - 1].behaviour;
        EXPECT_EQ(window->isChecked(Command::ShowParametric), parametricChecked[k]) << edits[k - 1].behaviour;
    }
    EXPECT_EQ(window->windowTitle(), savedCaption + " *");
    EXPECT_FALSE(window->action(Command::Redo)->isEnabled());
}

struct ViewCase {
    const char* behaviour;
    std::function<void(MainWindow&)> act;
    ViewLimits expected;
};

// Zooming and panning are no steps: an undo leaves the view alone, unless it undoes typed limits.
TEST(Undo, TheViewStaysWhereTheUserLeftItButTypedLimitsAreUndone) {
    const ViewCase cases[] = {
        {"undo_of_a_function_after_a_zoom",
         [](MainWindow& w) {
             typeConsoleLine(w, ":defn f(x)=x");
             w.runCommand(Command::ZoomIn);
             w.runCommand(Command::Undo);
         },
         {-2.5, 2.5, -2.5, 2.5}},
        {"undo_of_typed_limits_after_a_zoom",
         [](MainWindow& w) {
             w.runCommand(Command::ZoomIn);
             const ModalAnswer limits = typeMaximumXInNextLimits(QStringLiteral("2"));
             w.runCommand(Command::SetLimits);
             w.runCommand(Command::Undo);
         },
         {-2.5, 2.5, -2.5, 2.5}},
        {"redo_of_typed_limits",
         [](MainWindow& w) {
             const ModalAnswer limits = typeMaximumXInNextLimits(QStringLiteral("2"));
             w.runCommand(Command::SetLimits);
             w.runCommand(Command::Undo);
             w.runCommand(Command::Redo);
         },
         {-5.0, 2.0, -5.0, 5.0}},
    };
    for (const ViewCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        c.act(*window);
        EXPECT_EQ(viewLimits.xMin, c.expected.xMin) << c.behaviour;
        EXPECT_EQ(viewLimits.xMax, c.expected.xMax) << c.behaviour;
        EXPECT_EQ(viewLimits.yMin, c.expected.yMin) << c.behaviour;
        EXPECT_EQ(viewLimits.yMax, c.expected.yMax) << c.behaviour;
    }
}

struct BoundCase {
    const char* behaviour;
    int functions; // each about 200 bytes of the document
    int edits;
};

// After many edits of a, undoing as far as the history goes reaches the oldest kept value.
TEST(Undo, TheHistoryKeepsTheNewestStepsWithinItsBounds) {
    const BoundCase cases[] = {
        {"steps", 0, 250},
        {"bytes", 6000, 40},
    };
    const std::string body = "x" + [] {
        std::string terms;
        for (int i = 0; i < 89; ++i)
            terms += "+x";
        return terms;
    }();
    for (const BoundCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        for (int i = 0; i < c.functions; ++i)
            defineFunctionFromText("f" + std::to_string(i) + "(x)=" + body);
        window->undoHistory()->restart();
        Variable* a = findOrCreateVariable("a");
        for (int i = 1; i <= c.edits; ++i) {
            setVariableValue(a, i);
            window->changeTracker()->check();
        }
        const std::size_t kept = window->undoHistory()->undoCount();
        EXPECT_LE(kept, undoStepLimit) << c.behaviour;
        EXPECT_LE((kept + 1) * writeDocumentSnapshot().size(), undoByteLimit) << c.behaviour;
        for (std::size_t i = 0; i < kept; ++i)
            window->runCommand(Command::Undo);
        EXPECT_FALSE(window->undoHistory()->canUndo()) << c.behaviour;
        EXPECT_EQ(findOrCreateVariable("a")->value, double(c.edits - int(kept))) << c.behaviour;
    }
}

struct OpenDialogCase {
    const char* behaviour;
    Command open;
    std::function<void(MainWindow&)> edit;
    int field;
};

// A set-up dialog opened after an edit shows the state from before it once the edit is undone
// (with the plot mode its opening set), so that its next press does not write the edit back.
TEST(Undo, OpenSetupDialogsShowTheRestoredState) {
    const OpenDialogCase cases[] = {
        {"parametric", Command::ParametricSetup, [](MainWindow&) { plotSettings.parametricX = "cos(t)"; }, 40090},
        {"implicit", Command::Implicit, [](MainWindow&) { plotSettings.implicitLeft[0] = "x^2"; }, 40136},
        {"inequalities", Command::Inequalities, [](MainWindow&) { plotSettings.inequalityLeft[0] = "y"; }, 40129},
        {"memo", Command::Memo, [](MainWindow&) { plotSettings.memoText = "a note"; }, 40303},
        {"variables_row_of_a_variable_gone", Command::VariablesSetup,
         [](MainWindow& w) { typeConsoleLine(w, "a=3"); }, 40021},
    };
    for (const OpenDialogCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        c.edit(*window);
        window->changeTracker()->check();
        window->runCommand(c.open);
        while (window->undoHistory()->canUndo())
            window->runCommand(Command::Undo);
        const auto dialogs = window->findChildren<QDialog*>();
        const auto shown = std::find_if(dialogs.begin(), dialogs.end(),
                                        [&](const QDialog* d) { return findDialogControl(d, c.field) != nullptr; });
        ASSERT_NE(shown, dialogs.end()) << c.behaviour;
        EXPECT_EQ(fieldText(*shown, c.field), "") << c.behaviour;
    }
}

struct KeyCase {
    const char* behaviour;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> keys;
    double a; // the value of a afterwards; 2 is where each row starts
    bool inConsole = false;
};

TEST(Undo, KeysAndMnemonicsReachUndoAndRedoButNotInsideTheConsole) {
    const KeyCase cases[] = {
        {"ctrl_z_undoes", {{Qt::Key_Z, Qt::ControlModifier}}, 1},
        {"ctrl_shift_z_redoes", {{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier}}, 3},
        {"ctrl_y_redoes", {{Qt::Key_Y, Qt::ControlModifier}}, 3},
        {"alt_e_then_u_undoes", {{Qt::Key_E, Qt::AltModifier}, {Qt::Key_U, {}}}, 1},
        {"alt_e_then_r_redoes", {{Qt::Key_E, Qt::AltModifier}, {Qt::Key_R, {}}}, 3},
        {"ctrl_z_in_the_console_undoes_its_typing", {{Qt::Key_Z, Qt::ControlModifier}}, 2, true},
    };
    for (const KeyCase& c : cases) {
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        for (double value : {1.0, 2.0, 3.0}) {
            setVariableValue(findOrCreateVariable("a"), value);
            window->changeTracker()->check();
        }
        window->runCommand(Command::Undo);
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        window->graphArea()->setFocus();
        // Keys typed in the console reach its field, whichever window is active.
        QWidget* target = window.get();
        if (c.inConsole) {
            window->runCommand(Command::Console);
            target = window->console()->consoleEdit();
            QTest::keyClicks(target, QStringLiteral("12"));
        }
        for (const auto& [key, modifiers] : c.keys) {
            if (c.inConsole) {
                QTest::keyClick(target, key, modifiers);
            } else {
                pressKey(target, key, modifiers);
            }
        }
        EXPECT_EQ(findOrCreateVariable("a")->value, c.a) << c.behaviour;
        if (c.inConsole) {
            EXPECT_FALSE(window->console()->consoleEdit()->toPlainText().contains(QStringLiteral("12")))
                << c.behaviour;
        }
    }
}

} // namespace
