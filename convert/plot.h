#pragma once
// The magnitude plot of a half coefficient list: linear |A(w)| over 0 to fs/2.
#include "ui/form.h"

namespace tobrenth {

constexpr int kPlotCoefCapacity = 2001;

struct Rect {
    int left, top, right, bottom;
};
constexpr Rect kPlotRect{0, 0, 300, 300};

// Blanks plotRect of the picture, draws the green axes and the black curve of the first count
// entries of coefs (entry 0 always; a count beyond the capacity uses the whole array).
void DrawResponse(ui::Image& image, Rect& plotRect, const long double (&coefs)[kPlotCoefCapacity], int count);

}  // namespace tobrenth
