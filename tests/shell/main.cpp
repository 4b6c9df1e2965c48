// One QApplication for every test of the shell, with the program initialised as at start-up.
#include "shell/startup.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    initialiseProgram();
    return RUN_ALL_TESTS();
}
