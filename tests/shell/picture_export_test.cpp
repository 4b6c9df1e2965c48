// Pictures out: PNG at each device-pixel ratio, the SVG drawing read back, File > Export
// picture, and the headless export of the program itself with no display.
#include "document/document_file.h"
#include "expr/command_interpreter.h"
#include "expr/compiler.h"
#include "expr/message_hook.h"
#include "graph/appearance.h"
#include "graph/curves.h"
#include "graph/explore_marks.h"
#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/graph_area.h"
#include "shell/picture_export.h"
#include "shell/redraws.h"
#include "shell_test_support.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QPageSize>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr QRgb axis = qRgb(255, 0, 0);
constexpr QRgb implicitDots = qRgb(100, 100, 255);

std::vector<std::string> messages;

void recordMessage(const char*, const char* body, int) {
    messages.emplace_back(body);
}

// The window's picture: y = x on the axes, shaded from -2 to 1 with its area's readout, then a
// circle x^2 + y^2 = 4 drawn over it as the Implicit dialog's Plot draws it.
std::unique_ptr<MainWindow> windowWithCurveAndCircle() {
    auto window = makeShownWindow();
    if (!window) return window;
    defineFunctionFromText("f(x)=x");
    displayFlags[0] = 1;
    setAreaShading({compileExpression("x"), -2.0, 1.0, rowColour(0), -1.5, "area = -1.500000"});
    window->requestRepaint();
    window->graphArea()->repaint();
    plotSettings.implicitLeft[0] = "x^2+y^2";
    plotSettings.implicitRight[0] = "4";
    redraw(Trigger::ImplicitPlot);
    return window;
}

QImage decoded(const QByteArray& bytes) {
    return QImage::fromData(bytes, "PNG").convertToFormat(QImage::Format_RGB32);
}

bool holdsColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & RGB_MASK) == (colour & RGB_MASK)) return true;
        }
    }
    return false;
}

TEST(PictureExport, PngAtEachRatioShowsWhatTheWindowShows) {
    auto window = windowWithCurveAndCircle();
    ASSERT_TRUE(window);
    for (const int r : {1, 2, 4}) {
        SCOPED_TRACE(r);
        const QImage png = decoded(encodedPicture(PictureFormat::Png, r, drawScene));
        ASSERT_EQ(png.size(), QSize(graphSize * r, graphSize * r));
        if (r == 1) {
            EXPECT_EQ(png, window->graphArea()->image().convertToFormat(QImage::Format_RGB32));
        }
        EXPECT_EQ(png.pixel(10 * r, 250 * r) & RGB_MASK, axis & RGB_MASK);
        EXPECT_TRUE(holdsColour(png, implicitDots));
    }
    EXPECT_EQ(graphView.width, graphSize);
}

// What a page receives: the extent of the rectangles drawn (the picture's ground covers all of
// it), the colour of the first one, and the size on paper, in points, of every text.
class PageRecorder : public QPaintEngine {
  public:
    explicit PageRecorder(int resolution) : QPaintEngine(AllFeatures), resolution_(resolution) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyTransform) transform_ = state.transform();
        if (state.state() & DirtyBrush) brush_ = state.brush().color();
    }
    void drawRects(const QRectF* rects, int count) override {
        if (!ground.isValid()) ground = brush_;
        for (int i = 0; i < count; ++i)
            extent |= transform_.mapRect(rects[i]);
    }
    void drawTextItem(const QPointF&, const QTextItem& item) override {
        textPoints.push_back(item.font().pixelSize() * transform_.m22() * 72.0 / resolution_);
    }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    Type type() const override { return User; }

    QRectF extent;
    QColor ground;
    std::vector<double> textPoints;

  private:
    int resolution_;
    QTransform transform_;
    QColor brush_;
};

// A printer's page as a paint device, recording what is drawn on it.
class RecordedPage : public QPaintDevice {
  public:
    RecordedPage(QSize size, int resolution) : size_(size), resolution_(resolution), recorder(resolution) {}
    QPaintEngine* paintEngine() const override { return &recorder; }
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return resolution_;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return static_cast<int>(devicePixelRatioFScale());
        default:
            return QPaintDevice::metric(metric);
        }
    }

    QSize size_;
    int resolution_;
    mutable PageRecorder recorder;
};

