// The open and save prompts for documents: the only window code of the document layer.
#pragma once

#include "graph/plot_settings.h"

class QWidget;

// Each returns 1 when the user confirmed a file name, which then stands in path (full path) and
// title (file-name part); 0 when cancelled, and then both buffers are unchanged.
int openPrompt(QWidget* owner, PathText& path, PathText& title);
int savePrompt(QWidget* owner, PathText& path, PathText& title);
