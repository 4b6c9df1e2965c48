// File > Export picture, Copy picture and Print: what the graph area shows, drawn again.
#pragma once

class MainWindow;

// Asks for a file name and a format (PNG at 1x, 2x or 4x, or SVG) and writes the picture;
// "Cant save file" when it cannot be written.
void exportPictureFlow(MainWindow& window);
// Puts the picture, at the screen's device-pixel ratio, on the clipboard as an image.
void copyPicture(MainWindow& window);
// Prints the picture through the print dialog, scaled to the page.
void printPictureFlow(MainWindow& window);
