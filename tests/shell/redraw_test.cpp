// What the window shows after a change: the picture a fresh repaint of the state draws, with
// the layers drawn on request still over it.
#include "expr/command_interpreter.h"
#include "graph/curves.h"
#include "graph/view_model.h"
#include "shell/graph_area.h"
#include "dialog_test_support.h"
#include "shell_test_support.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void expectLimits(const ViewLimits& expected) {
    EXPECT_DOUBLE_EQ(viewLimits.xMin, expected.xMin);
    EXPECT_DOUBLE_EQ(viewLimits.xMax, expected.xMax);
    EXPECT_DOUBLE_EQ(viewLimits.yMin, expected.yMin);
    EXPECT_DOUBLE_EQ(viewLimits.yMax, expected.yMax);
}

int curvePixels(const MainWindow& window) {
    return countPixels(window.graphArea()->image(), rowColour(0));
}

// Restoring, maximising and dragging the frame keep the view and redraw the curves at the new
// size; only the window's first size change sets the factory view.
TEST(Redraws, SizeChangeKeepsTheViewAndTheCurves) {
    setViewLimits({0, 1, 0, 1});
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    expectLimits(factoryLimits);
    defineFunctionFromText("f(x)=x");
    displayFlags[0] = 1;
    const ViewLimits zoomed{-2, 3, -1, 4};
    setViewLimits(zoomed);
    struct Row {
        const char* name;
        QSize size;
    } const rows[] = {
        {"grown", {620, 540}},
        {"shrunk", {300, 200}},
        {"taller only", {300, 450}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->graphArea()->setFixedSize(row.size);
        QCoreApplication::processEvents();
        window->graphArea()->repaint();
        expectLimits(zoomed);
        EXPECT_EQ(window->graphArea()->image().size(), row.size);
        EXPECT_GT(curvePixels(*window), row.size.width() / 2);
    }
}

} // namespace
