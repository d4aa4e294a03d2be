#pragma once
// What the design click does at the exchange's moments: trace them into "monitor.txt" and draw
// the monitor plot.
#include "design/engine.h"
#include "design/tracefile.h"
#include "ui/canvas.h"

namespace corvalen {

class DesignMonitor : public ExchangeObserver {
public:
    // passEdge: the low-pass prototype's edge h in Nyquist units.
    DesignMonitor(ui::Canvas& canvas, bool highPass, long double passEdge)
        : canvas_(canvas), highPass_(highPass), passEdge_(passEdge) {}

    void Placed(int n) override;
    void Cosines(int n) override { trace.WriteCosines(n); }
    void Weights(int n) override { trace.WriteWeights(n); }
    void Delta(long double delta) override { trace.WriteDelta(delta); }
    void Targets(int n) override;
    void CycleBegin(int cycle) override { trace.CycleBegin(cycle); }
    void ZeroError(int cycle, int index, int count) override { trace.ZeroError(cycle, index, count); }
    void CycleEnd(long double J, long double L, bool more) override { trace.CycleEnd(J, L, more); }
    void CycleSolved(int cycle) override;

    // The final response over the last red curve.
    void DrawFinalCurve();

    TraceFile trace;

private:
    ui::Canvas& canvas_;
    bool highPass_;
    long double passEdge_;
    int n_ = 0;
};

}  // namespace corvalen
