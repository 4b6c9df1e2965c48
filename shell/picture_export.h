// Pictures out: what a set of plotter runs draws, as a PNG image at a device-pixel ratio or an
// SVG drawing, through the same surfaces and plotters as the screen.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QPainter;
class QPrinter;
class QRect;
enum class Theme;

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
// The smallest size of the picture's labels on paper, in points.
inline constexpr double minimumLabelPoints = 8.0;

// The picture on a page, as vectors, in `theme` for this page only: at the window's proportions
// as large as the printable area (in the painter's device pixels, `resolution` a inch) allows,
// laid out as a window of that size on a standard screen would be, or smaller where the labels
// would otherwise come out below minimumLabelPoints.
void drawPage(QPainter& painter, const QRect& printable, int resolution, Theme theme,
              const std::function<void()>& draw);
// drawPage on the printer's page.
void printPicture(QPrinter& printer, Theme theme, const std::function<void()>& draw);
