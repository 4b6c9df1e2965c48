// The main menu and the popup menu POPMENU, built from one table of entries.
#pragma once

#include "shell/command_ids.h"

#include <QHash>
#include <QList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

struct Menus {
    QMenu* popup = nullptr;           // the first (and only) submenu of POPMENU
    QHash<Command, QAction*> actions; // every entry of both menus, by command id
    // Entries whose keys work only while the graph area has the focus: the owner adds them to
    // the graph area.
    QList<QAction*> graphAreaKeys;
};

// Fills the menu bar and builds the popup menu (owned by parent). Every entry has a mnemonic,
// the usual ones a shortcut shown beside them. Choosing an entry calls
// dispatch with its id. Entries that carry a check mark keep it until a command sets it:
// choosing one does not toggle it by itself.
Menus buildMenus(QMenuBar* bar, QWidget* parent, const std::function<void(Command)>& dispatch);
