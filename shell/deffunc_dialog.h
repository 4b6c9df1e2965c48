// DEFFUNC: defines (or redefines) a user function from a text such as f(x)=1+x.
#pragma once

class QDialog;
class QWidget;

// The field shows definitionText. OK runs the syntax checks and stays open on a refusal; otherwise
// it defines the function (unless the text is empty), keeps the text as definitionText and closes.
// Cancel closes and changes nothing.
QDialog* createDefFuncDialog(QWidget* owner);
// Modal; returns QDialog::Accepted after OK, QDialog::Rejected after Cancel.
int runDefFuncDialog(QWidget* owner);
