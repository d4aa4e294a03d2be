#include "design/engine_parallel.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cfenv>
#include <cfloat>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "design/engine.h"
#include "textutil/errors.h"
#include "textutil/processors.h"
#include "textutil/sjis.h"

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
    std::vector<long double> gains;
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
        out.gains.assign(CharacteristicGains(), CharacteristicGains() + kCharSamples);
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
    bool withRows;  // the reference characteristic computes every cosine: kept to smaller lists
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
    if (c.withRows) {
        // The cosine table, on one thread as on eight, gives the gains of the cosines computed in place.
        std::vector<int32_t> reference(kCharSamples, 0);
        CharacteristicRowsReference(seq.coef.data(), c.M + 1, reference.data());
        const std::vector<long double> gains(CharacteristicGains(), CharacteristicGains() + kCharSamples);
        EXPECT_TRUE(SameBits(seq.gains, gains));
        EXPECT_TRUE(SameBits(par.gains, gains));
        EXPECT_EQ(seq.rows, reference);
    }
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

struct FirstFaultCase {
    int threads;
    int laterFault;  // FE_DIVBYZERO or FE_INVALID, met after the overflow in index order
};

class FirstFaultTest : public ::testing::TestWithParam<FirstFaultCase> {
protected:
    void TearDown() override { SetEngineThreads(8); }
};

// Index 2 overflows and index 9 faults worse: the written order meets the overflow first, and
// that is what the caller is left with, beside the flags it had before the loop.
TEST_P(FirstFaultTest, TheFirstFaultInIndexOrderIsReported) {
    const FirstFaultCase c = GetParam();
    SetEngineThreads(c.threads);
    ClearFpFlags();
    std::feraiseexcept(FE_UNDERFLOW);
    volatile long double huge = LDBL_MAX;
    volatile long double zero = 0.0L;
    std::vector<long double> out(64, 0.0L);
    ParallelFor(64, [&](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            if (i == 2) {
                out[i] = huge * 2.0L;
            } else if (i == 9) {
                out[i] = (c.laterFault == FE_DIVBYZERO) ? 1.0L / zero : zero / zero;
            } else {
                out[i] = i;
            }
        }
    });
    EXPECT_EQ(std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW | FE_UNDERFLOW), FE_OVERFLOW | FE_UNDERFLOW);
    try {
        CheckFpFlags();
        ADD_FAILURE() << "no fault reported";
    } catch (const ArithError& e) {
        EXPECT_EQ(std::string(e.what()), Sjis("浮動小数点数のオーバーフロー"));
    }
}

INSTANTIATE_TEST_SUITE_P(Threads, FirstFaultTest,
                         ::testing::Values(FirstFaultCase{1, FE_DIVBYZERO}, FirstFaultCase{1, FE_INVALID},
                                           FirstFaultCase{3, FE_DIVBYZERO}, FirstFaultCase{3, FE_INVALID},
                                           FirstFaultCase{8, FE_DIVBYZERO}, FirstFaultCase{8, FE_INVALID}));

// A process narrowed to some of the processors counts only those, not the machine's.
TEST(UsableProcessorsTest, FollowsTheAffinity) {
    cpu_set_t mine;
    ASSERT_EQ(sched_getaffinity(0, sizeof mine, &mine), 0);
    if (CPU_COUNT(&mine) < 2) GTEST_SKIP() << "one processor: nothing to narrow";
    for (int narrowed : {1, 2}) {
        if (narrowed >= CPU_COUNT(&mine)) continue;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            cpu_set_t some;
            CPU_ZERO(&some);
            for (int cpu = 0; CPU_COUNT(&some) < narrowed; ++cpu) {
                if (CPU_ISSET(cpu, &mine)) CPU_SET(cpu, &some);
            }
            if (sched_setaffinity(0, sizeof some, &some) != 0) _exit(2);
            _exit(UsableProcessors() == narrowed ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << narrowed << " processors";
    }
}

}  // namespace
}  // namespace corvalen