// A print of a wide area on A4 and Letter, upright and across: the PDF is written, and the same
// page fills the printable area at the area's proportions, in the chosen theme, with labels of 8 points or
// more; the screen keeps its theme and its view.
TEST(PictureExport, PrintFillsThePageWithReadableLabels) {
    auto window = windowWithCurveAndCircle();
    ASSERT_TRUE(window);
    struct Row {
        const char* name;
        QPageSize::PageSizeId size;
        QPageLayout::Orientation orientation;
        Theme theme;
        QRgb ground;
    };
    const Row rows[] = {
        {"a4_portrait_light", QPageSize::A4, QPageLayout::Portrait, Theme::Light, qRgb(255, 255, 255)},
        {"a4_landscape_classic", QPageSize::A4, QPageLayout::Landscape, Theme::Classic, qRgb(10, 10, 20)},
        {"letter_portrait_light", QPageSize::Letter, QPageLayout::Portrait, Theme::Light, qRgb(255, 255, 255)},
        {"letter_landscape_light", QPageSize::Letter, QPageLayout::Landscape, Theme::Light, qRgb(255, 255, 255)},
    };
    const QTemporaryDir dir;
    const ResizedView wide(1600, 900); // as a maximised window's graph area
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QString::fromLatin1(row.name) + ".pdf"));
        printer.setPageSize(QPageSize(row.size));
        printer.setPageOrientation(row.orientation);
        printPicture(printer, row.theme, drawScene);
        QFile pdf(printer.outputFileName());
        ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
        EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));

        const int resolution = printer.resolution();
        const QRect printable(QPoint(0, 0), printer.pageLayout().paintRectPixels(resolution).size());
        RecordedPage page(printable.size(), resolution);
        QPainter painter(&page);
        drawPage(painter, printable, resolution, row.theme, drawScene);
        painter.end();
        const PageRecorder& drawn = page.recorder;
        EXPECT_EQ(drawn.ground.rgb() & RGB_MASK, row.ground & RGB_MASK);
        EXPECT_TRUE(QRectF(printable).adjusted(-1, -1, 1, 1).contains(drawn.extent));
        EXPECT_GT(std::max(drawn.extent.width() / printable.width(), drawn.extent.height() / printable.height()),
                  0.995);
        EXPECT_NEAR(drawn.extent.width() / drawn.extent.height(), 16.0 / 9, 0.01);
        ASSERT_FALSE(drawn.textPoints.empty());
        EXPECT_GE(*std::min_element(drawn.textPoints.begin(), drawn.textPoints.end()), minimumLabelPoints);
        EXPECT_EQ(appearance.theme, Theme::Classic);
        EXPECT_EQ(graphView.width, 1600);
    }
}

// The drawing's elements with the stroke colour each inherits from its groups.
struct SvgContent {
    std::vector<QString> strokesOfLines;
    int longestLine = 0;
    QStringList texts;
    int images = 0;
    int elements = 0;
};

SvgContent readSvg(const QByteArray& bytes) {
    SvgContent content;
    QXmlStreamReader reader(bytes);
    std::vector<QString> strokes{QString()};
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement()) strokes.pop_back();
        if (!reader.isStartElement()) continue;
        ++content.elements;
        const QString stroke = reader.attributes().value("stroke").toString();
        strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke);
        const auto name = reader.name();
        if (name == QLatin1String("polyline") || name == QLatin1String("path")) {
            content.strokesOfLines.push_back(strokes.back());
            const QString points = reader.attributes().value("points").toString();
            content.longestLine = std::max(content.longestLine, static_cast<int>(points.count(',')));
        } else if (name == QLatin1String("image")) {
            ++content.images;
        } else if (name == QLatin1String("text")) {
            content.texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            strokes.pop_back();
        }
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    return content;
}

TEST(PictureExport, SvgHoldsAxisLinesCurvePathsLabelTextsAndOneImageOfDots) {
    auto window = windowWithCurveAndCircle();
    ASSERT_TRUE(window);
    const SvgContent svg = readSvg(encodedPicture(PictureFormat::Svg, 1, drawScene));
    EXPECT_GE(std::count(svg.strokesOfLines.begin(), svg.strokesOfLines.end(), "#ff0000"), 2);
    EXPECT_GE(std::count(svg.strokesOfLines.begin(), svg.strokesOfLines.end(), "#4000ff"), 1);
    EXPECT_GE(svg.longestLine, graphSize / 2); // the curve is one path, not a line per column
    for (const char* text : {"f(x) = x", "-5.00", "5.00", "area = -1.500000"})
        EXPECT_TRUE(svg.texts.contains(text)) << text;
    EXPECT_EQ(svg.images, 1);
    EXPECT_LT(svg.elements, 2000);
}

// Picks the name and the filter in the next export prompt.
ModalAnswer chooseInExportPrompt(const QString& path, int filter) {
    return ModalAnswer([path, filter](QWidget* modal) {
        auto* prompt = qobject_cast<QFileDialog*>(modal);
        if (prompt == nullptr) return false;
        prompt->selectNameFilter(prompt->nameFilters().at(filter));
        return chooseFile(prompt, path);
    });
}

