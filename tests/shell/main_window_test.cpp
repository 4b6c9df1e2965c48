// The main window: start-up state, view commands from menus, popup and wheel, the chord row
// search, the rubber band, toggles, saving and help.
#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "expr/symbol_store.h"
#include "graph/axes.h"
#include "graph/curves.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/command_dialog.h"
#include "shell/commands.h"
#include "shell/graph_area.h"
#include "shell/help.h"
#include "shell/info_box.h"
#include "shell_test_support.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <optional>

namespace {

void expectLimits(double xMin, double xMax, double yMin, double yMax) {
    EXPECT_DOUBLE_EQ(viewLimits.xMin, xMin);
    EXPECT_DOUBLE_EQ(viewLimits.xMax, xMax);
    EXPECT_DOUBLE_EQ(viewLimits.yMin, yMin);
    EXPECT_DOUBLE_EQ(viewLimits.yMax, yMax);
}

TEST(MainWindow, StartsWithInfoBoxShownAndParametricAndChordUnchecked) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->windowTitle().startsWith("Tarvelion Release 1.2"));
    EXPECT_TRUE(window->infoBox()->isVisible());
    EXPECT_TRUE(window->isChecked(Command::ShowInfoBox));
    EXPECT_FALSE(window->isChecked(Command::ShowParametric));
    EXPECT_FALSE(window->isChecked(Command::ShowChord));
    EXPECT_EQ(plotSettings.plotMode, PlotMode::Explicit);
    EXPECT_EQ(graphView.width, graphSize);
    EXPECT_EQ(graphView.height, graphSize);
    expectLimits(-5, 5, -5, 5);
}

// A sum whose length grows tenfold per unit of x: Escape on the progress dialog stops the plot
// where it got to; what was drawn stays, nothing is drawn for the columns it did not reach, and
// the window takes commands again.
TEST(MainWindow, EscapeStopsALongPlotWhereItGot) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    defineFunctionFromText("f(x)=sum(n,1,10^(x+5),1/n)");
    const QRgb curve = rowColour(0) & RGB_MASK;
    const auto curveIn = [&](int fromColumn, int toColumn) {
        const QImage& image = window->graphArea()->image();
        for (int column = fromColumn; column < toColumn; ++column)
            for (int row = 0; row < graphSize; ++row)
                if ((image.pixel(column, row) & RGB_MASK) == curve) return true;
        return false;
    };
    {
        const StopPresser presser;
        window->requestRepaint();
        window->graphArea()->repaint();
        ASSERT_FALSE(presser.shownTasks.isEmpty());
        EXPECT_EQ(presser.shownTasks.front(), QStringLiteral("f(x) = sum(n,1,10^(x+5),1/n)"));
    }
    EXPECT_TRUE(curveIn(0, 100));          // x from -5 to -3: quickly drawn
    EXPECT_FALSE(curveIn(400, graphSize)); // x from 3: out of reach, not drawn at 0
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    defineFunctionFromText("f(x)=x/2");
    window->requestRepaint();
    window->graphArea()->repaint();
    EXPECT_TRUE(curveIn(400, graphSize));
}

// Keys given while a long plot holds the window, before its progress dialog shows, are dropped:
// delivered late, they would type and run a line in the console. An Escape among them stops the
// plot before the dialog shows.
TEST(MainWindow, KeysGivenBeforeTheProgressDialogAreDropped) {
    struct Case {
        const char* name;
        std::vector<std::pair<Qt::Key, const char*>> keys;
        bool dialogShown;
    };
    const Case cases[] = {
        {"a line for the console", {{Qt::Key_Q, "q"}, {Qt::Key_Return, "\r"}}, true},
        {"Escape stops the plot", {{Qt::Key_Escape, "\x1b"}}, false},
    };
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Console);
    QPlainTextEdit* edit = window->console()->consoleEdit();
    const std::string transcript = edit->toPlainText().toStdString();
    defineFunctionFromText("f(x)=sum(n,1,10^(x+5),1/n)");
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        for (const auto& [key, text] : row.keys) {
            QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
            QCoreApplication::postEvent(edit, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
        }
        QStringList shownTasks;
        {
            const StopPresser presser;
            window->requestRepaint();
            window->graphArea()->repaint();
            shownTasks = presser.shownTasks;
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(edit->toPlainText().toStdString(), transcript);
        EXPECT_EQ(!shownTasks.isEmpty(), row.dialogShown);
    }
}

struct WheelCase {
    const char* name;
    int delta;
    double half;
};

class WheelZoom : public ::testing::TestWithParam<WheelCase> {};

