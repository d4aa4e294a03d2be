#pragma once
// The design-range table: for each half order, the least prototype pass edge (Nyquist units)
// whose exchange still converges. Filled once when the window is created.

namespace corvalen {

constexpr int kLimitRows = 34;     // rows 1..34 hold the table; row 0 is the zero anchor
constexpr int kLimitCapacity = 101;

extern int LimitHalfOrder[kLimitCapacity];
extern long double LimitPassEdge[kLimitCapacity];

void FillRangeTable();

// Least convergent pass edge for half order n (0.5 beyond the last row).
long double PassEdgeLimit(int n);
// Largest convergent half order for pass edge x, not necessarily whole (500 above 0.489).
long double HalfOrderLimit(long double x);

}  // namespace corvalen
