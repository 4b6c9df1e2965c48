// File > Export picture, Copy picture and Print: what the graph area shows, drawn again.
#pragma once

class MainWindow;

// Asks for a file name and a format (PNG at 1x, 2x or 4x, or SVG) and writes the picture;
// "Cant save file" when it cannot be written.
void exportPictureFlow(MainWindow& window);
// Puts the picture, at the screen's device-pixel ratio, on the clipboard as an image.
void copyPicture(MainWindow& window);
// Prints the picture through the print dialog, filling the page, in the Light theme unless the
// dialog's Colours tab asks for Classic; the screen keeps its own theme.
void printPictureFlow(MainWindow& window);
// The same page in a print preview, with the same choice of colours on its tool bar.
void printPreviewFlow(MainWindow& window);
