// The headless picture export: tarvelion --export OUT.png|OUT.svg [options] DOC.tvl
#pragma once

inline constexpr const char* exportUsage = "tarvelion --export OUT.png|OUT.svg [--size WxH] [--scale N] "
                                           "[--timeout SECONDS] [--theme classic|light] [--] DOC.tvl";

// True when the command line asks for an export (its first argument is --export).
bool isExportCommand(int argc, char** argv);
// Loads the document as File > Open does, draws it at the given graph-area size without any
// window or display, writes the picture and returns 0; otherwise one line on standard error,
// no file, and 2.
int runExportCommand(int argc, char** argv);
