// What a window manager is told about the program's captioned dialogs beyond Qt's window flags.
#pragma once

class QApplication;

// Under X11, every captioned dialog the program shows (its own dialogs, message boxes, file
// prompts, the progress dialog) asks the window manager, before it is mapped, to offer moving (and
// resizing where the user may resize it) and nothing else: no minimise or maximise box, so a
// dialog can never take its owner out of sight. Openbox, which ignores those hints, is offered a
// window type it gives a caption and a close box only. The caption is shown exactly, also when
// empty, where Qt would put the program's name. Elsewhere it does nothing.
void guardDialogWindows(QApplication& application);
