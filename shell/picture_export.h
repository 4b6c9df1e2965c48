// Pictures out: what a set of plotter runs draws, as a PNG image at a device-pixel ratio or an
// SVG drawing, through the same surfaces and plotters as the screen.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QPrinter;

enum class PictureFormat { Png, Svg };

// The format a file name asks for by its suffix (.png or .svg, any case); none otherwise.
std::optional<PictureFormat> pictureFormatOf(const QString& path);

// The image of the view's logical size at `ratio` (1 to 4) on which `draw` ran; a null image
// when it cannot be allocated.
QImage drawnImage(int ratio, const std::function<void()>& draw);
// The encoded file: a PNG at `ratio`, or an SVG (ratio unused) whose lines are paths, texts
// text and dots one embedded image. Empty when the picture could not be made.
QByteArray encodedPicture(PictureFormat format, int ratio, const std::function<void()>& draw);
// Writes an encoded picture to path (in the system's own bytes) by the rules of a document save;
// false, and no file left behind, when the picture is empty or the file could not be written.
bool writePictureFile(const std::string& path, const QByteArray& picture);
// Encodes the picture and writes it as writePictureFile does.
bool writePicture(const QString& path, PictureFormat format, int ratio, const std::function<void()>& draw);
// The picture scaled to the printer's page, keeping its proportions, as vectors.
void printPicture(QPrinter& printer, const std::function<void()>& draw);
