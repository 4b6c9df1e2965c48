// MEMODLG: the document's free-text notes.
#pragma once

class QDialog;
class QWidget;

// The field shows memoText; OK keeps its first 2047 characters as memoText and closes.
QDialog* createMemoDialog(QWidget* owner);
// Modeless and caption-less, and not movable; a second opening gives a second window.
QDialog* openMemoDialog(QWidget* owner);
