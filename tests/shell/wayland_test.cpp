// The program as a client of a Wayland compositor (headless_weston.sh runs this binary): the
// dialogs reach the compositor and close again, caption-less dialogs are dragged by their body and
// the file prompt appears, and the info box follows the pointer. A Wayland client learns nothing of
// where its windows land and cannot place the pointer, so nothing here asks for a screen position:
// the simulated mouse goes to a window, never to the screen.
#include "shell_test_support.h"

#include "shell/graph_area.h"
#include "shell/info_box.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <utility>

namespace {

bool shownByCompositor(const QWidget* window) {
    return window->isVisible() && window->windowHandle() != nullptr && window->windowHandle()->isExposed();
}

// The dialogs that the compositor shows while it lives, by class; each is closed as soon as it is
// shown (as its own buttons would: the program's dialogs ignore close requests), which also ends a
// modal dialog's loop.
class DialogCloser {
  public:
    DialogCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                auto* dialog = qobject_cast<QDialog*>(window);
                if (dialog == nullptr || !shownByCompositor(dialog)) continue;
                shown.append(QLatin1String(dialog->metaObject()->className()));
                dialog->done(QDialog::Rejected);
            }
        });
        timer_.start(20);
    }
    QStringList shown;

  private:
    QTimer timer_;
};

bool anyDialogVisible() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QDialog*>(window) != nullptr && window->isVisible()) return true;
    return false;
}

// The one dialog that is visible, once the compositor shows it.
QDialog* shownDialog() {
    QDialog* found = nullptr;
    const bool shown = QTest::qWaitFor([&found] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window); dialog != nullptr && shownByCompositor(dialog))
                found = dialog;
        return found != nullptr;
    });
    return shown ? found : nullptr;
}

// A point of the dialog's own background, where a press reaches the dialog rather than a control.
QPoint backgroundPoint(const QWidget* dialog) {
    for (int y = 1; y < dialog->height(); y += 3)
        for (int x = 1; x < dialog->width(); x += 3)
            if (dialog->childAt(x, y) == nullptr) return {x, y};
    return {-1, -1};
}

struct DialogCase {
    const char* name;
    Command command;
    const char* kind;
};

TEST(Wayland, TheProgramIsANativeClient) {
    EXPECT_EQ(QGuiApplication::platformName(), QLatin1String("wayland"));
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    EXPECT_TRUE(shownByCompositor(window.get()));
}

TEST(Wayland, EveryDialogReachesTheCompositorAndCloses) {
    const DialogCase cases[] = {
        {"define", Command::DefineFunction, "TemplateDialog"},
        {"edit list", Command::EditFunctions, "TemplateDialog"},
        {"select graph", Command::SelectGraph, "TemplateDialog"},
        {"graph expression", Command::GraphExpression, "TemplateDialog"},
        {"variables", Command::VariablesSetup, "TemplateDialog"},
        {"vary", Command::Vary, "TemplateDialog"},
        {"parametric", Command::ParametricSetup, "TemplateDialog"},
        {"polar", Command::Polar, "TemplateDialog"},
        {"implicit", Command::Implicit, "TemplateDialog"},
        {"inequalities", Command::Inequalities, "TemplateDialog"},
        {"set limits", Command::SetLimits, "TemplateDialog"},
        {"memo", Command::Memo, "TemplateDialog"},
        {"console", Command::Console, "CommandDialog"},
        {"area, no curve", Command::Area, "QMessageBox"},
        {"about", Command::About, "QMessageBox"},
        {"open prompt", Command::Open, "QFileDialog"},
        {"save prompt", Command::SaveAs, "QFileDialog"},
    };
    for (const DialogCase& c : cases) {
        // A fresh window each time: unsaved work would put a question before the file prompts.
        auto window = makeShownWindow();
        ASSERT_TRUE(window);
        DialogCloser closer;
        window->runCommand(c.command);
        EXPECT_TRUE(QTest::qWaitFor([&closer] { return !closer.shown.isEmpty() && !anyDialogVisible(); }))
            << c.name << " shown: " << closer.shown.join(' ').toStdString();
        EXPECT_TRUE(closer.shown.contains(QLatin1String(c.kind))) << c.name;
    }
}

TEST(Wayland, CaptionLessDialogsFollowADragOfTheirBody) {
    const std::pair<const char*, Command> cases[] = {
        {"vary", Command::Vary},
        {"parametric", Command::ParametricSetup},
        {"variables", Command::VariablesSetup},
        {"implicit", Command::Implicit},
        {"console", Command::Console},
    };
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    for (const auto& [name, command] : cases) {
        window->runCommand(command);
        QDialog* dialog = shownDialog();
        ASSERT_NE(dialog, nullptr) << name;
        const QPoint body = backgroundPoint(dialog);
        const QSize size = dialog->size();
        QWindow* handle = dialog->windowHandle();
        QTest::mousePress(handle, Qt::LeftButton, {}, body);
        QTest::mouseMove(handle, body + QPoint(40, 30));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, body + QPoint(40, 30));
        EXPECT_EQ(QWidget::mouseGrabber(), nullptr) << name;
        EXPECT_EQ(dialog->size(), size) << name;
        EXPECT_TRUE(shownByCompositor(dialog)) << name;
        dialog->done(QDialog::Rejected);
        EXPECT_TRUE(QTest::qWaitFor([] { return !anyDialogVisible(); })) << name;
    }
}

struct PointerCase {
    const char* name;
    QPoint pixel;
    const char* x;
    const char* y;
};

TEST(Wayland, TheInfoBoxFollowsThePointerOverTheGraphArea) {
    const PointerCase cases[] = {
        {"above right of the origin", {300, 150}, "1.000000", "2.000000"},
        {"below left of the origin", {200, 300}, "-1.000000", "-1.000000"},
    };
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    for (const PointerCase& c : cases) {
        QTest::mouseMove(window->windowHandle(), window->graphArea()->mapTo(window.get(), c.pixel));
        EXPECT_EQ(window->infoBox()->fieldText(InfoBox::X), QLatin1String(c.x)) << c.name;
        EXPECT_EQ(window->infoBox()->fieldText(InfoBox::Y), QLatin1String(c.y)) << c.name;
    }
}

} // namespace
