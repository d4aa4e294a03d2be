#include "design/engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "textutil/errors.h"
#include "textutil/sjis.h"

namespace corvalen {
namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

// Records every moment of the exchange, and checks the set after each solve of a cycle.
class Recorder : public ExchangeObserver {
public:
    void Placed(int n) override {
        events.push_back("Placed " + std::to_string(n));
        placed.assign(ExtFreq, ExtFreq + n);
    }
    void Cosines(int n) override { events.push_back("Cosines " + std::to_string(n)); }
    void Weights(int n) override { events.push_back("Weights " + std::to_string(n)); }
    void Delta(long double delta) override {
        events.push_back("Delta");
        firstDelta = delta;
    }
    void Targets(int n) override { events.push_back("Targets " + std::to_string(n)); }
    void CycleBegin(int cycle) override { events.push_back("CycleBegin " + std::to_string(cycle)); }
    void ZeroError(int cycle, int index, int) override {
        events.push_back("ZeroError " + std::to_string(cycle) + " " + std::to_string(index));
    }
    void CycleEnd(long double J, long double L, bool more) override {
        events.push_back(std::string("CycleEnd ") + (more ? "more" : "last"));
        EXPECT_GE(J, L);
    }
    void CycleSolved(int cycle) override {
        events.push_back("CycleSolved " + std::to_string(cycle));
        const int n = static_cast<int>(placed.size());
        const int t = (n - 2) / 2;
        for (int k : {0, t, t + 1, n - 1}) {
            EXPECT_EQ(ExtFreq[k], placed[k]) << "fixed extremal " << k << " in cycle " << cycle;
        }
        for (int v = 1; v <= t - 1; ++v) {
            EXPECT_EQ(ExtFreq[n - 1 - v], kPi - ExtFreq[v]) << "pair " << v << " in cycle " << cycle;
        }
        last.assign(ExtFreq, ExtFreq + n);
    }

    std::vector<std::string> events;
    std::vector<long double> placed;  // the initial set
    std::vector<long double> last;    // the set after the latest cycle
    long double firstDelta = 0;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { ClearFpFlags(); }
};

TEST_F(EngineTest, InitialSetOfTheDefaultRequest) {
    Recorder rec;
    ExchangeResult result = RunExchange(30, 0.45L, rec, 100);
    ASSERT_EQ(rec.placed.size(), 32u);
    EXPECT_EQ(result.passNum, 15);
    EXPECT_EQ(rec.placed[0], 0.0L);
    EXPECT_NEAR(static_cast<double>(rec.placed[1]), 0.0955214, 5e-8);
    EXPECT_NEAR(static_cast<double>(rec.placed[14]), 1.3372996, 5e-8);
    EXPECT_EQ(rec.placed[15], 0.45L * kPi);
    EXPECT_EQ(rec.placed[16], (1.0L - 0.45L) * kPi);
    EXPECT_EQ(rec.placed[31], kPi);
    // The pass band's last gap is 0.8 of a step; the stop band mirrors it.
    EXPECT_NEAR(static_cast<double>(rec.placed[15] - rec.placed[14]), 0.8 * 0.0955214, 1e-7);
    EXPECT_NEAR(static_cast<double>(rec.placed[17] - rec.placed[16]), 0.8 * 0.0955214, 1e-7);
}

TEST_F(EngineTest, DefaultDesignConvergesToItsRipple) {
    Recorder rec;
    ExchangeResult result = RunExchange(30, 0.45L, rec, 100);
    EXPECT_NEAR(static_cast<double>(result.ripple), 1.775e-3, 1e-6);
    EXPECT_NEAR(20.0 * std::log10(static_cast<double>(result.ripple)), -55.0, 0.1);
    EXPECT_EQ(result.cycles, 5);
    EXPECT_GT(rec.firstDelta, 0.0L);
    // Every free extremal moved away from its initial place.
    for (int k : {1, 7, 14, 17, 24, 30}) EXPECT_NE(rec.last[k], rec.placed[k]) << k;
}

TEST_F(EngineTest, InterpolationAtAnExtremalGivesItsTarget) {
    Recorder rec;
    RunExchange(30, 0.45L, rec, 100);
    for (int k = 0; k < 32; ++k) EXPECT_EQ(InterpolateResponse(32, ExtFreq[k]), ExtValue[k]) << k;
    // Targets alternate about 1 in the pass band and about 0 in the stop band.
    EXPECT_LT(ExtValue[15], 1.0L);
    EXPECT_GT(ExtValue[14], 1.0L);
    EXPECT_GT(ExtValue[16], 0.0L);
    EXPECT_LT(ExtValue[17], 0.0L);
    EXPECT_EQ(ExtValue[16], -ExtValue[17]);
    // Between extremals the polynomial stays within the ripple.
    const long double mid = InterpolateResponse(32, (ExtFreq[3] + ExtFreq[4]) / 2);
    EXPECT_LT(std::fabs(static_cast<double>(mid - 1.0L)), 2e-3);
}

struct CountCase {
    int M;
    long double h;
};

class ObserverOrderTest : public EngineTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ObserverOrderTest, MomentsComeInOrderWithTheirCounts) {
    const CountCase c = GetParam();
    const int n = c.M + 2;
    Recorder rec;
    ExchangeResult result = RunExchange(c.M, c.h, rec, 200);
    std::vector<std::string> expected = {"Placed " + std::to_string(n), "Cosines " + std::to_string(n),
                                         "Weights " + std::to_string(n), "Delta",
                                         "Targets " + std::to_string(n)};
    size_t at = expected.size();
    ASSERT_GE(rec.events.size(), at);
    for (int cycle = 1; cycle <= result.cycles; ++cycle) {
        expected.push_back("CycleBegin " + std::to_string(cycle));
        while (at + 1 < rec.events.size() && rec.events[at + 1].rfind("ZeroError", 0) == 0) {
            expected.push_back(rec.events[at + 1]);  // zero errors sit between begin and end
            ++at;
        }
        expected.push_back(std::string("CycleEnd ") + (cycle < result.cycles ? "more" : "last"));
        expected.push_back("CycleSolved " + std::to_string(cycle));
        at = expected.size();
    }
    EXPECT_EQ(rec.events, expected);
    EXPECT_EQ(result.passNum, c.M / 2);
}

