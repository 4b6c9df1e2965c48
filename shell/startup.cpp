#include "shell/startup.h"

#include "expr/command_interpreter.h"
#include "expr/symbol_store.h"
#include "shell/info_box.h"

#include <QtGlobal>
#include <algorithm>
#include <iterator>

void initialiseProgram() {
    // The icons live in this static library, whose resource registration the linker would drop.
    Q_INIT_RESOURCE(tarvelion);
    loadReadoutIcons();
    std::fill(std::begin(answerText), std::end(answerText), '\0');
    initSymbolStore();
    std::fill(std::begin(displayFlags), std::end(displayFlags), 0);
}
