// The window as laid out and as it stands after start-up.
#include <gtest/gtest.h>

#include "support.h"

namespace tobrenth_test {
namespace {

struct Placed {
    const char* name;
    int left, top, width, height, tab;
    const char* parent;
    const char* caption;
};

// Every control with a fixed size; labels size themselves to their caption.
const Placed kPlaced[] = {
    {"Button1", 8, 8, 75, 25, 2, nullptr, "load"},
    {"Button2", 456, 8, 75, 25, 3, nullptr, "save "},
    {"Memo1", 8, 40, 297, 329, 0, nullptr, nullptr},
    {"Memo2", 472, 40, 297, 329, 1, nullptr, nullptr},
    {"Button3", 344, 40, 89, 25, 4, nullptr, "invert char ->"},
    {"Button9", 344, 80, 89, 25, 9, nullptr, "freq reverse ->"},
    {"Button4", 344, 120, 89, 25, 5, nullptr, "conv notch ->"},
    {"GroupBox1", 312, 152, 153, 145, 8, nullptr, ""},
    {"Button5", 24, 16, 105, 25, 0, "GroupBox1", "conv shelving ->"},
    {"Button6", 8, 56, 137, 25, 1, "GroupBox1", "conv notchedShelving ->"},
    {"Edit1", 48, 109, 57, 20, 2, "GroupBox1", nullptr},
    {"Button7", 328, 312, 121, 25, 6, nullptr, "conv doubleMirror ->"},
    {"Button8", 352, 352, 75, 25, 7, nullptr, "<- copy back"},
    {"Image1", 8, 400, 329, 225, -1, nullptr, nullptr},
    {"Image2", 440, 400, 329, 225, -1, nullptr, nullptr},
};

TEST(Window, ControlsStandWhereTheLayoutPutsThem) {
    Program p;
    for (const Placed& c : kPlaced) {
        SCOPED_TRACE(c.name);
        ui::Control* ctl = p.f.Find(c.name);
        ASSERT_NE(ctl, nullptr);
        EXPECT_EQ(ctl->left, c.left);
        EXPECT_EQ(ctl->top, c.top);
        EXPECT_EQ(ctl->width, c.width);
        EXPECT_EQ(ctl->height, c.height);
        EXPECT_EQ(ctl->tabOrder, c.tab);
        EXPECT_EQ(ctl->parent ? ctl->parent->name : "", c.parent ? c.parent : "");
        if (auto* b = dynamic_cast<ui::Button*>(ctl)) {
            EXPECT_EQ(b->caption, c.caption);
        } else if (auto* g = dynamic_cast<ui::GroupBox*>(ctl)) {
            EXPECT_EQ(g->caption, c.caption);
        }
    }
}

struct PlacedLabel {
    const char* name;
    int left, top;
    bool bold;
    const char* parent;
    const char* caption;
};

const PlacedLabel kLabels[] = {
    {"Label1", 120, 24, true, nullptr, "SOURCE FILE"},
    {"Label2", 552, 24, true, nullptr, "CONVERTED FILE"},
    {"Label3", 44, 93, false, "GroupBox1", "2nd pass gain :"},
    {"Label4", 107, 117, false, "GroupBox1", "dB"},
    {"Label5", 104, 384, true, nullptr, "SOURCE CHARACTOR"},
    {"Label6", 504, 384, true, nullptr, "CONVERTED CHARACTOR"},
};

TEST(Window, LabelsCarryTheirCaptionsAndWeight) {
    Program p;
    for (const PlacedLabel& c : kLabels) {
        SCOPED_TRACE(c.name);
        auto* l = dynamic_cast<ui::Label*>(p.f.Find(c.name));
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->left, c.left);
        EXPECT_EQ(l->top, c.top);
        EXPECT_EQ(l->bold, c.bold);
        EXPECT_EQ(l->caption, c.caption);
        EXPECT_EQ(l->parent ? l->parent->name : "", c.parent ? c.parent : "");
        EXPECT_GT(l->width, 0);
    }
}

TEST(Window, CaptionPlaceAndFont) {
    Program p;
    EXPECT_EQ(p.f.caption, U("Tobrenth  フィルタ係数変換ツール　(偶数次零位相ＦＩＲフィルタ専用）"));
    EXPECT_EQ(p.f.left, 209);
    EXPECT_EQ(p.f.top, 70);
    EXPECT_EQ(p.f.width, 786);
    EXPECT_EQ(p.f.height, 657);
    EXPECT_EQ(p.f.fontName, U("ＭＳ Ｐゴシック"));
    EXPECT_EQ(p.f.fontHeight, 12);
    EXPECT_EQ(p.f.Edit1.text, "-6");
    EXPECT_EQ(p.f.MessageTitle(), "ptobrenth");
}

TEST(Window, PanesStartWithTheirPresetLinesAndTheHint) {
    Program p;
    for (const ui::Memo* m : {&p.f.Memo1, &p.f.Memo2}) {
        EXPECT_EQ(m->lines.Count(), 1101);
        EXPECT_TRUE(m->verticalScrollBar);
        EXPECT_FALSE(m->readOnly);
    }
    EXPECT_EQ(p.f.Memo1.lines.Get(1), U("　### ＬＰＦ／ＨＰＦ／ＢＰＦ／ＢＥＦ　ｏｎｌｙ ###"));
    EXPECT_EQ(p.f.Memo1.lines.Get(0), "");
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 2));
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
}

TEST(Window, BothPicturesStartBlankAtTheirSize) {
    Program p;
    for (const ui::Image* im : {&p.f.Image1, &p.f.Image2}) {
        ASSERT_TRUE(im->picture.has_value());
        EXPECT_EQ(*im->picture, ui::Bitmap(329, 225));
    }
}

TEST(Window, EveryConversionRefusesTheStartUpPanes) {
    Program p;
    ui::Button* buttons[] = {&p.f.Button3, &p.f.Button9, &p.f.Button4, &p.f.Button5,
                             &p.f.Button6, &p.f.Button7, &p.f.Button8};
    for (ui::Button* b : buttons) {
        SCOPED_TRACE(b->name);
        p.desk.messages.clear();
        p.f.Click(*b);
        EXPECT_EQ(p.desk.messages, Lines{U("このソースコードは使えません。")});
    }
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
    EXPECT_TRUE(p.desk.errors.empty());
}

TEST(Window, CharacterIndexFindsOnlyTheFourExactNames) {
    Program p;
    const std::pair<const char*, int> cases[] = {{"LPF", 0}, {"HPF", 1},   {"BPF", 2},  {"BEF", 3},
                                                 {"lpf", -1}, {"NOTCH", -1}, {"SLPF", -1}, {" LPF", -1}, {"", -1}};
    for (auto [text, index] : cases) EXPECT_EQ(p.f.CharacterIndex(text), index) << text;
}

}  // namespace
}  // namespace tobrenth_test
