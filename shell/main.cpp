// Tarvelion: start-up and the message loop.
#include "shell/export_command.h"
#include "shell/main_window.h"
#include "shell/startup.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

// Apart from the headless export, the program takes no command-line arguments: Qt is handed a
// program name only.
int main(int argc, char** argv) {
    if (isExportCommand(argc, argv)) return runExportCommand(argc, argv);
    char programName[] = "tarvelion";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QApplication application(qtArgc, qtArgv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/tarvelion.png")));
    initialiseProgram();

    MainWindow window;
    // Sized to the screen first, so the window fills it even where no window manager maximises it.
    window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    window.showMaximized();
    window.requestRepaint();
    window.repaint();
    return QApplication::exec();
}
