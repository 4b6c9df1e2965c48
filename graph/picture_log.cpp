#include "graph/picture_log.h"

#include <vector>

namespace {

std::vector<std::function<void()>> steps;
bool redrawing = false;

} // namespace

void startPicture(std::function<void()> first) {
    if (redrawing) return;
    steps.clear();
    steps.push_back(std::move(first));
}

void addToPicture(std::function<void()> step) {
    if (!redrawing && steps.size() < maxPictureSteps) steps.push_back(std::move(step));
}

void forgetPicture() {
    steps.clear();
}

// A copy of the steps, so that a step may start a new picture without pulling the list away.
void redrawPicture() {
    const std::vector<std::function<void()>> replay = steps;
    redrawing = true;
    for (const std::function<void()>& step : replay)
        step();
    redrawing = false;
}
