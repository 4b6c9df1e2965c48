// One QApplication for every test of the shell, with the program initialised as at start-up.
// Each run keeps Qt's and the program's preferences (the file prompts' last folder and view, the
// appearance) in a folder of its own, so that runs side by side, and the user's own settings,
// cannot reach into one another.
#include "shell/startup.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const QTemporaryDir preferences;
    if (preferences.isValid()) qputenv("XDG_CONFIG_HOME", QFile::encodeName(preferences.path()));
    QApplication application(argc, argv);
    initialiseProgram();
    return RUN_ALL_TESTS();
}
