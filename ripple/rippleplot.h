#pragma once
// The ripple plot: gain in dB around 0 dB at one of fifteen full scales over one of three
// frequency-axis widths, drawn on a picture area's bitmap.
#include <string>
#include <vector>

#include "ripple/efcreader.h"
#include "ui/form.h"

namespace mirsadel {

constexpr int kScaleCount = 15;
constexpr int kCurvePoints = 5 * 5000;  // points after the start point; the last one is fs/2

struct ScaleRow {
    long double fullScaleDb;
    int pxPerDb;  // 100 / fullScaleDb
    const char* itemText;
    const char* fullScaleText;
    int fullTextOffset;  // pixels left of x = 100
    const char* halfScaleText;
    int halfTextOffset;
};

// Row s of the full-scale table; an index outside 0..14 gives row 0.
const ScaleRow& ScaleRowOf(int s);

// One blank and x in the fixed form of precision 2 with 2 decimals.
std::string FreqLabelText(long double x);

// The row of an amplitude at scale s: floor at -200 dB, clipped at 1.25 full scales, 0 dB on row 200.
int CurveRow(long double amplitude, int s);
// The column of point L on an axis: 100 + L / 5 / w, halves to the even column.
int CurveColumn(int L, int axis);

// Amplitudes at L = 0 .. kCurvePoints (frequency L / 50000 of fs), each sum taken in ascending k.
long double StartAmplitude(const CoefFile& file);
long double Amplitude(const CoefFile& file, int L);
// All kCurvePoints + 1 amplitudes, spread over up to `threads` threads; equal bit for bit to
// calling the two functions above one point at a time.
void EvaluateAmplitudes(const CoefFile& file, std::vector<long double>& out, int threads);

// Draws the plot for scale s and axis choice (0 normal, 1 wide, else veryWide) on image and sets
// its width. With parallel, the amplitudes are computed on several threads before drawing.
void DrawRipple(ui::Image& image, const CoefFile& file, int s, int axis, bool parallel = true);

}  // namespace mirsadel
