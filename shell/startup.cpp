#include "shell/startup.h"

#include "expr/expression_state.h"
#include "graph/graph_state.h"
#include "shell/info_box.h"
#include "shell/shell_state.h"

#include <QtGlobal>
#include <clocale>

void initialiseProgram() {
    // Qt adopts the user's locale when the application starts; numbers are always read and written
    // with a decimal point (console, dialogs, axis labels), so number conversions use the "C" rules.
    std::setlocale(LC_NUMERIC, "C");
    // The icons live in this static library, whose resource registration the linker would drop.
    Q_INIT_RESOURCE(tarvelion);
    loadReadoutIcons();
    resetExpressionState();
    resetGraphState();
    resetShellState();
}
