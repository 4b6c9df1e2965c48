#include "graph/explore_marks.h"

#include "expr/symbol_store.h"
#include "graph/curves.h"
#include "graph/function_rows.h"
#include "graph/number_text.h"
#include "graph/picture_state.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <array>
#include <bit>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int crossArm = 4;

MarkScene currentScene() {
    MarkScene scene{viewLimits, {}};
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        scene.functions += functionText(entry, definitionSeparator);
        scene.functions += displayFlags[row] != 0 ? "\n1" : "\n0";
    });
    for (const auto& variable : symbolStore.variables) {
        if (isSweptVariable(variable->name)) continue;
        // The value's bits, so a NaN compares equal to itself.
        const auto bits = std::bit_cast<std::array<char, sizeof(double)>>(variable->value);
        scene.functions += '\n' + variable->name + '=';
        scene.functions.append(bits.data(), bits.size());
    }
    return scene;
}

std::vector<ExploreMark>& marks = pictureState.marks;
std::optional<AreaShading>& shading = pictureState.shading;
MarkScene& markedScene = pictureState.markedScene;

// Marks left on another scene go before a new one joins them.
void enterCurrentScene() {
    const MarkScene scene = currentScene();
    if (!(scene == markedScene)) clearExploreMarks();
    markedScene = scene;
}

} // namespace

void addExploreMark(const ExploreMark& mark) {
    enterCurrentScene();
    marks.push_back(mark);
}

void setAreaShading(AreaShading area) {
    enterCurrentScene();
    shading = std::move(area);
}

void clearExploreMarks() {
    marks.clear();
    shading.reset();
}

void drawExploreMarks() {
    if (marks.empty() && !shading) return;
    if (!(currentScene() == markedScene)) return clearExploreMarks();
    Surface surface;
    if (shading) shadeArea(surface, *shading);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    // The cross and its readout keep their size on the screen at every device-pixel ratio.
    const int arm = toDevice(crossArm);
    for (const ExploreMark& mark : marks) {
        const int column = screenX(mark.x);
        const int row = screenY(mark.y);
        surface.setPen(mark.colour);
        surface.moveTo(column - arm, row - arm);
        surface.lineTo(column + arm + 1, row + arm + 1);
        surface.moveTo(column - arm, row + arm);
        surface.lineTo(column + arm + 1, row - arm - 1);
        // The curve's own colour can be too dark to read on the dark ground (the first row's).
        surface.setTextColour(readoutColour(mark.colour));
        surface.readoutOut(column + 2 * arm, row + toDevice(2),
                           formatNumber("x = %lf", mark.x) + ", " + formatNumber("y = %lf", mark.y), false);
    }
}
