// The drawing surface of the graph area: pixel-exact solid one-pixel lines, single pixels,
// rectangles and text, drawn into a 32-bit QImage and clipped to it. Any int coordinate is safe.
//
// The graph area's image is one program-wide target: the shell points it at the main window's
// backing image (and installs a release hook that shows it), tests point it at their own image.
// A Surface is taken for one plotter run; destroying it is the release and calls the hook.
//
// An image whose device-pixel ratio is 2, 3 or 4 is drawn at device resolution. The code that
// draws on it says so with a DeviceView of drawingRatio() around its drawing calls, so the view
// counts device pixels: coordinates handed to a surface are device pixels, curves are as wide in
// logical pixels as the appearance says, other lines stay one device pixel thin, and text keeps
// its logical size. A surface whose image the view does not count in its own pixels draws
// nothing there, so a drawing at the wrong scale shows at once instead of in a corner.
// A painter target (a vector device: SVG, a printer) takes the place of the image while it is
// set; there lines become polylines, text stays text and dots gather into one embedded image.
// Smoothed curves are gathered into polylines on the image too, and drawn by an anti-aliasing
// QPainter.
#pragma once

#include "graph/view_model.h"

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRgb>
#include <QSize>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class QString;

enum class BackgroundMode { Transparent = 1, Opaque = 2 };

// One text draw as the surface placed it; kept only while a log is installed (tests).
struct TextDraw {
    int x;
    int y;
    std::string text;
    QRgb colour;
};

void setGraphImage(QImage* image);
QImage* graphImage();
// Device pixels per logical pixel of what surfaces draw on now: the graph area image's ratio, a
// whole number from 1 to 4, or 1 while a painter target (which counts logical pixels) is set.
int drawingRatio();
void setSurfaceReleaseHook(void (*hook)());
void setTextLog(std::vector<TextDraw>* log);
// While set (not null), surfaces draw through this painter, in logical pixels, instead of on the
// graph area's image.
void setPainterTarget(QPainter* painter);

class Surface {
  public:
    // A surface on the graph area's image, in the default state: black pen, white brush,
    // black text on an opaque white background, copy mode, current position (0, 0).
    Surface();
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    // A pen one device pixel wide, as every figure but a curve has.
    void setPen(QRgb colour) {
        pen_ = colour;
        penWidth_ = 1;
        smooth_ = false;
    }
    // A curve's pen: the appearance's curve width in logical pixels, smoothed when the
    // appearance asks for anti-aliasing.
    void setCurvePen(QRgb colour);
    void setBrush(QRgb colour) { brush_ = colour; }
    void setTextColour(QRgb colour) { textColour_ = colour; }
    void setBackgroundColour(QRgb colour) { backgroundColour_ = colour; }
    void setBackgroundMode(BackgroundMode mode) { backgroundMode_ = mode; }
    // In XOR mode lines and rectangles combine their colours with the image by exclusive or,
    // so drawing the same figure twice restores the picture.
    void setXorMode(bool on) { xorMode_ = on; }

    void moveTo(int x, int y) { moveTo(x, y, QPointF(x + 0.5, y + 0.5)); }
    // Draws from the current position to (x, y), excluding (x, y), which becomes current.
    void lineTo(int x, int y) { lineTo(x, y, QPointF(x + 0.5, y + 0.5)); }
    // The same at pixel (x, y), where the curve really lies at `exact` (a pixel's centre is at
    // +0.5): a smoothed curve's line goes there, so shallow slopes show no steps; every other
    // line takes the pixel.
    void moveTo(int x, int y, QPointF exact) {
        currentX_ = x;
        currentY_ = y;
        currentExact_ = exact;
    }
    void lineTo(int x, int y, QPointF exact);
    // The pixel at the current position in the pen's colour: the end that lineTo leaves out, for
    // a line after which the pen lifts. Vector lines keep their ends already.
    void endLine();
    void setPixel(int x, int y, QRgb colour);
    // One logical pixel: the ratio x ratio block of device pixels from (x, y) on.
    void dot(int x, int y, QRgb colour);
    // Outlines pixels left..right-1 by top..bottom-1 with the pen, fills the inside with the brush.
    void rectangle(int left, int top, int right, int bottom);
    // Blends the shade colour, at its alpha, into rows from..to (either order, both included) of
    // column x, clipped to the area. On a painter target adjacent columns join into one polygon.
    void setShadeColour(QRgb colourWithAlpha) { shade_ = colourWithAlpha; }
    void shadeColumn(int x, int from, int to);
    // Top-left corner of the text box at (x, y); 8-bit characters in the default font.
    void textOut(int x, int y, std::string_view text);
    // The same text, moved as little as needed to lie wholly inside the image; one wider than the
    // image keeps its start in view. For numbers, which must not lose a sign or digits.
    // Gives the box the text took.
    QRect textOutInside(int x, int y, std::string_view text);
    // The box a text takes, in the pixels the surface counts.
    QSize textBox(std::string_view text) const;
    // A readout (a curve label, the numbers of an explore mark, the area or the chord): drawn as
    // textOut, or as textOutInside when `inside`, at the free slot takeReadoutPlace gives, so
    // that it covers no earlier readout in view.
    void readoutOut(int x, int y, std::string_view text, bool inside);

  private:
    // The area in the pixels the surface counts.
    QSize areaSize() const;
    void flushVectors();
    // Draws the open polyline first, so that what is drawn next stays on top of it.
    void settleLine() {
        if (!polyline_.empty()) flushVectors();
    }
    void drawPolyline(QPainter& painter) const;
    void flushShade();
    void vectorShade(int x, int top, int bottom);
    void vectorLineTo(int x, int y, QPointF exact);
    void vectorText(int x, int y, const QString& text);
    void fillRows(long long left, long long right, long long top, long long bottom, QRgb colour);
    void drawLine(long long x0, long long y0, long long x1, long long y1);
    void strokeLine(long long x0, long long y0, long long x1, long long y1);
    void drawColumnStep(long long x0, long long y0, long long y1);
    void drawColumn(long long x, long long top, long long bottom);

    QImage* image_;
    QPainter* painter_;
    // The open polyline of a painter target or of a smoothed curve, and (painter target only)
    // the dots not yet handed to the painter.
    std::vector<QPointF> polyline_;
    QRgb polylinePen_ = 0;
    int polylineWidth_ = 1;
    bool polylineSmooth_ = false;
    QImage dots_;
    // Painter target only: the band of shaded columns not yet handed to the painter, its upper
    // and its lower edge, each left to right.
    std::vector<QPointF> shadeUpper_;
    std::vector<QPointF> shadeLower_;
    QRgb shadePending_ = 0;
    int ratio_ = 1;
    QRgb* pixels_ = nullptr;
    qsizetype stride_ = 0; // pixels from one scan line to the next
    int width_ = 0;
    int height_ = 0;
    int currentX_ = 0;
    int currentY_ = 0;
    QPointF currentExact_{0.5, 0.5};
    QRgb pen_ = qRgb(0, 0, 0);
    int penWidth_ = 1; // device pixels
    bool smooth_ = false;
    QRgb brush_ = qRgb(255, 255, 255);
    QRgb textColour_ = qRgb(0, 0, 0);
    QRgb backgroundColour_ = qRgb(255, 255, 255);
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    bool xorMode_ = false;
    QRgb shade_ = qRgba(0, 0, 0, 0);
};
