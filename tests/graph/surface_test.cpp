#include "graph_test_support.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr QRgb red = qRgb(255, 0, 0);

PixelSet drawLine(Pixel from, Pixel to, int width = 10, int height = 10) {
    GraphArea area(width, height);
    {
        Surface surface;
        surface.setPen(red);
        surface.moveTo(from.first, from.second);
        surface.lineTo(to.first, to.second);
    }
    return area.pixelsOf(red);
}

TEST(Surface, LinesExcludeTheirEndPixel) {
    struct Row {
        const char* name;
        Pixel from;
        Pixel to;
        PixelSet expected;
    };
    const Row rows[] = {
        {"horizontal", {2, 5}, {6, 5}, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
        {"horizontal_backwards", {6, 5}, {2, 5}, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
        {"vertical", {3, 1}, {3, 4}, {{3, 1}, {3, 2}, {3, 3}}},
        {"diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        {"shallow_rounds_half_up", {0, 0}, {4, 2}, {{0, 0}, {1, 1}, {2, 1}, {3, 2}}},
        {"steep_upwards", {1, 8}, {2, 4}, {{1, 8}, {1, 7}, {2, 6}, {2, 5}}},
        {"zero_length_draws_nothing", {4, 4}, {4, 4}, {}},
        {"clipped_at_both_ends",
         {-5, 2},
         {15, 2},
         {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}, {9, 2}}},
        {"entirely_outside", {-5, -1}, {20, -1}, {}},
        {"far_outside_steep", {5, 5}, {6, -2000000000}, {{5, 5}, {5, 4}, {5, 3}, {5, 2}, {5, 1}, {5, 0}}},
        {"extreme_ints",
         {INT_MIN, 3},
         {INT_MAX, 3},
         {{0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}, {8, 3}, {9, 3}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(drawLine(row.from, row.to), row.expected);
    }
}

// Step k of a line puts the minor coordinate at round-half-up(k * minorSpan / majorSpan).
PixelSet midpointLine(Pixel from, Pixel to, int width, int height) {
    const long long dx = to.first - from.first;
    const long long dy = to.second - from.second;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const long long minorSpan = xMajor ? std::llabs(dy) : std::llabs(dx);
    PixelSet pixels;
    for (long long k = 0; k < n; ++k) {
        const long long major = k * ((xMajor ? dx : dy) > 0 ? 1 : -1);
        const long long minor = (2 * k * minorSpan + n) / (2 * n) * ((xMajor ? dy : dx) >= 0 ? 1 : -1);
        const long long x = from.first + (xMajor ? major : minor);
        const long long y = from.second + (xMajor ? minor : major);
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels.insert({static_cast<int>(x), static_cast<int>(y)});
    }
    return pixels;
}

// Every pair of a set of end points in and around a small image, steep, flat, one column wide
// (the curves' usual segment) and clipped, in copy mode and in XOR mode (each pixel combined once).
TEST(Surface, LinesFollowTheMidpointRuleInEveryDirection) {
    constexpr int width = 9;
    constexpr int height = 7;
    const int xs[] = {-4, -1, 0, 1, 3, 4, 7, 8, 9, 13};
    const int ys[] = {-5, -1, 0, 2, 3, 6, 7, 11};
    std::vector<Pixel> ends;
    for (int x : xs)
        for (int y : ys)
            ends.push_back({x, y});
    GraphArea area(width, height);
    for (const bool xorMode : {false, true}) {
        for (const Pixel& from : ends) {
            for (const Pixel& to : ends) {
                area.image.fill(0u);
                {
                    Surface surface;
                    surface.setXorMode(xorMode);
                    surface.setPen(red);
                    surface.moveTo(from.first, from.second);
                    surface.lineTo(to.first, to.second);
                }
                ASSERT_EQ(area.pixelsOf(red), midpointLine(from, to, width, height))
                    << (xorMode ? "xor " : "copy ") << from.first << "," << from.second << " to " << to.first
                    << "," << to.second;
            }
        }
    }
}

TEST(Surface, LineEndBecomesCurrentPosition) {
    GraphArea area(10, 10);
    {
        Surface surface;
        surface.setPen(red);
        surface.moveTo(1, 1);
        surface.lineTo(3, 1);
        surface.lineTo(3, 3);
    }
    EXPECT_EQ(area.pixelsOf(red), (PixelSet{{1, 1}, {2, 1}, {3, 1}, {3, 2}}));
}

TEST(Surface, XorTwiceRestoresThePicture) {
    GraphArea area(20, 20, qRgb(10, 10, 20));
    const QImage before = area.image.copy();
    {
        Surface surface;
        surface.setXorMode(true);
        surface.setPen(qRgb(28, 128, 255));
        surface.moveTo(1, 2);
        surface.lineTo(17, 13);
        EXPECT_EQ(area.at(1, 2), qRgb(10 ^ 28, 10 ^ 128, 20 ^ 255) & RGB_MASK);
        surface.moveTo(1, 2);
        surface.lineTo(17, 13);
        surface.setBrush(qRgb(200, 3, 9));
        surface.rectangle(0, 0, 20, 20);
        EXPECT_EQ(area.at(5, 5), qRgb(10 ^ 200, 10 ^ 3, 20 ^ 9) & RGB_MASK);
        surface.rectangle(0, 0, 20, 20);
    }
    EXPECT_EQ(area.image, before);
}

TEST(Surface, RectangleOutlinesWithPenAndFillsWithBrush) {
    GraphArea area(6, 5);
    {
        Surface surface;
        surface.setBrush(qRgb(10, 10, 20));
        surface.rectangle(0, 0, 6, 5);
    }
    EXPECT_EQ(area.at(0, 0), 0u);
    EXPECT_EQ(area.at(5, 4), 0u);
    EXPECT_EQ(area.at(5, 2), 0u);
    EXPECT_EQ(area.at(1, 1), qRgb(10, 10, 20) & RGB_MASK);
    EXPECT_EQ(area.at(4, 3), qRgb(10, 10, 20) & RGB_MASK);
    EXPECT_EQ(area.pixelsOf(qRgb(10, 10, 20)).size(), 4u * 3u);
}

TEST(Surface, SetPixelClipsToTheImage) {
    GraphArea area(4, 4);
    {
        Surface surface;
        for (const Pixel& p :
             {Pixel{-1, 0}, Pixel{4, 0}, Pixel{0, 4}, Pixel{INT_MAX, INT_MIN}, Pixel{3, 3}}) {
            surface.setPixel(p.first, p.second, red);
        }
    }
    EXPECT_EQ(area.pixelsOf(red), (PixelSet{{3, 3}}));
}

TEST(Surface, TextIsDrawnAndLoggedAtItsTopLeftCorner) {
    struct Row {
        const char* name;
        BackgroundMode mode;
        bool boxFilled;
    };
    const Row rows[] = {{"opaque_fills_box", BackgroundMode::Opaque, true},
                        {"transparent_keeps_picture", BackgroundMode::Transparent, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        GraphArea area(120, 40);
        {
            Surface surface;
            surface.setTextColour(qRgb(220, 220, 250));
            surface.setBackgroundColour(qRgb(55, 55, 20));
            surface.setBackgroundMode(row.mode);
            surface.textOut(10, 5, "-5.00");
        }
        ASSERT_EQ(area.texts.size(), 1u);
        EXPECT_EQ(area.texts[0].x, 10);
        EXPECT_EQ(area.texts[0].y, 5);
        EXPECT_EQ(area.texts[0].text, "-5.00");
        EXPECT_EQ(area.at(10, 5) == (qRgb(55, 55, 20) & RGB_MASK), row.boxFilled);
        EXPECT_EQ(area.at(9, 5), qRgb(1, 2, 3) & RGB_MASK);
        const PixelSet ink = area.pixelsOf(qRgb(220, 220, 250));
        EXPECT_FALSE(ink.empty());
        for (const Pixel& p : ink)
            EXPECT_GE(p.first, 10);
        for (const Pixel& p : ink)
            EXPECT_GE(p.second, 5);
    }
}

// A text as Qt draws it when asked plainly: its box as wide as QFontMetrics measures the string,
// its glyphs by QPainter::drawText on the baseline below the top-left corner.
QImage plainlyDrawnText(QSize size, Pixel at, const QString& text, BackgroundMode mode) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(qRgb(1, 2, 3));
    QFont font;
    font.setStyleStrategy(QFont::NoAntialias);
    const QFontMetrics metrics(font);
    QPainter painter(&image);
    painter.setFont(font);
    if (mode == BackgroundMode::Opaque) {
        painter.fillRect(at.first, at.second, metrics.horizontalAdvance(text), metrics.height(),
                         QColor(qRgb(55, 55, 20)));
    }
    painter.setPen(QColor(qRgb(220, 220, 250)));
    painter.drawText(at.first, at.second + metrics.ascent(), text);
    return image;
}

// The surface shapes each text once for both its box and its glyphs; the picture must still be
// the one Qt draws plainly, to the pixel.
TEST(Surface, TextLooksAsQtDrawsItPlainly) {
    struct Row {
        const char* name;
        const char* text;
        Pixel at;
    };
    const Row rows[] = {
        {"label", "f(x,y) = sin(x)*x+2*y", {4, 3}},
        {"kerned_pairs", "AVAWAT Ty.", {4, 3}},
        {"trailing_spaces", "a    ", {4, 3}},
        {"tab", "a\tb", {4, 3}},
        {"latin1_letters", "Th\xe9 \xc5ngstr\xf6m \xff", {4, 3}},
        {"clipped_left_and_top", "-5.00", {-7, -4}},
        {"clipped_right_and_bottom", " 5.00", {100, 30}},
    };
    const QSize size(120, 40);
    for (const BackgroundMode mode : {BackgroundMode::Opaque, BackgroundMode::Transparent}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) +
                         (mode == BackgroundMode::Opaque ? " opaque" : " transparent"));
            GraphArea area(size.width(), size.height());
            {
                Surface surface;
                surface.setTextColour(qRgb(220, 220, 250));
                surface.setBackgroundColour(qRgb(55, 55, 20));
                surface.setBackgroundMode(mode);
                surface.textOut(row.at.first, row.at.second, row.text);
            }
            EXPECT_TRUE(area.image == plainlyDrawnText(size, row.at, QString::fromLatin1(row.text), mode));
        }
    }
}

TEST(Surface, NoImageDrawsNothingAndReleasesOnce) {
    static int releases = 0;
    setGraphImage(nullptr);
    setSurfaceReleaseHook([] { ++releases; });
    {
        Surface surface;
        surface.lineTo(100, 100);
        surface.rectangle(0, 0, 10, 10);
        surface.textOut(1, 1, "x");
        surface.setPixel(0, 0, red);
    }
    setSurfaceReleaseHook(nullptr);
    EXPECT_EQ(releases, 1);
}

} // namespace
