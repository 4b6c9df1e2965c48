// The open and save prompts for documents: the only window code of the document layer.
#pragma once

#include "graph/plot_settings.h"

#include <string_view>

class QString;
class QWidget;

// Each returns 1 when the user confirmed a file name, which then stands in path (full path) and
// title (file-name part); 0 when cancelled, and then both buffers are unchanged.
int openPrompt(QWidget* owner, PathText& path, PathText& title);
int savePrompt(QWidget* owner, PathText& path, PathText& title);
// Stores a name chosen without a prompt (the command line, a drop) as a confirmed prompt does;
// a name too long for the buffers is refused with a box, returning 0 with both unchanged. The
// name is taken in the system's own bytes, so one that is not valid text still names its file.
int storeDocumentName(QWidget* owner, std::string_view name, PathText& path, PathText& title);
int storeDocumentName(QWidget* owner, const QString& name, PathText& path, PathText& title);
