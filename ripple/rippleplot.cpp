#include "rippleplot.h"

#include <cmath>
#include <numbers>
#include <system_error>
#include <thread>

#include "textutil/errors.h"
#include "textutil/processors.h"
#include "textutil/trig.h"
#include "textutil/numtext.h"

namespace mirsadel {

namespace {

const ScaleRow kScaleRows[kScaleCount] = {
    {0.1L, 1000, "0.1dB", "0.1", 20, "0.05", 27},
    {0.05L, 2000, "0.05dB", "0.05", 27, "0.025", 33},
    {0.02L, 5000, "0.02dB", "0.02", 27, "0.01", 27},
    {0.01L, 10000, "0.01dB", "0.01", 27, "0.005", 33},
    {0.005L, 20000, "0.005dB", "0.005", 33, "0.0025", 39},
    {0.002L, 50000, "0.002dB", "0.002", 33, "0.001", 33},
    {0.001L, 100000, "0.001dB", "0.001", 33, "0.0005", 39},
    {0.0005L, 200000, "0.0005dB", "0.0005", 39, "0.00025", 45},
    {0.0002L, 500000, "0.0002dB", "0.0002", 39, "0.0001", 39},
    {0.0001L, 1000000, "0.0001dB", "0.0001", 39, "0.00005", 45},
    {0.00005L, 2000000, "0.00005dB", "0.00005", 45, "0.000025", 51},
    {0.00002L, 5000000, "0.00002dB", "0.00002", 45, "0.00001", 45},
    {0.00001L, 10000000, "0.00001dB", "0.00001", 45, "0.000005", 51},
    {0.000005L, 20000000, "0.000005dB", "0.000005", 51, "0.0000025", 57},
    {0.000002L, 50000000, "0.000002dB", "0.000002", 51, "0.000001", 51},
};

// One frequency-axis width.
struct Axis {
    int imageWidth;
    int right;  // R: right edge of the outer frame
    const char* sizeText;
    int plotRight;  // P: right edge of the plot box
    int lastDot;    // m: dots 0 to m on a horizontal grid line
    int divisions;  // d: 100 pixels each
    int fsX;
    int labelDivisor;  // label i shows i / labelDivisor
    bool shortLabels;  // only the first four characters of a label
    int columnDivisor;  // w: L / 5 / w is the column
};

const Axis kAxes[3] = {
    {710, 650, "621x301", 600, 250, 5, 620, 10, true, 10},
    {1210, 1150, "1121x301", 1100, 500, 10, 1120, 20, false, 5},
    {5210, 5150, "5121x301", 5100, 2500, 50, 5120, 100, false, 1},
};

const Axis& AxisOf(int axis) { return kAxes[axis == 0 ? 0 : axis == 1 ? 1 : 2]; }

constexpr long double kPi = std::numbers::pi_v<long double>;
constexpr long double kFloor = 1e-10L;  // -200 dB
constexpr long double kClipFactor = 1.25L;
constexpr int kDensity = 5;
constexpr int kAngleDivisor = 10000;
constexpr int kZeroDbY = 200;
constexpr int kPlotLeft = 100;
constexpr int kPlotTop = 75;
constexpr int kPlotBottom = 325;

// The number of terms: coefNum, never beyond the store.
int TermCount(const CoefFile& file) {
    if (file.coefNum < 0) return 0;
    return file.coefNum < kCoefCapacity ? file.coefNum : kCoefCapacity;
}

void DrawFrame(ui::Canvas& c, const Axis& ax) {
    c.MoveTo(30, 50);
    c.LineTo(30, 350);
    c.LineTo(ax.right, 350);
    c.LineTo(ax.right, 50);
    c.LineTo(30, 50);
    c.TextOut(ax.right - 60, 352, ax.sizeText);
    c.MoveTo(ax.plotRight, kPlotTop);
    c.LineTo(kPlotLeft, kPlotTop);
    c.LineTo(kPlotLeft, kPlotBottom);
    c.LineTo(ax.plotRight, kPlotBottom);
    c.LineTo(ax.plotRight, kPlotTop);
}

void DrawGainLabels(ui::Canvas& c, const ScaleRow& row) {
    c.TextOut(65, 60, "Gain");
    c.TextOut(65, 75, "(dB)");
    c.TextOut(100 - row.fullTextOffset, 95, std::string(" ") + row.fullScaleText);
    c.TextOut(100 - row.halfTextOffset, 145, std::string(" ") + row.halfScaleText);
    c.TextOut(91, 195, "0");
    c.TextOut(98 - row.halfTextOffset, 245, std::string("-") + row.halfScaleText);
    c.TextOut(98 - row.fullTextOffset, 295, std::string("-") + row.fullScaleText);
}

void DrawGrid(ui::Canvas& c, const Axis& ax) {
    for (int y = 100; y <= 300; y += 50) {
        c.MoveTo(98, y);
        c.LineTo(100, y);
        for (int j = 0; j <= ax.lastDot; ++j) c.SetPixel(kPlotLeft + 2 * j, y, ui::clBlack);
    }
    for (int i = 0; i <= ax.divisions; ++i) {
        c.MoveTo(kPlotLeft + 100 * i, kPlotBottom);
        c.LineTo(kPlotLeft + 100 * i, 328);
    }
    for (int i = 1; i <= ax.divisions; ++i)
        for (int y = kPlotTop; y <= kPlotBottom; y += 2) c.SetPixel(kPlotLeft + 100 * i, y, ui::clBlack);
    for (int i = 1; i <= ax.divisions; ++i)
        for (int y = kPlotTop; y <= 323; y += 4) c.SetPixel(50 + 100 * i, y, ui::clBlack);
}

void DrawFreqLabels(ui::Canvas& c, const Axis& ax) {
    c.TextOut(ax.fsX, 330, "(fs)");
    for (int i = 0; i <= ax.divisions; ++i) {
        std::string text = FreqLabelText(static_cast<long double>(i) / ax.labelDivisor);
        if (ax.shortLabels) text = text.substr(0, 4);
        c.TextOut(90 + 100 * i, 330, text);
    }
}

// The sum of the start point, in ascending k; afterTerm sees the sum after each term.
template <class AfterTerm>
long double StartSum(const CoefFile& file, AfterTerm afterTerm) {
    if (file.isShift90) return 0;
    int n = TermCount(file);
    long double sum = file.isOdd ? 0.0L : file.coef[0];
    for (int k = file.isOdd ? 0 : 1; k < n; ++k) {
        sum = sum + 2 * file.coef[size_t(k)];
        afterTerm(sum);
    }
    return sum;
}

// The sum of point L, in ascending k; afterTerm sees the sum after each term.
template <class AfterTerm>
long double PointSum(const CoefFile& file, int L, AfterTerm afterTerm) {
    const int n = TermCount(file);
    const bool odd = file.isOdd, sine = file.isShift90;
    long double sum = odd ? 0.0L : file.coef[0];
    for (int k = odd ? 0 : 1; k < n; ++k) {
        long double angle = odd ? (k + 0.5L) * 2 * kPi * L / kDensity / kAngleDivisor
                                : static_cast<long double>(2 * k) * kPi * L / kDensity / kAngleDivisor;
        long double wave = sine ? Sin80(angle) : Cos80(angle);
        sum = sum + wave * (2 * file.coef[size_t(k)]);
        afterTerm(sum);
    }
    return sum;
}

// A sum leaves the finite values only through an arithmetic fault; it is redone with the flags
// checked after each term, so that the first fault of the sum is reported, not drawn clipped.
void CheckPointSum(const CoefFile& file, int L) {
    // Each partial sum is stored before the check, so the compiler cannot drop or defer a term.
    [[maybe_unused]] static volatile long double partialSum;
    auto check = [](long double partial) {
        partialSum = partial;
        CheckFpFlags();
    };
    ClearFpFlags();
    if (L == 0)
        StartSum(file, check);
    else
        PointSum(file, L, check);
}

template <class AmplitudeAt>
void DrawCurve(ui::Canvas& c, const CoefFile& file, int s, int axis, AmplitudeAt amplitudeAt) {
    for (int L = 0; L <= kCurvePoints; ++L) {
        const long double a = amplitudeAt(L);
        if (!std::isfinite(a)) CheckPointSum(file, L);
        const int y = CurveRow(a, s);
        if (L == 0)
            c.MoveTo(kPlotLeft, y);
        else
            c.LineTo(CurveColumn(L, axis), y);
    }
}

void EvaluateRange(const CoefFile& file, long double* out, int first, int last) {
    for (int L = first; L <= last; ++L) out[L] = Amplitude(file, L);
}

}  // namespace

const ScaleRow& ScaleRowOf(int s) { return kScaleRows[s >= 0 && s < kScaleCount ? s : 0]; }

int CurveRow(long double amplitude, int s) {
    static const long double ln10 = std::log(10.0L);
    const ScaleRow& row = ScaleRowOf(s);
    const long double clipDb = row.fullScaleDb * kClipFactor;
    long double a = std::fabs(amplitude);
    if (a < kFloor) a = kFloor;
    long double db = std::log(a) / ln10 * 20;
    if (db > clipDb) db = clipDb;
    if (db < -clipDb) db = -clipDb;
    return kZeroDbY - static_cast<int>(RoundToInt64(row.pxPerDb * db));
}

int CurveColumn(int L, int axis) {
    return kPlotLeft + static_cast<int>(RoundToInt64(static_cast<long double>(L) / kDensity / AxisOf(axis).columnDivisor));
}

std::string FreqLabelText(long double x) {
    std::string text = " ";
    return text.append(FixedText(x, 2, 2));
}

long double StartAmplitude(const CoefFile& file) {
    return StartSum(file, [](long double) {});
}

long double Amplitude(const CoefFile& file, int L) {
    return PointSum(file, L, [](long double) {});
}

void EvaluateAmplitudes(const CoefFile& file, std::vector<long double>& out, int threads) {
    out.assign(kCurvePoints + 1, 0.0L);
    out[0] = StartAmplitude(file);
    if (threads < 1) threads = 1;
    if (threads > kCurvePoints) threads = kCurvePoints;
    std::vector<std::thread> workers;
    workers.reserve(size_t(threads - 1));
    // Contiguous blocks of L; the calling thread takes the last one.
    for (int t = 0; t < threads; ++t) {
        int first = 1 + int(int64_t(kCurvePoints) * t / threads);
        int last = int(int64_t(kCurvePoints) * (t + 1) / threads);
        bool started = false;
        if (t + 1 < threads) {
            try {
                workers.emplace_back(EvaluateRange, std::cref(file), out.data(), first, last);
                started = true;
            } catch (const std::system_error&) {
                // No thread to be had: this block runs here instead.
            }
        }
        if (!started) EvaluateRange(file, out.data(), first, last);
    }
    for (std::thread& w : workers) w.join();
}

void DrawRipple(ui::Image& image, const CoefFile& file, int s, int axis, bool parallel) {
    const ScaleRow& row = ScaleRowOf(s);
    const Axis& ax = AxisOf(axis);
    image.width = ax.imageWidth;
    ui::Canvas& c = image.canvas;
    DrawFrame(c, ax);
    DrawGainLabels(c, row);
    DrawGrid(c, ax);
    DrawFreqLabels(c, ax);
    if (parallel) {
        std::vector<long double> amplitudes;
        int threads = TermCount(file) > 8 ? UsableProcessors() : 1;
        EvaluateAmplitudes(file, amplitudes, threads);
        DrawCurve(c, file, s, axis, [&](int L) { return amplitudes[size_t(L)]; });
    } else {
        DrawCurve(c, file, s, axis, [&](int L) { return L == 0 ? StartAmplitude(file) : Amplitude(file, L); });
    }
}

}  // namespace mirsadel
