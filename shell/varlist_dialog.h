// VARLIST: up to five variables, newest first, to edit and to nudge by ten per cent.
#pragma once

class QDialog;
class QWidget;

// The curves every repaint draws over the axes: the ticked explicit graphs, the polar graphs and,
// when it is shown, the parametric curve.
void plotShownCurves();

QDialog* createVarListDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window.
QDialog* openVarListDialog(QWidget* owner);
