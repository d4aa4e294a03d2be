#pragma once
// The design trace "monitor.txt": the initial extremal set and its solve, one section per
// exchange cycle, and the final coefficients with the ripple in dB.
#include <memory>
#include <string>

#include "textutil/textfile.h"

namespace corvalen {

// 20 log10 |a|; a logarithm of 0 is the division-by-zero fault.
long double GainDb(long double a);

class TraceFile {
public:
    // Creates the file and writes "/w/", the frequency list and the extremal count.
    void Open(int n);
    void WriteCosines(int n);
    void WriteWeights(int n);
    void WriteDelta(long double delta);
    void WriteTargets(int n);

    void CycleBegin(int cycle);
    void ZeroError(int cycle, int index, int count);
    void CycleEnd(long double J, long double L, bool more);

    // The coefficient list coef[0..M], the ripple lines from J; then closes the file.
    void Finish(const long double* coef, int M, long double J);

private:
    void WriteList(const char* title, const long double* values, int n);
    std::unique_ptr<TextWriter> out_;
};

// "(ripple =" line of a cycle.
std::string CycleRippleLine(long double J, long double L);

}  // namespace corvalen
