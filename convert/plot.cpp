#include "plot.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/trig.h"

namespace tobrenth {

namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr int kAxisX = 35;
constexpr int kAxisTop = 20;
constexpr int kAxisY = 190;
constexpr int kAxisRight = 300;
constexpr int kPoints = 250;       // the curve has kPoints + 1 points, 0 to pi
constexpr int kPixelsPerUnit = 150;
// Far enough off the picture that the visible part of a line does not change.
constexpr int64_t kFarAway = int64_t(1) << 30;

// The flags are checked after each term, so that the first fault of the sum is the one reported.
long double Amplitude(const long double (&coefs)[kPlotCoefCapacity], int count, long double w) {
    long double a = coefs[0];
    for (int k = 1; k < count; ++k) {
        a = a + Cos80(k * w) * (2 * coefs[k]);
        CheckFpFlags();
    }
    return a;
}

int CurveY(long double a) {
    long double scaled = std::fabs(a) * kPixelsPerUnit;
    CheckFpFlags();
    int64_t y = kAxisY - RoundToInt64(scaled);
    return int(std::clamp(y, -kFarAway, kFarAway));
}

}  // namespace

void DrawResponse(ui::Image& image, Rect& plotRect, const long double (&coefs)[kPlotCoefCapacity], int count) {
    count = std::min(count, kPlotCoefCapacity);
    ui::Canvas& c = image.canvas;
    plotRect = kPlotRect;
    c.FillRect(plotRect.left, plotRect.top, plotRect.right, plotRect.bottom);

    c.penColor = ui::clLime;
    c.MoveTo(kAxisX, kAxisTop);
    c.LineTo(kAxisX, kAxisY);
    c.LineTo(kAxisRight, kAxisY);

    c.penColor = ui::clBlack;
    for (int i = 0; i <= kPoints; ++i) {
        long double w = i * kPi / kPoints;
        int y = CurveY(Amplitude(coefs, count, w));
        if (i == 0) c.MoveTo(kAxisX, y);
        else c.LineTo(kAxisX + i, y);
    }
}

}  // namespace tobrenth