INSTANTIATE_TEST_SUITE_P(Requests, ObserverOrderTest,
                         ::testing::Values(CountCase{30, 0.45L}, CountCase{4, 0.3L}, CountCase{100, 0.46L},
                                           CountCase{200, 0.48L}));

TEST_F(EngineTest, LowestOrderSearchesOnlyTwoExtremals) {
    Recorder rec;
    RunExchange(4, 0.3L, rec, 200);
    ASSERT_EQ(rec.placed.size(), 6u);
    for (int k : {0, 2, 3, 5}) EXPECT_EQ(rec.last[k], rec.placed[k]) << k;
    EXPECT_NE(rec.last[1], rec.placed[1]);
    EXPECT_NE(rec.last[4], rec.placed[4]);
    EXPECT_EQ(rec.last[4], kPi - rec.last[1]);
}

TEST_F(EngineTest, CycleBoundStopsTheDesign) {
    Recorder rec;
    try {
        RunExchange(30, 0.45L, rec, 2);
        FAIL() << "no error at the cycle bound";
    } catch (const ArithError&) {
        FAIL() << "the bound is not an arithmetic fault";
    } catch (const AppError& e) {
        EXPECT_EQ(std::string(e.what()), Sjis("設計が収束しません（反復回数が上限に達しました）。"));
    }
    EXPECT_EQ(rec.events.back(), "CycleSolved 2");
    // A bound equal to the cycles needed is enough.
    Recorder enough;
    EXPECT_EQ(RunExchange(30, 0.45L, enough, 5).cycles, 5);
}

TEST_F(EngineTest, CoincidingEdgesAreAnArithmeticFault) {
    Recorder rec;
    try {
        RunExchange(30, 0.5L, rec, 100);
        FAIL() << "no error for coinciding cosines";
    } catch (const ArithError& e) {
        EXPECT_EQ(std::string(e.what()), Sjis("0 による浮動小数点数除算"));
    }
    // The fault is reported before the weights are handed on.
    std::vector<std::string> expected = {"Placed 32", "Cosines 32"};
    EXPECT_EQ(rec.events, expected);
}

TEST_F(EngineTest, HalfOrderOutsideTheArraysIsRefused) {
    for (int M : {0, 2, 31, 502, 2100, -4}) {
        Recorder rec;
        EXPECT_THROW(RunExchange(M, 0.45L, rec, 100), AppError) << M;
        EXPECT_TRUE(rec.events.empty()) << M;
        std::vector<long double> coef(kMaxCoefs);
        EXPECT_THROW(ImpulseResponse(M, false, coef.data()), AppError) << M;
    }
}

struct ResponseCase {
    int M;
    long double h;
    double evenTapBound;  // rounding of the samples grows with the steepness of the transition band
};

class ImpulseTest : public EngineTest, public ::testing::WithParamInterface<ResponseCase> {};

