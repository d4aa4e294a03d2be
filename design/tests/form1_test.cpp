// The design window's layout in the model, and what its creation handler leaves.
#include <gtest/gtest.h>

#include "design/tests/window.h"

namespace corvalen::test {
namespace {

struct Placed {
    const char* name;
    int left, top, width, height, tab;
    bool bold;
    bool enabled;
};

TEST(Layout, EveryControlAtItsPlace) {
    const Placed table[] = {
        {"RadioGroup1", 768, 32, 73, 57, 9, false, true}, {"Label1", 736, 112, 34, 12, -1, true, true},
        {"Edit1", 776, 104, 65, 20, 1, false, true},      {"Label2", 736, 144, 36, 12, -1, true, true},
        {"Edit2", 776, 136, 65, 20, 2, false, true},      {"Label3", 720, 176, 50, 12, -1, true, true},
        {"Edit3", 776, 168, 65, 20, 3, false, true},      {"Label4", 712, 208, 58, 12, -1, true, true},
        {"Edit4", 776, 200, 65, 20, 4, false, false},     {"Label5", 712, 240, 56, 12, -1, true, true},
        {"Edit5", 776, 232, 65, 20, 5, false, false},     {"CheckBox1", 712, 272, 137, 17, 10, true, true},
        {"Button1", 768, 304, 75, 25, 0, false, true},    {"Memo1", 688, 352, 177, 153, 7, false, false},
        {"Button2", 768, 520, 75, 25, 6, false, true},    {"ScrollBox1", 0, 0, 681, 603, 8, false, true},
        {"Image1", 0, 0, 657, 900, -1, false, true},
    };
    ui::ScriptedDesktop desk;
    TForm1 form(desk);
    EXPECT_EQ(form.controls().size(), std::size(table));
    for (const Placed& p : table) {
        const ui::Control* c = form.Find(p.name);
        ASSERT_NE(c, nullptr) << p.name;
        EXPECT_EQ(c->left, p.left) << p.name;
        EXPECT_EQ(c->top, p.top) << p.name;
        EXPECT_EQ(c->width, p.width) << p.name;
        EXPECT_EQ(c->height, p.height) << p.name;
        EXPECT_EQ(c->tabOrder, p.tab) << p.name;
        EXPECT_EQ(c->bold, p.bold) << p.name;
        EXPECT_EQ(c->enabled, p.enabled) << p.name;
    }
    EXPECT_EQ(form.Image1.parent, &form.ScrollBox1);
}

TEST(Layout, WindowCaptionTextsAndColours) {
    ui::ScriptedDesktop desk;
    TForm1 form(desk);
    EXPECT_EQ(form.caption, "Corvalen  \x83i\x83""C\x83L\x83X\x83g\x83t\x83""B\x83\x8b\x83^\x8cW\x90\x94\x90\xdd\x8cv\x83""c\x81[\x83\x8b\x81@\x81i\x8b\xf4\x90\x94\x8e\x9f\x97\xeb\x88\xca\x91\x8a\x82""e\x82h\x82q\x83t\x83""B\x83\x8b\x83^\x90\xea\x97p\x81j");
    EXPECT_EQ(form.left, 115);
    EXPECT_EQ(form.top, 78);
    EXPECT_EQ(form.width, 886);
    EXPECT_EQ(form.height, 631);
    EXPECT_EQ(form.MessageTitle(), "pcorvalen");
    EXPECT_EQ(form.RadioGroup1.caption, " character ");
    EXPECT_EQ(form.RadioGroup1.items, (std::vector<std::string>{"LPF", "HPF"}));
    EXPECT_EQ(form.RadioGroup1.itemIndex, 0);
    const std::pair<const std::string&, const char*> texts[] = {
        {form.Label1.caption, "order:"},     {form.Label2.caption, "fpass:"},
        {form.Label3.caption, "fsample:"},   {form.Label4.caption, "fpass(fs):"},
        {form.Label5.caption, "stopGain:"},  {form.Edit1.text, "60"},
        {form.Edit2.text, "0.225"},          {form.Edit3.text, "1"},
        {form.Edit4.text, "-"},              {form.Edit5.text, "-"},
        {form.CheckBox1.caption, "deleteSideEndCoef"}, {form.Button1.caption, "design coef."},
        {form.Button2.caption, "picture clear"},
    };
    for (const auto& [text, expected] : texts) EXPECT_EQ(text, expected);
    EXPECT_TRUE(form.CheckBox1.checked);
    EXPECT_EQ(form.Edit4.color, 0xC0DCC0u);
    EXPECT_EQ(form.Edit5.color, 0xC0DCC0u);
    EXPECT_EQ(form.Edit1.color, ui::clWhite);
}

TEST(Layout, NotesPaneHoldsTwentyFourLines) {
    ui::ScriptedDesktop desk;
    TForm1 form(desk);
    const std::vector<std::string> notes = {
        "\x81@\x81@\x81y\x92\x8d\x88\xd3\x8e\x96\x8d\x80\x81z",
        "\x81@\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xcc\x90\xdd\x92\xe8\x94\xcd\x88\xcd \x81""F \x82W\x81`\x82P\x82O\x82O\x82O",
        "\x81@\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xcc\x92l\x82\xcd\x82S\x82\xcc\x94{\x90\x94\x82\xc6\x82\xb5\x82\xc4\x89\xba\x82\xb3",
        "\x82\xa2\x81""B",
        "\x81@\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xc6\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x81i\x82\x86\x82\x93\x92P\x88\xca\x81j\x82\xcc\x8a\xd6\x8cW",
        "\x82\xc9\x82\xe6\x82\xc1\x82\xc4\x82\xcd\x81""A\x90\xdd\x8cv\x82\xaa\x82\xc5\x82\xab\x82\xc8\x82\xa2\x8f\xea\x8d\x87",
        "\x82\xaa\x82\xa0\x82\xe8\x82\xdc\x82\xb7\x81i\x83_\x83""C\x83""A\x83\x8d\x81[\x83O\x82\xcc\x95\x5c\x8e\xa6",
        "\x82\xc9\x8f]\x82\xc1\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81j\x81""B",
    };
    ASSERT_EQ(form.Memo1.lines.Count(), 24);
    for (int i = 0; i < 24; ++i) EXPECT_EQ(form.Memo1.lines.Get(i), i < 8 ? notes[size_t(i)] : "") << i;
}

TEST(Layout, CreationClearsThePicture) {
    Window w;
    ASSERT_TRUE(w.form.Image1.picture.has_value());
    EXPECT_EQ(w.form.Image1.picture->width(), 657);
    EXPECT_EQ(w.form.Image1.picture->height(), 900);
    for (ui::Color c : w.form.Image1.picture->pixels()) ASSERT_EQ(c, ui::clWhite);
    EXPECT_TRUE(w.desk.messages.empty());
    EXPECT_TRUE(w.desk.errors.empty());
}

}  // namespace
}  // namespace corvalen::test
