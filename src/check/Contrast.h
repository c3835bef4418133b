#pragma once
// Legibility as WCAG 2.x measures it: the contrast ratio between two colours
// from their relative luminance, and the colours the reader paints for a
// skin's colour values.

#include "document/ColourTable.h"

#include <QImage>
#include <QRect>
#include <QRgb>

#include <string>

namespace fabulor {

// WCAG 2.x relative luminance of an sRGB colour, 0 (black) to 1 (white).
double RelativeLuminance(QRgb colour);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on white.
double ContrastRatio(QRgb a, QRgb b);

// The contrast of text in textColour over the pixels of background inside
// box that only the worst `share` of them fall below: a few dark pixels of a
// light picture do not spoil the box, a dark corner of a tenth of it does.
// Pixels of box outside the picture count as `outside`.
double WorstContrast(const QImage& background, QRect box, QRgb textColour, QRgb outside, double share = 0.05);

// The colour the reader paints for a skin colour: 00BBGGRR as it is, a
// window-system colour (80000000 + index) as Windows shows it by default.
QRgb ReaderColour(Colour colour);

// A number in Polish style, cut (not rounded) to `decimals` places, so that
// a ratio just under a limit never reads as the limit: 4.48 -> "4,4".
std::string PolishNumber(double value, int decimals = 1);

} // namespace fabulor
