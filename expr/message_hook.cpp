#include "expr/message_hook.h"

namespace {
MessageHook installedHook = nullptr;
}

void setMessageHook(MessageHook hook) {
    installedHook = hook;
}

void showMessage(const char* caption, const char* body, int icon) {
    if (installedHook != nullptr) installedHook(caption, body, icon);
}
