// VARY: sweeps one variable between two bounds with a slider, redrawing after every movement.
// Also the slider step counting that PARAMETRIC shares.
#pragma once

#include <functional>

class QDialog;
class QScrollBar;
class QWidget;

// How one scroll-bar action (QAbstractSlider::SliderAction) changes a kept step count: an arrow or
// a trough click counts one down or up, also beyond the bar's range; moving the thumb (dragging,
// the wheel, "Scroll here") sets the count to the thumb's position; any other action keeps it.
int changedStepCount(int count, int action, int thumbPosition);

// On every action of the bar: change `count` as above, put the thumb at the count (as far as the
// range allows), then call `moved`.
void bindStepSlider(QScrollBar* bar, int& count, const std::function<void()>& moved);

// The step count of every VARY window, kept for the whole run of the program.
extern int& varyStepCount; // part of the shell state (shell/shell_state.h)

QDialog* createVaryDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window sharing the step count.
QDialog* openVaryDialog(QWidget* owner);
