#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "ripple/rippleplot.h"
#include "textutil/sjis.h"
#include "ripple_fixture.h"
#include "ui/font.h"

namespace mirsadel_test {
namespace {

// Black rows between the outer frame's top and the frequency labels in column x.
std::set<int> BlackRows(const ui::Bitmap& b, int x) {
    std::set<int> rows;
    for (int y = 51; y < 330; ++y)
        if (b.Pixel(x, y) == ui::clBlack) rows.insert(y);
    return rows;
}

// Odd columns inside the plot box hold no grid dots: only the box edges and the curve.
struct FlatCase {
    const char* what;
    std::vector<std::string> lines;
    int scale;
    int row;
};

const std::vector<FlatCase> kFlatCases = {
    {"amplitude 1", EfcLines({"1"}, "order : 0"), 0, 200},
    {"half a full scale up", EfcLines({"1.0058"}, "order : 0"), 0, 150},
    {"above the clip", EfcLines({"1.0165"}, "order : 0"), 0, 75},
    {"below the clip", EfcLines({"0.984"}, "order : 0"), 0, 325},
    {"smallest full scale", EfcLines({"1.0000001"}, "order : 0"), 14, 157},
    {"amplitude 0 at the floor", EfcLines({"0"}, "order : 0"), 0, 325},
    {"coefNum 0", EfcLines({}, "order : 0"), 0, 325},
    {"even shift90 keeps h0", EfcLines({"1"}, "order : 0", "phase : shift90"), 0, 200},
    {"odd cosine pair", EfcLines({"0.5"}, "order : 1"), 14, 325},  // cos(pi L / 50000): below the clip from L = 12
};

TEST_F(RippleTest, FlatCurvesLieOnTheirRow) {
    for (const FlatCase& c : kFlatCases) {
        SCOPED_TRACE(c.what);
        ui::ScriptedDesktop d;
        mirsadel::TForm1 f(d);
        f.Create();
        f.RadioGroup2.itemIndex = c.scale;
        d.QueueFile(WriteFile("flat.efc", c.lines));
        f.Click(f.Button1);
        ASSERT_TRUE(d.messages.empty() && d.errors.empty());
        const ui::Bitmap& b = *f.Image1.picture;
        const std::set<int> expected = {75, 325, c.row};
        // Left of x = 113 the labels of the smallest scales reach into the box.
        for (int x = 113; x < 600; x += 2) ASSERT_EQ(BlackRows(b, x), expected) << "x " << x;
        EXPECT_EQ(b.Pixel(601, c.row), ui::clWhite);
    }
}

// A sum that leaves the range ends the draw with its first fault, on either evaluation path.
TEST_F(RippleTest, AmplitudeOutOfRangeReportsItsFirstFault) {
    const struct {
        const char* what;
        std::vector<std::string> coefs;
    } cases[] = {
        {"2 h1 overflows", {"0.5", "1e4932"}},
        {"2 h1 overflows, then infinity minus infinity", {"0.5", "1e4932", "-1e4932"}},
    };
    for (const auto& c : cases) {
        for (bool parallel : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (parallel ? ", threads" : ", one thread"));
            ui::ScriptedDesktop d;
            mirsadel::TForm1 f(d);
            f.Create();
            f.parallelCurve = parallel;
            d.QueueFile(WriteFile("huge.efc", EfcLines(c.coefs)));
            f.Click(f.Button1);
            EXPECT_TRUE(d.messages.empty());
            EXPECT_EQ(d.errors, std::vector<std::string>{Sjis("浮動小数点数のオーバーフロー")});
        }
    }
}

TEST_F(RippleTest, OddShift90RisesFromTheFloorToZeroDb) {
    // A = sin(pi L / 50000): -200 dB at 0, 0 dB at fs/2.
    Draw(WriteFile("sine.efc", EfcLines({"0.5"}, "order : 1", "phase : shift90")));
    const ui::Bitmap& b = *form.Image1.picture;
    EXPECT_EQ(BlackRows(b, 101), (std::set<int>{75, 325}));
    EXPECT_EQ(BlackRows(b, 599), (std::set<int>{75, 200, 325}));
}

TEST(CurvePoints, Shift90StartsOnTheFloor) {
    mirsadel::CoefFile file;
    file.coef[0] = 1;
    file.coef[1] = 0.25L;
    file.coefNum = 2;
    file.isShift90 = true;
    for (int s = 0; s < mirsadel::kScaleCount; ++s) EXPECT_EQ(mirsadel::CurveRow(mirsadel::StartAmplitude(file), s), 325);
    file.isShift90 = false;
    EXPECT_EQ(mirsadel::StartAmplitude(file), 1.5L);
    file.isOdd = true;
    EXPECT_EQ(mirsadel::StartAmplitude(file), 2.5L);
}

TEST(CurvePoints, ColumnsRoundHalvesToEven) {
    struct Case {
        int axis, L, x;
    };
    const std::vector<Case> cases = {
        {0, 0, 100},    {0, 24, 100},   {0, 25, 100},    {0, 26, 101},    {0, 75, 102},   {0, 125, 102},
        {0, 175, 104},  {0, 24975, 600}, {0, 25000, 600}, {1, 12, 100},    {1, 13, 101},   {1, 25000, 1100},
        {2, 2, 100},    {2, 3, 101},     {2, 25000, 5100}, {7, 25000, 5100}, {-1, 25000, 5100},
    };
    for (const Case& c : cases) EXPECT_EQ(mirsadel::CurveColumn(c.L, c.axis), c.x) << c.axis << " " << c.L;
}

TEST_F(RippleTest, HalfwayPointsGoToTheEvenColumn) {
    // A steep curve at the smallest scale: every point L near 25 and 75 has its own row.
    const std::string path = WriteFile("steep.efc", EfcLines({"0.98800033548", "0.006"}, "order : 2"));
    form.RadioGroup2.itemIndex = 14;
    Draw(path);
    mirsadel::CoefFile file;
    ui::Edit edit;
    ui::Memo memo;
    mirsadel::ReadCoefFile(path, file, edit, memo);
    auto row = [&](int L) { return mirsadel::CurveRow(mirsadel::Amplitude(file, L), 14); };
    ASSERT_GE(row(26) - row(25), 2);
    ASSERT_GE(row(75) - row(74), 2);
    ASSERT_GT(row(24), 75);
    ASSERT_LT(row(76), 295);  // above the lower labels that reach into the box
    const ui::Bitmap& b = *form.Image1.picture;
    // L = 25 lies on x = 100: column 101 begins with L = 26.
    EXPECT_EQ(b.Pixel(101, row(25)), ui::clWhite);
    EXPECT_EQ(b.Pixel(101, row(26)), ui::clBlack);
    // L = 75 lies on x = 102: column 101 ends with L = 74.
    EXPECT_EQ(b.Pixel(101, row(74)), ui::clBlack);
    EXPECT_EQ(b.Pixel(101, row(75)), ui::clWhite);
    EXPECT_EQ(b.Pixel(102, row(75)), ui::clBlack);
}

// The text cell at (x, y) holds exactly what the text gives on a blank bitmap, and the column
// left of it is white. Columns from `right` on are left out: the grid is drawn over them later.
void ExpectTextAt(const ui::Bitmap& b, int x, int y, const std::string& text, int right = 1 << 20) {
    SCOPED_TRACE(text);
    ui::Bitmap blank(b.width(), b.height());
    ui::DrawText(blank, x, y, text);
    int black = 0;
    for (int yy = y; yy < y + 12; ++yy) {
        EXPECT_EQ(b.Pixel(x - 1, yy), ui::clWhite);
        for (int xx = x; xx < std::min(x + ui::TextWidth(text), right); ++xx) {
            ASSERT_EQ(b.Pixel(xx, yy), blank.Pixel(xx, yy)) << xx << "," << yy;
            black += b.Pixel(xx, yy) != ui::clWhite;
        }
    }
    EXPECT_GT(black, 0);
}

TEST_F(RippleTest, LabelsOfTheSmallestFullScale) {
    form.RadioGroup2.itemIndex = 14;
    Draw(WriteFile("labels.efc", EfcLines({"1"}, "order : 0")));
    const ui::Bitmap& b = *form.Image1.picture;
    ExpectTextAt(b, 65, 60, "Gain");
    ExpectTextAt(b, 65, 75, "(dB)");
    ExpectTextAt(b, 49, 95, " 0.000002", 98);
    ExpectTextAt(b, 49, 145, " 0.000001", 98);
    ExpectTextAt(b, 91, 195, "0", 98);
    ExpectTextAt(b, 47, 245, "-0.000001", 98);
    ExpectTextAt(b, 47, 295, "-0.000002", 98);
    ExpectTextAt(b, 590, 352, "621x301");
    ExpectTextAt(b, 620, 330, "(fs)");
    const char* labels[] = {" 0.0", " 0.1", " 0.2", " 0.3", " 0.4", " 0.5"};
    for (int i = 0; i <= 5; ++i) ExpectTextAt(b, 90 + 100 * i, 330, labels[i]);
}

TEST_F(RippleTest, LabelsOfTheLargestFullScale) {
    Draw(WriteFile("labels.efc", EfcLines({"1"}, "order : 0")));
    const ui::Bitmap& b = *form.Image1.picture;
    ExpectTextAt(b, 80, 95, " 0.1", 98);
    ExpectTextAt(b, 73, 145, " 0.05", 98);
    ExpectTextAt(b, 71, 245, "-0.05", 98);
    ExpectTextAt(b, 78, 295, "-0.1", 98);
}

struct AxisCase {
    int axis;
    int width;  // of the picture area
    int right;  // R
    int plot;   // P
    const char* sizeText;
    int labels;  // d
    const char* lastLabel;
    const char* secondLabel;
};

const std::vector<AxisCase> kAxisCases = {
    {0, 710, 650, 600, "621x301", 5, " 0.5", " 0.1"},
    {1, 1210, 1150, 1100, "1121x301", 10, " 0.50", " 0.05"},
    {2, 5210, 5150, 5100, "5121x301", 50, " 0.50", " 0.01"},
};

TEST_F(RippleTest, ThreeAxisWidths) {
    for (const AxisCase& c : kAxisCases) {
        SCOPED_TRACE(c.axis);
        ui::ScriptedDesktop d;
        mirsadel::TForm1 f(d);
        f.Create();
        f.RadioGroup1.itemIndex = c.axis;
        d.QueueFile(WriteFile("axis.efc", EfcLines({"1"}, "order : 0")));
        f.Click(f.Button1);
        EXPECT_EQ(f.Image1.width, c.width);
        const ui::Bitmap& b = *f.Image1.picture;
        EXPECT_EQ(b.width(), 5210);  // the clear made it first, at the area's full width
        EXPECT_EQ(b.height(), 369);
        for (int y = 50; y <= 350; ++y) ASSERT_EQ(b.Pixel(c.right, y), ui::clBlack) << y;
        for (int y = 75; y <= 325; ++y) ASSERT_EQ(b.Pixel(c.plot, y), ui::clBlack) << y;
        for (int x = 30; x <= c.right; ++x) ASSERT_EQ(b.Pixel(x, 350), ui::clBlack) << x;
        for (int y = 0; y < 369; ++y) ASSERT_EQ(b.Pixel(c.right + 1, y), ui::clWhite) << y;
        EXPECT_EQ(b.Pixel(c.plot + 1, 200), ui::clWhite);  // the curve ends on the box edge
        EXPECT_EQ(b.Pixel(c.plot, 327), ui::clBlack);      // last frequency tick
        EXPECT_EQ(b.Pixel(c.plot, 328), ui::clWhite);
        EXPECT_EQ(b.Pixel(c.plot - 100, 327), ui::clBlack);
        EXPECT_EQ(b.Pixel(c.plot - 50, 75 + 4), ui::clBlack);  // half-division dots
        EXPECT_EQ(b.Pixel(c.plot - 50, 75 + 2), ui::clWhite);
        EXPECT_EQ(b.Pixel(c.plot - 100, 77), ui::clBlack);  // division dots
        EXPECT_EQ(b.Pixel(c.plot - 100, 78), ui::clWhite);
        EXPECT_EQ(b.Pixel(c.plot - 2, 100), ui::clBlack);  // grid dots up to x = 100 + 2m
        EXPECT_EQ(b.Pixel(c.plot - 1, 100), ui::clWhite);
        ExpectTextAt(b, c.right - 60, 352, c.sizeText);
        ExpectTextAt(b, c.right - 30, 330, "(fs)");
        ExpectTextAt(b, 190, 330, c.secondLabel);
        ExpectTextAt(b, 90 + 100 * c.labels, 330, c.lastLabel);
        // Every label: hundredths of fs, two decimals, cut to one decimal on the normal axis.
        for (int i = 0; i <= c.labels; ++i) {
            const int hundredths = i * 50 / c.labels;
            char text[16];
            snprintf(text, sizeof text, " %d.%02d", hundredths / 100, hundredths % 100);
            ExpectTextAt(b, 90 + 100 * i, 330, c.axis == 0 ? std::string(text, 4) : std::string(text));
        }
    }
}

TEST_F(RippleTest, FirstPlotWithoutClearTakesTheAxisWidth) {
    form.CheckBox1.checked = false;
    Draw(WriteFile("a.efc", EfcLines({"1"}, "order : 0")));
    ASSERT_TRUE(form.Image1.picture);
    EXPECT_EQ(form.Image1.picture->width(), 710);
    form.RadioGroup1.itemIndex = 2;
    Draw(WriteFile("a.efc", EfcLines({"1"}, "order : 0")));
    EXPECT_EQ(form.Image1.picture->width(), 710);  // the bitmap keeps its first size
    EXPECT_EQ(form.Image1.width, 5210);
}

TEST_F(RippleTest, BadFileWithoutClearKeepsThePlot) {
    form.CheckBox1.checked = false;
    Draw(WriteFile("good.efc", EfcLines({"1"}, "order : 0")));
    ui::Bitmap before = *form.Image1.picture;
    Draw(WriteFile("bad.efc", EfcLines({"1"}, "order : 0", "phase : Zero")));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(*form.Image1.picture, before);
    form.CheckBox1.checked = true;
    Draw(WriteFile("bad.efc", EfcLines({"1"}, "order : 0", "phase : Zero")));
    EXPECT_EQ(*form.Image1.picture, ui::Bitmap(710, 369));
}

TEST_F(RippleTest, SecondPlotWithoutClearDrawsOverTheFirst) {
    Draw(WriteFile("one.efc", EfcLines({"1"}, "order : 0")));
    form.CheckBox1.checked = false;
    Draw(WriteFile("two.efc", EfcLines({"1.0058"}, "order : 0")));
    EXPECT_EQ(BlackRows(*form.Image1.picture, 301), (std::set<int>{75, 150, 200, 325}));
}

// Coefficients of a windowed-sinc low-pass, written as a design file would hold them.
std::vector<std::string> LowPass(int count, long double cutoff) {
    std::vector<std::string> coefs;
    for (int k = 0; k < count; ++k) {
        long double x = k == 0 ? 2 * cutoff : std::sin(2 * 3.14159265358979323846L * cutoff * k) / (3.14159265358979323846L * k);
        long double window = 0.54L + 0.46L * std::cos(3.14159265358979323846L * k / count);
        char text[64];
        snprintf(text, sizeof text, "%.18Lf", x * window);
        coefs.push_back(text);
    }
    return coefs;
}

TEST_F(RippleTest, ThreadedAndSequentialCurvesGiveTheSamePicture) {
    struct Case {
        const char* order;
        const char* phase;
        int axis, scale;
    };
    const std::vector<Case> cases = {
        {"order : 200", "phase : zero", 2, 0},  {"order : 201", "phase : zero", 0, 9},
        {"order : 200", "phase : shift90", 1, 3}, {"order : 201", "phase : shift90", 2, 14},
    };
    const std::string path = WriteFile("lowpass.efc", std::vector<std::string>());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.order) + " " + c.phase);
        WriteFile("lowpass.efc", EfcLines(LowPass(101, 0.2L), c.order, c.phase));
        ui::Bitmap pictures[2];
        for (int parallel = 0; parallel < 2; ++parallel) {
            ui::ScriptedDesktop d;
            mirsadel::TForm1 f(d);
            f.Create();
            f.parallelCurve = parallel == 1;
            f.RadioGroup1.itemIndex = c.axis;
            f.RadioGroup2.itemIndex = c.scale;
            d.QueueFile(path);
            f.Click(f.Button1);
            ASSERT_TRUE(d.messages.empty() && d.errors.empty());
            pictures[parallel] = *f.Image1.picture;
        }
        EXPECT_TRUE(pictures[0] == pictures[1]);
        EXPECT_NE(pictures[0], ui::Bitmap(5210, 369));
    }
}

