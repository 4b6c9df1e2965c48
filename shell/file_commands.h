// The File menu: a new document, the Open flow and saving.
#pragma once

#include <string>

class MainWindow;

// A readable file that starts with this version's tag.
bool holdsDocument(const std::string& path);
// The picture a loaded document asks for by its plot mode (the parametric mode also shows its
// curve from then on).
void drawLoadedDocument();

// File > New: the document state back to its start, then blank axes.
void startNewDocument();
// Asks for a file, starts a new document, loads the file and redraws by its plot mode.
void openDocumentFlow(MainWindow& window);
// Writes the document to documentPath, asking for a name first when askForName is set;
// a cancelled prompt writes nothing.
void saveDocumentFlow(MainWindow& window, bool askForName);
