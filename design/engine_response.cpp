// Impulse response by the cosine transform of the sampled prototype, and the samples of the
// characteristic curve.
#include <cmath>
#include <mutex>

#include "design/engine.h"
#include "design/engine_internal.h"
#include "design/engine_parallel.h"
#include "textutil/errors.h"
#include "textutil/trig.h"
#include "textutil/numtext.h"

namespace corvalen {
namespace {

constexpr int kSamplesPerBand = 16;     // samples per pi / M
constexpr int kMaxSamples = 20001;
constexpr int kCharPeriod = 512000;     // the curve's cosines are those of 2 pi r / kCharPeriod
constexpr long double kFloorGain = -140.0L;

long double RespSample[kMaxSamples];
long double TwiceSample[kMaxSamples];  // 2 * RespSample: exact, taken out of the transform's loop

// cos of every angle the curve uses, split into two doubles whose sum is the value exactly: two
// double loads cost less than one 80-bit load.
struct SplitCos {
    double high, low;
};
SplitCos CharCos[kCharPeriod];
std::once_flag charCosFilled;
long double TwiceCoef[kMaxCoefs];      // 2 * h(k): exact
long double Gain[kCharSamples];

// The one evaluation of the curve's angle for residue r = (k i) mod 512000: ((2 pi) r) / 512000,
// 2 pi being exact. The table and the in-place reference path both take their cosines from here.
long double CharAngle(int r) { return ((2.0L * kPi) * static_cast<long double>(r)) / kCharPeriod; }

void FillCharCos() {
    ParallelFor(kCharPeriod, [](int begin, int end) {
        for (int r = begin; r < end; ++r) {
            const long double c = Cos80(CharAngle(r));
            const double high = static_cast<double>(c);
            CharCos[r] = {high, static_cast<double>(c - high)};
        }
    });
}

void SampleResponse(int M, bool highPass, long double sampleStep) {
    const int n = M + 2;
    const int last = kSamplesPerBand * M;
    ParallelFor(last + 1, [=](int begin, int end) {
        for (int F = begin; F < end; ++F) {
            const long double value = InterpolateResponse(n, F * sampleStep);
            RespSample[highPass ? last - F : F] = value;
        }
    });
    CheckFpFlags();
}

// Type-I cosine transform by the trapezoid rule, each term with its own cosine of F q.
long double TransformTerm(int last, long double q) {
    long double sum = RespSample[0];
    for (int F = 1; F <= last - 1; ++F) sum = sum + Cos80(F * q) * TwiceSample[F];
    return sum + Cos80(last * q) * RespSample[last];
}

// Gain in dB of A(i) = h0 + sum of 2 h(k) cos(2 pi k i / 512000), k ascending.
long double GainOf(long double amplitude) {
    // An exact zero has no logarithm; it lies on the floor like every gain below it.
    if (amplitude == 0.0L) return kFloorGain;
    const long double g = 20.0L * std::log10(std::fabs(amplitude));
    return (g >= kFloorGain) ? g : kFloorGain;
}

// The cosine of every term computed in place, in the written order: the table's reference.
void GainsInPlace(const long double* coef, int count) {
    for (int i = 0; i < kCharSamples; ++i) {
        long double a = coef[0];
        for (int k = 1; k < count; ++k) {
            const int r = static_cast<int>((static_cast<long long>(k) * i) % kCharPeriod);
            a = a + (2.0L * coef[k]) * Cos80(CharAngle(r));
        }
        Gain[i] = GainOf(a);
    }
}

inline long double TableCos(int r) { return static_cast<long double>(CharCos[r].high) + CharCos[r].low; }

// Same sums from the table; four samples run side by side, each still summed in ascending k.
void GainsFromTable(long double h0, int count, int begin, int end) {
    int i = begin;
    for (; i + 4 <= end; i += 4) {
        long double a0 = h0, a1 = h0, a2 = h0, a3 = h0;
        int r0 = 0, r1 = 0, r2 = 0, r3 = 0;
        for (int k = 1; k < count; ++k) {
            r0 += i;
            if (r0 >= kCharPeriod) r0 -= kCharPeriod;
            r1 += i + 1;
            if (r1 >= kCharPeriod) r1 -= kCharPeriod;
            r2 += i + 2;
            if (r2 >= kCharPeriod) r2 -= kCharPeriod;
            r3 += i + 3;
            if (r3 >= kCharPeriod) r3 -= kCharPeriod;
            const long double c = TwiceCoef[k];
            a0 = a0 + c * TableCos(r0);
            a1 = a1 + c * TableCos(r1);
            a2 = a2 + c * TableCos(r2);
            a3 = a3 + c * TableCos(r3);
        }
        Gain[i] = GainOf(a0);
        Gain[i + 1] = GainOf(a1);
        Gain[i + 2] = GainOf(a2);
        Gain[i + 3] = GainOf(a3);
    }
    for (; i < end; ++i) {
        long double a = h0;
        int r = 0;
        for (int k = 1; k < count; ++k) {
            r += i;
            if (r >= kCharPeriod) r -= kCharPeriod;
            a = a + TwiceCoef[k] * TableCos(r);
        }
        Gain[i] = GainOf(a);
    }
}

// y of each sample from Gain.
void RowsFromGains(int32_t* rows) {
    for (int i = 0; i < kCharSamples; ++i) rows[i] = static_cast<int32_t>(500 - RoundToInt64(2.0L * Gain[i]));
}

// An empty list lies on the floor everywhere.
void FloorRows(int32_t* rows) {
    for (int i = 0; i < kCharSamples; ++i) rows[i] = static_cast<int32_t>(500 - RoundToInt64(2.0L * kFloorGain));
}

}  // namespace

void ImpulseResponse(int M, bool highPass, long double* coef) {
    CheckHalfOrder(M);
    const long double sampleStep = (kPi / M) / kSamplesPerBand;
    const int last = kSamplesPerBand * M;
    SampleResponse(M, highPass, sampleStep);
    for (int F = 0; F <= last; ++F) TwiceSample[F] = 2.0L * RespSample[F];

    ParallelFor(M + 1, [=](int begin, int end) {
        for (int v = begin; v < end; ++v) coef[v] = TransformTerm(last, v * sampleStep);
    });
    CheckFpFlags();

    const long double norm = coef[0] / 0.5L;
    for (int v = 0; v <= M; ++v) coef[v] = coef[v] / norm;
    CheckFpFlags();
}

void TidyCoefficients(long double* coef, int M) {
    for (int v = 0; v <= M; ++v) {
        if (coef[v] <= 0.0L && coef[v] > -5e-19L) coef[v] = 0.0L;
    }
}

void CharacteristicRows(const long double* coef, int count, int32_t* rows) {
    if (count > kMaxCoefs) count = kMaxCoefs;
    if (count < 1) {
        FloorRows(rows);
        return;
    }
    std::call_once(charCosFilled, FillCharCos);
    for (int k = 1; k < count; ++k) TwiceCoef[k] = 2.0L * coef[k];
    const long double h0 = coef[0];
    ParallelFor(kCharSamples, [=](int begin, int end) { GainsFromTable(h0, count, begin, end); });
    CheckFpFlags();
    RowsFromGains(rows);
}

void CharacteristicRowsReference(const long double* coef, int count, int32_t* rows) {
    if (count > kMaxCoefs) count = kMaxCoefs;
    if (count < 1) {
        FloorRows(rows);
        return;
    }
    GainsInPlace(coef, count);
    CheckFpFlags();
    RowsFromGains(rows);
}

const long double* CharacteristicGains() { return Gain; }

}  // namespace corvalen