TEST(PictureExport, ExportPictureWritesTheChosenFormatOrSaysItCannot) {
    struct Row {
        const char* name;
        const char* file;
        int filter;
        const char* expectedStart; // of the file; empty when no file may be left
        int width;
    };
    const Row rows[] = {
        {"png_twice_the_size", "pic.png", 1, "\x89PNG", graphSize * 2},
        {"svg_by_its_filter", "pic.svg", 3, "<?xml", 0},
        {"svg_by_its_name_under_the_png_filter", "named.svg", 0, "<?xml", 0},
        {"missing_folder", "no/such/folder/pic.png", 0, "", 0},
    };
    auto window = windowWithCurveAndCircle();
    ASSERT_TRUE(window);
    setMessageHook(recordMessage);
    const struct HookEnd {
        ~HookEnd() { setMessageHook(nullptr); } // also when an assertion ends the test early
    } hookEnd;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        messages.clear();
        QTemporaryDir dir;
        const QString path = dir.filePath(row.file);
        const ModalAnswer choose = chooseInExportPrompt(path, row.filter);
        window->runCommand(Command::ExportPicture);
        QFile file(path);
        if (row.expectedStart[0] == '\0') {
            EXPECT_EQ(messages, std::vector<std::string>{"Cant save file"});
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
            continue;
        }
        EXPECT_TRUE(messages.empty());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_TRUE(bytes.startsWith(row.expectedStart));
        if (row.width > 0) {
            EXPECT_EQ(decoded(bytes).width(), row.width);
        }
    }
}

struct ProgramRun {
    int status;
    QString err;
};

// The built program, with no display of any kind in its environment, keeping its preferences
// in configHome.
ProgramRun runProgram(const QStringList& arguments, const QString& configHome) {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    program.setProcessEnvironment(environment);
    program.start(TARVELION_PROGRAM, arguments);
    if (!program.waitForFinished(60000)) return {-1, {}};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromLocal8Bit(program.readAllStandardError())};
}

TEST(PictureExport, CommandLineExportNeedsNoDisplayAndRefusesBadRequests) {
    struct Row {
        const char* name;
        QStringList options;
        const char* output;
        const char* document; // "doc" is a saved document with y = x
        int status;
        QSize size;
        QRgb axisColour = axis;
    };
    const Row rows[] = {
        {"png_scaled", {"--size", "300x200", "--scale", "2"}, "out.png", "doc", 0, {600, 400}},
        {"png_default_size", {}, "out.png", "doc", 0, {1280, 800}},
        {"light_theme", {"--size", "300x200", "--theme", "light"}, "out.png", "doc", 0, {300, 200}, qRgb(40, 40, 40)},
        {"unknown_theme", {"--theme", "dark"}, "out.png", "doc", 2, {}},
        {"svg", {"--size", "800x600"}, "out.svg", "doc", 0, {}},
        {"zero_side", {"--size", "0x200"}, "out.png", "doc", 2, {}},
        {"negative_side", {"--size", "-5x10"}, "out.png", "doc", 2, {}},
        {"side_over_16384", {"--size", "16385x10"}, "out.png", "doc", 2, {}},
        {"scaled_over_16384", {"--size", "9000x10", "--scale", "2"}, "out.png", "doc", 2, {}},
        {"size_not_a_size", {"--size", "300"}, "out.png", "doc", 2, {}},
        {"unknown_format", {}, "out.gif", "doc", 2, {}},
        {"missing_document", {}, "out.png", "missing.tvl", 2, {}},
        {"damaged_document", {}, "out.png", "damaged.tvl", 2, {}},
        {"missing_folder", {}, "no/such/out.png", "doc", 2, {}},
    };
    QTemporaryDir dir;
    resetProgramState();
    defineFunctionFromText("f(x)=x");
    displayFlags[0] = 1;
    ASSERT_EQ(saveDocument(dir.filePath("doc").toStdString()), 0);
    QFile damaged(dir.filePath("damaged.tvl"));
    ASSERT_TRUE(QFile::copy(dir.filePath("doc"), damaged.fileName()));
    ASSERT_TRUE(damaged.resize(damaged.size() - 3));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString output = dir.filePath(QString(row.output).replace("out", row.name));
        const ProgramRun run =
            runProgram(QStringList{"--export", output} << row.options << dir.filePath(row.document), dir.path());
        EXPECT_EQ(run.status, row.status) << run.err.toStdString();
        if (row.status != 0) {
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
            EXPECT_FALSE(QFile::exists(output));
            continue;
        }
        QFile file(output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        if (row.size.isEmpty()) {
            EXPECT_TRUE(bytes.contains("<svg")) << bytes.left(200).toStdString();
            continue;
        }
        const QImage png = decoded(bytes);
        EXPECT_EQ(png.size(), row.size);
        // The x axis lies halfway down, in device pixels.
        EXPECT_EQ(png.pixel(10, row.size.height() / 2) & RGB_MASK, row.axisColour & RGB_MASK);
    }
}

