// The magnitude plots, probed pixel by pixel.
#include <gtest/gtest.h>

#include "support.h"

namespace tobrenth_test {
namespace {

const ui::Bitmap& Picture(const ui::Image& im) { return *im.picture; }

// Rows of column x that are black.
std::vector<int> BlackRows(const ui::Bitmap& b, int x) {
    std::vector<int> rows;
    for (int y = 0; y < b.height(); ++y)
        if (b.Pixel(x, y) == ui::clBlack) rows.push_back(y);
    return rows;
}

TEST(Plot, NyquistLowPassAndItsComplement) {
    ScratchDir dir;
    Program p;
    p.LoadLines(NyquistFile());
    p.f.Click(p.f.Button3);
    const ui::Bitmap& lpf = Picture(p.f.Image1);
    const ui::Bitmap& hpf = Picture(p.f.Image2);
    EXPECT_EQ(lpf.Pixel(35, 40), ui::clBlack);   // |A(0)| = 1
    EXPECT_EQ(lpf.Pixel(160, 115), ui::clBlack);  // |A(pi/2)| = 0.5
    EXPECT_EQ(hpf.Pixel(35, 190), ui::clBlack);
    EXPECT_EQ(hpf.Pixel(160, 115), ui::clBlack);
    EXPECT_EQ(BlackRows(lpf, 35), std::vector<int>{40});
    EXPECT_EQ(BlackRows(lpf, 285), std::vector<int>{});  // the last point is an end point
}

TEST(Plot, AxesAreGreenAndEndBeforeTheirEndPoints) {
    ScratchDir dir;
    Program p;
    p.LoadLines(NyquistFile());
    const ui::Bitmap& b = Picture(p.f.Image1);
    for (auto [x, y] : {std::pair{35, 20}, {35, 100}, {35, 189}, {36, 190}, {290, 190}, {299, 190}})
        EXPECT_EQ(b.Pixel(x, y), ui::clLime) << x << "," << y;
    for (auto [x, y] : {std::pair{35, 19}, {34, 100}, {300, 190}, {36, 191}})
        EXPECT_EQ(b.Pixel(x, y), ui::clWhite) << x << "," << y;
}

TEST(Plot, OneCoefficientOrNoneDrawsAFlatLine) {
    ScratchDir dir;
    Program p;
    p.LoadLines(Concat(Pane("0", "LPF", {" 0.500000000000000000"}), {"", ""}));
    for (int x = 35; x < 285; ++x) ASSERT_EQ(BlackRows(Picture(p.f.Image1), x), std::vector<int>{115}) << x;
    // A count of 0 still draws the centre tap that the array holds.
    p.LoadLines(Concat(Header("0", "LPF", "0"), {"end;", "", ""}));
    EXPECT_TRUE(p.desk.messages.empty());
    for (int x = 35; x < 285; ++x) ASSERT_EQ(BlackRows(Picture(p.f.Image1), x), std::vector<int>{115}) << x;
}

// A single centre tap draws a flat line at 190 - round(150 |h0|); halves go to the even row.
TEST(Plot, FlatLineRowOfOneCoefficient) {
    const std::pair<long double, int> cases[] = {{0.5L, 115}, {-0.5L, 115}, {0.75L, 78},
                                                 {-0.75L, 78}, {0.25L, 152}, {0, 190}};
    for (auto [h0, row] : cases) {
        SCOPED_TRACE(double(h0));
        Program p;
        p.f.PlotCoefs[0] = h0;
        p.f.PlotCoefs[1] = 0.3L;
        p.f.DrawConvertedResponse(1);
        for (int x = 35; x < 285; ++x) ASSERT_EQ(BlackRows(Picture(p.f.Image2), x), std::vector<int>{row}) << x;
        EXPECT_EQ(Picture(p.f.Image2).Pixel(285, row), row == 190 ? ui::clLime : ui::clWhite);
    }
}

// 2 h1 overflows first; the infinity it makes meets -infinity at h2, an invalid operation.
TEST(Plot, AnOverflowIsReportedAheadOfTheInvalidItLeadsTo) {
    Program p;
    p.f.PlotCoefs[0] = 0.5L;
    p.f.PlotCoefs[1] = 1e4932L;
    p.f.PlotCoefs[2] = -1e4932L;
    p.f.Run([&] { p.f.DrawConvertedResponse(3); });
    EXPECT_EQ(p.desk.errors, std::vector<std::string>{Sjis("浮動小数点数のオーバーフロー")});
}

TEST(Plot, StripRightOfTheClearedAreaIsNeverTouched) {
    ScratchDir dir;
    Program p;
    for (int y = 0; y < 225; ++y) {
        p.f.Image1.canvas.SetPixel(299, y, ui::clRed);
        for (int x = 300; x < 329; ++x) p.f.Image1.canvas.SetPixel(x, y, ui::clRed);
    }
    p.LoadLines(NyquistFile());
    const ui::Bitmap& b = Picture(p.f.Image1);
    for (int y = 0; y < 225; ++y) {
        EXPECT_NE(b.Pixel(299, y), ui::clRed);
        for (int x = 300; x < 329; ++x) ASSERT_EQ(b.Pixel(x, y), ui::clRed) << x << "," << y;
    }
}

TEST(Plot, SecondPlotReplacesTheFirst) {
    ScratchDir dir;
    Program twice, once;
    twice.LoadLines(DesignFile());
    twice.LoadLines(Concat(Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", " 0.000000000000000000",
                                             " 0.062500000000000000"}),
                           {"", ""}));
    once.LoadLines(Concat(Pane("6", "HPF", {" 0.500000000000000000", "-0.312500000000000000", " 0.000000000000000000",
                                            " 0.062500000000000000"}),
                          {"", ""}));
    EXPECT_EQ(Picture(twice.f.Image1), Picture(once.f.Image1));
}

TEST(Plot, EntriesAtOrPastTheCountAreIgnored) {
    Program a, b;
    for (int k = 0; k < 2001; ++k) a.f.PlotCoefs[k] = b.f.PlotCoefs[k] = 0.25L / (k + 1);
    b.f.PlotCoefs[5] = 0.4L;
    a.f.DrawSourceResponse(5);
    b.f.DrawSourceResponse(5);
    EXPECT_EQ(Picture(a.f.Image1), Picture(b.f.Image1));
}

TEST(Plot, CountBeyondTheArrayUsesTheWholeArray) {
    Program a, b;
    for (Program* p : {&a, &b}) {
        p->f.PlotCoefs[0] = 0.5L;
        p->f.PlotCoefs[2000] = 0.2L;
    }
    a.f.DrawSourceResponse(2001);
    b.f.DrawSourceResponse(5000);
    EXPECT_EQ(Picture(a.f.Image1), Picture(b.f.Image1));
    b.f.DrawSourceResponse(2000);
    EXPECT_NE(Picture(a.f.Image1), Picture(b.f.Image1));
}

TEST(Plot, MagnitudeAboveThePictureLeavesNoTrace) {
    Program p;
    p.f.PlotCoefs[0] = 2;
    p.f.DrawSourceResponse(1);
    for (int x = 0; x < 329; ++x) ASSERT_TRUE(BlackRows(Picture(p.f.Image1), x).empty()) << x;
}

}  // namespace
}  // namespace tobrenth_test
