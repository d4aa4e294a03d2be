#include "design/coeffile.h"

#include <cmath>

#include "design/tracefile.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/textfile.h"

namespace corvalen {

namespace {

// The sign test sees the value: a negative tap that shows as zero keeps its "-".
std::string CoefLine(long double h) {
    std::string text = FixedWidthText(h, 20, 18);
    if (h >= 0) text.insert(0, 1, ' ');
    return text;
}

void WriteHeader(TextWriter& out, const DesignData& d, int last) {
    out.WriteLine("name : ");
    out.WriteLine("order : " + IntText(2 * last));
    out.WriteLine("phase : zero");
    out.WriteLine(d.highPass ? "character : HPF" : "character : LPF");
    out.WriteLine("coefNum : " + IntText(last + 1));
    out.WriteLine("coefType : real");
    out.WriteLine("coefList :");
}

void WriteDesignData(TextWriter& out, const DesignData& d, int last) {
    out.WriteLine("$$$ design data $$$");
    out.WriteLine("num := " + IntText(last) + ";");
    out.WriteLine("//passNum := " + IntText(d.passNum) + ";");
    out.WriteLine("//fpass := " + FixedWidthText(d.fpass, 8, 3) + ";");
    out.WriteLine("//fsample := " + FixedWidthText(d.fsample, 8, 3) + ";");
    out.WriteLine("{fp  =" + FixedWidthText(d.fp, 10, 5) + "(fs) }");
    out.WriteLine("{ripple      =" + SciText(d.ripple, 15) + "}");
    out.WriteLine("{stopGain  =" + FixedWidthText(GainDb(d.ripple), 8, 3) + "(dB) }");
    out.WriteLine("{passRipple =" + FixedWidthText(GainDb(1 + d.ripple), 10, 5) + "(dB) }");
}

}  // namespace

std::string StopGainText(long double J) {
    const long double ln = std::log(std::fabs(J));
    CheckFpFlags();
    const long double r = RoundToInt64(20000 * ln / std::log(10.0L));
    return GeneralText(r / 1000) + "dB";
}

int WriteCoefficientFile(const DesignData& d, const long double* coef, ui::Edit& stopGain,
                         const ui::CheckBox& deleteSideEnd) {
    TextWriter out("k-su.efc");
    stopGain.text = StopGainText(d.ripple);
    const int last = deleteSideEnd.checked ? d.M - 1 : d.M;
    WriteHeader(out, d, last);
    for (int v = 0; v <= last; ++v) out.WriteLine(CoefLine(coef[v]));
    out.WriteLine("end;");
    out.WriteLine("");
    out.WriteLine("");
    WriteDesignData(out, d, last);
    out.Close();
    return last + 1;
}

}  // namespace corvalen
