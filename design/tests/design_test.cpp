// Whole designs through the window: the coefficient file, the trace, the picture and failures.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "design/engine.h"
#include "design/tests/window.h"
#include "textutil/textfile.h"

namespace corvalen::test {
namespace {

// The coefficient lines of a "k-su.efc" read back, and the number given by its "coefNum : " line.
std::vector<long double> Coefficients(const std::vector<std::string>& lines) {
    std::vector<long double> coef;
    const int count = std::atoi(lines.at(4).substr(10).c_str());
    for (int i = 0; i < count; ++i) coef.push_back(std::strtold(lines.at(7 + i).c_str(), nullptr));
    return coef;
}

bool StartsWith(const std::string& text, const std::string& head) { return text.compare(0, head.size(), head) == 0; }

// A band-edge marker: lime on every other row from 84 to 298, except where a curve crossed it.
void ExpectMarker(Window& w, int x) {
    int lime = 0;
    for (int y = 84; y <= 298; y += 2) {
        const ui::Color c = w.Pixel(x, y);
        EXPECT_TRUE(c == ui::clLime || c == ui::clRed || c == ui::clBlack) << x << "," << y;
        lime += c == ui::clLime;
        EXPECT_NE(w.Pixel(x, y + 1), ui::clLime) << x << "," << y + 1;
    }
    EXPECT_GE(lime, 90) << x;
}

class DefaultDesign : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = new TempDir;
        w = new Window;
        w->Design("60", "0.225");
        efc = ReadLines("k-su.efc");
        trace = ReadLines("monitor.txt");
    }
    static void TearDownTestSuite() {
        delete w;
        delete dir;
    }
    static TempDir* dir;
    static Window* w;
    static std::vector<std::string> efc;
    static std::vector<std::string> trace;
};
TempDir* DefaultDesign::dir;
Window* DefaultDesign::w;
std::vector<std::string> DefaultDesign::efc;
std::vector<std::string> DefaultDesign::trace;

TEST_F(DefaultDesign, WindowOutputs) {
    EXPECT_TRUE(w->desk.messages.empty());
    EXPECT_TRUE(w->desk.errors.empty());
    EXPECT_EQ(w->form.Edit4.text, "0.225");
    EXPECT_EQ(w->Line(9), "order < 192");
    EXPECT_EQ(w->Line(10), "0.25 > fpass > 0.1715(fs)");
    EXPECT_TRUE(StartsWith(w->Line(11), "(rep = "));
    // The stop gain near -55 dB, to 0.001 dB, and the same figure as in the file.
    const std::string gain = w->form.Edit5.text;
    ASSERT_GE(gain.size(), 4u);
    EXPECT_EQ(gain.substr(gain.size() - 2), "dB");
    const double db = std::atof(gain.c_str());
    EXPECT_NEAR(db, -55, 3);
    EXPECT_NEAR(db, std::atof(efc.at(47).substr(12).c_str()), 0.0015);
}

