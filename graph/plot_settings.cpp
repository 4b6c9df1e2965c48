#include "graph/plot_settings.h"

std::string_view polarAngleName() {
    const std::string_view name = plotSettings.angleVariable.view();
    return name.empty() ? "t" : name;
}

bool isSweptVariable(std::string_view name) {
    return name == "x" || name == "y" || name == polarAngleName() ||
           name == plotSettings.parameterName.view();
}
