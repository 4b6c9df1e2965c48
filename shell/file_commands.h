// The File menu: a new document, the Open flow, saving, and the question about unsaved work
// that comes before anything that would throw it away.
#pragma once

#include "graph/view_model.h"

#include <optional>
#include <span>
#include <string>

class MainWindow;
class QString;

// The picture a document loaded for the headless export asks for by its plot mode (the
// parametric mode also shows its curve from then on).
void drawLoadedDocument();
// Puts the document back to a snapshot (writeDocumentSnapshot) the way Open loads a file, with
// no box, no set-up dialog, no file touched and nothing drawn; view, when given, is set instead
// of the snapshot's limits.
void restoreDocument(std::span<const unsigned char> snapshot, const std::optional<ViewLimits>& view);

// Asks about unsaved work, then clears the document as File > New does.
void newDocumentFlow(MainWindow& window);
// Asks about unsaved work and for a file, starts a new document, loads the file and redraws by
// its plot mode.
void openDocumentFlow(MainWindow& window);
// The Open flow for a name given without a prompt (the command line, a drop), in the system's
// own bytes.
void openDocumentAt(MainWindow& window, const std::string& name);
// Writes the document to documentPath, asking for a name first when askForName is set;
// a cancelled prompt writes nothing. Returns true when the document was written.
bool saveDocumentFlow(MainWindow& window, bool askForName);
// The file-name part of the document's name; empty while it has none.
QString documentName();
// When the work is unsaved, asks "Save changes to NAME?" with Save, Discard and Cancel. Returns
// true when the caller may go on: nothing was unsaved, Discard, or Save wrote the document.
bool settleUnsavedChanges(MainWindow& window);
