#include "shell/picture_export.h"

#include "document/document_file.h"
#include "graph/appearance.h"
#include "graph/plot_settings.h"
#include "graph/surface.h"
#include "graph/view_model.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>

#include <algorithm>
#include <span>

namespace {

// The surfaces draw on `painter` while `draw` runs.
void drawThrough(QPainter& painter, const std::function<void()>& draw) {
    setPainterTarget(&painter);
    draw();
    setPainterTarget(nullptr);
}

QByteArray svgBytes(const std::function<void()>& draw) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    const QSize size(std::max(graphView.width, 1), std::max(graphView.height, 1));
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QStringLiteral("Tarvelion"));
    QPainter painter(&generator);
    drawThrough(painter, draw);
    painter.end();
    return bytes;
}

QByteArray pngBytes(int ratio, const std::function<void()>& draw) {
    const QImage image = drawnImage(ratio, draw);
    QByteArray bytes;
    if (image.isNull()) return bytes;
    QBuffer buffer(&bytes);
    if (!image.save(&buffer, "PNG")) bytes.clear();
    return bytes;
}

} // namespace

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) return PictureFormat::Png;
    if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
    return std::nullopt;
}

QImage drawnImage(int ratio, const std::function<void()>& draw) {
    ratio = std::clamp(ratio, 1, 4);
    QImage image(QSize(graphView.width, graphView.height) * ratio, QImage::Format_RGB32);
    if (image.isNull()) return image;
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QImage* const shown = graphImage();
    setGraphImage(&image);
    {
        const DeviceView device(ratio);
        draw();
    }
    setGraphImage(shown);
    return image;
}

QByteArray encodedPicture(PictureFormat format, int ratio, const std::function<void()>& draw) {
    return format == PictureFormat::Svg ? svgBytes(draw) : pngBytes(ratio, draw);
}

bool writePictureFile(const std::string& path, const QByteArray& picture) {
    if (picture.isEmpty()) return false;
    const auto* data = reinterpret_cast<const unsigned char*>(picture.constData());
    return replaceFile(path, std::span(data, static_cast<std::size_t>(picture.size())));
}

bool writePicture(const QString& path, PictureFormat format, int ratio, const std::function<void()>& draw) {
    return writePictureFile(QFile::encodeName(path).toStdString(), encodedPicture(format, ratio, draw));
}

void drawPage(QPainter& painter, const QRect& printable, int resolution, Theme theme,
              const std::function<void()>& draw) {
    const QSize window(std::max(graphView.width, 1), std::max(graphView.height, 1));
    const QSize fitted = window.scaled(printable.size(), Qt::KeepAspectRatio);
    if (fitted.isEmpty() || resolution <= 0) return;
    // A logical pixel as a standard screen's 1/96 inch, or larger where the font's pixels
    // would make the labels smaller than the minimum.
    const double fontPixels = QFontInfo(QFont()).pixelSize();
    const double perInch = std::min(96.0, fontPixels * 72.0 / minimumLabelPoints);
    const double devicePerLogical = resolution / perInch;
    const QSize page(std::max(1, qRound(fitted.width() / devicePerLogical)),
                     std::max(1, qRound(fitted.height() / devicePerLogical)));
    const Appearance shown = appearance;
    const PopupPoint anchor = plotSettings.popupPoint;
    appearance.theme = theme;
    // The chord stands at the popup point's column: on the page it keeps its world place.
    plotSettings.popupPoint.x = qRound(static_cast<double>(anchor.x) * page.width() / window.width());
    {
        const ResizedView onPage(page.width(), page.height());
        painter.save();
        painter.setViewport(QRect(printable.topLeft(), fitted));
        painter.setWindow(QRect(QPoint(0, 0), page));
        painter.setClipRect(QRect(QPoint(0, 0), page));
        drawThrough(painter, draw);
        painter.restore();
    }
    plotSettings.popupPoint = anchor;
    appearance = shown;
}

void printPicture(QPrinter& printer, Theme theme, const std::function<void()>& draw) {
    QPainter painter;
    if (!painter.begin(&printer)) return;
    drawPage(painter, painter.viewport(), printer.resolution(), theme, draw);
}