TEST_F(DefaultDesign, CoefficientFileHeaderAndList) {
    ASSERT_EQ(efc.size(), 49u);  // M' + 20 with M' = 29
    const char* head[] = {"name : ", "order : 58", "phase : zero", "character : LPF", "coefNum : 30", "coefType : real",
                          "coefList :"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(efc[i], head[i]);
    EXPECT_EQ(efc[7], " 0.500000000000000000");
    for (int i = 7; i < 37; ++i) {
        EXPECT_EQ(efc[i].size(), 21u) << efc[i];
        EXPECT_EQ(efc[i].back(), '0') << efc[i];  // 17 decimals and a final 0
        EXPECT_TRUE(efc[i][0] == ' ' || efc[i][0] == '-') << efc[i];
    }
    const std::vector<long double> coef = Coefficients(efc);
    ASSERT_EQ(coef.size(), 30u);
    for (int k = 2; k < 30; k += 2) EXPECT_LT(std::fabs(coef[k]), 1e-18L) << k;
    EXPECT_GT(coef[1], 0.3L);
    const char* tail[] = {"end;", "", "", "$$$ design data $$$", "num := 29;", "//passNum := 15;", "//fpass :=    0.225;",
                          "//fsample :=    1.000;", "{fp  =   0.22500(fs) }"};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(efc[37 + i], tail[i]);
}

TEST_F(DefaultDesign, CoefficientFileRippleLines) {
    const std::string& ripple = efc.at(46);
    const std::string& stopGain = efc.at(47);
    const std::string& passRipple = efc.at(48);
    // Field widths: scientific 15, fixed 8.3 and fixed 10.5.
    ASSERT_EQ(ripple.size(), std::string("{ripple      =").size() + 15 + 1);
    EXPECT_TRUE(StartsWith(ripple, "{ripple      = ")) << ripple;
    EXPECT_EQ(ripple.substr(16, 1), ".");
    EXPECT_EQ(ripple.substr(23, 3), "E-0");
    EXPECT_EQ(ripple.back(), '}');
    ASSERT_EQ(stopGain.size(), std::string("{stopGain  =").size() + 8 + 6);
    EXPECT_TRUE(StartsWith(stopGain, "{stopGain  = -5")) << stopGain;
    EXPECT_EQ(stopGain.substr(stopGain.size() - 6), "(dB) }");
    ASSERT_EQ(passRipple.size(), std::string("{passRipple =").size() + 10 + 6);
    EXPECT_TRUE(StartsWith(passRipple, "{passRipple =   0.0")) << passRipple;
    // The stop gain line is 20 log10 of the ripple written beside it.
    const double J = std::atof(ripple.substr(14).c_str());
    EXPECT_NEAR(std::atof(stopGain.substr(12).c_str()), 20 * std::log10(J), 0.002);
    EXPECT_NEAR(std::atof(passRipple.substr(13).c_str()), 20 * std::log10(1 + J), 0.00002);
}

TEST_F(DefaultDesign, TraceSections) {
    const int n = 32, M = 30;
    ASSERT_GT(trace.size(), size_t(4 * n + 12 + M + 6));
    EXPECT_EQ(trace[0], "/w/");
    EXPECT_EQ(trace[1], "0   0.00000000000000E+0000");
    EXPECT_EQ(trace[n], "31   3.14159265358979E+0000");
    EXPECT_EQ(trace[n + 1], "");
    EXPECT_EQ(trace[n + 2], "32");
    EXPECT_EQ(trace[n + 4], "/cw/");
    EXPECT_EQ(trace[n + 5], "0   1.00000000000000E+0000");
    EXPECT_EQ(trace[2 * n + 6], "/a/");
    EXPECT_TRUE(StartsWith(trace[3 * n + 8], "delta =  ")) << trace[3 * n + 8];
    EXPECT_EQ(trace[3 * n + 11], "/r/");
    EXPECT_EQ(trace[4 * n + 12], "cycle-    1");

    // Cycle sections up to the one that ends the exchange; their count is the window's.
    size_t i = 4 * n + 12;
    int cycles = 0;
    while (StartsWith(trace.at(i), "cycle-")) {
        ++cycles;
        EXPECT_EQ(std::atoi(trace[i].substr(6).c_str()), cycles);
        ++i;
        while (!StartsWith(trace.at(i), "(ripple =")) ++i;  // zero-error lines
        EXPECT_EQ(trace[i].size(), std::string("(ripple =").size() + 16 + 2 + 16 + 2 + 12 + 1) << trace[i];
        const bool last = trace.at(i + 1) == "*** End ***";
        if (!last) {
            EXPECT_EQ(trace[i + 1], "*** Continue ***");
        }
        EXPECT_EQ(trace.at(i + 2), "");
        i += 3;
        if (last) break;
    }
    EXPECT_EQ(w->Line(11), "(rep = " + std::to_string(cycles) + ")");

    // The final section: M + 6 lines, the list before the side-end drop.
    ASSERT_EQ(trace.size(), i + M + 6);
    EXPECT_EQ(trace[i], "DFT process");
    EXPECT_EQ(trace[i + 1], "[0] 5.00000000000000E-0001");
    EXPECT_TRUE(StartsWith(trace[i + M + 1], "[30]"));
    EXPECT_EQ(trace[i + M + 2], "");
    EXPECT_TRUE(StartsWith(trace[i + M + 3], "ripple      = ")) << trace[i + M + 3];
    EXPECT_EQ(trace[i + M + 3].size(), 13u + 15u);
    EXPECT_TRUE(StartsWith(trace[i + M + 4], "stopGain  = -5")) << trace[i + M + 4];
    EXPECT_EQ(trace[i + M + 4].substr(21), " (dB)");
    EXPECT_TRUE(StartsWith(trace[i + M + 5], "passRipple =   0.0")) << trace[i + M + 5];
    EXPECT_EQ(trace[i + M + 5].substr(22), "(dB)");
    // The same ripple as the coefficient file.
    EXPECT_EQ(trace[i + M + 3].substr(13), efc.at(46).substr(14, 15));
}

TEST_F(DefaultDesign, MonitorPlot) {
    // Band-edge markers at 70 + 500 h and 70 + 500 (1 - h), h = 0.45.
    ExpectMarker(*w, 295);
    ExpectMarker(*w, 345);
    // Axes and the lime amplitude lines.
    EXPECT_EQ(w->Pixel(70, 80), ui::clBlack);
    EXPECT_EQ(w->Pixel(609, 300), ui::clBlack);
    EXPECT_EQ(w->Pixel(610, 300), ui::clWhite);
    EXPECT_EQ(w->Pixel(500, 100), ui::clLime);
    EXPECT_EQ(w->Pixel(72, 200), ui::clLime);
    // The final curve: pass band near 1 at the left, stop band near 0 at the right.
    EXPECT_EQ(w->Pixel(70, 300 - 200), ui::clBlack);
    bool stopBandBlack = false;
    for (int y = 295; y <= 305; ++y) stopBandBlack = stopBandBlack || w->Pixel(560, y) == ui::clBlack;
    EXPECT_TRUE(stopBandBlack);
}

TEST_F(DefaultDesign, CharacteristicPlotFollowsTheWrittenCoefficients) {
    EXPECT_EQ(w->Pixel(20, 450), ui::clBlack);   // frame corner
    EXPECT_EQ(w->Pixel(620, 820), ui::clBlack);
    EXPECT_EQ(w->Pixel(70, 780), ui::clBlack);   // axes
    EXPECT_EQ(w->Pixel(589, 780), ui::clBlack);
    EXPECT_EQ(w->Pixel(71, 540), ui::clWhite);   // between grid dots
    EXPECT_EQ(w->Pixel(72, 540), ui::clBlack);
    const std::vector<long double> coef = Coefficients(efc);
    static int32_t rows[kCharSamples];
    CharacteristicRows(coef.data(), int(coef.size()), rows);
    for (int x = 70; x < 570; ++x) {
        const int i = (x - 70) * 512 + 100;
        EXPECT_EQ(w->Pixel(x, rows[i]), ui::clBlack) << x;
    }
}

struct Probe {
    int x, y;
    ui::Color color;
};

// Ends of lines and rows of dots, where a line drawn one pixel too far or too short shows.
TEST_F(DefaultDesign, FrameProbes) {
    const Probe probes[] = {
        // Monitor: axes, amplitude ticks, the lime rows (from j = 1), frequency ticks 3 or 5 long.
        {70, 80, ui::clBlack},   {70, 79, ui::clWhite},   {67, 100, ui::clBlack},  {66, 100, ui::clWhite},
        {72, 200, ui::clLime},   {71, 200, ui::clWhite},  {570, 100, ui::clLime},  {572, 100, ui::clWhite},
        {120, 302, ui::clBlack}, {120, 303, ui::clWhite}, {170, 304, ui::clBlack}, {170, 305, ui::clWhite},
        {570, 304, ui::clBlack}, {570, 305, ui::clWhite}, {295, 298, ui::clLime},  {295, 299, ui::clWhite},
        // Characteristic: frame corners, gain ticks, frequency ticks and the two kinds of column.
        {20, 820, ui::clBlack},  {620, 450, ui::clBlack}, {621, 450, ui::clWhite}, {20, 821, ui::clWhite},
        {68, 660, ui::clBlack},  {67, 660, ui::clWhite},  {570, 660, ui::clBlack}, {571, 660, ui::clWhite},
        {370, 782, ui::clBlack}, {370, 783, ui::clWhite}, {170, 480, ui::clBlack}, {170, 479, ui::clWhite},
        {170, 478, ui::clWhite}, {120, 480, ui::clBlack}, {120, 482, ui::clWhite}, {120, 484, ui::clBlack},
        {589, 780, ui::clBlack}, {590, 780, ui::clWhite},
    };
    for (const Probe& p : probes) EXPECT_EQ(w->Pixel(p.x, p.y), p.color) << p.x << "," << p.y;
}

TEST_F(DefaultDesign, PictureClearKeepsTheTexts) {
    Window& win = *w;
    const std::string edit4 = win.form.Edit4.text, edit5 = win.form.Edit5.text, line11 = win.Line(11);
    ui::Bitmap before = *win.form.Image1.picture;
    win.form.Click(win.form.Button2);
    const ui::Bitmap& after = *win.form.Image1.picture;
    for (int y = 0; y < 850; ++y)
        for (int x = 0; x < 657; ++x) ASSERT_EQ(after.Pixel(x, y), ui::clWhite) << x << "," << y;
    EXPECT_EQ(win.form.Edit4.text, edit4);
    EXPECT_EQ(win.form.Edit5.text, edit5);
    EXPECT_EQ(win.Line(11), line11);
    EXPECT_EQ(win.Line(9), "order < 192");
    *win.form.Image1.picture = before;  // the other cases of this suite look at the design's picture
}

// High-pass: the same prototype, mirrored.
TEST(HighPassDesign, MirrorsTheLowPass) {
    TempDir dir;
    Window w;
    w.Design("60", "0.225");
    const std::vector<long double> low = Coefficients(ReadLines("k-su.efc"));
    ui::Bitmap lowPicture = *w.form.Image1.picture;

    w.form.Select(w.form.RadioGroup1, 1);
    EXPECT_EQ(w.form.Edit2.text, "0.275");
    w.form.Click(w.form.Button1);
    EXPECT_TRUE(w.desk.messages.empty());
    EXPECT_EQ(w.form.Edit4.text, "0.275");
    EXPECT_EQ(w.Line(9), "order < 192");
    EXPECT_EQ(w.Line(10), "0.25 < fpass < 0.3285(fs)");
    const std::vector<std::string> efc = ReadLines("k-su.efc");
    EXPECT_EQ(efc.at(3), "character : HPF");
    EXPECT_EQ(efc.at(43), "//fpass :=    0.275;");
    EXPECT_EQ(efc.at(45), "{fp  =   0.22500(fs) }");
    const std::vector<long double> high = Coefficients(efc);
    ASSERT_EQ(high.size(), low.size());
    for (size_t k = 0; k < high.size(); ++k)
        EXPECT_NEAR(double(high[k]), double(k % 2 ? -low[k] : low[k]), 1e-16) << k;

    // Markers in the same places; the curve runs from x = 570 (pass band) to x = 70 (stop band).
    ExpectMarker(w, 295);
    ExpectMarker(w, 345);
    EXPECT_EQ(w.Pixel(569, 100), ui::clBlack);
    EXPECT_EQ(lowPicture.Pixel(569, 100), ui::clWhite);
    EXPECT_EQ(w.Pixel(71, 100), ui::clWhite);
    EXPECT_EQ(lowPicture.Pixel(71, 100), ui::clBlack);
    // The characteristic is the same gain mirrored about fs/4.
    EXPECT_NE(*w.form.Image1.picture, lowPicture);
}

struct SmallOrder {
    bool drop;
    std::string order, coefNum, num;
    size_t coefLines;
};

class SideEndDrop : public ::testing::TestWithParam<SmallOrder> {};

TEST_P(SideEndDrop, WritesTheShortenedList) {
    const SmallOrder& c = GetParam();
    TempDir dir;
    Window w;
    w.form.CheckBox1.checked = c.drop;
    w.Design("8", "0.2");
    ASSERT_TRUE(w.desk.messages.empty());
    ASSERT_TRUE(w.desk.errors.empty());
    const std::vector<std::string> efc = ReadLines("k-su.efc");
    ASSERT_EQ(efc.size(), c.coefLines + 19);
    EXPECT_EQ(efc[1], "order : " + c.order);
    EXPECT_EQ(efc[4], "coefNum : " + c.coefNum);
    EXPECT_EQ(efc[7 + c.coefLines], "end;");
    EXPECT_EQ(efc[11 + c.coefLines], "num := " + c.num + ";");
    EXPECT_EQ(efc[12 + c.coefLines], "//passNum := 2;");
    // The trace lists the whole design either way: M + 1 = 5 coefficients.
    const std::vector<std::string> trace = ReadLines("monitor.txt");
    ASSERT_GE(trace.size(), 9u);
    EXPECT_TRUE(StartsWith(trace[trace.size() - 5], "[4]"));
    EXPECT_EQ(trace[trace.size() - 10], "DFT process");
}

INSTANTIATE_TEST_SUITE_P(Order8, SideEndDrop,
                         ::testing::Values(SmallOrder{true, "6", "4", "3", 4}, SmallOrder{false, "8", "5", "4", 5}));

struct Accepted {
    std::string order, fpass;
    bool drop;
    std::string orderLine, coefNumLine;
    size_t fileLines;
};

class AcceptedRequest : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedRequest, WritesItsFile) {
    const Accepted& c = GetParam();
    TempDir dir;
    Window w;
    w.form.CheckBox1.checked = c.drop;
    w.Design(c.order, c.fpass);
    EXPECT_TRUE(w.desk.messages.empty());
    EXPECT_TRUE(w.desk.errors.empty());
    const std::vector<std::string> efc = ReadLines("k-su.efc");
    ASSERT_EQ(efc.size(), c.fileLines);
    EXPECT_EQ(efc[1], c.orderLine);
    EXPECT_EQ(efc[4], c.coefNumLine);
    EXPECT_EQ(efc[c.fileLines - 12], "end;");
}

