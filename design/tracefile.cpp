#include "design/tracefile.h"

#include <cmath>

#include "design/engine.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"

namespace corvalen {

long double GainDb(long double a) {
    const long double db = 20 * std::log10(std::fabs(a));
    CheckFpFlags();
    return db;
}

std::string CycleRippleLine(long double J, long double L) {
    std::string line = "(ripple =" + SciText(J, 16) + " ~" + SciText(L, 16);
    if (L == 0) return line + "// -)";
    return line + "//" + FixedWidthText(J / L, 12, 6) + ")";
}

void TraceFile::WriteList(const char* title, const long double* values, int n) {
    out_->WriteLine(title);
    for (int k = 0; k < n; ++k) out_->WriteLine(IntText(k) + "  " + Sci23Text(values[k]));
}

void TraceFile::Open(int n) {
    out_ = std::make_unique<TextWriter>("monitor.txt");
    WriteList("/w/", ExtFreq, n);
    out_->WriteLine("");
    out_->WriteLine(IntText(n));
    out_->WriteLine("");
}

void TraceFile::WriteCosines(int n) {
    WriteList("/cw/", ExtCos, n);
    out_->WriteLine("");
}

void TraceFile::WriteWeights(int n) {
    WriteList("/a/", BaryWeight, n);
    out_->WriteLine("");
}

void TraceFile::WriteDelta(long double delta) {
    out_->WriteLine("delta = " + Sci23Text(delta));
    out_->WriteLine("");
    out_->WriteLine("");
}

void TraceFile::WriteTargets(int n) { WriteList("/r/", ExtValue, n); }

void TraceFile::CycleBegin(int cycle) { out_->WriteLine("cycle-" + IntText(cycle, 5)); }

void TraceFile::ZeroError(int cycle, int index, int count) {
    out_->WriteLine(IntText(cycle) + " : " + IntText(index) + " / count = " + IntText(count));
}

void TraceFile::CycleEnd(long double J, long double L, bool more) {
    out_->WriteLine(CycleRippleLine(J, L));
    out_->WriteLine(more ? "*** Continue ***" : "*** End ***");
    out_->WriteLine("");
}

void TraceFile::Finish(const long double* coef, int M, long double J) {
    out_->WriteLine("DFT process");
    for (int v = 0; v <= M; ++v) out_->WriteLine("[" + IntText(v) + "]" + Sci23Text(coef[v]));
    out_->WriteLine("");
    out_->WriteLine("ripple      =" + SciText(J, 15));
    out_->WriteLine("stopGain  =" + FixedWidthText(GainDb(J), 10, 5) + " (dB)");
    out_->WriteLine("passRipple =" + FixedWidthText(GainDb(1 + J), 10, 5) + "(dB)");
    out_->Close();
    out_.reset();
}

}  // namespace corvalen