TEST_P(WheelZoom, ScalesTheFactoryView) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QWheelEvent turn(QPointF(100, 100), window->graphArea()->mapToGlobal(QPointF(100, 100)), QPoint(),
                     QPoint(0, GetParam().delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(window->graphArea(), &turn);
    const double half = GetParam().half;
    expectLimits(-half, half, -half, half);
}

const WheelCase wheelCases[] = {
    {"TowardsTheUserZoomsIn", -120, 2.5},
    {"AwayFromTheUserZoomsOut", 120, 10},
    {"HorizontalTurnIsIgnored", 0, 5},
};

INSTANTIATE_TEST_SUITE_P(MainWindow, WheelZoom, ::testing::ValuesIn(wheelCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Pointer navigation on the 500 x 500 factory view, where the pixel (300, 150) is the point (1, 2).
TEST(MainWindow, PointerNavigation) {
    struct Press {
        Qt::MouseButton button;
        Qt::KeyboardModifiers modifiers;
    };
    struct Row {
        const char* name;
        std::optional<Press> drag; // from (100, 100) to (150, 50); a Ctrl turn at (300, 150) otherwise
        ViewLimits expected;
    };
    const Row rows[] = {
        {"ctrl_wheel_zooms_about_the_pointer", std::nullopt, {-2, 3, -1.5, 3.5}},
        {"middle_drag_moves_the_picture", Press{Qt::MiddleButton, Qt::NoModifier}, {-6, 4, -6, 4}},
        {"shift_left_drag_moves_the_picture", Press{Qt::LeftButton, Qt::ShiftModifier}, {-6, 4, -6, 4}},
        {"ctrl_left_drag_zooms_to_the_box", Press{Qt::LeftButton, Qt::ControlModifier}, {-3, -2, 3, 4}},
        {"plain_left_drag_keeps_the_view", Press{Qt::LeftButton, Qt::NoModifier}, {-5, 5, -5, 5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        QWidget* area = window->graphArea();
        const auto send = [area](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
                                 Qt::KeyboardModifiers modifiers) {
            QMouseEvent event(type, QPointF(at), area->mapToGlobal(QPointF(at)), button, held, modifiers);
            QCoreApplication::sendEvent(area, &event);
        };
        if (row.drag) {
            const Press& p = *row.drag;
            send(QEvent::MouseButtonPress, {100, 100}, p.button, p.button, p.modifiers);
            send(QEvent::MouseMove, {150, 50}, Qt::NoButton, p.button, p.modifiers);
            send(QEvent::MouseButtonRelease, {150, 50}, p.button, Qt::NoButton, p.modifiers);
        } else {
            QWheelEvent turn(QPointF(300, 150), area->mapToGlobal(QPointF(300, 150)), QPoint(), QPoint(0, -120),
                             Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(area, &turn);
        }
        expectLimits(row.expected.xMin, row.expected.xMax, row.expected.yMin, row.expected.yMax);
    }
}

struct MenuViewCase {
    const char* name;
    Command id;
    ViewLimits expected;
};

class MenuViewCommand : public ::testing::TestWithParam<MenuViewCase> {};

TEST_P(MenuViewCommand, ChangesTheLimitsAndRepaints) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    setViewLimits(factoryLimits);
    window->action(GetParam().id)->trigger();
    const ViewLimits& want = GetParam().expected;
    expectLimits(want.xMin, want.xMax, want.yMin, want.yMax);
}

const MenuViewCase menuViewCases[] = {
    {"LeftShiftsByHalfTheWidth", Command::Left, {-10, 0, -5, 5}},
    {"UpShiftsByHalfTheHeight", Command::Up, {-5, 5, 0, 10}},
    {"ZoomInHalvesAroundTheCentre", Command::ZoomIn, {-2.5, 2.5, -2.5, 2.5}},
};

INSTANTIATE_TEST_SUITE_P(MainWindow, MenuViewCommand, ::testing::ValuesIn(menuViewCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, PopupZoomInCentresOnTheRightClickedPoint) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    const QPoint pixelOfOneTwo(300, 150);
    QTest::mouseClick(window->graphArea(), Qt::RightButton, {}, pixelOfOneTwo);
    QMenu* popup = window->popupMenu();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    QAction* zoomIn = window->action(Command::PopupZoomIn);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(zoomIn).center());
    expectLimits(-1.5, 3.5, -0.5, 4.5);
    EXPECT_EQ(plotSettings.popupPoint.x, 300);
    EXPECT_EQ(plotSettings.popupPoint.y, 150);
}

struct ChordRowCase {
    const char* name;
    std::vector<int> ticked;
    int from;
    int to;
};

class NextChordRow : public ::testing::TestWithParam<ChordRowCase> {};

TEST_P(NextChordRow, FindsTheNextTickedRowCyclically) {
    std::int32_t flags[10] = {};
    for (int row : GetParam().ticked)
        flags[row] = 1;
    EXPECT_EQ(nextChordRow(GetParam().from, flags), GetParam().to);
}

const ChordRowCase chordRowCases[] = {
    {"MovesForwardToTheNextTickedRow", {2, 7}, 2, 7}, {"WrapsPastRowNineToTheFirstTickedRow", {2, 7}, 7, 2},
    {"OnlyTickedRowComesBackToItself", {4}, 4, 4},    {"NoTickedRowLeavesTheRowAlone", {}, 3, 3},
    {"RowNineWrapsToRowZero", {0, 9}, 9, 0},
};

INSTANTIATE_TEST_SUITE_P(MainWindow, NextChordRow, ::testing::ValuesIn(chordRowCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, NextFunctionFromThePopupCyclesThroughTickedRows) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    displayFlags[2] = displayFlags[7] = 1;
    plotSettings.chordRow = 2;
    window->action(Command::NextFunction)->trigger();
    EXPECT_EQ(plotSettings.chordRow, 7);
    window->action(Command::NextFunction)->trigger();
    EXPECT_EQ(plotSettings.chordRow, 2);
}

TEST(MainWindow, RubberBandShowsWhileHeldAndLeavesNoTrace) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    GraphArea* area = window->graphArea();
    const QImage before = area->image().copy();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(area, QPoint(200, 160));
    QTest::mouseMove(area, QPoint(320, 420));
    // The band is XOR-ed onto the dark background, starting at the press point.
    EXPECT_EQ(area->image().pixel(100, 100), qRgb(10 ^ 28, 10 ^ 128, 20 ^ 255));
    EXPECT_NE(area->image(), before);
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(320, 420));
    EXPECT_EQ(area->image(), before);
}

TEST(MainWindow, ShowParametricTogglesCheckModeAndFlag) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->action(Command::ShowParametric)->trigger();
    EXPECT_TRUE(window->isChecked(Command::ShowParametric));
    EXPECT_EQ(plotSettings.parametricShown, 1);
    EXPECT_EQ(plotSettings.plotMode, PlotMode::Parametric);
    window->action(Command::ShowParametric)->trigger();
    EXPECT_FALSE(window->isChecked(Command::ShowParametric));
    EXPECT_EQ(plotSettings.parametricShown, 0);
    EXPECT_EQ(plotSettings.plotMode, PlotMode::Explicit);
}

TEST(MainWindow, ShowChordMirrorsTheFlagInItsCheckMark) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->action(Command::ShowChord)->trigger();
    EXPECT_EQ(plotSettings.chordShown, 1);
    EXPECT_TRUE(window->isChecked(Command::ShowChord));
    window->action(Command::ShowChord)->trigger();
    EXPECT_EQ(plotSettings.chordShown, 0);
    EXPECT_FALSE(window->isChecked(Command::ShowChord));
}

