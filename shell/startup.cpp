#include "shell/startup.h"

#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "shell/info_box.h"

#include <QtGlobal>
#include <algorithm>
#include <clocale>
#include <iterator>

void initialiseProgram() {
    // Qt adopts the user's locale when the application starts; numbers are always read and written
    // with a decimal point (console, dialogs, axis labels), so number conversions use the "C" rules.
    std::setlocale(LC_NUMERIC, "C");
    // The icons live in this static library, whose resource registration the linker would drop.
    Q_INIT_RESOURCE(tarvelion);
    loadReadoutIcons();
    std::fill(std::begin(answerText), std::end(answerText), '\0');
    initSymbolStore();
    std::fill(std::begin(displayFlags), std::end(displayFlags), 0);
}
