// What the window shows after a change: the picture a fresh repaint of the state draws, with
// the layers drawn on request still over it.
#include "dialog_test_support.h"
#include "expr/command_interpreter.h"
#include "graph/curves.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"
#include "shell/inequal_dialog.h"
#include "shell/intrinsic_dialog.h"
#include "shell/parametric_dialog.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>

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

using Action = std::function<void(MainWindow&)>;

// Works the next modal dialog, once it is open.
void inNextModal(const std::function<void(QWidget*)>& work) {
    QTimer::singleShot(0, [work] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) return inNextModal(work);
        work(modal);
    });
}

Action throughModal(Command command, const std::function<void(QWidget*)>& work) {
    return [command, work](MainWindow& w) {
        inNextModal(work);
        w.runCommand(command);
    };
}

Action consoleLine(const char* line) {
    return [line](MainWindow& w) { typeConsoleLine(w, line); };
}

// What the window shows, once the input has been handled.
QImage shownPicture(MainWindow& window) {
    QCoreApplication::processEvents();
    return window.graphArea()->image().copy();
}

// A repaint of the state as it stands, with the layers still alive.
QImage repaintedPicture(MainWindow& window) {
    window.graphArea()->requestRepaint();
    window.graphArea()->repaint();
    return window.graphArea()->image().copy();
}

void showParametricLine() {
    plotSettings.parametricX = "t";
    plotSettings.parametricY = "a*t";
    plotSettings.parameterName = "t";
    plotSettings.parameterFrom = "0";
    plotSettings.parameterTo = "2";
}

// Each change of what the repaint draws shows at once: the picture differs from the one before
// and is the picture a repaint draws; Copy picture gives the same picture.
TEST(Redraws, EveryChangeOfTheStateShowsAtOnce) {
    struct Row {
        const char* name;
        Action setUp;
        Action change;
    } const rows[] = {
        {"define redefines f", nullptr,
         throughModal(Command::DefineFunction,
                      [](QWidget* d) {
                          typeInto(d, 40010, "f(x)=2*x");
                          clickControl(d, 40200);
                      })},
        {"edit deletes f", nullptr,
         throughModal(Command::EditFunctions,
                      [](QWidget* d) {
                          clickControl(d, 40220);
                          clickControl(d, 40200);
                      })},
        {"select graph unticks f", nullptr,
         throughModal(Command::SelectGraph,
                      [](QWidget* d) {
                          clickControl(d, 40020);
                          clickControl(d, 40200);
                      })},
        {"console redefines f", nullptr, consoleLine(":defn f(x)=3*x")},
        {"console assigns a variable f reads", nullptr, consoleLine("a=2")},
        {"polar flag ticked", nullptr,
         throughModal(Command::Polar,
                      [](QWidget* d) {
                          clickControl(d, 40060);
                          clickControl(d, 40200);
                      })},
        {"show parametric switched off",
         [](MainWindow& w) {
             showParametricLine();
             w.runCommand(Command::ShowParametric);
         },
         [](MainWindow& w) { w.runCommand(Command::ShowParametric); }},
        {"undo of the definition", nullptr, [](MainWindow& w) { w.runCommand(Command::Undo); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        typeConsoleLine(*window, "a=1");
        typeConsoleLine(*window, ":defn f(x)=a*x");
        if (row.setUp) row.setUp(*window);
        const QImage before = shownPicture(*window);
        row.change(*window);
        const QImage shown = shownPicture(*window);
        EXPECT_NE(shown, before);
        window->runCommand(Command::CopyPicture);
        EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(shown.format()), shown);
        EXPECT_EQ(repaintedPicture(*window), shown);
    }
}

QDialog* plottedRelation(MainWindow& w, QDialog* (*create)(QWidget*)) {
    QDialog* dialog = create(&w);
    clickControl(dialog, relationPlotId);
    return dialog;
}

// The layers drawn on request stay over repaints that changes or the window system ask for,
// drawn again from the state, and go with a view change or a Clear.
TEST(Redraws, LayersLiveUntilTheViewChangesOrTheGraphIsCleared) {
    struct Layer {
        const char* name;
        Action draw;
        QRect area; // holds pixels of its colour
        QRgb colour;
    } const layers[] = {
        {"implicit curve",
         [](MainWindow& w) {
             plotSettings.implicitLeft[0] = "x^2+y^2";
             plotSettings.implicitRight[0] = "4";
             plottedRelation(w, createIntrinsicDialog);
         },
         {317, 176, 7, 7},
         qRgb(100, 100, 255)},
        {"inequality region",
         [](MainWindow& w) {
             plotSettings.inequalityLeft[0] = "y";
             plotSettings.inequalityRight[0] = "3";
             plottedRelation(w, createInequalDialog);
         },
         {120, 40, 1, 1},
         qRgb(0, 0, 255)},
        {"graphed expression",
         throughModal(Command::GraphExpression,
                      [](QWidget* d) {
                          typeInto(d, 40003, "-4");
                          clickControl(d, 40200);
                      }),
         {100, 450, 1, 1},
         graphExpressionColour},
        {"parameter mark",
         [](MainWindow& w) {
             showParametricLine();
             QDialog* dialog = createParametricDialog(&w);
             dialog->show();
             auto* slider = dialogControl<QScrollBar>(dialog, 40103);
             slider->setSliderPosition(500);
             slider->triggerAction(QAbstractSlider::SliderMove);
         },
         {300, 197, 1, 1},
         qRgb(255, 0, 0)},
    };
    struct Repaint {
        const char* name;
        Action run;
        bool layerLives;
    } const repaints[] = {
        {"a row ticked", consoleLine(":defn g(x)=x-1"), true},
        {"window-system repaint", [](MainWindow& w) { repaintedPicture(w); }, true},
        {"view change", [](MainWindow& w) { w.runCommand(Command::ZoomIn); }, false},
        {"graph cleared", [](MainWindow& w) { w.runCommand(Command::Clear); }, false},
        {"replot", [](MainWindow& w) { w.runCommand(Command::Replot); }, false},
    };
    for (const Layer& layer : layers) {
        for (const Repaint& repaint : repaints) {
            SCOPED_TRACE(std::string(layer.name) + ", " + repaint.name);
            auto window = makeShownWindow();
            ASSERT_TRUE(window);
            typeConsoleLine(*window, "a=1");
            layer.draw(*window);
            ASSERT_GT(countPixels(shownPicture(*window).copy(layer.area), layer.colour), 0);
            repaint.run(*window);
            const QImage shown = shownPicture(*window);
            EXPECT_EQ(countPixels(shown.copy(layer.area), layer.colour) > 0, repaint.layerLives);
            EXPECT_EQ(repaintedPicture(*window), shown);
        }
    }
}

} // namespace
