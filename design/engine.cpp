// Exchange engine: barycentric interpolation on the extremal set, the solve, and the cycles of
// damped Newton searches with symmetrisation about pi/2.
#include "design/engine.h"

#include <cmath>

#include "design/engine_internal.h"
#include "design/engine_parallel.h"
#include "textutil/errors.h"
#include "textutil/trig.h"
#include "textutil/sjis.h"

namespace corvalen {

long double ExtFreq[kMaxExtremals];
long double ExtCos[kMaxExtremals];
long double BaryWeight[kMaxExtremals];
long double ExtValue[kMaxExtremals];

namespace {

constexpr long double kDiffStep = 1e-7L;     // finite-difference step, radians
constexpr long double kStepLimit = 8e-15L;   // a search ends on a smaller step
constexpr int kMaxSearchSteps = 50;
constexpr long double kStopLevel = 1e-4L;    // both stop tests

long double WeightedValue[kMaxExtremals];  // a(k) * ExtValue[k], the same product every evaluation forms
long double ExtFreqWork[kMaxExtremals];  // positions moved by the searches of one cycle
int SearchSteps[kMaxExtremals];          // Newton steps of each extremal's last search
long double ScanError[kMaxExtremals];    // extremal errors of one scan, folded in index order

bool IsFree(int k, int t, int n) { return k != 0 && k != t && k != t + 1 && k != n - 1; }

// Index of the extremal nearest to w in frequency; the lower index wins a tie.
int NearestExtremal(int n, long double w) {
    long double best = 1e20L;
    int nearest = -1;
    for (int k = 0; k < n; ++k) {
        long double distance = std::fabs(w - ExtFreq[k]);
        if (best > distance) {
            best = distance;
            nearest = k;
        }
    }
    return nearest;
}

void PlaceInitialSet(int M, long double h) {
    const int t = M / 2;
    const int n = M + 2;
    const long double stopEdge = 1.0L - h;
    const long double passStep = h / (t - 0.2L);
    const long double stopStep = (1.0L - stopEdge) / ((M - t) - 0.2L);
    for (int k = 0; k < n; ++k) {
        if (k < t) {
            ExtFreq[k] = (k * passStep) * kPi;
        } else if (k == t) {
            ExtFreq[k] = h * kPi;
        } else if (k == t + 1) {
            ExtFreq[k] = stopEdge * kPi;
        } else {
            ExtFreq[k] = (1.0L - (n - k - 1) * stopStep) * kPi;
        }
    }
}

void ComputeWeights(int n) {
    ParallelFor(n, [n](int begin, int end) {
        for (int k = begin; k < end; ++k) {
            long double a = 1.0L;
            for (int i = 0; i < n; ++i) {
                if (i != k) a = a / (ExtCos[i] - ExtCos[k]);
            }
            BaryWeight[k] = a;
        }
    });
}

long double ComputeDelta(int n, int t) {
    long double passWeightSum = 0.0L;
    for (int k = 0; k <= t; ++k) passWeightSum = passWeightSum + BaryWeight[k];
    long double altWeightSum = 0.0L;
    for (int k = 0; k < n; ++k) {
        altWeightSum = (k % 2 == 0) ? altWeightSum + BaryWeight[k] : altWeightSum - BaryWeight[k];
    }
    return std::fabs(passWeightSum / altWeightSum);
}

void SetTargets(int n, int t, long double delta) {
    for (int k = 0; k < n; ++k) {
        long double value = (k <= t) ? 1.0L : 0.0L;
        ExtValue[k] = (k % 2 == t % 2) ? value - delta : value + delta;
        WeightedValue[k] = BaryWeight[k] * ExtValue[k];
    }
}

// Cosines, weights, delta and targets of the current set; the observer sees the initial solve.
void Solve(int n, int t, ExchangeObserver* observer) {
    for (int k = 0; k < n; ++k) ExtCos[k] = Cos80(ExtFreq[k]);
    CheckFpFlags();
    if (observer) observer->Cosines(n);
    ComputeWeights(n);
    CheckFpFlags();  // two equal cosines divide by zero here
    if (observer) observer->Weights(n);
    const long double delta = ComputeDelta(n, t);
    CheckFpFlags();
    if (observer) observer->Delta(delta);
    SetTargets(n, t, delta);
    CheckFpFlags();
    if (observer) observer->Targets(n);
}

// Damped Newton search for the local extremum of the error near ExtFreq[F]. It starts from the
// old set, not from ExtFreqWork (its copy), so a replay of the search gives the same bits.
void SearchExtremal(int n, int t, int F, long double maxStep) {
    long double s = ExtFreq[F];
    const long double e = (F <= t) ? ExtValue[F] - 1.0L : ExtValue[F];
    const long double sgn = (e >= 0.0L) ? 1.0L : -1.0L;
    int count = 0;
    long double step = 0.0L;
    do {
        const long double fMinus = InterpolateResponse(n, s - kDiffStep);
        const long double f0 = InterpolateResponse(n, s);
        const long double fPlus = InterpolateResponse(n, s + kDiffStep);
        const long double d1 = f0 - fMinus;
        const long double d2 = fPlus - f0;
        const long double slope = d1 / kDiffStep;
        const long double dir = (d1 * sgn > 0.0L) ? 1.0L : -1.0L;
        const long double magnitude = std::fabs(slope);
        const long double factor = magnitude > 0.1L ? 0.8L : (magnitude > 0.001L ? 0.9L : 1.0L);
        if (d2 == d1) {
            step = maxStep;
        } else {
            step = (-factor * kDiffStep * d1) / (d2 - d1);
        }
        if (std::fabs(step) > maxStep) step = (step > 0.0L) ? maxStep : -maxStep;
        if (dir * step < 0.0L) step = -step;
        s = s + step;
        count = count + 1;
    } while (!(std::fabs(step) < kStepLimit || count >= kMaxSearchSteps));
    ExtFreqWork[F] = s;
    SearchSteps[F] = count;
}

void SearchAll(int n, int t, long double maxStep) {
    // Each search reads only the polynomial of the old set and writes only its own entries.
    ParallelFor(n - 2, [=](int begin, int end) {
        for (int F = begin + 1; F < end + 1; ++F) {
            if (IsFree(F, t, n)) SearchExtremal(n, t, F, maxStep);
        }
    });
    CheckFpFlags();
}

// Largest and smallest extremal error at the moved positions, with the old polynomial.
void ScanErrors(int n, int t, int cycle, ExchangeObserver& observer, long double& J, long double& L) {
    ParallelFor(n - 2, [=](int begin, int end) {
        for (int F = begin + 1; F < end + 1; ++F) {
            if (!IsFree(F, t, n)) continue;
            long double err = std::fabs(InterpolateResponse(n, ExtFreqWork[F]));
            if (F <= t) err = err - 1.0L;
            ScanError[F] = std::fabs(err);
        }
    });
    CheckFpFlags();
    for (int F = 1; F <= n - 2; ++F) {
        if (!IsFree(F, t, n)) continue;
        const long double err = ScanError[F];
        // The step count reported is that of the last extremal searched in this cycle.
        if (err == 0.0L) observer.ZeroError(cycle, F, SearchSteps[n - 2]);
        if (err > J) J = err;
        if (err < L) L = err;
    }
}

// Both stop tests: true when the errors have levelled out. rippleRatio carries J / L (or -1 when
// L is 0) from the cycle before to this one.
bool Settled(long double J, long double L, long double& rippleRatio) {
    bool settled = false;
    // With every error exactly 0 the set already hits its targets: that counts as converged.
    if (J == 0.0L || std::fabs((J - L) / J) < kStopLevel) settled = true;
    const long double prevRippleRatio = rippleRatio;
    rippleRatio = (L == 0.0L) ? -1.0L : J / L;
    if (rippleRatio > 0.0L && std::fabs(prevRippleRatio - rippleRatio) < kStopLevel) settled = true;
    CheckFpFlags();
    return settled;
}

void Symmetrise(int n, int t) {
    for (int v = 1; v <= t - 1; ++v) {
        const long double m = ((ExtFreq[v] + kPi) - ExtFreq[n - 1 - v]) / 2.0L;
        ExtFreq[v] = m;
        ExtFreq[n - 1 - v] = kPi - m;
    }
}

}  // namespace

long double InterpolateResponse(int n, long double w) {
    const long double x = Cos80(w);
    long double top = 0.0L;
    long double bottom = 0.0L;
    bool hit = false;
    for (int k = 0; k < n; ++k) {
        const long double d = x - ExtCos[k];
        if (d == 0.0L) {
            hit = true;
            continue;
        }
        bottom = bottom + BaryWeight[k] / d;
        top = top + WeightedValue[k] / d;
    }
    if (bottom == 0.0L) hit = true;
    // The nearest extremal matters only on a hit, so it is looked up only then.
    if (hit) return ExtValue[NearestExtremal(n, w)];
    return top / bottom;
}

ExchangeResult RunExchange(int M, long double h, ExchangeObserver& observer, int maxCycles) {
    CheckHalfOrder(M);
    const int t = M / 2;
    const int n = M + 2;
    PlaceInitialSet(M, h);
    CheckFpFlags();
    observer.Placed(n);
    Solve(n, t, &observer);

    ExchangeResult result;
    result.passNum = t;
    int cycle = 0;
    bool more = true;
    long double rippleRatio = -1.0L;
    long double J = 0.0L;
    while (more) {
        if (cycle >= maxCycles) throw AppError(Sjis("設計が収束しません（反復回数が上限に達しました）。"));
        cycle = cycle + 1;
        observer.CycleBegin(cycle);
        for (int k = 0; k < n; ++k) ExtFreqWork[k] = ExtFreq[k];
        const long double maxStep = (kPi / M) / 40.0L;
        J = 0.0L;
        long double L = 1e10L;
        SearchAll(n, t, maxStep);
        ScanErrors(n, t, cycle, observer, J, L);
        more = !Settled(J, L, rippleRatio);
        observer.CycleEnd(J, L, more);

        for (int k = 0; k < n; ++k) ExtFreq[k] = ExtFreqWork[k];
        Symmetrise(n, t);
        CheckFpFlags();
        Solve(n, t, nullptr);
        observer.CycleSolved(cycle);
    }
    result.ripple = J;
    result.cycles = cycle;
    return result;
}

}  // namespace corvalen
