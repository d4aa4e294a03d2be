// The heavy part of the design click: exchange, impulse response and characteristic samples.
#include <benchmark/benchmark.h>

#include <vector>

#include "design/engine.h"
#include "design/engine_parallel.h"
#include "textutil/errors.h"

namespace {

using namespace corvalen;

class NoTrace : public ExchangeObserver {
public:
    void Placed(int) override {}
    void Cosines(int) override {}
    void Weights(int) override {}
    void Delta(long double) override {}
    void Targets(int) override {}
    void CycleBegin(int) override {}
    void ZeroError(int, int, int) override {}
    void CycleEnd(long double, long double, bool) override {}
    void CycleSolved(int) override {}
};

// Arguments: half order M, pass edge h in units of 1e-4, engine threads.
void DesignClick(benchmark::State& state) {
    const int M = static_cast<int>(state.range(0));
    const long double h = state.range(1) / 10000.0L;
    SetEngineThreads(static_cast<int>(state.range(2)));
    std::vector<long double> coef(kMaxCoefs);
    std::vector<int32_t> rows(kCharSamples);
    NoTrace observer;
    int cycles = 0;
    for (auto _ : state) {
        ClearFpFlags();
        cycles = RunExchange(M, h, observer, 1000).cycles;
        ImpulseResponse(M, false, coef.data());
        TidyCoefficients(coef.data(), M);
        CharacteristicRows(coef.data(), M + 1, rows.data());
        benchmark::DoNotOptimize(rows.data());
    }
    state.counters["cycles"] = cycles;
}
BENCHMARK(DesignClick)->Args({30, 4500, 8})->Args({500, 4904, 1})->Args({500, 4904, 8})->Unit(benchmark::kMillisecond);

// The 501-coefficient characteristic alone.
void Characteristic(benchmark::State& state) {
    SetEngineThreads(static_cast<int>(state.range(0)));
    std::vector<long double> coef(501);
    for (int k = 0; k < 501; ++k) coef[k] = (k % 2 == 1) ? 0.6L / (k + 1) : 0.0L;
    coef[0] = 0.5L;
    std::vector<int32_t> rows(kCharSamples);
    for (auto _ : state) {
        CharacteristicRows(coef.data(), 501, rows.data());
        benchmark::DoNotOptimize(rows.data());
    }
}
BENCHMARK(Characteristic)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
