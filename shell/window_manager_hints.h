// What a window manager is told about the program's captioned dialogs beyond Qt's window flags.
#pragma once

class QString;
class QWidget;

// Under X11, asks the window manager to offer a captioned dialog moving and nothing else: no
// minimise, maximise or close box, as its own buttons are the only way out. Window managers that
// keep their buttons whatever the hints say (openbox) find that the dialog ignores a close and
// comes back, with its owner, from a minimise. Its caption is shown exactly, also when empty,
// where Qt would put the program's name. Elsewhere it does nothing.
void restrictCaptionedDialog(QWidget* dialog, const QString& caption);
