// Exact lines of "k-su.efc" and "monitor.txt" for chosen values: signs of tiny taps, wide
// numbers, deep stop gains, zero-error lines and long cycle numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "design/coeffile.h"
#include "design/tests/window.h"
#include "design/tracefile.h"
#include "textutil/errors.h"

namespace corvalen::test {
namespace {

// 20 log10 of this ripple is -123.456 dB (to far below a thousandth).
const long double kDeepRipple = std::pow(10.0L, -123.456L / 20);

struct FileCase {
    const char* name;
    DesignData data;
    std::vector<long double> coef;  // after the tidy-up
    bool dropSideEnd;
    std::string stopGain;           // Edit5
    std::vector<std::string> lines;
};

class CoefficientFileLines : public ::testing::TestWithParam<FileCase> {};

TEST_P(CoefficientFileLines, WholeFile) {
    const FileCase& c = GetParam();
    TempDir dir;
    ui::Edit stopGain;
    ui::CheckBox drop;
    drop.checked = c.dropSideEnd;
    ClearFpFlags();
    const int written = WriteCoefficientFile(c.data, c.coef.data(), stopGain, drop);
    EXPECT_EQ(written, c.dropSideEnd ? c.data.M : c.data.M + 1);
    EXPECT_EQ(stopGain.text, c.stopGain);
    EXPECT_EQ(ReadLines("k-su.efc"), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Designs, CoefficientFileLines,
    ::testing::Values(
        // A tap that shows as zero at 17 decimals keeps its "-"; the tidied one writes a blank.
        FileCase{"low_pass_dropped",
                 {false, 4, 2, 0.225L, 1.0L, 0.225L, 0.000123456789L},
                 {0.5L, 1.0L / 3, -1e-18L, 0.0L, -0.125L},
                 true,
                 "-78.17dB",
                 {"name : ", "order : 6", "phase : zero", "character : LPF", "coefNum : 4", "coefType : real",
                  "coefList :", " 0.500000000000000000", " 0.333333333333333330", "-0.000000000000000000",
                  " 0.000000000000000000", "end;", "", "", "$$$ design data $$$", "num := 3;", "//passNum := 2;",
                  "//fpass :=    0.225;", "//fsample :=    1.000;", "{fp  =   0.22500(fs) }",
                  "{ripple      = 1.234568E-0004}", "{stopGain  = -78.170(dB) }", "{passRipple =   0.00107(dB) }"}},
        // A sampling frequency wider than 8 and a stop gain that fills the width are written whole.
        FileCase{"high_pass_kept",
                 {true, 4, 2, 10000.0L, 48000.0L, 0.5L - 10000.0L / 48000.0L, kDeepRipple},
                 {0.5L, -0.3125L, 0.0L, 0.0625L, 0.0L},
                 false,
                 "-123.456dB",
                 {"name : ", "order : 8", "phase : zero", "character : HPF", "coefNum : 5", "coefType : real",
                  "coefList :", " 0.500000000000000000", "-0.312500000000000000", " 0.000000000000000000",
                  " 0.062500000000000000", " 0.000000000000000000", "end;", "", "", "$$$ design data $$$",
                  "num := 4;", "//passNum := 2;", "//fpass := 10000.000;", "//fsample := 48000.000;",
                  "{fp  =   0.29167(fs) }", "{ripple      = 6.717381E-0007}", "{stopGain  =-123.456(dB) }",
                  "{passRipple =   0.00001(dB) }"}}),
    [](const ::testing::TestParamInfo<FileCase>& info) { return std::string(info.param.name); });

// The ripple whose 20000 ln J / ln 10 is exactly `raw`, found by walking the 80-bit values.
long double RippleWithRawGain(long double raw) {
    long double J = std::pow(10.0L, raw / 20000);
    for (int i = 0; i < 1000000; ++i) {
        const long double g = 20000 * std::log(J) / std::log(10.0L);
        if (g == raw) return J;
        J = std::nextafter(J, g < raw ? 1.0L : 0.0L);
    }
    return 0;
}

struct TieCase {
    long double raw;
    std::string text;
};

TEST(StopGain, HalfwayRoundsToEven) {
    const TieCase cases[] = {{-65536.5L, "-65.536dB"}, {-65537.5L, "-65.538dB"}, {-1048576.5L, "-1048.576dB"}};
    for (const TieCase& c : cases) {
        const long double J = RippleWithRawGain(c.raw);
        ASSERT_GT(J, 0.0L) << double(c.raw);
        ClearFpFlags();
        EXPECT_EQ(StopGainText(J), c.text) << double(c.raw);
    }
}

// One trace with a zero-error line, a zero smallest error, a six-digit cycle and a deep stop gain.
TEST(TraceLines, CycleSectionsAndFinalSection) {
    TempDir dir;
    const long double coef[] = {0.5L, -0.125L};
    ClearFpFlags();
    TraceFile trace;
    trace.Open(0);
    trace.CycleBegin(1);
    trace.ZeroError(1, 7, 12);
    trace.ZeroError(1, 9, 12);
    trace.CycleEnd(0.000123456789L, 0.0L, true);
    trace.CycleBegin(123456);
    trace.CycleEnd(0.000123456789L, 0.000112345678L, false);
    trace.Finish(coef, 1, kDeepRipple);
    const std::vector<std::string> expected = {
        "/w/", "", "0", "",
        "cycle-    1", "1 : 7 / count = 12", "1 : 9 / count = 12",
        "(ripple = 1.2345679E-0004 ~ 0.0000000E+0000// -)", "*** Continue ***", "",
        "cycle-123456", "(ripple = 1.2345679E-0004 ~ 1.1234568E-0004//    1.098901)", "*** End ***", "",
        "DFT process", "[0] 5.00000000000000E-0001", "[1]-1.25000000000000E-0001", "",
        "ripple      = 6.717381E-0007", "stopGain  =-123.45600 (dB)", "passRipple =   0.00001(dB)"};
    EXPECT_EQ(ReadLines("monitor.txt"), expected);
}

}  // namespace
}  // namespace corvalen::test
