#include "shell/export_command.h"

#include "document/document_file.h"
#include "document/document_format.h"
#include "document/document_reset.h"
#include "document/printable_text.h"
#include "expr/evaluation_session.h"
#include "expr/message_hook.h"
#include "expr/stop_hook.h"
#include "graph/appearance.h"
#include "graph/view_model.h"
#include "shell/appearance_settings.h"
#include "shell/file_commands.h"
#include "shell/picture_export.h"
#include "shell/startup.h"

#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>

#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace {

// The names stay the bytes the system gave, so a name that is not valid UTF-8 still names the
// file it names; --size gives the graph-area size, --scale the device-pixel ratio (0: not given).
struct ExportRequest {
    std::string output;
    std::string document;
    int width = 1280;
    int height = 800;
    int scale = 0;
    int timeout = 0; // seconds; 0 for none
    std::optional<Theme> theme; // the preferences' theme unless --theme names one
};

constexpr int maxExportSide = 16384;
constexpr int maxTimeout = 86400;
const std::string usageLine = std::string("usage: ") + exportUsage;

// The request, or the reason it is refused (an empty error means it is sound).
struct ParsedExport {
    ExportRequest request;
    std::string error;
};

// A whole decimal number in 1..limit; 0 when the text is anything else.
int wholeNumber(const char* text, char** end, int limit) {
    errno = 0;
    const long value = std::strtol(text, end, 10);
    if (*end == text || errno != 0 || value < 1 || value > limit ||
        !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return 0;
    }
    return static_cast<int>(value);
}

// The number when the whole text is one; 0 otherwise.
int wholeText(const char* text, int limit) {
    char* end = nullptr;
    const int value = wholeNumber(text, &end, limit);
    return *end == '\0' ? value : 0;
}

bool parseSize(const char* text, ExportRequest& request) {
    char* end = nullptr;
    request.width = wholeNumber(text, &end, maxExportSide);
    if (request.width == 0 || *end != 'x') return false;
    request.height = wholeText(end + 1, maxExportSide);
    return request.height != 0;
}

bool takesValue(std::string_view option) {
    return option == "--export" || option == "--size" || option == "--scale" || option == "--timeout" ||
           option == "--theme";
}

// One option with its value; the reason when it is refused, empty otherwise.
std::string readOption(std::string_view option, const char* value, ExportRequest& request) {
    if (option == "--export") {
        if (!request.output.empty()) return "only one --export can be given";
        request.output = value;
        return request.output.empty() ? usageLine : "";
    }
    if (option == "--size")
        return parseSize(value, request) ? "" : "--size needs WIDTHxHEIGHT, each 1 to 16384";
    if (option == "--scale") {
        request.scale = wholeText(value, 4);
        return request.scale != 0 ? "" : "--scale needs a whole number from 1 to 4";
    }
    if (option == "--theme") {
        request.theme = themeNamed(QString::fromLocal8Bit(value));
        return request.theme ? "" : "--theme needs classic or light";
    }
    request.timeout = wholeText(value, maxTimeout);
    return request.timeout != 0 ? "" : "--timeout needs a whole number of seconds from 1 to 86400";
}

// What the parsed arguments ask for as a whole.
std::string checkRequest(const ExportRequest& request) {
    if (request.output.empty() || request.document.empty()) return usageLine;
    const std::optional<PictureFormat> format = pictureFormatOf(QFile::decodeName(request.output.c_str()));
    if (!format) return "the picture must be named .png or .svg";
    // A drawing has no pixels to scale; taking the option silently would hide a mistake.
    if (*format == PictureFormat::Svg && request.scale != 0) return "--scale applies to PNG pictures only";
    const long long ratio = request.scale == 0 ? 1 : request.scale;
    if (request.width * ratio > maxExportSide || request.height * ratio > maxExportSide)
        return "the picture would be over 16384 pixels a side";
    return "";
}

