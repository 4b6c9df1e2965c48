#include "shell/shell_state.h"

ShellState shellState;

int& varyStepCount = shellState.varyStepCount;
int& parametricStepCount = shellState.parametricStepCount;

void resetShellState() {
    shellState = ShellState{};
}
