#include "textutil/trig.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

struct TrigCase {
    long double x;
    long double cosExpected;
    long double sinExpected;
};

TEST(Trig, ExactAndNearExactValues) {
    const TrigCase cases[] = {
        {0.0L, 1.0L, 0.0L},
        {kPi / 2, 0.0L, 1.0L},
        {kPi, -1.0L, 0.0L},
        {kPi / 3, 0.5L, std::sqrt(3.0L) / 2},
        {-kPi / 6, std::sqrt(3.0L) / 2, -0.5L},
    };
    for (const TrigCase& c : cases) {
        EXPECT_NEAR(double(Cos80(c.x)), double(c.cosExpected), 1e-18) << double(c.x);
        EXPECT_NEAR(double(Sin80(c.x)), double(c.sinExpected), 1e-18) << double(c.x);
    }
}

TEST(Trig, AgreesWithTheLibraryToAFewUnitsInTheLastPlace) {
    for (int i = 0; i < 20000; ++i) {
        long double x = (i - 10000) * 0.0123456789L;
        EXPECT_NEAR(double(Cos80(x) - cosl(x)), 0.0, 1e-17) << i;
        EXPECT_NEAR(double(Sin80(x) - sinl(x)), 0.0, 1e-17) << i;
    }
}

TEST(Trig, HugeArgumentsFallBackToTheLibrary) {
    long double big = 0x1p70L;
    EXPECT_EQ(Cos80(big), cosl(big));
    EXPECT_EQ(Sin80(-big), sinl(-big));
}

}  // namespace
