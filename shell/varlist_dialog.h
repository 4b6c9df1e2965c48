// VARLIST: up to five variables, newest first, to edit and to nudge by ten per cent.
#pragma once

class QDialog;
class QWidget;

QDialog* createVarListDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window.
QDialog* openVarListDialog(QWidget* owner);
