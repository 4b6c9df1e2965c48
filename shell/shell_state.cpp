#include "shell/shell_state.h"

#include "shell/parametric_dialog.h"
#include "shell/redraws.h"
#include "shell/vary_dialog.h"

void resetShellState() {
    varyStepCount = 0;
    parametricStepCount = 0;
    resetScene();
}
