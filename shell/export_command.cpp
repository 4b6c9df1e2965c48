#include "shell/export_command.h"

#include "document/document_file.h"
#include "document/document_format.h"
#include "expr/message_hook.h"
#include "graph/view_model.h"
#include "shell/file_commands.h"
#include "shell/picture_export.h"
#include "shell/startup.h"

#include <QFile>
#include <QGuiApplication>
#include <QtGlobal>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// The graph-area size of --size and the device-pixel ratio of --scale.
struct ExportRequest {
    const char* output = nullptr;
    const char* document = nullptr;
    int width = 1280;
    int height = 800;
    int scale = 1;
};

constexpr int maxExportSide = 16384;

// The request, or the reason it is refused (an empty error means it is sound).
struct ParsedExport {
    ExportRequest request;
    const char* error = "";
};

// A whole decimal number in 1..limit; 0 when the text is anything else.
int sideLength(const char* text, char** end, int limit) {
    errno = 0;
    const long value = std::strtol(text, end, 10);
    if (*end == text || errno != 0 || value < 1 || value > limit ||
        !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return 0;
    }
    return static_cast<int>(value);
}

bool parseSize(const char* text, ExportRequest& request) {
    char* end = nullptr;
    request.width = sideLength(text, &end, maxExportSide);
    if (request.width == 0 || *end != 'x') return false;
    const char* heightText = end + 1;
    request.height = sideLength(heightText, &end, maxExportSide);
    return request.height != 0 && *end == '\0';
}

bool parseScale(const char* text, ExportRequest& request) {
    char* end = nullptr;
    request.scale = sideLength(text, &end, 4);
    return request.scale != 0 && *end == '\0';
}

std::string lastMessage;

// The loader's boxes (a memo, then the failure) become the one line of a failure: the last one.
void keepLastMessage(const char* caption, const char* body, int) {
    lastMessage = std::string(caption) + ": " + body;
    std::replace(lastMessage.begin(), lastMessage.end(), '\n', ' ');
}

// Qt's own notes (a missing runtime folder and the like) would add lines to the one line a
// failure writes; a script reads only that line.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

int fail(const char* what, const char* detail = "") {
    std::fprintf(stderr, "tarvelion: %s%s\n", what, detail);
    return 2;
}

// The request, or the reason it is refused.
ParsedExport parseExportCommand(int argc, char** argv) {
    ParsedExport parsed;
    ExportRequest& request = parsed.request;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argument, "--export") == 0 && hasValue) {
            request.output = argv[++i];
        } else if (std::strcmp(argument, "--size") == 0 && hasValue) {
            if (!parseSize(argv[++i], request)) parsed.error = "--size needs WIDTHxHEIGHT, each 1 to 16384";
        } else if (std::strcmp(argument, "--scale") == 0 && hasValue) {
            if (!parseScale(argv[++i], request)) parsed.error = "--scale needs a whole number from 1 to 4";
        } else if (argument[0] == '-' || request.document != nullptr) {
            parsed.error = "usage: tarvelion --export OUT.png|OUT.svg [--size WxH] [--scale N] DOC.tvl";
        } else {
            request.document = argument;
        }
        if (parsed.error[0] != '\0') return parsed;
    }
    if (request.output == nullptr || request.document == nullptr) {
        parsed.error = "usage: tarvelion --export OUT.png|OUT.svg [--size WxH] [--scale N] DOC.tvl";
    } else if (!pictureFormatOf(QFile::decodeName(request.output))) {
        parsed.error = "the picture must be named .png or .svg";
    } else if (static_cast<long long>(request.width) * request.scale > maxExportSide ||
               static_cast<long long>(request.height) * request.scale > maxExportSide) {
        parsed.error = "the picture would be over 16384 pixels a side";
    }
    return parsed;
}

} // namespace

bool isExportCommand(int argc, char** argv) {
    return argc > 1 && std::strcmp(argv[1], "--export") == 0;
}

// The offscreen platform needs no display, so the export runs where no X server exists.
int runExportCommand(int argc, char** argv) {
    const ParsedExport parsed = parseExportCommand(argc, argv);
    if (parsed.error[0] != '\0') return fail(parsed.error);
    const ExportRequest& request = parsed.request;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropQtMessages);
    char programName[] = "tarvelion";
    int qtArgc = 1;
    char* qtArgv[] = {programName, nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    initialiseProgram();
    setMessageHook(keepLastMessage);
    resizeView(request.width, request.height);

    // Read once, so that what is judged is what is loaded.
    Bytes bytes;
    if (!readWholeFile(request.document, bytes) || !hasDocumentVersion(bytes))
        return fail("cannot read the document ", request.document);
    startNewDocument();
    if (readDocument(bytes) != 0) return fail(lastMessage.empty() ? "damaged document" : lastMessage.c_str());
    const QString output = QFile::decodeName(request.output);
    if (!writePicture(output, *pictureFormatOf(output), request.scale, drawLoadedDocument)) {
        return fail("cannot write ", request.output);
    }
    return 0;
}
