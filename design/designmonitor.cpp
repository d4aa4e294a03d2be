#include "design/designmonitor.h"

#include "design/plots.h"

namespace corvalen {

void DesignMonitor::Placed(int n) {
    n_ = n;
    trace.Open(n);
}

void DesignMonitor::Targets(int n) {
    trace.WriteTargets(n);
    ClearPicture(canvas_);
    DrawDesignTitle(canvas_);
    const long double h = passEdge_;
    if (highPass_)
        DrawDesignAxes(canvas_, 1 - h, h);
    else
        DrawDesignAxes(canvas_, h, 1 - h);
    DrawDesignCurve(canvas_, n_, highPass_, ui::clRed);
}

void DesignMonitor::CycleSolved(int) { DrawDesignCurve(canvas_, n_, highPass_, ui::clRed); }

void DesignMonitor::DrawFinalCurve() { DrawDesignCurve(canvas_, n_, highPass_, ui::clBlack); }

}  // namespace corvalen
