// Enter and Escape in every kind of dialog: which button each key presses, if any. And a
// minimised dialog, which would take its owner along, comes back with it.
#include "dialog_test_support.h"

#include "shell/area_dialog.h"
#include "shell/command_dialog.h"
#include "shell/deffunc_dialog.h"
#include "shell/dialog_template.h"
#include "shell/editlist_dialog.h"
#include "shell/funlist_dialog.h"
#include "shell/graphexp_dialog.h"
#include "shell/inequal_dialog.h"
#include "shell/intrinsic_dialog.h"
#include "shell/memo_dialog.h"
#include "shell/parametric_dialog.h"
#include "shell/polar_dialog.h"
#include "shell/setlimits_dialog.h"
#include "shell/varlist_dialog.h"
#include "shell/vary_dialog.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <map>
#include <memory>

namespace {

constexpr int okId = 40200;
constexpr int closeId = 40200;
constexpr int cancelId = 40002;
constexpr int none = noControlId;

QDialog* createConsole(QWidget* owner) {
    return new CommandDialog(owner);
}

QDialog* createAreaDialogOfFirstRow(QWidget* owner) {
    return createAreaDialog(owner, 0);
}

struct KeyRow {
    const char* name;
    QDialog* (*create)(QWidget*);
    Qt::Key key;
    int pressed; // the button the key presses, or none
};

class DialogKey : public DialogTest, public ::testing::WithParamInterface<KeyRow> {};

// The key is pressed in the dialog's first field, where a user types before pressing it.
TEST_P(DialogKey, PressesItsButton) {
    QDialog* dialog = GetParam().create(owner.get());
    dialog->show();
    std::map<int, std::unique_ptr<QSignalSpy>> clicks;
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        const int id = button->objectName().mid(2).toInt();
        clicks[id] = std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked);
    }
    QWidget* target = dialog->findChild<QLineEdit*>();
    if (target == nullptr) target = dialog->findChild<QPlainTextEdit*>();
    if (target == nullptr) target = dialog;
    target->setFocus();
    QTest::keyClick(target, GetParam().key);
    for (const auto& [id, spy] : clicks)
        EXPECT_EQ(spy->count(), id == GetParam().pressed ? 1 : 0) << "button " << id;
}

const KeyRow keyRows[] = {
    {"DefineEnterIsOk", createDefFuncDialog, Qt::Key_Return, okId},
    {"DefineEscapeIsCancel", createDefFuncDialog, Qt::Key_Escape, cancelId},
    {"EditListEnterIsOk", createEditListDialog, Qt::Key_Return, okId},
    {"EditListEscapeDoesNothing", createEditListDialog, Qt::Key_Escape, none},
    {"SelectGraphEnterIsOk", createFunListDialog, Qt::Key_Enter, okId},
    {"SelectGraphEscapeDoesNothing", createFunListDialog, Qt::Key_Escape, none},
    {"GraphExpressionEnterIsOk", createGraphExpDialog, Qt::Key_Return, okId},
    {"GraphExpressionEscapeDoesNothing", createGraphExpDialog, Qt::Key_Escape, none},
    {"SetLimitsEnterIsOk", createSetLimitsDialog, Qt::Key_Return, okId},
    {"SetLimitsEscapeDoesNothing", createSetLimitsDialog, Qt::Key_Escape, none},
    {"PolarEnterIsOk", createPolarDialog, Qt::Key_Return, okId},
    {"PolarEscapeDoesNothing", createPolarDialog, Qt::Key_Escape, none},
    {"VaryEnterIsOk", createVaryDialog, Qt::Key_Return, okId},
    {"VaryEscapeDoesNothing", createVaryDialog, Qt::Key_Escape, none},
    {"VariablesEnterIsReplot", createVarListDialog, Qt::Key_Return, 40116},
    {"VariablesEscapeIsClose", createVarListDialog, Qt::Key_Escape, closeId},
    {"ParametricEnterIsPlot", createParametricDialog, Qt::Key_Return, 40104},
    {"ParametricEscapeIsClose", createParametricDialog, Qt::Key_Escape, closeId},
    {"ImplicitEnterIsPlot", createIntrinsicDialog, Qt::Key_Return, relationPlotId},
    {"ImplicitEscapeIsClose", createIntrinsicDialog, Qt::Key_Escape, relationCloseId},
    {"InequalitiesEnterIsPlot", createInequalDialog, Qt::Key_Return, relationPlotId},
    {"InequalitiesEscapeIsClose", createInequalDialog, Qt::Key_Escape, relationCloseId},
    {"MemoEnterStartsANewLine", createMemoDialog, Qt::Key_Return, none},
    {"MemoEscapeDoesNothing", createMemoDialog, Qt::Key_Escape, none},
    {"AreaEnterIsOk", createAreaDialogOfFirstRow, Qt::Key_Return, okId},
    {"AreaEscapeIsCancel", createAreaDialogOfFirstRow, Qt::Key_Escape, cancelId},
    {"ConsoleEnterRunsTheLine", createConsole, Qt::Key_Return, none},
    {"ConsoleEscapeIsClose", createConsole, Qt::Key_Escape, closeId},
};

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogKey, ::testing::ValuesIn(keyRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A button that has the focus is pressed by Enter, as the user sees it highlighted.
TEST_F(DialogTest, EnterPressesTheFocusedButton) {
    QDialog* dialog = createDefFuncDialog(owner.get());
    dialog->show();
    auto* cancel = dialogControl<QAbstractButton>(dialog, cancelId);
    QSignalSpy clicked(cancel, &QAbstractButton::clicked);
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(clicked.count(), 1);
}

// As a window manager minimises a modal dialog together with its owner.
TEST_F(DialogTest, MinimisedDialogComesBackWithItsOwner) {
    owner->show();
    QDialog* dialog = createPolarDialog(owner.get());
    dialog->show();
    owner->showMinimized();
    dialog->showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isMinimized() && !owner->isMinimized(); }));
    EXPECT_TRUE(dialog->isVisible());
}

} // namespace
