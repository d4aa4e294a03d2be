#pragma once
// The design's coefficient file "k-su.efc": header, half coefficient list (centre tap first),
// "end;" and the design-data block.
#include <string>

#include "ui/form.h"

namespace corvalen {

struct DesignData {
    bool highPass = false;
    int M = 0;                 // half order of the design
    int passNum = 0;           // pass-edge index of the extremal set, M / 2
    long double fpass = 0;     // as typed
    long double fsample = 0;   // as typed
    long double fp = 0;        // prototype pass edge in fs units
    long double ripple = 0;    // J of the last exchange cycle
};

// 20 log10 |J| rounded to 0.001 dB, followed by "dB".
std::string StopGainText(long double J);

// Creates the file, shows the stop gain, reads the side-end box (ticked: coef[M] is left out),
// writes coef[0..M'] and the design data, and closes it. Returns the coefficients written.
int WriteCoefficientFile(const DesignData& d, const long double* coef, ui::Edit& stopGain,
                         const ui::CheckBox& deleteSideEnd);

}  // namespace corvalen
