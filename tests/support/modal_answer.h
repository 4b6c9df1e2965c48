// An answer that a test gives to a modal window its next command opens, as a user at it would.
// The answer belongs to the test's scope: it waits only while it lives, gives up at a deadline, and
// its end fails the test when its window never came, so no answer is left to meet a later test's
// window and no modal loop waits for ever.
#pragma once

#include <QDeadlineTimer>
#include <QTimer>

#include <functional>

class QWidget;

class [[nodiscard]] ModalAnswer {
  public:
    // `answer` is offered the active modal window until it takes one (returns true); windows it
    // leaves are someone else's to answer.
    explicit ModalAnswer(std::function<bool(QWidget* modal)> answer);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;

    bool answered() const { return answered_; }

  private:
    void offer();

    std::function<bool(QWidget*)> answer_;
    QTimer timer_;
    QDeadlineTimer deadline_;
    bool answered_ = false;
    bool gaveUp_ = false;
};