TEST(MainWindow, SaveWithAPathWritesSilentlyAndNewKeepsThePath) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("work.tvl");
    plotSettings.documentPath = path.toStdString();
    window->runCommand(Command::Save);
    // A fresh document: the tag, an empty memo, no definitions, the variable x, the fixed part.
    EXPECT_EQ(QFileInfo(path).size(), 3175);

    QFile::remove(path);
    window->runCommand(Command::New);
    window->runCommand(Command::Save);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(MainWindow, SaveOnAFreshStartAsksForTheName) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("first.tvl");
    const ModalAnswer choose = chooseFileInNextPrompt(path);
    window->runCommand(Command::Save);
    EXPECT_EQ(plotSettings.documentPath, path.toStdString());
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(MainWindow, OpenReplacesTheDocumentAndDrawsItsExplicitGraphs) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("line.tvl");
    defineFunctionFromText("f(x)=1");
    plotSettings.documentPath = path.toStdString();
    window->runCommand(Command::Save);
    defineFunctionFromText("g(x)=2");
    window->runCommand(Command::Clear);

    const ModalAnswer discard = answerNextChangesPrompt(QMessageBox::Discard);
    const ModalAnswer choose = chooseFileInNextPrompt(path);
    window->runCommand(Command::Open);
    EXPECT_NE(findFunction("f"), nullptr);
    EXPECT_EQ(findFunction("g"), nullptr);
    // f(x) = 1 lies on row 200 of the 500-pixel factory view, in the colour of function row 0.
    EXPECT_EQ(window->graphArea()->image().pixel(50, 200), qRgb(64, 0, 255));
}

