#include "shell/trace_command.h"

#include "expr/evaluation_session.h"
#include "expr/stop_hook.h"
#include "expr/message_hook.h"
#include "graph/plot_settings.h"
#include "graph/trace.h"

#include <QKeyEvent>

// A start that the user stopped traces nothing and needs no message: the user knows why.
bool runTraceCommand(Command id) {
    if (id != Command::Trace) return false;
    bool started = false;
    bool stopped = false;
    {
        const EvaluationSession session; // one Stop ends the look at every curve
        started = startTrace({plotSettings.popupPoint.x, plotSettings.popupPoint.y});
        stopped = workStopped(0);
    }
    if (started && !stopped) return true;
    endTrace();
    if (!stopped) showMessage("Trace", "No curve in view near the pointer.", messageIconNone);
    return true;
}

bool isTraceKey(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const bool sideways = event.key() == Qt::Key_Left || event.key() == Qt::Key_Right;
    if (modifiers != Qt::NoModifier && !(sideways && modifiers == Qt::ShiftModifier)) return false;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

// Up and Down change the curve as Page Up and Page Down do: a marker held on its curve has no
// other way to go up or down.
bool runTraceKey(const QKeyEvent& event) {
    if (!isTracing() || !isTraceKey(event)) return false;
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        // Shift takes ten steps at once.
        const int steps = (event.modifiers() & Qt::ShiftModifier) != 0 ? 10 : 1;
        for (int i = 0; i < steps; ++i)
            moveTrace(event.key() == Qt::Key_Left ? -1 : 1);
        break;
    }
    case Qt::Key_Up:
    case Qt::Key_PageUp:
        switchTraceCurve(-1);
        break;
    case Qt::Key_Down:
    case Qt::Key_PageDown:
        switchTraceCurve(1);
        break;
    default:
        endTrace();
        break;
    }
    return true;
}
