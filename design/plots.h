#pragma once
// The design picture: the monitor plot of the exchange (upper part) and the gain in dB of the
// written coefficients (lower part).
#include "ui/canvas.h"

namespace corvalen {

void ClearPicture(ui::Canvas& canvas);

// Title of the monitor plot.
void DrawDesignTitle(ui::Canvas& canvas);

// Frame of the monitor plot; ep and es are the asked filter's pass and stop edges (Nyquist units).
void DrawDesignAxes(ui::Canvas& canvas, long double ep, long double es);

// The exchange's current response as 501 pixels; a high-pass is drawn mirrored.
void DrawDesignCurve(ui::Canvas& canvas, int n, bool highPass, ui::Color color);

// Frame, labels, grids and the gain curve of coef[0 .. count-1].
void DrawCharacteristicPlot(ui::Canvas& canvas, const long double* coef, int count);

}  // namespace corvalen
