// What the graph area shows: the plotter runs since the graph was last cleared, kept so that the
// same picture can be drawn again through the same plotters onto another target (a larger image,
// an SVG drawing, a printer page).
#pragma once

#include <cstddef>
#include <functional>

// clearGraph starts a new picture with itself; every other plotter run adds itself. Nothing is
// recorded while the picture is being drawn again, and at most maxPictureSteps steps are kept.
void startPicture(std::function<void()> first);
void addToPicture(std::function<void()> step);
// Runs the recorded steps in order on whatever the surfaces draw on now.
void redrawPicture();
// Drops the recorded steps, so that nothing of an earlier picture can be drawn again.
void forgetPicture();

inline constexpr std::size_t maxPictureSteps = 1024;
