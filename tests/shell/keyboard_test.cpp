// The main window from the keyboard alone: shortcuts, mnemonics and F10 reach their commands.
#include "shell/graph_area.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

struct Key {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

// Takes the help page instead of the desktop, so that no viewer starts.
class QuietViewer : public QObject {
    Q_OBJECT
  public slots:
    void open(const QUrl&) {}
};

// Closes the dialog or prompt that a command opens, so that commands which ask run through.
bool dismissModal(QWidget* modal) {
    auto* dialog = qobject_cast<QDialog*>(modal);
    if (dialog == nullptr) return false;
    dialog->done(QDialog::Rejected);
    return true;
}

struct KeyCase {
    const char* name;
    std::vector<Key> keys;
    Command command;
    bool asks = false; // the command opens a modal prompt or dialog
};

class KeyboardCommand : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyboardCommand, ReachesItsCommand) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->graphArea()->setFocus();
    QuietViewer viewer;
    QDesktopServices::setUrlHandler("file", &viewer, "open");
    QSignalSpy triggered(window->action(GetParam().command), &QAction::triggered);
    std::optional<ModalAnswer> dismiss;
    if (GetParam().asks) dismiss.emplace(dismissModal);
    for (const Key& key : GetParam().keys)
        pressKey(window.get(), key.key, key.modifiers);
    if (GetParam().command == Command::Exit) takeUpTheQuit();
    QDesktopServices::unsetUrlHandler("file");
    EXPECT_EQ(triggered.count(), 1);
}

const KeyCase keyCases[] = {
    {"CtrlNNew", {{Qt::Key_N, Qt::ControlModifier}}, Command::New},
    {"CtrlOOpen", {{Qt::Key_O, Qt::ControlModifier}}, Command::Open, true},
    {"CtrlSSave", {{Qt::Key_S, Qt::ControlModifier}}, Command::Save, true},
    {"CtrlShiftSSaveAs", {{Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier}}, Command::SaveAs, true},
    {"CtrlQExit", {{Qt::Key_Q, Qt::ControlModifier}}, Command::Exit},
    {"F1Help", {{Qt::Key_F1}}, Command::Help},
    {"F2Console", {{Qt::Key_F2}}, Command::Console},
    {"CtrlPlusZoomIn", {{Qt::Key_Plus, Qt::ControlModifier}}, Command::ZoomIn},
    {"CtrlEqualsZoomIn", {{Qt::Key_Equal, Qt::ControlModifier}}, Command::ZoomIn},
    {"CtrlMinusZoomOut", {{Qt::Key_Minus, Qt::ControlModifier}}, Command::ZoomOut},
    {"LeftArrowPansLeft", {{Qt::Key_Left}}, Command::Left},
    {"RightArrowPansRight", {{Qt::Key_Right}}, Command::Right},
    {"UpArrowPansUp", {{Qt::Key_Up}}, Command::Up},
    {"DownArrowPansDown", {{Qt::Key_Down}}, Command::Down},
    {"AltGThenOZoomsOut", {{Qt::Key_G, Qt::AltModifier}, {Qt::Key_O}}, Command::ZoomOut},
    {"AltGThenSSetsLimits", {{Qt::Key_G, Qt::AltModifier}, {Qt::Key_S}}, Command::SetLimits, true},
    {"AltUThenEEdits", {{Qt::Key_U, Qt::AltModifier}, {Qt::Key_E}}, Command::EditFunctions, true},
    {"AltPThenUSetsUpParametric", {{Qt::Key_P, Qt::AltModifier}, {Qt::Key_U}}, Command::ParametricSetup},
    {"AltOPolar", {{Qt::Key_O, Qt::AltModifier}}, Command::Polar, true},
    {"AltNInequalities", {{Qt::Key_N, Qt::AltModifier}}, Command::Inequalities},
    {"AltHThenAAbout", {{Qt::Key_H, Qt::AltModifier}, {Qt::Key_A}}, Command::About, true},
    {"F10ThenXExits", {{Qt::Key_F10}, {Qt::Key_X}}, Command::Exit},
    {"AltAloneThenFThenNNew", {{Qt::Key_Alt}, {Qt::Key_F}, {Qt::Key_N}}, Command::New},
};

INSTANTIATE_TEST_SUITE_P(Keyboard, KeyboardCommand, ::testing::ValuesIn(keyCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

#include "keyboard_test.moc"
