// EDITLIST: the user functions with an Edit and a Delete button each.
#pragma once

class QDialog;
class QWidget;

// Edit on a row opens DEFFUNC with the row's text and shows what it leaves in definitionText.
// Delete unlinks the row's function by name and empties the row; the other rows keep their texts
// and the display and polar flags are not shifted. OK closes and redraws.
QDialog* createEditListDialog(QWidget* owner);
void runEditListDialog(QWidget* owner);
