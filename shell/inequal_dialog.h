// INEQUAL: up to three inequalities left side > right side, whose common region is shaded.
#pragma once

class QDialog;
class QWidget;

// Opening sets the plot mode to Inequalities at once. "Plot" stores the six texts and paints the
// region over the current picture, "Close" stores them and closes.
QDialog* createInequalDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window.
QDialog* openInequalDialog(QWidget* owner);
