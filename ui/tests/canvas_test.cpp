#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <utility>
#include <vector>

#include "textutil/sjis.h"
#include "ui/canvas.h"
#include "ui/font.h"
#include "ui/form.h"

namespace {

using Points = std::set<std::pair<int, int>>;
constexpr ui::Color kGrey = 0x808080;

// The pixels that differ from the fill colour.
Points Changed(const ui::Bitmap& b, ui::Color fill) {
    Points p;
    for (int y = 0; y < b.height(); ++y)
        for (int x = 0; x < b.width(); ++x)
            if (b.Pixel(x, y) != fill) p.insert({x, y});
    return p;
}

struct LineCase {
    const char* name;
    int x0, y0, x1, y1;
    Points expected;
};

const LineCase kLines[] = {
    {"right", 2, 5, 6, 5, {{2, 5}, {3, 5}, {4, 5}, {5, 5}}},
    {"left", 6, 5, 2, 5, {{6, 5}, {5, 5}, {4, 5}, {3, 5}}},
    {"down", 4, 1, 4, 4, {{4, 1}, {4, 2}, {4, 3}}},
    {"up", 4, 4, 4, 1, {{4, 4}, {4, 3}, {4, 2}}},
    {"diagonalDown", 1, 1, 4, 4, {{1, 1}, {2, 2}, {3, 3}}},
    {"diagonalBack", 4, 4, 1, 1, {{4, 4}, {3, 3}, {2, 2}}},
    {"antiDiagonal", 1, 4, 4, 1, {{1, 4}, {2, 3}, {3, 2}}},
    {"shallow", 0, 0, 6, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 1}, {5, 2}}},
    {"steep", 0, 0, 2, 6, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 5}}},
    {"onePixel", 3, 3, 4, 3, {{3, 3}}},
    {"nothing", 3, 3, 3, 3, {}},
    {"partlyLeftOutside", -5, 2, 3, 2, {{0, 2}, {1, 2}, {2, 2}}},
    {"partlyBelow", 9, 7, 9, 12, {{9, 7}, {9, 8}, {9, 9}}},
    {"diagonalIntoCorner", -2, -2, 2, 2, {{0, 0}, {1, 1}}},
    {"whollyLeft", -5, -5, -1, 20, {}},
    {"whollyBelow", 0, 10, 9, 30, {}},
    {"hugeHorizontal", INT_MIN, 5, INT_MAX, 5,
     {{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {6, 5}, {7, 5}, {8, 5}, {9, 5}}},
    {"hugeDiagonal", -1000000000, -1000000000, 1000000000, 1000000000,
     {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}}},
    {"hugeOutside", INT_MIN, INT_MIN, INT_MIN + 5, INT_MAX, {}},
    {"extremeDiagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX,
     {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}}},
    {"extremeAntiDiagonal", INT_MAX, INT_MIN, INT_MIN, INT_MAX, {}},
};

class LineTest : public testing::TestWithParam<LineCase> {};

TEST_P(LineTest, DrawsEveryPixelButTheEndPointClipped) {
    const LineCase& c = GetParam();
    ui::Image image;
    image.width = 10;
    image.height = 10;
    image.canvas.penColor = ui::clRed;
    image.canvas.MoveTo(c.x0, c.y0);
    image.canvas.LineTo(c.x1, c.y1);
    EXPECT_EQ(Changed(*image.picture, ui::clWhite), c.expected);
    for (const auto& [x, y] : c.expected) EXPECT_EQ(image.picture->Pixel(x, y), ui::clRed);
    EXPECT_EQ(image.canvas.penX(), c.x1);
    EXPECT_EQ(image.canvas.penY(), c.y1);
}

