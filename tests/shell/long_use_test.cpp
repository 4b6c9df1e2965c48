// A long session driven through the real main window: ten functions, the VARY and PARAMETRIC
// sliders swept back and forth, zooms and pans, documents saved and opened, console lines by
// the thousand. The resident memory after the first hundred rounds and at the end must stay
// within a few megabytes of each other.
#include "dialog_test_support.h"
#include "expr/symbol_store.h"
#include "graph/plot_settings.h"
#include "shell/command_dialog.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

// Under a sanitizer every step is several times slower and freed memory is held back on purpose
// (ASan's quarantine), so the run is shorter there and its memory figures are only printed.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool sanitized = true;
#else
constexpr bool sanitized = false;
#endif
#else
constexpr bool sanitized = false;
#endif

constexpr int rounds = sanitized ? 400 : 3000;
constexpr int baselineRound = 100;
constexpr long growthLimit = 16L << 20;

constexpr int varySliderId = 40019;
constexpr int parametricSliderId = 40103;
constexpr int parametricXId = 40090;
constexpr int parametricYId = 40091;
constexpr int parametricNameId = 40100;
constexpr int parametricFromId = 40101;
constexpr int parametricToId = 40102;
constexpr int parametricPlotId = 40104;
constexpr int firstFunctionBoxId = 40020;
// Close, and OK in Select graph.
constexpr int closeId = 40200;

const QRgb firstRowColour = qRgb(64, 0, 255);

const char* const definitions[] = {
    ":defn f(x)=sin(x+a)",  ":defn g(x)=a*x^2/10",      ":defn h(x)=cos(a*x)",  ":defn p(x)=x^3/20-a",
    ":defn q(x)=sqrt(x*x)", ":defn r(x)=cosh(x)/10*a",  ":defn s(x)=f(x)+g(x)", ":defn u(x)=log(x*x+1)",
    ":defn v(x)=tan(x)/10", ":defn w(x)=diff(x^2,x)+a",
};

const char* const consoleLines[] = {
    "1+2",    "a",      "f(1)+g(2)",         "x=4",  "s(x)*2",      "i*j", ":listf",
    ":listv", ":listc", ":solv 0,3,(x^2-2)", "2^10", "w(3)-h(0.5)",
};

