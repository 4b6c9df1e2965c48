// SETLIMITS: the four view limits as numbers.
#pragma once

class QDialog;
class QWidget;

// OK stores the four fields (anything that is not a number counts as 0), closes and clears the
// graph area with the new limits. There is no Cancel.
QDialog* createSetLimitsDialog(QWidget* owner);
void runSetLimitsDialog(QWidget* owner);
