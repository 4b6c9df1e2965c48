// A fresh program state for every dialog test, and the simulated input the tests drive the
// dialogs with.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class QDialog;

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Owns every dialog a test opens, so that none outlives the test.
    std::unique_ptr<QWidget> owner;
    // The graph area's image for the plotters the dialogs call.
    QImage graph{240, 160, QImage::Format_RGB32};

  public:
    // Captions of the message boxes shown while the test ran.
    static std::vector<std::string> messages;
};

void defineFunctions(const std::vector<std::string>& definitions);
// A left click on the control with that id.
void clickControl(QWidget* dialog, int id);
// Replaces the field's text by typing, as a user would.
void typeInto(QWidget* dialog, int id, const QString& text);
// The number of pixels of the graph image with that colour.
int countPixels(const QImage& image, QRgb colour);