long residentBytes() {
    long size = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Runs what is posted, including the deletion of closed windows.
void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QDialog* newestDialogWith(const MainWindow& window, int controlId) {
    QDialog* found = nullptr;
    for (QDialog* dialog : window.findChildren<QDialog*>()) {
        if (dialog->isVisible() && findDialogControl(dialog, controlId)) found = dialog;
    }
    return found;
}

// Closes, with their Close button, the PARAMETRIC windows other than `kept`.
void closeOtherParametricWindows(const MainWindow& window, const QDialog* kept) {
    for (QDialog* dialog : window.findChildren<QDialog*>()) {
        if (dialog != kept && dialog->isVisible() && findDialogControl(dialog, parametricSliderId))
            QTest::mouseClick(dialogControl<QWidget>(dialog, closeId), Qt::LeftButton);
    }
    settle();
}

// Ticks every row in Functions > Select graph and confirms, as a user would.
void tickEveryFunction(MainWindow& window) {
    const ModalAnswer tick([](QWidget* modal) {
        for (int row = 0; row < 10; ++row) {
            auto* box = dialogControl<QCheckBox>(modal, firstFunctionBoxId + row);
            if (!box->isChecked()) QTest::mouseClick(box, Qt::LeftButton);
        }
        QTest::mouseClick(dialogControl<QWidget>(modal, closeId), Qt::LeftButton);
        return true;
    });
    window.runCommand(Command::SelectGraph);
}

void typeLine(QPlainTextEdit* edit, const QString& line) {
    QTest::keyClicks(edit, line);
    QTest::keyClick(edit, Qt::Key_Return);
}

class LongUse : public ::testing::Test {
  protected:
    void SetUp() override {
        window = makeShownWindow();
        ASSERT_TRUE(window);
        plotSettings.documentPath = directory.filePath("session.tvl").toStdString();
    }

    // The console is closed and opened again every hundred lines, as its transcript is meant to
    // grow while it is open.
    void runConsoleLine(int round) {
        if (round % 100 == 0 && window->console()) {
            QTest::mouseClick(dialogControl<QWidget>(window->console(), closeId), Qt::LeftButton);
            settle();
        }
        window->runCommand(Command::Console);
        typeLine(window->console()->consoleEdit(),
                 QString::fromLatin1(consoleLines[round % std::size(consoleLines)]));
    }

    // Two hundred steps up, two hundred down, and now and then a jump of the thumb.
    static void sweep(QScrollBar* slider, int round) {
        if (round % 97 == 0) {
            slider->setSliderPosition(round % 100);
            slider->triggerAction(QAbstractSlider::SliderMove);
            return;
        }
        slider->triggerAction(round / 200 % 2 == 0 ? QAbstractSlider::SliderSingleStepAdd
                                                   : QAbstractSlider::SliderPageStepSub);
    }

    void moveTheView(int round) {
        // Every move meets its opposite within six rounds, so the view keeps coming back.
        const Command moves[] = {Command::ZoomIn, Command::Left, Command::Right,
                                 Command::Up,     Command::Down, Command::ZoomOut};
        window->runCommand(moves[round % std::size(moves)]);
        settle();
    }

    void saveAndOpen(const QDialog* parametric) {
        window->runCommand(Command::Save);
        const ModalAnswer choose =
            chooseFileInNextPrompt(QString::fromStdString(std::string(plotSettings.documentPath.view())));
        window->runCommand(Command::Open);
        // The document is in parametric mode, so Open brings a further PARAMETRIC window.
        closeOtherParametricWindows(*window, parametric);
    }

    QTemporaryDir directory;
    std::unique_ptr<MainWindow> window;
};

TEST_F(LongUse, MemoryStaysWithinAFewMegabytes) {
    window->runCommand(Command::Console);
    typeLine(window->console()->consoleEdit(), QStringLiteral("1"));
    for (const char* definition : definitions)
        typeLine(window->console()->consoleEdit(), QString::fromLatin1(definition));
    ASSERT_NE(findFunction("w"), nullptr);
    tickEveryFunction(*window);
    ASSERT_EQ(std::count(std::begin(displayFlags), std::end(displayFlags), 1), 10);

    window->runCommand(Command::Vary);
    QDialog* vary = newestDialogWith(*window, varySliderId);
    window->runCommand(Command::ParametricSetup);
    QDialog* parametric = newestDialogWith(*window, parametricSliderId);
    ASSERT_TRUE(vary && parametric);
    setFieldText(parametric, parametricXId, "cos(t)*(1+a/10)");
    setFieldText(parametric, parametricYId, "sin(2*t)+f(t)");
    setFieldText(parametric, parametricNameId, "t");
    setFieldText(parametric, parametricFromId, "0");
    setFieldText(parametric, parametricToId, "6.28");
    QTest::mouseClick(dialogControl<QWidget>(parametric, parametricPlotId), Qt::LeftButton);

    long baseline = 0;
    for (int round = 1; round <= rounds; ++round) {
        sweep(dialogControl<QScrollBar>(vary, varySliderId), round);
        sweep(dialogControl<QScrollBar>(parametric, parametricSliderId), round + 50);
        runConsoleLine(round);
        moveTheView(round);
        if (round % 100 == 0) saveAndOpen(parametric);
        if (round == baselineRound) baseline = residentBytes();
    }
    settle();
    const long end = residentBytes();

    std::printf("long use: %d rounds; resident memory after round %d: %.1f MB, at the end: %.1f MB, "
                "growth %+.2f MB\n",
                rounds, baselineRound, baseline / 1048576.0, end / 1048576.0, (end - baseline) / 1048576.0);
    // The session still holds its ten functions after all the saving and opening, and a
    // repaint still draws them.
    EXPECT_NE(findFunction("w"), nullptr);
    window->requestRepaint();
    settle();
    EXPECT_GT(countPixels(window->graphArea()->image(), firstRowColour), 1000);
    if (!sanitized) {
        EXPECT_LT(end - baseline, growthLimit);
    }
}

} // namespace
