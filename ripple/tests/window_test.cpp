#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ripple_fixture.h"
#include "textutil/sjis.h"
#include "ui/bmp.h"

namespace mirsadel_test {
namespace {

TEST_F(RippleTest, WindowLayout) {
    EXPECT_EQ(form.caption, Sjis("Mirsadel  リプル特性表示ツール"));
    EXPECT_EQ((std::vector<int>{form.left, form.top, form.width, form.height}), (std::vector<int>{272, 46, 725, 682}));
    EXPECT_EQ(form.color, ui::clWhite);
    EXPECT_EQ(form.fontName, Sjis("ＭＳ Ｐゴシック"));
    EXPECT_EQ(form.fontHeight, 12);

    struct Place {
        const char* name;
        int left, top, width, height, tabOrder;
        const char* parent;
    };
    const std::vector<Place> places = {
        {"Button1", 624, 24, 75, 25, 0, nullptr},      {"RadioGroup2", 504, 16, 97, 233, 1, nullptr},
        {"Edit1", 56, 24, 305, 20, 2, nullptr},        {"CheckBox1", 384, 96, 105, 17, 3, nullptr},
        {"ScrollBox1", 0, 256, 713, 393, 4, nullptr},  {"Button2", 624, 64, 75, 25, 5, nullptr},
        {"RadioGroup1", 384, 16, 97, 65, 6, nullptr},  {"Memo1", 56, 56, 121, 33, 7, nullptr},
        {"Label2", 16, 28, 33, 12, -1, nullptr},       {"Label3", 22, 60, 27, 12, -1, nullptr},
        {"Image1", -4, 0, 5210, 369, -1, "ScrollBox1"},
    };
    ASSERT_EQ(form.controls().size(), places.size());
    for (const Place& p : places) {
        SCOPED_TRACE(p.name);
        const ui::Control* c = form.Find(p.name);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ((std::vector<int>{c->left, c->top, c->width, c->height, c->tabOrder}),
                  (std::vector<int>{p.left, p.top, p.width, p.height, p.tabOrder}));
        EXPECT_EQ(c->parent, p.parent ? form.Find(p.parent) : nullptr);
        EXPECT_FALSE(c->bold);
    }

    EXPECT_EQ(form.Button1.caption, "draw");
    EXPECT_EQ(form.Button2.caption, "savePaintFile");
    EXPECT_EQ(form.RadioGroup2.caption, " full scale +/- ");
    EXPECT_EQ(form.RadioGroup2.items,
              (std::vector<std::string>{"0.1dB", "0.05dB", "0.02dB", "0.01dB", "0.005dB", "0.002dB", "0.001dB",
                                        "0.0005dB", "0.0002dB", "0.0001dB", "0.00005dB", "0.00002dB", "0.00001dB",
                                        "0.000005dB", "0.000002dB"}));
    EXPECT_EQ(form.RadioGroup2.itemIndex, 0);
    EXPECT_EQ(form.RadioGroup1.caption, "freqAxis");
    EXPECT_EQ(form.RadioGroup1.items, (std::vector<std::string>{"normal", "wide", "veryWide"}));
    EXPECT_EQ(form.RadioGroup1.itemIndex, 0);
    EXPECT_EQ(form.Edit1.text, "filterName");
    EXPECT_EQ(form.CheckBox1.caption, "clearBeforeDraw");
    EXPECT_TRUE(form.CheckBox1.checked);
    EXPECT_EQ(form.Memo1.lines.All(), std::vector<std::string>(5));
    EXPECT_EQ(form.Label2.caption, "name :");
    EXPECT_EQ(form.Label3.caption, "kind :");
    EXPECT_FALSE(form.Image1.picture);
    EXPECT_EQ(form.OpenDialog1.defaultExt, "efc");
    EXPECT_EQ(form.OpenDialog1.initialDir, dir);
}

TEST_F(RippleTest, OpenDialogStartsInTheFolderOfStartUp) {
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    Draw(WriteFile("sub/a.efc", EfcLines({"1"})));
    desk.QueueCancel();
    form.Click(form.Button1);
    ASSERT_EQ(desk.dialogs.size(), 2u);
    for (const ui::ShownDialog& d : desk.dialogs) {
        EXPECT_FALSE(d.save);
        EXPECT_EQ(d.initialDir, dir);
        EXPECT_EQ(d.defaultExt, "efc");
    }
}

TEST_F(RippleTest, TypedNameGetsTheDefaultExtension) {
    WriteFile("typed.efc", EfcLines({"1"}));
    Draw("typed");
    EXPECT_TRUE(desk.errors.empty());
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_EQ(form.Memo1.lines.Get(0), "order : even");
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le32(const std::string& b, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | uint8_t(b[at + size_t(i)]);
    return v;
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST_F(RippleTest, SavedPictureIsTheWholeBitmap) {
    ASSERT_EQ(mkdir((dir + "/sub").c_str(), 0700), 0);
    form.RadioGroup1.itemIndex = 1;
    Draw(WriteFile("sub/a.efc", EfcLines({"0.5", "0.25"})));
    form.Click(form.Button2);
    EXPECT_TRUE(desk.errors.empty());
    EXPECT_FALSE(Exists(dir + "/Lunovar.bmp"));  // goes into the folder of the file chosen last
    const std::string path = dir + "/sub/Lunovar.bmp";
    ASSERT_TRUE(Exists(path));

    const std::string bytes = FileBytes(path);
    const uint32_t rowBytes = (5210 * 3 + 3) / 4 * 4;
    ASSERT_EQ(bytes.size(), 54 + rowBytes * 369);
    EXPECT_EQ(bytes.substr(0, 2), "BM");
    EXPECT_EQ(Le32(bytes, 2), bytes.size());
    EXPECT_EQ(Le32(bytes, 10), 54u);
    EXPECT_EQ(Le32(bytes, 18), 5210u);
    EXPECT_EQ(Le32(bytes, 22), 369u);
    EXPECT_EQ(uint8_t(bytes[28]), 24);  // bits per pixel
    EXPECT_EQ(Le32(bytes, 30), 0u);    // uncompressed
    // Bottom-up rows, blue-green-red: the frame's corner (30, 350) is black, (0, 0) white.
    const size_t corner = 54 + size_t(368 - 350) * rowBytes + 30 * 3;
    EXPECT_EQ(bytes.substr(corner, 3), std::string(3, '\0'));
    EXPECT_EQ(bytes.substr(54 + size_t(368) * rowBytes, 3), std::string(3, '\xFF'));

    EXPECT_EQ(ui::LoadBmp(path), *form.Image1.picture);
}

TEST_F(RippleTest, NarrowPlotLeavesTheWideOneInTheSavedPicture) {
    form.CheckBox1.checked = false;
    form.RadioGroup1.itemIndex = 2;
    const std::string path = WriteFile("a.efc", EfcLines({"0.5", "0.25"}));
    Draw(path);
    form.RadioGroup1.itemIndex = 0;
    Draw(path);
    EXPECT_EQ(form.Image1.width, 710);
    form.Click(form.Button2);
    ui::Bitmap saved = ui::LoadBmp(dir + "/Lunovar.bmp");
    ASSERT_EQ(saved.width(), 5210);
    EXPECT_EQ(saved.Pixel(5150, 200), ui::clBlack);  // the veryWide frame
    EXPECT_EQ(saved.Pixel(5100, 200), ui::clBlack);  // its plot box
    EXPECT_EQ(saved.Pixel(4001, 325), ui::clBlack);  // its curve along the floor
    EXPECT_EQ(saved.Pixel(650, 200), ui::clBlack);   // and the normal frame
}

TEST_F(RippleTest, SaveBeforeDrawingWritesNothing) {
    form.Click(form.Button2);
    desk.QueueCancel();
    form.Click(form.Button1);
    form.Click(form.Button2);
    EXPECT_FALSE(Exists(dir + "/Lunovar.bmp"));
    EXPECT_TRUE(desk.errors.empty());
}

TEST_F(RippleTest, SaveAfterABadFileWritesTheClearedPicture) {
    Draw(WriteFile("bad.efc", EfcLines({"x"})));
    ASSERT_EQ(desk.messages.size(), 1u);
    form.Click(form.Button2);
    EXPECT_EQ(ui::LoadBmp(dir + "/Lunovar.bmp"), ui::Bitmap(5210, 369));
}

TEST_F(RippleTest, SaveThatCannotWriteShowsTheErrorBox) {
    Draw(WriteFile("a.efc", EfcLines({"1"})));
    ASSERT_EQ(mkdir((dir + "/Lunovar.bmp").c_str(), 0700), 0);  // a folder in the way
    form.Click(form.Button2);
    EXPECT_EQ(desk.errors.size(), 1u);
}

}  // namespace
}  // namespace mirsadel_test