TEST(CurvePoints, EveryThreadCountGivesTheSameAmplitudes) {
    mirsadel::CoefFile file;
    file.coefNum = 301;
    for (int k = 0; k < file.coefNum; ++k) file.coef[size_t(k)] = 1.0L / (k + 1.5L) * (k % 3 == 1 ? -1 : 1);
    for (int odd = 0; odd < 2; ++odd) {
        file.isOdd = odd == 1;
        std::vector<long double> one, many;
        mirsadel::EvaluateAmplitudes(file, one, 1);
        mirsadel::EvaluateAmplitudes(file, many, 7);
        ASSERT_EQ(one.size(), size_t(mirsadel::kCurvePoints + 1));
        EXPECT_TRUE(one == many);
        EXPECT_EQ(one[0], mirsadel::StartAmplitude(file));
        for (int L : {1, 2, 12345, 24999, 25000}) EXPECT_EQ(one[size_t(L)], mirsadel::Amplitude(file, L)) << L;
    }
}

TEST(CurvePoints, FrequencyLabels) {
    EXPECT_EQ(mirsadel::FreqLabelText(0), " 0.00");
    EXPECT_EQ(mirsadel::FreqLabelText(0.05L), " 0.05");
    EXPECT_EQ(mirsadel::FreqLabelText(0.5L), " 0.50");
    EXPECT_EQ(mirsadel::FreqLabelText(3.0L / 100), " 0.03");
}

}  // namespace
}  // namespace mirsadel_test