// Options come before the document until a "--", after which the one argument left is its name.
ParsedExport parseExportCommand(int argc, char** argv) {
    ParsedExport parsed;
    ExportRequest& request = parsed.request;
    bool namesOnly = false;
    for (int i = 1; i < argc && parsed.error.empty(); ++i) {
        const std::string_view argument = argv[i];
        if (!namesOnly && argument == "--") {
            namesOnly = true;
        } else if (!namesOnly && argument.size() > 1 && argument.front() == '-') {
            parsed.error =
                takesValue(argument) && i + 1 < argc ? readOption(argument, argv[++i], request) : usageLine;
        } else if (!request.document.empty() || argument.empty()) {
            parsed.error = usageLine;
        } else {
            request.document = argument;
        }
    }
    if (parsed.error.empty()) parsed.error = checkRequest(request);
    return parsed;
}

// Both names lead to one file (through links, hard or symbolic), so writing the one would
// destroy the other.
bool sameFile(const std::string& first, const std::string& second) {
    struct stat a {
    }, b{};
    return ::stat(first.c_str(), &a) == 0 && ::stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

std::string failureMessage;

// The loader's boxes: the failure comes first, a memo after it. The memo is the document's own
// text, not a reason.
void keepFailure(const char* caption, const char* body, int) {
    if (failureMessage.empty() && std::strcmp(caption, "File memo..") != 0)
        failureMessage = std::string(caption) + ": " + body;
}

std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
bool timedOut = false;

bool stopAtDeadline(WorkEvent event) {
    if (event != WorkEvent::poll || std::chrono::steady_clock::now() < deadline) return false;
    timedOut = true;
    return true;
}

// Qt's own notes (a missing runtime folder and the like) would add lines to the one line a
// failure writes; a script reads only that line.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// Names and the loader's texts come from outside; their control bytes would steer the terminal.
int fail(std::string_view what, std::string_view detail = {}) {
    const std::string line = printable(std::string(what) + std::string(detail), LineBreaks::Joined);
    std::fprintf(stderr, "tarvelion: %s\n", line.c_str());
    return 2;
}

// One stop ends the whole picture, however many curves it has.
void drawWithinDeadline() {
    const EvaluationSession session;
    drawLoadedDocument();
}

} // namespace

bool isExportCommand(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], "--export") == 0;
}

// The offscreen platform needs no display, so the export runs where no X server exists.
int runExportCommand(int argc, char** argv) {
    const ParsedExport parsed = parseExportCommand(argc, argv);
    if (!parsed.error.empty()) return fail(parsed.error);
    const ExportRequest& request = parsed.request;
    if (sameFile(request.output, request.document)) return fail("the picture would replace the document");
    if (request.timeout > 0)
        deadline = std::chrono::steady_clock::now() + std::chrono::seconds(request.timeout);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropQtMessages);
    char programName[] = "tarvelion";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    initialiseProgram();
    loadAppearance();
    if (request.theme) appearance.theme = *request.theme;
    setMessageHook(keepFailure);
    setStopHook(stopAtDeadline);
    resizeView(request.width, request.height);

    // Read once, so that what is judged is what is loaded.
    Bytes bytes;
    if (!readWholeFile(request.document, bytes) || !hasDocumentVersion(bytes))
        return fail("cannot read the document ", request.document);
    resetDocument();
    if (readDocument(bytes) != 0) return fail(failureMessage.empty() ? damagedFileText : failureMessage);
    const PictureFormat format = *pictureFormatOf(QFile::decodeName(request.output.c_str()));
    const QByteArray picture =
        encodedPicture(format, request.scale == 0 ? 1 : request.scale, drawWithinDeadline);
    if (timedOut) return fail("the picture took longer than " + std::to_string(request.timeout) + " s");
    if (!writePictureFile(request.output, picture)) return fail("cannot write ", request.output);
    return 0;
}
