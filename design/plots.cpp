#include "design/plots.h"

#include <cstdint>

#include "design/engine.h"
#include "design/engine_parallel.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"

namespace corvalen {

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

int32_t CharRows[kCharSamples];  // the curve's rows, filled afresh by every plot

// x of a band edge given in Nyquist units.
int EdgeX(long double edge) { return int(70 + RoundToInt64(500 * edge)); }

void Line(ui::Canvas& canvas, int x0, int y0, int x1, int y1) {
    canvas.MoveTo(x0, y0);
    canvas.LineTo(x1, y1);
}

void DrawEdgeMarker(ui::Canvas& canvas, int x) {
    for (int y = 84; y <= 298; y += 2) canvas.SetPixel(x, y, ui::clLime);
}

void DrawFrequencyLabels(ui::Canvas& canvas, int y, const char* last) {
    canvas.TextOut(68, y, "0");
    canvas.TextOut(164, y, "0.1");
    canvas.TextOut(264, y, "0.2");
    canvas.TextOut(364, y, "0.3");
    canvas.TextOut(464, y, "0.4");
    canvas.TextOut(564, y, last);
}

void DrawCharacteristicFrame(ui::Canvas& canvas) {
    canvas.TextOut(20, 430, "### charactoristic ###");
    canvas.MoveTo(20, 450);
    canvas.LineTo(20, 820);
    canvas.LineTo(620, 820);
    canvas.LineTo(620, 450);
    canvas.LineTo(20, 450);
    canvas.TextOut(560, 822, "601x371");
    canvas.MoveTo(70, 480);
    canvas.LineTo(70, 780);
    canvas.LineTo(590, 780);
}

void DrawGainScale(ui::Canvas& canvas) {
    canvas.TextOut(40, 470, "(Gain)");
    canvas.TextOut(46, 495, "0dB");
    canvas.TextOut(34, 535, "-20dB");
    canvas.TextOut(34, 575, "-40dB");
    canvas.TextOut(34, 615, "-60dB");
    canvas.TextOut(34, 655, "-80dB");
    canvas.TextOut(28, 695, "-100dB");
    canvas.TextOut(28, 735, "-120dB");
    canvas.TextOut(28, 775, "-140dB");
    for (int i = 0; i <= 7; ++i) {
        const int y = 500 + 40 * i;
        Line(canvas, 68, y, 70, y);
        for (int j = 0; j <= 250; ++j) canvas.SetPixel(70 + 2 * j, y, ui::clBlack);
    }
}

void DrawFrequencyScale(ui::Canvas& canvas) {
    for (int k = 0; k <= 5; ++k) Line(canvas, 70 + 100 * k, 780, 70 + 100 * k, 783);
    for (int j = 0; j <= 150; ++j)
        for (int x = 170; x <= 570; x += 100) canvas.SetPixel(x, 780 - 2 * j, ui::clBlack);
    for (int j = 0; j <= 75; ++j)
        for (int x = 120; x <= 520; x += 100) canvas.SetPixel(x, 780 - 4 * j, ui::clBlack);
    canvas.TextOut(590, 785, "(fs)");
    DrawFrequencyLabels(canvas, 785, "0.5");
}

// x of sample i: 512 samples per column, the column nearest to i / 512, ties to even.
int SampleX(int i) {
    int q = i / 512;
    const int r = i % 512;
    if (r > 256 || (r == 256 && q % 2 == 1)) ++q;
    return 70 + q;
}

void DrawGainCurve(ui::Canvas& canvas, const long double* coef, int count) {
    CharacteristicRows(coef, count, CharRows);
    canvas.MoveTo(70, CharRows[0]);
    for (int i = 1; i < kCharSamples; ++i) canvas.LineTo(SampleX(i), CharRows[i]);
}

}  // namespace

void ClearPicture(ui::Canvas& canvas) { canvas.FillRect(0, 0, 700, 850); }

void DrawDesignTitle(ui::Canvas& canvas) { canvas.TextOut(50, 50, "### design monitor ###"); }

void DrawDesignAxes(ui::Canvas& canvas, long double ep, long double es) {
    canvas.MoveTo(70, 80);
    canvas.LineTo(70, 300);
    canvas.LineTo(610, 300);
    for (int j = 1; j <= 250; ++j) canvas.SetPixel(70 + 2 * j, 100, ui::clLime);
    for (int j = 1; j <= 250; ++j) canvas.SetPixel(70 + 2 * j, 200, ui::clLime);
    for (int y = 100; y <= 300; y += 100) Line(canvas, 67, y, 70, y);
    canvas.TextOut(58, 96, "1");
    canvas.TextOut(50, 196, "0.5");
    canvas.TextOut(58, 296, "0");
    for (int j = 0; j <= 10; ++j) {
        const int x = 70 + 50 * j;
        canvas.MoveTo(x, 300);
        canvas.LineTo(x, 303);
        if (j % 2 == 0) canvas.LineTo(x, 305);
    }
    DrawFrequencyLabels(canvas, 307, "0.5 (fs)");

    const int xp = EdgeX(ep);
    const int xs = EdgeX(es);
    DrawEdgeMarker(canvas, xp);
    DrawEdgeMarker(canvas, xs);
    if (!(es < ep)) {
        canvas.TextOut(xp - 24, 70, "fpass");
        canvas.TextOut(xs - 4, 70, "fstop");
    } else {
        canvas.TextOut(xp - 4, 70, "fpass");
        canvas.TextOut(xs - 24, 70, "fstop");
    }
    canvas.TextOut(400, 330, Sjis("注).赤い点は収束中の中間データです。"));
}

void DrawDesignCurve(ui::Canvas& canvas, int n, bool highPass, ui::Color color) {
    // The 501 evaluations are independent: spread them over the engine's threads, draw in order.
    long double response[501];
    ParallelFor(501, [&](int begin, int end) {
        for (int F = begin; F < end; ++F) response[F] = InterpolateResponse(n, F * kPi / 500);
    });
    for (int F = 0; F <= 500; ++F) {
        const long double p = response[F];
        const int64_t y = 300 - RoundToInt64(200 * p);
        // A response far off the picture lands nowhere on it.
        if (y < INT32_MIN || y > INT32_MAX) continue;
        canvas.SetPixel(highPass ? 570 - F : 70 + F, int(y), color);
    }
}

void DrawCharacteristicPlot(ui::Canvas& canvas, const long double* coef, int count) {
    DrawCharacteristicFrame(canvas);
    DrawGainScale(canvas);
    DrawFrequencyScale(canvas);
    DrawGainCurve(canvas, coef, count);
}

}  // namespace corvalen
