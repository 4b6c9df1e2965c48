// The colours of the picture under the chosen theme and palette: Classic keeps the seed's
// colours on a near-black ground; Light draws dark ink on white, as paper and projectors want.
#pragma once

#include <QRgb>

struct ColourScheme {
    QRgb background;
    QRgb axis;
    QRgb majorGrid;
    QRgb minorGrid;
    QRgb labelText;
    QRgb labelBox;
    QRgb chord;
    QRgb chordReadout;
    QRgb parametric;
    QRgb parameterMarker;
    QRgb implicit;
    QRgb region;
    QRgb graphExpression;
    QRgb traceMarker;
    // Readouts in a curve's colour take it this much nearer to the ground (1: the colour itself).
    int readoutLightening;
};

// The one-off graph of a typed expression on the Classic theme: magenta, which no other curve
// uses and which stands out from the dark ground (the dark pen all but vanished on it).
inline constexpr QRgb graphExpressionColour = qRgb(255, 0, 255);

const ColourScheme& colours();
// The curve colour of function row k (0 to 9, any other row wraps): the seed's blue ramp on the
// Classic theme with the Classic palette, otherwise ten colours that colour-blind readers tell
// apart (Okabe and Ito's, widened to ten), picked for the theme's ground.
QRgb rowColour(int row);
// The colour of row k's polar graph and its label.
QRgb polarColour(int row);
// The colour with its distance to white divided by divisor (1 or more).
QRgb lighterColour(QRgb colour, int divisor);
// A readout's ink for a curve of this colour: readable on the theme's ground.
QRgb readoutColour(QRgb curveColour);
