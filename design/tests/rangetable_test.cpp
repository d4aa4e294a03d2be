#include "design/rangetable.h"

#include <gtest/gtest.h>

namespace corvalen {
namespace {

class RangeTable : public ::testing::Test {
protected:
    void SetUp() override { FillRangeTable(); }
};

struct EdgeCase {
    int halfOrder;
    long double passEdge;
};

TEST_F(RangeTable, PassEdgeLimitAtRowsBetweenRowsAndOutside) {
    const EdgeCase cases[] = {
        {30, 0.343L}, {500, 0.49L},  {4, 0.01L},     {42, 0.386L},   {46, 0.395L + 1 / 3000.0L},
        {498, 0.48994L}, {501, 0.5L}, {100000, 0.5L}, {0, 0.0L},     {2, 0.005L},
        {-4, -0.01L},
    };
    for (const EdgeCase& c : cases) EXPECT_NEAR(double(PassEdgeLimit(c.halfOrder)), double(c.passEdge), 1e-15) << c.halfOrder;
    // At a row the entry itself comes back, bit for bit.
    EXPECT_EQ(PassEdgeLimit(30), 0.343L);
    EXPECT_EQ(PassEdgeLimit(20), 0.274L);
    EXPECT_EQ(PassEdgeLimit(501), 0.5L);
}

TEST_F(RangeTable, HalfOrderLimitAtRowsBetweenRowsAndOutside) {
    const EdgeCase cases[] = {
        {30, 0.343L},   {250, 0.48L},  {500, 0.4891L}, {500, 0.49L},   {500, 0.7L},
        {2, 0.005L},    {0, 0.0L},     {-80, -0.2L},
    };
    for (const EdgeCase& c : cases) EXPECT_EQ(HalfOrderLimit(c.passEdge), c.halfOrder) << double(c.passEdge);

    const struct {
        long double passEdge;
        long double halfOrder;
    } between[] = {
        {0.45L, 96.0L + 2 / 3.0L}, {0.34L, 29.0L + 5 / 11.0L}, {0.4L, 48.0L + 2 / 13.0L}, {0.489L, 466.0L + 2 / 3.0L},
    };
    for (const auto& c : between) EXPECT_NEAR(double(HalfOrderLimit(c.passEdge)), double(c.halfOrder), 1e-9) << double(c.passEdge);
}

TEST_F(RangeTable, NotANumberTakesTheTopHalfOrder) { EXPECT_EQ(HalfOrderLimit(__builtin_nanl("")), 500.0L); }

// The limits are raised to a 0.00002 grid with a ceiling: only two rows sit off the grid.
TEST_F(RangeTable, RowProductsSitOnTheGridExceptRowsNineAndTwelve) {
    for (int i = 1; i <= kLimitRows; ++i) {
        const long double product = LimitPassEdge[i] * 50000.0L;
        const long double whole = __builtin_roundl(product);
        if (i == 9)
            EXPECT_GT(product, 13700.0L);
        else if (i == 12)
            EXPECT_LT(product, 16050.0L);
        else
            EXPECT_EQ(product, whole) << i;
    }
}

}  // namespace
}  // namespace corvalen
