#include "shell/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace {

enum class MenuName { Main, Popup };
enum class EntryKind { Submenu, Item, Separator, End };
// Where an entry's shortcut works: anywhere in the main window, or only while the graph area has
// the focus (plain keys such as the arrows). A plain letter would take the open popup's mnemonic
// of the same letter, so the graph area reads that key itself and the entry only shows it.
enum class KeyScope { Window, GraphArea, GraphAreaLetter };

struct MenuEntry {
    MenuName menu;
    EntryKind kind;
    const char* text = ""; // '&' marks the mnemonic letter; the menus show the text without it
    Command id = {};
    bool checked = false;           // the check mark as the menu resource has it; creation may remove it
    const char* shortcut = nullptr; // shown beside the entry; several are separated by "; "
    KeyScope scope = KeyScope::Window;
};

using enum MenuName;
using enum EntryKind;

// In display order. Submenu ... End brackets a drop-down; an Item at the top level is a
// command on the menu bar itself.
constexpr MenuEntry menuTable[] = {
    {Main, Submenu, "&File"},
    {Main, Item, "&New", Command::New, false, "Ctrl+N"},
    {Main, Item, "&Open..", Command::Open, false, "Ctrl+O"},
    {Main, Item, "&Save", Command::Save, false, "Ctrl+S"},
    {Main, Item, "Save &as..", Command::SaveAs, false, "Ctrl+Shift+S"},
    {Main, Item, "Expor&t picture..", Command::ExportPicture},
    {Main, Item, "&Copy picture", Command::CopyPicture, false, "Ctrl+C", KeyScope::GraphArea},
    {Main, Item, "&Print..", Command::Print, false, "Ctrl+P"},
    {Main, Item, "Print pre&view..", Command::PrintPreview},
    {Main, Item, "E&xit", Command::Exit, false, "Ctrl+Q"},
    {Main, End},
    {Main, Submenu, "&Edit"},
    {Main, Item, "&Undo", Command::Undo, false, "Ctrl+Z"},
    {Main, Item, "&Redo", Command::Redo, false, "Ctrl+Shift+Z; Ctrl+Y"},
    {Main, End},
    {Main, Item, "&Memo", Command::Memo},
    {Main, Item, "&Command", Command::Console, false, "F2"},
    {Main, Submenu, "&Graph"},
    {Main, Item, "&Clear", Command::Clear},
    {Main, Item, "&Replot", Command::Replot},
    {Main, Separator},
    {Main, Item, "Zoom &out", Command::ZoomOut, false, "Ctrl+-"},
    {Main, Item, "Zoom &in", Command::ZoomIn, false, "Ctrl++; Ctrl+="},
    {Main, Item, "Ri&ght", Command::Right, false, "Right", KeyScope::GraphArea},
    {Main, Item, "&Left", Command::Left, false, "Left", KeyScope::GraphArea},
    {Main, Item, "&Up", Command::Up, false, "Up", KeyScope::GraphArea},
    {Main, Item, "&Down", Command::Down, false, "Down", KeyScope::GraphArea},
    {Main, Item, "&Factory settings", Command::FactorySettings},
    {Main, Item, "&Set Limits..", Command::SetLimits},
    {Main, Separator},
    {Main, Item, "Graph &expression..", Command::GraphExpression},
    {Main, End},
    {Main, Submenu, "F&unctions"},
    {Main, Item, "&Define..", Command::DefineFunction},
    {Main, Item, "&Edit..", Command::EditFunctions},
    {Main, Item, "&Select graph..", Command::SelectGraph},
    {Main, Item, "&Area..", Command::Area},
    {Main, End},
    {Main, Submenu, "&Variables"},
    {Main, Item, "&Setup..", Command::VariablesSetup},
    {Main, Item, "&Vary..", Command::Vary},
    {Main, End},
    {Main, Submenu, "&Parametric"},
    {Main, Item, "&Show parametric", Command::ShowParametric, true},
    {Main, Item, "Set&up..", Command::ParametricSetup},
    {Main, End},
    {Main, Item, "P&olar", Command::Polar},
    {Main, Item, "&Implicit", Command::Implicit},
    {Main, Item, "I&nequalities", Command::Inequalities},
    {Main, Submenu, "&Settings"},
    {Main, Item, "&Show info box", Command::ShowInfoBox, true},
    {Main, Item, "&Appearance..", Command::Appearance},
    {Main, End},
    {Main, Submenu, "&Help"},
    {Main, Item, "&Help", Command::Help, false, "F1"},
    {Main, Item, "&About", Command::About},
    {Main, End},

    {Popup, Submenu, "Popup"},
    {Popup, Item, "&Center", Command::PopupCenter},
    {Popup, Item, "Zoom &in", Command::PopupZoomIn},
    {Popup, Item, "Zoom &out", Command::PopupZoomOut},
    {Popup, Item, "&Reset", Command::PopupReset},
    {Popup, Separator},
    {Popup, Item, "&Show chord", Command::ShowChord, true},
    {Popup, Item, "C&hord here", Command::ChordHere},
    {Popup, Item, "&Next function", Command::NextFunction},
    {Popup, Separator},
    {Popup, Item, "Tr&ace", Command::Trace, false, "T", KeyScope::GraphAreaLetter},
    {Popup, Item, "Roo&t here", Command::RootHere},
    {Popup, Item, "Mini&mum here", Command::MinimumHere},
    {Popup, Item, "Ma&ximum here", Command::MaximumHere},
    {Popup, Item, "Int&ersection here", Command::IntersectionHere},
    {Popup, Item, "&Area..", Command::PopupArea},
    {Popup, End},
};

