#pragma once

class QColor;

// The contrast ratio of two colours as the web's accessibility guidelines define it, from 1
// (the same) to 21 (black on white).
double contrastRatio(const QColor &a, const QColor &b);

// The preferred colour, or the first step from it toward the fallback that stands out against
// the background by at least the ratio; the fallback itself when no step does.
QColor readableColour(const QColor &preferred, const QColor &fallback, const QColor &background,
                      double ratio = 4.5);
