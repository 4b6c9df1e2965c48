// PARAMETRIC: the two coordinate expressions of the parametric curve, its parameter and range, and
// a slider that marks one parameter value on the curve.
#pragma once

class QDialog;
class QWidget;

// The step count of every PARAMETRIC window, kept for the whole run of the program.
extern int& parametricStepCount; // part of the shell state (shell/shell_state.h)

QDialog* createParametricDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window sharing the step count.
QDialog* openParametricDialog(QWidget* owner);
