#include "modal_answer.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>

namespace {
// Far beyond what any command takes to open its window, even under the sanitizers.
constexpr int deadlineMs = 30000;

// The window that stood in the way, so that a failure in another order says what it was.
std::string describedWindow(const QWidget* modal) {
    if (modal == nullptr) return "no modal window was open";
    std::string text = std::string("open instead: ") + modal->metaObject()->className() + " \"" +
                       modal->windowTitle().toStdString() + "\"";
    if (const auto* box = qobject_cast<const QMessageBox*>(modal)) text += ": " + box->text().toStdString();
    return text;
}
} // namespace

ModalAnswer::ModalAnswer(std::function<bool(QWidget*)> answer)
    : answer_(std::move(answer)), deadline_(deadlineMs) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { offer(); });
    timer_.start(1);
}

ModalAnswer::~ModalAnswer() {
    timer_.stop();
    if (!answered_ && !gaveUp_) ADD_FAILURE() << "the window this test meant to answer never opened";
}

void ModalAnswer::offer() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && answer_(modal)) {
        answered_ = true;
        timer_.stop();
        return;
    }
    if (!deadline_.hasExpired()) return;
    // Closing the window that nobody answers ends its modal loop, so the test goes on and fails.
    gaveUp_ = true;
    timer_.stop();
    ADD_FAILURE() << "no window this test meant to answer opened within " << deadlineMs << " ms; "
                  << describedWindow(modal);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->done(QDialog::Rejected);
    else if (modal != nullptr) modal->close();
}
