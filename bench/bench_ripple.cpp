// The draw click of the ripple display: an order-1000 file (501 coefficients) on each axis,
// and the amplitude evaluation alone.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ripple/form1.h"
#include "ripple/rippleplot.h"
#include "textutil/processors.h"
#include "ui/scripted.h"

namespace {

constexpr int kCoefs = 501;

long double LowPassCoef(int k) {
    const long double pi = 3.14159265358979323846L, cutoff = 0.225L;
    long double x = k == 0 ? 2 * cutoff : std::sin(2 * pi * cutoff * k) / (pi * k);
    return x * (0.54L + 0.46L * std::cos(pi * k / kCoefs));
}

// The coefficient file in a fresh temporary folder, removed again at exit.
struct EfcFile {
    EfcFile() {
        char pattern[] = "/tmp/bench_ripple_XXXXXX";
        if (mkdtemp(pattern)) dir = pattern;
        path = dir + "/order1000.efc";
        std::ofstream out(path, std::ios::binary);
        out << "name : \r\norder : 1000\r\nphase : zero\r\ncharacter : LPF\r\ncoefNum : " << kCoefs
            << "\r\ncoefType : real\r\ncoefList :\r\n";
        for (int k = 0; k < kCoefs; ++k) {
            char text[64];
            snprintf(text, sizeof text, "% .18Lf", LowPassCoef(k));
            out << text << "\r\n";
        }
        out << "end;\r\n\r\n\r\n";
    }
    ~EfcFile() {
        unlink(path.c_str());
        rmdir(dir.c_str());
    }
    std::string dir;
    std::string path;
};

const std::string& EfcPath() {
    static const EfcFile file;
    return file.path;
}

// Arguments: axis (0 normal, 2 veryWide), threaded (1) or sequential (0).
void DrawClick(benchmark::State& state) {
    const std::string path = EfcPath();
    ui::ScriptedDesktop desk;
    mirsadel::TForm1 form(desk);
    form.Create();
    form.RadioGroup1.itemIndex = int(state.range(0));
    form.parallelCurve = state.range(1) == 1;
    for (auto _ : state) {
        desk.QueueFile(path);
        form.Click(form.Button1);
    }
    if (!desk.messages.empty() || !desk.errors.empty()) state.SkipWithError("the file was refused");
}
BENCHMARK(DrawClick)->Args({2, 1})->Args({0, 1})->Args({2, 0})->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: threads.
void Evaluation(benchmark::State& state) {
    mirsadel::CoefFile file;
    file.coefNum = kCoefs;
    for (int k = 0; k < kCoefs; ++k) file.coef[size_t(k)] = LowPassCoef(k);
    std::vector<long double> amplitudes;
    for (auto _ : state) {
        mirsadel::EvaluateAmplitudes(file, amplitudes, int(state.range(0)));
        benchmark::DoNotOptimize(amplitudes.data());
    }
}
BENCHMARK(Evaluation)->Arg(UsableProcessors())->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
