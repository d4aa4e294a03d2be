#pragma once
// The exchange engine of the Nyquist design and the impulse response derived from it.
// All arithmetic in 80-bit long double, in the order the method is written.
#include <cstdint>

namespace corvalen {

constexpr int kMaxExtremals = 2101;  // capacity of the program-wide arrays (n <= 502 used)
constexpr int kMaxCoefs = 2101;      // capacity of a coefficient list
constexpr int kCharSamples = 256001; // samples of the characteristic curve

// Program-wide arrays of the current exchange polynomial; entries 0 .. n-1 are used.
extern long double ExtFreq[kMaxExtremals];     // extremal frequency w(k), radians
extern long double ExtCos[kMaxExtremals];      // x(k) = cos w(k)
extern long double BaryWeight[kMaxExtremals];  // barycentric weight a(k)
extern long double ExtValue[kMaxExtremals];    // target value at x(k)

// Value at cos w of the polynomial held in the arrays as the last solve left them; exact target
// value at an extremal.
long double InterpolateResponse(int n, long double w);

// The moments at which the design click traces and draws; the engine calls them in order.
class ExchangeObserver {
public:
    virtual ~ExchangeObserver() = default;
    virtual void Placed(int n) = 0;               // initial frequencies set (ExtFreq)
    virtual void Cosines(int n) = 0;              // ExtCos set
    virtual void Weights(int n) = 0;              // BaryWeight set
    virtual void Delta(long double delta) = 0;    // delta of the initial solve
    virtual void Targets(int n) = 0;              // ExtValue set: initial solve complete
    virtual void CycleBegin(int cycle) = 0;       // cycle number just increased
    virtual void ZeroError(int cycle, int index, int count) = 0;  // an error of exactly 0
    virtual void CycleEnd(long double J, long double L, bool more) = 0;  // after the stop tests
    virtual void CycleSolved(int cycle) = 0;      // moved, symmetrised and solved again
};

struct ExchangeResult {
    long double ripple = 0;  // J of the last cycle
    int cycles = 0;          // cycles begun
    int passNum = 0;         // t = M / 2
};

// Cycle bound for RunExchange: far above what designs inside the range table need; it ends the
// requests whose pass and stop edges meet within rounding (fpass(fs) a hair below 0.25).
constexpr int kMaxCycles = 500;

// Runs the exchange for half order M (4..500, even) and prototype pass edge h (Nyquist units).
// Throws ArithError on an arithmetic fault, and AppError when maxCycles is reached.
ExchangeResult RunExchange(int M, long double h, ExchangeObserver& observer, int maxCycles);

// Samples the final polynomial at 16M + 1 frequencies (reversed for a high-pass), takes the
// cosine transform into coef[0..M] and scales the centre tap to exactly 0.5.
void ImpulseResponse(int M, bool highPass, long double* coef);

// Replaces every value in (-5e-19, 0] by +0.
void TidyCoefficients(long double* coef, int M);

// y of each of the 256001 samples of the characteristic curve for coef[0 .. count-1]:
// 500 - [2 g] with g the gain in dB floored at -140.
void CharacteristicRows(const long double* coef, int count, int32_t* rows);
// The same rows with every cosine computed in place, one sample after another: slow, kept for the
// tests as the reference the shared cosine table must match bit for bit.
void CharacteristicRowsReference(const long double* coef, int count, int32_t* rows);
// The 256001 gains in dB behind the rows of the last of the two calls above.
const long double* CharacteristicGains();

}  // namespace corvalen
