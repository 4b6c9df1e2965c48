// Help > "Help" and Help > "About".
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Where the help page is looked for, in order: docs/tvhelp.htm below the current directory,
// then beside the program, then where the installation puts it.
QStringList helpPageCandidates();
// The first candidate that exists, or an empty text.
QString findHelpPage();

// Opens the help page with the desktop's viewer, in the program's own help window when the
// desktop has none, or says where it was looked for.
void showHelp(QWidget* owner);
void showAbout(QWidget* owner);
