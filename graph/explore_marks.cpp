#include "graph/explore_marks.h"

#include "graph/function_rows.h"
#include "graph/number_text.h"
#include "graph/picture_log.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int crossArm = 4;

// What a mark depends on: the view and every function row with its tick. The size of the target
// does not count, so an export at another size shows the marks too.
struct Scene {
    ViewLimits limits{};
    std::string functions;

    bool operator==(const Scene& other) const {
        return limits.xMin == other.limits.xMin && limits.xMax == other.limits.xMax &&
               limits.yMin == other.limits.yMin && limits.yMax == other.limits.yMax &&
               functions == other.functions;
    }
};

Scene currentScene() {
    Scene scene{viewLimits, {}};
    forEachFunctionRow([&](const FunctionEntry& entry, int row) {
        scene.functions += functionText(entry, definitionSeparator);
        scene.functions += displayFlags[row] != 0 ? "\n1" : "\n0";
    });
    return scene;
}

std::vector<ExploreMark> marks;
std::optional<AreaShading> shading;
Scene markedScene;

// Marks left on another scene go before a new one joins them.
void enterCurrentScene() {
    const Scene scene = currentScene();
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
    addToPicture(drawExploreMarks);
    Surface surface;
    if (shading) shadeArea(surface, *shading);
    surface.setBackgroundMode(BackgroundMode::Transparent);
    for (const ExploreMark& mark : marks) {
        const int column = screenX(mark.x);
        const int row = screenY(mark.y);
        surface.setPen(mark.colour);
        surface.moveTo(column - crossArm, row - crossArm);
        surface.lineTo(column + crossArm + 1, row + crossArm + 1);
        surface.moveTo(column - crossArm, row + crossArm);
        surface.lineTo(column + crossArm + 1, row - crossArm - 1);
        surface.setTextColour(mark.colour);
        surface.textOut(column + 2 * crossArm, row + 2,
                        formatNumber("x = %lf", mark.x) + ", " + formatNumber("y = %lf", mark.y));
    }
}
