#include "design/rangetable.h"

#include <cstdint>

namespace corvalen {

int LimitHalfOrder[kLimitCapacity];
long double LimitPassEdge[kLimitCapacity];

namespace {

struct LimitRow {
    int halfOrder;
    long double passEdge;  // the nearest 80-bit value to the three decimals: products depend on it
};

constexpr LimitRow kRows[kLimitRows] = {
    {4, 0.010L},   {6, 0.043L},   {8, 0.085L},   {10, 0.125L},  {12, 0.166L},  {14, 0.200L},
    {16, 0.228L},  {18, 0.253L},  {20, 0.274L},  {22, 0.292L},  {24, 0.307L},  {26, 0.321L},
    {28, 0.332L},  {30, 0.343L},  {32, 0.352L},  {34, 0.360L},  {36, 0.368L},  {38, 0.375L},
    {40, 0.381L},  {44, 0.391L},  {50, 0.404L},  {54, 0.411L},  {60, 0.420L},  {70, 0.431L},
    {80, 0.440L},  {90, 0.446L},  {100, 0.452L}, {120, 0.460L}, {150, 0.468L}, {200, 0.476L},
    {250, 0.480L}, {300, 0.484L}, {400, 0.487L}, {500, 0.490L},
};

}  // namespace

void FillRangeTable() {
    for (int i = 1; i <= kLimitRows; ++i) {
        LimitHalfOrder[i] = kRows[i - 1].halfOrder;
        LimitPassEdge[i] = kRows[i - 1].passEdge;
    }
}

long double PassEdgeLimit(int n) {
    int idx = 0;
    for (int i = kLimitRows; i >= 1; --i)
        if (n <= LimitHalfOrder[i]) idx = i;
    if (n > 500) return 0.5L;
    if (n == LimitHalfOrder[idx]) return LimitPassEdge[idx];
    const long double d = LimitPassEdge[idx] - LimitPassEdge[idx - 1];
    long double p = d * static_cast<long double>(int64_t{n} - LimitHalfOrder[idx - 1]);
    p = p / static_cast<long double>(LimitHalfOrder[idx] - LimitHalfOrder[idx - 1]);
    return p + LimitPassEdge[idx - 1];
}

long double HalfOrderLimit(long double x) {
    int idx = 0;
    for (int i = kLimitRows; i >= 1; --i)
        if (!(x > LimitPassEdge[i])) idx = i;
    // The threshold sits below the last row on purpose; a NaN also takes the top value.
    if (!(x <= 0.489L)) return 500.0L;
    if (x == LimitPassEdge[idx]) return LimitHalfOrder[idx];
    const long double d = LimitPassEdge[idx] - LimitPassEdge[idx - 1];
    long double p = x - LimitPassEdge[idx - 1];
    p = static_cast<long double>(LimitHalfOrder[idx] - LimitHalfOrder[idx - 1]) * p;
    p = p / d;
    return p + LimitHalfOrder[idx - 1];
}

}  // namespace corvalen
