// The headless picture export: tarvelion --export OUT.png|OUT.svg [--size WxH] [--scale N] DOC.tvl
#pragma once

// True when the command line asks for an export (its first argument is --export).
bool isExportCommand(int argc, char** argv);
// Loads the document as File > Open does, draws it at the given graph-area size without any
// window or display, writes the picture and returns 0; otherwise one line on standard error,
// no file, and 2.
int runExportCommand(int argc, char** argv);

// The graph-area size of --size and the device-pixel ratio of --scale.
struct ExportRequest {
    const char* output = nullptr;
    const char* document = nullptr;
    int width = 1280;
    int height = 800;
    int scale = 1;
};

inline constexpr int maxExportSide = 16384;

// The request, or the reason it is refused (an empty error means it is sound).
struct ParsedExport {
    ExportRequest request;
    const char* error = "";
};
ParsedExport parseExportCommand(int argc, char** argv);