INSTANTIATE_TEST_SUITE_P(Canvas, LineTest, testing::ValuesIn(kLines),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, ConnectedLinesDrawTheCornerOnce) {
    ui::Image image;
    image.width = 10;
    image.height = 10;
    image.canvas.MoveTo(1, 1);
    image.canvas.LineTo(1, 4);
    image.canvas.LineTo(4, 4);
    EXPECT_EQ(Changed(*image.picture, ui::clWhite), (Points{{1, 1}, {1, 2}, {1, 3}, {1, 4}, {2, 4}, {3, 4}}));
}

struct RectCase {
    const char* name;
    int left, top, right, bottom;
    Points expected;
};

const RectCase kRects[] = {
    {"inside", 2, 3, 4, 5, {{2, 3}, {3, 3}, {2, 4}, {3, 4}}},
    {"oneByOne", 5, 4, 6, 5, {{5, 4}}},
    {"topLeftClipped", -3, -3, 1, 2, {{0, 0}, {0, 1}}},
    {"bottomRightClipped", 5, 4, 100, 100, {{5, 4}}},
    {"empty", 3, 3, 3, 5, {}},
    {"reversed", 4, 4, 2, 2, {}},
    {"outside", 7, 0, 9, 5, {}},
    {"huge", INT_MIN, INT_MIN, INT_MAX, INT_MAX,
     {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1},
      {0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {5, 2}, {0, 3}, {1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3},
      {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}, {5, 4}}},
};

class FillRectTest : public testing::TestWithParam<RectCase> {};

TEST_P(FillRectTest, FillsWhiteWithoutRightAndBottomEdges) {
    const RectCase& c = GetParam();
    ui::Bitmap bitmap(6, 5, ui::clBlack);
    ui::Canvas canvas([&]() -> ui::Bitmap& { return bitmap; });
    canvas.FillRect(c.left, c.top, c.right, c.bottom);
    EXPECT_EQ(Changed(bitmap, ui::clBlack), c.expected);
    for (const auto& [x, y] : c.expected) EXPECT_EQ(bitmap.Pixel(x, y), ui::clWhite);
}

INSTANTIATE_TEST_SUITE_P(Canvas, FillRectTest, testing::ValuesIn(kRects),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Canvas, PictureIsCreatedWhiteAtTheSizeOfTheFirstDrawing) {
    ui::Image image;
    image.width = 30;
    image.height = 20;
    EXPECT_FALSE(image.picture.has_value());
    image.width = 41;  // a handler may resize the area before it first draws
    image.canvas.SetPixel(40, 19, ui::clLime);
    ASSERT_TRUE(image.picture.has_value());
    EXPECT_EQ(image.picture->width(), 41);
    EXPECT_EQ(image.picture->height(), 20);
    EXPECT_EQ(Changed(*image.picture, ui::clWhite), (Points{{40, 19}}));
    image.width = 100;  // later changes keep the picture
    image.canvas.SetPixel(60, 5, ui::clLime);
    EXPECT_EQ(image.picture->width(), 41);
    EXPECT_EQ(image.canvas.Pixel(60, 5), ui::kNoPixel);
}

TEST(Canvas, ReadingAPixelAlsoCreatesThePicture) {
    ui::Image image;
    image.width = 3;
    image.height = 2;
    EXPECT_EQ(image.canvas.Pixel(2, 1), ui::clWhite);
    EXPECT_EQ(image.canvas.Pixel(3, 1), ui::kNoPixel);
    EXPECT_EQ(image.canvas.Pixel(-1, 0), ui::kNoPixel);
    EXPECT_TRUE(image.picture.has_value());
}

class TextTest : public testing::Test {
protected:
    void SetUp() override {
        if (ui::FontFile().empty()) GTEST_SKIP() << "no font installed";
    }
};

// Draws the text at (x, y) on a grey bitmap of the given size.
ui::Bitmap Drawn(int width, int height, int x, int y, const std::string& text) {
    ui::Bitmap bitmap(width, height, kGrey);
    ui::Canvas canvas([&]() -> ui::Bitmap& { return bitmap; });
    canvas.TextOut(x, y, text);
    return bitmap;
}

