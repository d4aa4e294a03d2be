// An edited pane taken back into the model: a 100,000-line pane with five lines typed into, far apart,
// paired with the lines it showed, next to converting the same pane once.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "textutil/sjis.h"
#include "ui/form.h"

namespace {

constexpr int kLines = 100000;

// Coefficient lines, every hundredth one holding bytes that do not survive the trip through Unicode
// (ED 40 reads like FA 5C), so that the pairing decides their bytes.
struct Pane {
    Pane() {
        for (int i = 0; i < kLines; ++i) {
            char text[64];
            snprintf(text, sizeof text, " 0.%018d", (i * 7919) % 1000003);
            sjis.push_back(i % 100 == 50 ? std::string(text) + "\xED\x40" : std::string(text));
            utf8.push_back(SjisToUtf8(sjis.back()));
        }
        edited = utf8;
        for (int i = 1; i <= 5; ++i) edited[size_t(i * kLines / 6)] += "1";
    }
    std::vector<std::string> sjis, utf8, edited;
};

const Pane& ThePane() {
    static const Pane pane;
    return pane;
}

void PaneConversion(benchmark::State& state) {
    const Pane& pane = ThePane();
    for (auto _ : state) benchmark::DoNotOptimize(ui::SplitLines(Sjis(ui::JoinLines(pane.edited))));
}

void PanePairing(benchmark::State& state) {
    const Pane& pane = ThePane();
    for (auto _ : state) benchmark::DoNotOptimize(ui::KeepUnchangedLines(pane.sjis, pane.utf8, pane.edited));
}

BENCHMARK(PaneConversion)->Unit(benchmark::kMillisecond);
BENCHMARK(PanePairing)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
