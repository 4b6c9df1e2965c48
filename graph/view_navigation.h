// The view moves of pointer navigation, in the area's pixels: zoom about the pointer, drag the
// picture, zoom to a drawn box. Plain C++, beside the view operations of the menus.
#pragma once

// The world point at (column, row) stays under it while the view is scaled by factor.
void zoomAbout(int column, int row, double factor);
// The picture follows the pointer by that many columns and rows.
void panByPixels(int columns, int rows);
// The view becomes the box between the two corners, in either order; a box less than two
// pixels across or high changes nothing (a click, or a slip of the hand).
void zoomToBox(int column0, int row0, int column1, int row1);