// The reset before the load clears the graph in the factory view; the axes must move with the
// loaded limits all the same.
TEST(MainWindow, OpenDrawsTheAxesOfTheLoadedView) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("right.tvl");
    setViewLimits({0.0, 10.0, -5.0, 5.0});
    plotSettings.documentPath = path.toStdString();
    window->runCommand(Command::Save);

    const ModalAnswer choose = chooseFileInNextPrompt(path);
    window->runCommand(Command::Open);
    // x = 0 is the left edge of the loaded view, the middle column of the factory one.
    EXPECT_EQ(window->graphArea()->image().pixel(0, 100), axisColour);
    EXPECT_EQ(window->graphArea()->image().pixel(graphSize / 2, 100), backgroundColour);
}

struct ShownBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
};

// Reads and closes the next message box that opens.
ModalAnswer readNextMessageBox(ShownBox& shown) {
    return ModalAnswer([&shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) return false;
        shown = {box->windowTitle(), box->text(), box->textFormat()};
        box->accept();
        return true;
    });
}

TEST(MainWindow, MessageBoxShowsItsCaptionAboveTheUsersText) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    ShownBox shown;
    const ModalAnswer read = readNextMessageBox(shown);
    showMessage("Bracket mismatch in..", "<b>f(x)=(x</b>", messageIconNone);
    EXPECT_EQ(shown.title, "Bracket mismatch in..");
    EXPECT_EQ(shown.text, "Bracket mismatch in..\n\n<b>f(x)=(x</b>");
    EXPECT_EQ(shown.format, Qt::PlainText);
}

// What is checked is what is loaded: a file that changed between a check and the load could
// otherwise be loaded without the reset before it.
TEST(MainWindow, OpenReadsTheFileOnce) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    QTemporaryDir dir;
    const QString path = dir.filePath("once.tvl");
    plotSettings.documentPath = path.toStdString();
    window->runCommand(Command::Save);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(path).constData(), IN_OPEN), 0);
    const ModalAnswer choose = chooseFileInNextPrompt(path);
    window->runCommand(Command::Open);
    alignas(inotify_event) char events[4096];
    const ssize_t size = ::read(watch, events, sizeof events);
    ::close(watch);
    EXPECT_EQ(size, static_cast<ssize_t>(sizeof(inotify_event))); // one event: one open
}

// Receives the URLs that Help hands to the desktop.
class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(MainWindow, HelpOpensThePageBelowTheCurrentDirectoryFirst) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    UrlRecorder recorder;
    QDesktopServices::setUrlHandler("file", &recorder, "open");
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("docs");
    QFile page(dir.filePath("docs/tvhelp.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();
    const QString old = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->runCommand(Command::Help);
    QDir::setCurrent(old);
    QDesktopServices::unsetUrlHandler("file");
    ASSERT_EQ(recorder.opened.size(), 1);
    EXPECT_EQ(QFileInfo(recorder.opened[0].toLocalFile()).canonicalFilePath(),
              QFileInfo(page.fileName()).canonicalFilePath());
}

// As the program starts: the normal geometry is the whole available area, whose frame would then
// reach above the screen; restoring the window brings the frame wholly onto the screen.
TEST(MainWindow, RestoredWindowLiesWhollyOnTheScreen) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    const QRect area = window->screen()->availableGeometry();
    window->setGeometry(area.adjusted(-1, -20, 1, 25));
    window->showMaximized();
    QCoreApplication::processEvents();
    window->showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(window->frameGeometry()); }))
        << window->frameGeometry().x() << "," << window->frameGeometry().y() << " "
        << window->frameGeometry().width() << "x" << window->frameGeometry().height();
}

// The offscreen platform has no viewer to hand the page to, as a desktop without a browser.
TEST(MainWindow, HelpWithoutAViewerShowsThePageInAWindowOfItsOwn) {
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    window->runCommand(Command::Help);
    window->runCommand(Command::Help);
    const QList<QTextBrowser*> shown = window->findChildren<QTextBrowser*>();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0]->isVisible());
    EXPECT_TRUE(shown[0]->isWindow());
    EXPECT_EQ(shown[0]->source().toLocalFile(), findHelpPage());
    EXPECT_TRUE(shown[0]->toPlainText().contains("Tarvelion 1.2"));
}

TEST(MainWindow, HelpFallsBackToThePageBesideTheProgram) {
    QTemporaryDir empty;
    const QString old = QDir::currentPath();
    QDir::setCurrent(empty.path());
    const QString found = findHelpPage();
    QDir::setCurrent(old);
    EXPECT_EQ(found, QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("docs/tvhelp.htm"));
}

} // namespace

#include "main_window_test.moc"