TEST_P(ImpulseTest, NyquistTapsAndHighPassMirror) {
    const ResponseCase c = GetParam();
    Recorder rec;
    const long double ripple = RunExchange(c.M, c.h, rec, 200).ripple;
    std::vector<long double> low(kMaxCoefs), high(kMaxCoefs);
    ImpulseResponse(c.M, false, low.data());
    ImpulseResponse(c.M, true, high.data());
    EXPECT_EQ(low[0], 0.5L);
    EXPECT_EQ(high[0], 0.5L);
    for (int v = 2; v <= c.M; v += 2) {
        EXPECT_LT(std::fabs(static_cast<double>(low[v])), c.evenTapBound) << v;
        EXPECT_LT(std::fabs(static_cast<double>(high[v])), c.evenTapBound) << v;
    }
    for (int v = 1; v <= c.M; v += 2) {
        EXPECT_NEAR(static_cast<double>(high[v]), -static_cast<double>(low[v]), c.evenTapBound) << v;
    }
    // At frequency 0 the low-pass response lies within the ripple of 1, the high-pass one of 0.
    long double low0 = low[0], high0 = high[0];
    for (int v = 1; v <= c.M; ++v) {
        low0 += 2 * low[v];
        high0 += 2 * high[v];
    }
    EXPECT_NEAR(static_cast<double>(low0), 1.0, 2 * static_cast<double>(ripple));
    EXPECT_NEAR(static_cast<double>(high0), 0.0, 2 * static_cast<double>(ripple));
}

INSTANTIATE_TEST_SUITE_P(Requests, ImpulseTest,
                         ::testing::Values(ResponseCase{30, 0.45L, 1e-18}, ResponseCase{4, 0.3L, 1e-18},
                                           ResponseCase{100, 0.46L, 5e-16}));

TEST_F(EngineTest, TidyTurnsTinyNegativesIntoPlusZero) {
    const long double kept = -5e-19L;
    long double coef[] = {-0.0L, -1e-19L, kept, 1e-30L, -0.25L, 0.0L};
    TidyCoefficients(coef, 5);
    EXPECT_EQ(coef[0], 0.0L);
    EXPECT_FALSE(std::signbit(coef[0]));
    EXPECT_EQ(coef[1], 0.0L);
    EXPECT_FALSE(std::signbit(coef[1]));
    EXPECT_EQ(coef[2], kept);
    EXPECT_EQ(coef[3], 1e-30L);
    EXPECT_EQ(coef[4], -0.25L);
    EXPECT_FALSE(std::signbit(coef[5]));
}

struct RowCase {
    const char* name;
    std::vector<long double> coef;
    int sample;
    int32_t row;
};

class RowsTest : public EngineTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(RowsTest, RowOfASample) {
    const RowCase& c = GetParam();
    std::vector<int32_t> rows(kCharSamples, -1);
    CharacteristicRows(c.coef.data(), static_cast<int>(c.coef.size()), rows.data());
    EXPECT_EQ(rows[c.sample], c.row);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, RowsTest,
    ::testing::Values(
        RowCase{"flat_start", {1.0L}, 0, 500}, RowCase{"flat_end", {1.0L, 0.0L, 0.0L}, 256000, 500},
        RowCase{"double_gain", {2.0L}, 1000, 488},  // +6.02 dB lies above the 0 dB row
        RowCase{"raised_cosine_top", {0.5L, 0.25L}, 0, 500},
        RowCase{"raised_cosine_quarter", {0.5L, 0.25L}, 128000, 512},  // -6.02 dB
        RowCase{"raised_cosine_null", {0.5L, 0.25L}, 256000, 780},
        RowCase{"below_floor", {1e-8L}, 5, 780},  // -160 dB sits on the floor
        RowCase{"all_zero", {0.0L, 0.0L}, 77, 780},
        RowCase{"quarter_db", {1.0280162981264745L}, 3, 500},  // +0.24 dB rounds to the 0 dB row
        RowCase{"minus_20_db", {0.05L, 0.025L}, 0, 540}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST_F(EngineTest, FlatFilterFillsEveryRowAtZeroDb) {
    std::vector<int32_t> rows(kCharSamples, -1);
    const long double coef[] = {1.0L, 0.0L, 0.0L, 0.0L};
    CharacteristicRows(coef, 4, rows.data());
    for (int i = 0; i < kCharSamples; ++i) ASSERT_EQ(rows[i], 500) << i;
}

TEST_F(EngineTest, OverflowingSumIsAnArithmeticFault) {
    std::vector<int32_t> rows(kCharSamples);
    const long double coef[] = {1.0e4932L, 1.0e4931L};  // the sum passes the largest value
    EXPECT_THROW(CharacteristicRows(coef, 2, rows.data()), ArithError);
}

}  // namespace
}  // namespace corvalen