// The built program with names in the system's own bytes, which a QStringList cannot carry, and
// its standard error on a pseudo-terminal, as when a user starts it in one: gives what the
// terminal received.
ProgramRun runProgramOnTerminal(const std::vector<std::string>& arguments) {
    std::vector<std::string> words{TARVELION_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (terminal < 0) return {-1, {}};
    const char* side = ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0 ? ::ptsname(terminal) : nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (side != nullptr) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, side, O_RDWR | O_NOCTTY, 0);
    pid_t child = -1;
    const int spawned = side == nullptr ? -1 : posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool ran = spawned == 0 && ::waitpid(child, &status, 0) == child;
    // What the terminal still holds; it reads as an error once it is empty and its other side closed.
    std::string received;
    ::fcntl(terminal, F_SETFL, O_NONBLOCK);
    char buffer[4096];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    ::close(terminal);
    std::erase(received, '\r'); // the terminal's own line ends
    return {ran && WIFEXITED(status) ? WEXITSTATUS(status) : -1, QString::fromLatin1(received)};
}

bool startsAsDocument(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string start(7, '\0');
    return file.read(start.data(), 7) && start == "001.200";
}

TEST(PictureExport, CommandLineExportHarmsNoDocumentAndNoTerminal) {
    struct Row {
        const char* name;
        std::vector<std::string> arguments; // "@" stands for the folder, the output follows --export
        const char* refusal;                // the one line on standard error; empty when written
    };
    const Row rows[] = {
        {"picture_named_as_its_document",
         {"--export", "@/doc.png", "@/doc.png"},
         "the picture would replace the document"},
        {"picture_through_a_link_to_its_document",
         {"--export", "@/same.png", "@/doc.tvl"},
         "the picture would replace the document"},
        {"second_export",
         {"--export", "@/a.png", "--export", "@/b.png", "@/doc.tvl"},
         "only one --export can be given"},
        {"scale_of_a_drawing",
         {"--export", "@/a.svg", "--scale", "2", "@/doc.tvl"},
         "--scale applies to PNG pictures only"},
        {"escape_sequences_of_a_damaged_memo",
         {"--export", "@/a.png", "@/damaged.tvl"},
         "Error: File damaged - only its sound part was read"},
        {"long_work_stopped",
         {"--export", "@/a.png", "--timeout", "1", "@/slow.tvl"},
         "the picture took longer than 1 s"},
        {"options_ended", {"--export", "@/ended.png", "--", "@/doc.tvl"}, ""},
        {"name_that_is_not_valid_text", {"--export", "@/\xff\xfe.png", "@/doc.tvl"}, ""},
    };
    QTemporaryDir dir;
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    const auto inFolder = [&folder](std::string text) {
        return text.starts_with('@') ? folder + text.substr(1) : text;
    };
    resetProgramState();
    defineFunctionFromText("f(x)=x");
    displayFlags[0] = 1;
    ASSERT_EQ(saveDocument(folder + "/doc.tvl"), 0);
    ASSERT_EQ(saveDocument(folder + "/doc.png"), 0);
    ASSERT_EQ(::symlink("doc.tvl", (folder + "/same.png").c_str()), 0);
    plotSettings.memoText = "\x1b]0;owned\x07\x1b[2J";
    ASSERT_EQ(saveDocument(folder + "/damaged.tvl"), 0);
    ASSERT_TRUE(QFile(dir.filePath("damaged.tvl")).resize(QFileInfo(dir.filePath("damaged.tvl")).size() - 3));
    plotSettings.memoText = "";
    defineFunctionFromText("f(x)=sum(n,1,100000000,x/n)");
    ASSERT_EQ(saveDocument(folder + "/slow.tvl"), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> arguments;
        for (const std::string& argument : row.arguments)
            arguments.push_back(inFolder(argument));
        const ProgramRun run = runProgramOnTerminal(arguments);
        const bool written = row.refusal[0] == '\0';
        EXPECT_EQ(run.status, written ? 0 : 2);
        EXPECT_EQ(run.err.toStdString(), written ? "" : "tarvelion: " + std::string(row.refusal) + "\n");
        if (written) {
            std::ifstream picture(arguments[1], std::ios::binary);
            std::string start(4, '\0');
            EXPECT_TRUE(picture.read(start.data(), 4) && start == "\x89PNG");
        }
        for (const char* document : {"/doc.tvl", "/doc.png"})
            EXPECT_TRUE(startsAsDocument(folder + document)) << document;
        EXPECT_FALSE(QFile::exists(dir.filePath("a.png")) || QFile::exists(dir.filePath("a.svg")));
    }
    std::filesystem::remove(folder + "/\xff\xfe.png"); // a name the folder's own clean-up cannot spell
}

} // namespace
