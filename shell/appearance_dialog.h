// Settings > "Appearance..": theme, grid, palette, curve width, axis numbers and scale of the
// picture. Each choice applies at once (changed() asks for the repaint) and is kept as the
// user's preference.
#pragma once

#include <functional>

class QDialog;
class QWidget;

QDialog* createAppearanceDialog(QWidget* owner, std::function<void()> changed);
void runAppearanceDialog(QWidget* owner, std::function<void()> changed);