TEST_F(TextTest, BlackGlyphsOnAWhiteCellOfTheTextWidthAndTwelveRows) {
    const std::string texts[] = {"0.225", "-12.5dB", "fs", "gjy(|)_", Sjis("設計ツール（ｆｓ）")};
    for (const std::string& text : texts) {
        int width = ui::TextWidth(text);
        ASSERT_GT(width, 0) << text;
        ui::Bitmap b = Drawn(200, 40, 7, 9, text);
        int black = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x) {
                bool inCell = x >= 7 && x < 7 + width && y >= 9 && y < 9 + 12;
                ui::Color c = b.Pixel(x, y);
                if (!inCell) {
                    EXPECT_EQ(c, kGrey) << text << " at " << x << "," << y;
                } else {
                    EXPECT_TRUE(c == ui::clBlack || c == ui::clWhite) << text << " at " << x << "," << y;
                    black += c == ui::clBlack;
                }
            }
        EXPECT_GT(black, 2 * int(text.size())) << text;
        EXPECT_LT(black, width * 12 / 2) << text;
    }
}

TEST_F(TextTest, WidthGrowsWithTheTextAndWithBold) {
    EXPECT_EQ(ui::TextWidth(""), 0);
    EXPECT_EQ(ui::TextWidth("11"), 2 * ui::TextWidth("1"));
    EXPECT_GT(ui::TextWidth("MW"), ui::TextWidth("il"));
    EXPECT_GT(ui::TextWidth("order:", true), ui::TextWidth("order:"));
}

TEST_F(TextTest, EmptyTextDrawsNothing) {
    ui::Bitmap b = Drawn(20, 20, 2, 2, "");
    EXPECT_TRUE(Changed(b, kGrey).empty());
}

TEST_F(TextTest, BoldTextHasMoreBlackPixels) {
    ui::Bitmap plain(100, 20, kGrey), bold(100, 20, kGrey);
    ui::DrawText(plain, 0, 0, "order:");
    ui::DrawText(bold, 0, 0, "order:", true);
    auto blacks = [](const ui::Bitmap& b) {
        int n = 0;
        for (ui::Color c : b.pixels()) n += c == ui::clBlack;
        return n;
    };
    EXPECT_GT(blacks(bold), blacks(plain));
}

struct ClipCase {
    const char* name;
    int x, y;
};

const ClipCase kClips[] = {
    {"leftTop", -5, -4},   {"rightBottom", 24, 13}, {"right", 28, 3},           {"bottom", 2, 17},
    {"farLeft", -1000, 0}, {"farBelow", 0, 5000},   {"hugeRight", INT_MAX - 3, 0}, {"hugeLeftTop", INT_MIN, INT_MIN},
};

class TextClipTest : public TextTest, public testing::WithParamInterface<ClipCase> {};

// Clipped text is the unclipped text cut at the bitmap's edges.
TEST_P(TextClipTest, ClippedTextMatchesTheUnclippedDrawing) {
    const ClipCase& c = GetParam();
    const std::string text = "-0.1dB";
    constexpr int kMargin = 100;
    ui::Bitmap small = Drawn(30, 20, c.x, c.y, text);
    int64_t wx = int64_t(c.x) + kMargin, wy = int64_t(c.y) + kMargin;
    bool nearby = wx >= 0 && wy >= 0 && wx < 1000 && wy < 1000;
    ui::Bitmap wide = nearby ? Drawn(230, 220, int(wx), int(wy), text) : ui::Bitmap(230, 220, kGrey);
    for (int y = 0; y < small.height(); ++y)
        for (int x = 0; x < small.width(); ++x)
            EXPECT_EQ(small.Pixel(x, y), wide.Pixel(x + kMargin, y + kMargin)) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Canvas, TextClipTest, testing::ValuesIn(kClips),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
