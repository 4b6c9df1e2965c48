// The Area dialog: bounds a and b (any expressions) and one of the shown explicit curves. OK
// shades the region between that curve and the x axis over [a, b] and shows its signed area on
// the graph; a refusal (bad bounds, no value, a pole, no convergence) is told in a message box and
// the dialog stays open for another try.
#pragma once

class QDialog;
class QWidget;

// Starts with `row` chosen when it is a ticked row, else the first ticked row; the bounds start as
// the visible x-range.
QDialog* createAreaDialog(QWidget* owner, int row);
// Modal. With no ticked row there is nothing to choose, which a message box says instead.
void runAreaDialog(QWidget* owner, int row);
