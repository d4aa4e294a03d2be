#include "design/engine_parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "design/engine.h"
#include "textutil/errors.h"

namespace corvalen {
namespace {

class Silent : public ExchangeObserver {
public:
    void Placed(int) override {}
    void Cosines(int) override {}
    void Weights(int) override {}
    void Delta(long double) override {}
    void Targets(int) override {}
    void CycleBegin(int) override {}
    void ZeroError(int, int, int) override {}
    void CycleEnd(long double J, long double L, bool) override {
        ripples.push_back(J);
        ripples.push_back(L);
    }
    void CycleSolved(int) override {}
    std::vector<long double> ripples;
};

struct Outcome {
    ExchangeResult result;
    std::vector<long double> ripples;   // J and L of every cycle
    std::vector<long double> coef;
    std::vector<int32_t> rows;
};

Outcome Design(int M, long double h, bool highPass, int threads, bool withRows) {
    SetEngineThreads(threads);
    ClearFpFlags();
    Outcome out;
    Silent observer;
    out.result = RunExchange(M, h, observer, 200);
    out.ripples = observer.ripples;
    out.coef.assign(kMaxCoefs, 0.0L);
    ImpulseResponse(M, highPass, out.coef.data());
    TidyCoefficients(out.coef.data(), M);
    out.coef.resize(M + 1);
    if (withRows) {
        out.rows.assign(kCharSamples, 0);
        CharacteristicRows(out.coef.data(), M + 1, out.rows.data());
    }
    return out;
}

bool SameBits(const std::vector<long double>& a, const std::vector<long double>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], 10) != 0) return false;  // the 80 bits that carry the value
    }
    return true;
}

struct PathCase {
    int M;
    long double h;
    bool highPass;
    bool withRows;  // the sequential characteristic computes every cosine: kept to smaller lists
};

class PathTest : public ::testing::TestWithParam<PathCase> {
protected:
    void TearDown() override { SetEngineThreads(8); }
};

TEST_P(PathTest, ThreadedEqualsSequentialBitForBit) {
    const PathCase c = GetParam();
    const Outcome seq = Design(c.M, c.h, c.highPass, 1, c.withRows);
    const Outcome par = Design(c.M, c.h, c.highPass, 8, c.withRows);
    EXPECT_EQ(par.result.cycles, seq.result.cycles);
    EXPECT_TRUE(SameBits({par.result.ripple}, {seq.result.ripple}));
    EXPECT_TRUE(SameBits(par.ripples, seq.ripples));
    EXPECT_TRUE(SameBits(par.coef, seq.coef));
    EXPECT_EQ(par.rows, seq.rows);
    // A thread count that does not divide the work evenly changes nothing either.
    const Outcome three = Design(c.M, c.h, c.highPass, 3, false);
    EXPECT_TRUE(SameBits(three.coef, seq.coef));
}

INSTANTIATE_TEST_SUITE_P(Designs, PathTest,
                         ::testing::Values(PathCase{4, 0.3L, false, true}, PathCase{4, 0.3L, true, true},
                                           PathCase{30, 0.45L, false, true}, PathCase{30, 0.45L, true, true},
                                           PathCase{100, 0.46L, false, true}, PathCase{100, 0.46L, true, false}));

TEST(ParallelForTest, CoversEveryIndexOnce) {
    for (int threads : {1, 2, 8}) {
        SetEngineThreads(threads);
        for (int count : {0, 1, 7, 1000}) {
            std::vector<int> hits(count, 0);
            ParallelFor(count, [&](int begin, int end) {
                for (int i = begin; i < end; ++i) ++hits[i];
            });
            for (int i = 0; i < count; ++i) ASSERT_EQ(hits[i], 1) << threads << " " << count << " " << i;
        }
    }
    SetEngineThreads(8);
}

TEST(ParallelForTest, FaultOnAWorkerReachesTheCaller) {
    SetEngineThreads(8);
    ClearFpFlags();
    const std::thread::id caller = std::this_thread::get_id();
    volatile long double zero = 0.0L;
    std::atomic<int> onWorkers{0};
    ParallelFor(64, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // leaves work for the workers
            if (std::this_thread::get_id() == caller) continue;
            ++onWorkers;
            volatile long double q = 1.0L / zero;
            (void)q;
        }
    });
    ASSERT_GT(onWorkers.load(), 0);
    EXPECT_THROW(CheckFpFlags(), ArithError);
}

}  // namespace
}  // namespace corvalen