INSTANTIATE_TEST_SUITE_P(
    Requests, AcceptedRequest,
    ::testing::Values(
        // The pass edge equal to the limit is inside the range: the check needs the limit above it.
        Accepted{"64", "0.176", true, "order : 62", "coefNum : 32", 51},
        // The largest file the window writes.
        Accepted{"1000", "0.245", false, "order : 1000", "coefNum : 501", 520}));

// The edge labels follow the edges: a high-pass puts "fpass" where a low-pass puts "fstop".
TEST(DesignPicture, HighPassSwapsTheEdgeLabels) {
    TempDir dir;
    Window w;
    w.Design("60", "0.225");
    const ui::Bitmap low = *w.form.Image1.picture;
    w.Design("60", "0.275", "1", true);
    ASSERT_TRUE(w.desk.messages.empty());
    const ui::Bitmap& high = *w.form.Image1.picture;
    int ink = 0, changed = 0;
    for (int y = 70; y < 82; ++y)
        for (int dx = 0; dx < 30; ++dx) {
            EXPECT_EQ(high.Pixel(341 + dx, y), low.Pixel(271 + dx, y)) << dx << "," << y;  // "fpass"
            EXPECT_EQ(high.Pixel(271 + dx, y), low.Pixel(341 + dx, y)) << dx << "," << y;  // "fstop"
            ink += low.Pixel(271 + dx, y) == ui::clBlack;
            changed += low.Pixel(271 + dx, y) != high.Pixel(271 + dx, y);
        }
    EXPECT_GT(ink, 20);
    EXPECT_GT(changed, 0);  // the two words differ, so the swap shows
}