QAction* makeItem(const MenuEntry& entry, QWidget* owner, const std::function<void(Command)>& dispatch) {
    auto* action = new QAction(QString::fromLatin1(entry.text), owner);
    action->setCheckable(entry.checked);
    if (entry.scope == KeyScope::GraphAreaLetter) // the text after a tab is shown as the key
        action->setText(action->text() + QLatin1Char('\t') + QLatin1String(entry.shortcut));
    else if (entry.shortcut != nullptr)
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(entry.shortcut)));
    // A key held while a long plot blocks the window must not run its command again and again.
    action->setAutoRepeat(false);
    if (entry.scope == KeyScope::GraphArea) action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setChecked(entry.checked);
    // Qt flips a checkable entry before reporting it; flip it back so that only the command
    // decides the check mark, as it does for a command that no menu click started.
    QObject::connect(action, &QAction::triggered, owner, [action, id = entry.id, dispatch] {
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        dispatch(id);
    });
    return action;
}

// Builds the entries of one menu under root (a menu bar or a menu) and records every item.
void buildMenu(MenuName which, QWidget* root, QWidget* owner, Menus& menus,
               const std::function<void(Command)>& dispatch) {
    std::vector<QWidget*> open{root};
    for (const MenuEntry& entry : menuTable) {
        if (entry.menu != which) continue;
        switch (entry.kind) {
        case Submenu: {
            auto* menu = new QMenu(QString::fromLatin1(entry.text), owner);
            open.back()->addAction(menu->menuAction());
            open.push_back(menu);
            break;
        }
        case Item: {
            QAction* action = makeItem(entry, owner, dispatch);
            open.back()->addAction(action);
            menus.actions.insert(entry.id, action);
            if (entry.scope == KeyScope::GraphArea) menus.graphAreaKeys.append(action);
            break;
        }
        case Separator: {
            auto* separator = new QAction(owner);
            separator->setSeparator(true);
            open.back()->addAction(separator);
            break;
        }
        case End:
            open.pop_back();
            break;
        }
    }
}

} // namespace

Menus buildMenus(QMenuBar* bar, QWidget* parent, const std::function<void(Command)>& dispatch) {
    Menus menus;
    buildMenu(Main, bar, parent, menus, dispatch);
    QMenu holder;
    buildMenu(Popup, &holder, parent, menus, dispatch);
    menus.popup = holder.actions().first()->menu();
    return menus;
}
