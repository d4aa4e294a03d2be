#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "textutil/errors.h"
#include "textutil/textfile.h"
#include "ui/bmp.h"
#include "ui/tempfolder.h"

namespace {

// A fresh temporary folder as the current directory for the test's life.
class BmpTest : public testing::Test {
protected:
    ui::TempFolder folder_;
};

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

uint32_t U16(const std::string& b, size_t at) { return uint8_t(b[at]) | uint32_t(uint8_t(b[at + 1])) << 8; }
uint32_t U32(const std::string& b, size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

// Every pixel a different colour, so that a swapped row, column or channel shows.
ui::Bitmap Pattern(int width, int height) {
    ui::Bitmap b(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) b.SetPixel(x, y, ui::Color(0x10 * (x + 1)) << 16 | ui::Color(0x20 * (y + 1)) << 8 | ui::Color(x * 7 + y * 3 + 1));
    return b;
}

struct SizeCase {
    int width, height;
    uint32_t rowBytes;
};

class BmpSizeTest : public BmpTest, public testing::WithParamInterface<SizeCase> {};

TEST_P(BmpSizeTest, SavedFileHasItsHeadersAndReadsBackPixelForPixel) {
    const SizeCase& c = GetParam();
    ui::Bitmap original = Pattern(c.width, c.height);
    ui::SaveBmp(original, "p.bmp");
    std::string b = Bytes("p.bmp");
    uint32_t imageSize = c.rowBytes * uint32_t(c.height);
    ASSERT_EQ(b.size(), 54 + imageSize);
    EXPECT_EQ(b.substr(0, 2), "BM");
    EXPECT_EQ(U32(b, 2), 54 + imageSize);  // file size
    EXPECT_EQ(U32(b, 6), 0u);              // reserved
    EXPECT_EQ(U32(b, 10), 54u);            // pixel offset
    EXPECT_EQ(U32(b, 14), 40u);            // info header size
    EXPECT_EQ(U32(b, 18), uint32_t(c.width));
    EXPECT_EQ(U32(b, 22), uint32_t(c.height));  // positive: bottom-up
    EXPECT_EQ(U16(b, 26), 1u);                  // planes
    EXPECT_EQ(U16(b, 28), 24u);                 // bits per pixel
    EXPECT_EQ(U32(b, 30), 0u);                  // uncompressed
    EXPECT_EQ(U32(b, 34), imageSize);
    EXPECT_EQ(U32(b, 38), 2835u);
    EXPECT_EQ(U32(b, 42), 2835u);
    EXPECT_EQ(U32(b, 46), 0u);
    EXPECT_EQ(U32(b, 50), 0u);
    // The first stored row is the bottom one, each pixel blue, green, red, then zero padding.
    ui::Color bottomLeft = original.Pixel(0, c.height - 1);
    EXPECT_EQ(uint8_t(b[54]), bottomLeft & 0xFF);
    EXPECT_EQ(uint8_t(b[55]), (bottomLeft >> 8) & 0xFF);
    EXPECT_EQ(uint8_t(b[56]), bottomLeft >> 16);
    for (uint32_t i = uint32_t(c.width) * 3; i < c.rowBytes; ++i) EXPECT_EQ(b[54 + i], '\0');
    EXPECT_EQ(ui::LoadBmp("p.bmp"), original);
}

INSTANTIATE_TEST_SUITE_P(Bmp, BmpSizeTest,
                         testing::Values(SizeCase{5, 3, 16}, SizeCase{7, 2, 24}, SizeCase{1, 1, 4}, SizeCase{4, 4, 12},
                                         SizeCase{6, 1, 20}),
                         [](const auto& info) {
                             return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
                         });

TEST_F(BmpTest, SavingReplacesALongerFile) {
    WriteBytes("p.bmp", std::string(5000, 'x'));
    ui::SaveBmp(Pattern(2, 2), "p.bmp");
    EXPECT_EQ(Bytes("p.bmp").size(), 54u + 2 * 8);
    EXPECT_EQ(ui::LoadBmp("p.bmp"), Pattern(2, 2));
}

TEST_F(BmpTest, TopDownFilesAreRead) {
    ui::Bitmap original = Pattern(5, 3);
    ui::SaveBmp(original, "p.bmp");
    std::string b = Bytes("p.bmp");
    std::string flipped = b.substr(0, 54);
    for (int row = 2; row >= 0; --row) flipped += b.substr(54 + size_t(row) * 16, 16);
    int32_t negative = -3;
    for (int i = 0; i < 4; ++i) flipped[22 + i] = char((uint32_t(negative) >> (8 * i)) & 0xFF);
    WriteBytes("top.bmp", flipped);
    EXPECT_EQ(ui::LoadBmp("top.bmp"), original);
}

TEST_F(BmpTest, AFileHeldByAReaderIsNotReplaced) {
    ui::SaveBmp(Pattern(5, 3), "p.bmp");
    std::string before = Bytes("p.bmp");
    TextReader reader("p.bmp");
    try {
        ui::SaveBmp(Pattern(7, 2), "p.bmp");
        FAIL() << "saved over a file in use";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), 32);
    }
    EXPECT_EQ(Bytes("p.bmp"), before);
}

TEST_F(BmpTest, SavingIntoAMissingFolderFails) {
    try {
        ui::SaveBmp(Pattern(1, 1), "missing/p.bmp");
        FAIL() << "saved into a missing folder";
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), 3);
    }
}

struct BadFile {
    const char* name;
    int cut;                // bytes kept of a good 5 x 3 file, or -1 for all
    size_t at;              // a byte to change
    char value;
};

class BadBmpTest : public BmpTest, public testing::WithParamInterface<BadFile> {};

TEST_P(BadBmpTest, IsRefusedWithAFileError) {
    const BadFile& c = GetParam();
    ui::SaveBmp(Pattern(5, 3), "p.bmp");
    std::string b = Bytes("p.bmp");
    if (c.at < b.size()) b[c.at] = c.value;
    if (c.cut >= 0) b.resize(size_t(c.cut));
    WriteBytes("bad.bmp", b);
    EXPECT_THROW(ui::LoadBmp("bad.bmp"), FileError);
}

INSTANTIATE_TEST_SUITE_P(Bmp, BadBmpTest,
                         testing::Values(BadFile{"empty", 0, 999, 0}, BadFile{"headerOnly", 54, 999, 0},
                                         BadFile{"shortPixels", 60, 999, 0}, BadFile{"notBM", -1, 0, 'X'},
                                         BadFile{"eightBits", -1, 28, 8}, BadFile{"compressed", -1, 30, 1},
                                         BadFile{"hugeWidth", -1, 21, 0x40}, BadFile{"offsetPastEnd", -1, 11, 0x10}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(BmpTest, AMissingFileIsCodeTwo) {
    try {
        ui::LoadBmp("none.bmp");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.code(), 2);
    }
}

}  // namespace