TEST(DesignPicture, EdgesHalfwayBetweenPixelsTakeTheEvenOne) {
    TempDir dir;
    Window w;
    w.Design("20", "0.0625");
    ASSERT_TRUE(w.desk.messages.empty());
    ExpectMarker(w, 132);
    ExpectMarker(w, 508);
    EXPECT_NE(w.Pixel(133, 84), ui::clLime);
    EXPECT_NE(w.Pixel(131, 84), ui::clLime);
    EXPECT_NE(w.Pixel(507, 84), ui::clLime);
    EXPECT_NE(w.Pixel(509, 84), ui::clLime);
}

TEST(DesignPicture, DeepStopBandLiesOnTheFloor) {
    TempDir dir;
    Window w;
    w.Design("40", "0.13701");
    ASSERT_TRUE(w.desk.messages.empty());
    ASSERT_TRUE(w.desk.errors.empty());
    // Gains below -140 dB sit on the bottom axis; nothing is drawn below it.
    EXPECT_LT(std::atof(w.form.Edit5.text.c_str()), -140);
    for (int x = 450; x < 570; ++x) {
        EXPECT_EQ(w.Pixel(x, 780), ui::clBlack) << x;
        if (x == 470) continue;  // a frequency tick
        for (int y = 781; y <= 783; ++y) ASSERT_EQ(w.Pixel(x, y), ui::clWhite) << x << "," << y;
    }
}

}  // namespace
}  // namespace corvalen::test
