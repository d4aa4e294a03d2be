#include "ripple/trig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// Distance from the C library's value in units of the last place of that value.
long double Ulps(long double value, long double reference) {
    if (value == reference) return 0;
    int e;
    std::frexp(reference, &e);
    return std::fabs(value - reference) / std::ldexp(1.0L, e - 64);
}

TEST(Trig, AnglesOfTheRippleCurveWithinTwoUnits) {
    const long double pi = std::numbers::pi_v<long double>;
    long double worstCos = 0, worstSin = 0;
    for (int L = 1; L <= 25000; L += 97) {
        for (int k = 0; k <= 1001; ++k) {
            for (long double x : {static_cast<long double>(2 * k) * pi * L / 5 / 10000, (k + 0.5L) * 2 * pi * L / 5 / 10000}) {
                worstCos = std::max(worstCos, Ulps(mirsadel::Cosine(x), std::cos(x)));
                worstSin = std::max(worstSin, Ulps(mirsadel::Sine(x), std::sin(x)));
            }
        }
    }
    EXPECT_LE(worstCos, 2);
    EXPECT_LE(worstSin, 2);
}

TEST(Trig, SpecialAngles) {
    const long double pi = std::numbers::pi_v<long double>;
    // Quadrant edges, results near zero (relative accuracy must hold there too), negatives.
    const std::vector<long double> angles = {pi / 4, -pi / 4, 3 * pi / 4, pi / 2, pi, 3 * pi / 2, 1000 * pi,
                                             1000.5L * pi, 0x1p-40L, -3.0L, -1234.5678L, 1e6L, 0x1p24L - 1, 1.5e9L};
    for (long double x : angles) {
        EXPECT_LE(Ulps(mirsadel::Cosine(x), std::cos(x)), 2) << static_cast<double>(x);
        EXPECT_LE(Ulps(mirsadel::Sine(x), std::sin(x)), 2) << static_cast<double>(x);
    }
    EXPECT_EQ(mirsadel::Cosine(0), 1.0L);
    EXPECT_EQ(mirsadel::Sine(0), 0.0L);
}

}  // namespace
