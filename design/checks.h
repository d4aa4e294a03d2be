#pragma once
// Reading and checking one design request typed into the window.
#include <string>

namespace corvalen {

struct Request {
    bool highPass = false;
    int order = 0;
    int num = 0;                  // half order, order / 2 truncated
    long double fpass = 0;
    long double fsample = 0;
    long double fp = 0;           // prototype pass edge in fs units (mirrored for a high-pass)
    long double passEdge = 0;     // 2 fp, Nyquist units
    long double minPassEdge = 0;  // least convergent passEdge for num, on a 0.00002 grid

    bool orderTextBad = false;
    bool orderOutOfRange = false;
    bool orderNotMultipleOf4 = false;
    bool fpassBad = false;
    bool fsampleBad = false;
    bool fpAboveQuarter = false;
    bool fpAtQuarter = false;     // pass and stop edge meet: the exchange cannot start
    bool outsideDesignRange = false;
};

// The window's outputs of a request whose fsample passed its check. A number that a 32-bit
// integer on its way cannot hold is shown as "-".
struct RequestLimits {
    std::string ratio;       // fpass / fsample lowered to a multiple of 0.00001 (Edit4)
    std::string orderLimit;  // largest convergent order (notes line 9, message 6)
    std::string passLimit;   // least convergent fpass(fs) of the character (notes line 10, message 6)
};

// Syntax tests and conversions of the three texts; a refused conversion throws ConvertError.
Request ReadRequest(bool highPass, const std::string& orderText, const std::string& fpassText,
                    const std::string& fsampleText);

// Prototype edge, limits and the two range flags; only for a request whose fsample is good.
RequestLimits CheckRange(Request& r);

// Notes lines 9 and 10 for the limits.
std::string OrderLimitLine(const RequestLimits& limits);
std::string PassLimitLine(const Request& r, const RequestLimits& limits);

// The message of the first failed check (Shift-JIS), or "" when every check passed.
std::string RequestMessage(const Request& r, const RequestLimits& limits);

}  // namespace corvalen
