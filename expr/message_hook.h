#pragma once
// The one way code below the shell raises a message box. The shell installs a hook that shows a
// modal box owned by the main window; tests install a recorder. Unset, messages go nowhere.

// Icon of the box, as the platform's message-box flag values.
inline constexpr int messageIconNone = 0;
inline constexpr int messageIconError = 0x10;

using MessageHook = void (*)(const char* caption, const char* body, int icon);

void setMessageHook(MessageHook hook);
// Shows one message through the installed hook; does nothing when none is installed.
void showMessage(const char* caption, const char* body, int icon);
