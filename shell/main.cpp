// Tarvelion: start-up and the message loop.
#include "document/printable_text.h"
#include "shell/appearance_settings.h"
#include "shell/command_line.h"
#include "shell/export_command.h"
#include "shell/file_commands.h"
#include "shell/main_window.h"
#include "shell/startup.h"
#include "shell/window_manager_hints.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>
#include <cstdio>

// Qt is handed a program name only; the arguments are the program's own: the headless export, or
// the document to open.
int main(int argc, char** argv) {
    if (isExportCommand(argc, argv)) return runExportCommand(argc, argv);
    const CommandLine line = parseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "tarvelion: %s\nusage: tarvelion [--] [DOCUMENT.tvl]\n   or: %s\n",
                     printable(line.error, LineBreaks::Joined).c_str(), exportUsage);
        return 2;
    }
    char programName[] = "tarvelion";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelion.png")));
    initialiseProgram();
    loadAppearance();
    guardDialogWindows(application);

    MainWindow window;
    // Sized to the screen first, so the window fills it even where no window manager maximises it.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    window.requestRepaint();
    window.repaint();
    // Opened from the message loop, so the window is up and owns the boxes of the load.
    if (!line.document.empty())
        QTimer::singleShot(0, &window, [&window, &line] { openDocumentAt(window, line.document); });
    return QApplication::exec();
}
