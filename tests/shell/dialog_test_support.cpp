#include "dialog_test_support.h"

#include "expr/command_interpreter.h"
#include "expr/message_hook.h"
#include "graph/axes.h"
#include "graph/surface.h"
#include "graph/view_model.h"
#include "shell/dialog_template.h"
#include "shell_test_support.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTest>

std::vector<std::string> DialogTest::messages;

namespace {

void recordMessage(const char* caption, const char*, int) {
    DialogTest::messages.emplace_back(caption);
}

} // namespace

void DialogTest::SetUp() {
    owner = std::make_unique<QWidget>();
    messages.clear();
    setMessageHook(recordMessage);
    resetProgramState();
    setGraphImage(&graph);
    resizeView(graph.width(), graph.height());
    clearGraph();
}

void DialogTest::TearDown() {
    owner.reset();
    setGraphImage(nullptr);
    setMessageHook(nullptr);
}

void defineFunctions(const std::vector<std::string>& definitions) {
    for (const std::string& definition : definitions)
        defineFunctionFromText(definition);
}

void clickControl(QWidget* dialog, int id) {
    auto* button = dialogControl<QAbstractButton>(dialog, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    QTest::mouseClick(button, Qt::LeftButton);
}

void typeInto(QWidget* dialog, int id, const QString& text) {
    auto* edit = dialogControl<QLineEdit>(dialog, id);
    ASSERT_NE(edit, nullptr) << "no field " << id;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

int countPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    }
    return count;
}
