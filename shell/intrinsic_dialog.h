// INTRINSIC: one or two implicitly defined curves, each left side = right side. Also the pattern
// that INEQUAL shares: pairs of side fields with "Plot", "Clear" and "Close".
#pragma once

#include "graph/plot_settings.h"
#include "shell/redraws.h"

#include <QSize>

#include <span>

class QDialog;
class QWidget;
struct DialogTemplate;

// The buttons of both dialogs carry these ids.
inline constexpr int relationPlotId = 40116;
inline constexpr int relationClearId = 40135;
inline constexpr int relationCloseId = 40200;

struct RelationSetup {
    const DialogTemplate& layout;
    QSize pixels; // the window's size, kept while it is pulled around
    std::span<const int> leftIds;
    std::span<const int> rightIds;
    std::span<SideText> left;
    std::span<SideText> right;
    PlotMode mode;
    Trigger plotted; // what "Plot" redraws
};

// Fills the side fields from the plot settings and sets the plot mode at once. "Plot" stores the
// texts and draws them over the picture, "Clear" clears the graph area, "Close" stores the
// texts and closes.
QDialog* createRelationDialog(QWidget* owner, const RelationSetup& setup);

QDialog* createIntrinsicDialog(QWidget* owner);
// Modeless and caption-less; a second opening gives a second window.
QDialog* openIntrinsicDialog(QWidget* owner);
