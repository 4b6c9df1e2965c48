// POLAR: which function rows are drawn in polar co-ordinates, and the angle variable's name.
#pragma once

class QDialog;
class QWidget;

// The angle field always starts with "t". OK stores it as angleVariable, closes and draws the
// polar graphs over the current picture.
QDialog* createPolarDialog(QWidget* owner);
void runPolarDialog(QWidget* owner);
