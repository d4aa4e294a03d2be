#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numeric>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/sjis.h"
#include "ui/form.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace {

namespace fs = std::filesystem;

// A small window with one of each active control, in the shape the programs use.
class SampleForm : public ui::Form {
public:
    explicit SampleForm(ui::Desktop& d) : Form(d, "pSample") {
        Place(Button1, "Button1", 8, 8, 75, 25, 0);
        Place(Button2, "Button2", 8, 40, 75, 25, 1);
        Place(Edit1, "Edit1", 90, 8, 65, 20, 2);
        Place(RadioGroup1, "RadioGroup1", 160, 8, 73, 57, 3);
        Place(OpenDialog1, "OpenDialog1");
        Place(SaveDialog1, "SaveDialog1");
        RadioGroup1.items = {"LPF", "HPF"};
        RadioGroup1.itemIndex = 0;
        Button1.onClick = [this] { Button1Click(); };
        Button2.onClick = [this] { ++clicks; };
        RadioGroup1.onClick = [this] { selections.push_back(RadioGroup1.itemIndex); };
    }
    ui::Button Button1, Button2;
    ui::Edit Edit1;
    ui::RadioGroup RadioGroup1;
    ui::OpenDialog OpenDialog1;
    ui::SaveDialog SaveDialog1;
    std::function<void()> action;
    int clicks = 0;
    int created = 0;
    std::vector<int> selections;

protected:
    void FormCreate() override { ++created; }

private:
    void Button1Click() {
        if (action) action();
    }
};

class FormTest : public testing::Test {
protected:
    ui::ScriptedDesktop desk;
    SampleForm form{desk};
};

TEST_F(FormTest, CreateRunsFormCreateOnceThroughTheDispatcher) {
    form.Create();
    EXPECT_EQ(form.created, 1);
    EXPECT_TRUE(desk.errors.empty());
}

TEST_F(FormTest, ControlsAreFoundByNameInPlaceOrder) {
    ASSERT_EQ(form.controls().size(), 4u);
    EXPECT_EQ(form.controls()[2], &form.Edit1);
    EXPECT_EQ(form.Find("RadioGroup1"), &form.RadioGroup1);
    EXPECT_EQ(form.Find("Memo1"), nullptr);
    EXPECT_EQ(form.Edit1.left, 90);
    EXPECT_EQ(form.Edit1.tabOrder, 2);
}

struct ErrorCase {
    const char* name;
    std::function<void()> fault;
    std::string message;
};

class DispatcherTest : public FormTest, public testing::WithParamInterface<ErrorCase> {};

TEST_P(DispatcherTest, AnAbandonedActionShowsItsMessageAndTheWindowStaysUsable) {
    const ErrorCase& c = GetParam();
    form.action = [&] {
        form.Edit1.text = "before";
        c.fault();
        form.Edit1.text = "after";
    };
    form.Click(form.Button1);
    ASSERT_EQ(desk.errors, std::vector<std::string>{c.message});
    EXPECT_EQ(desk.titles, std::vector<std::string>{"psample"});
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_EQ(form.Edit1.text, "before");
    form.Click(form.Button2);
    form.Click(form.Button2);
    EXPECT_EQ(form.clicks, 2);
    EXPECT_EQ(desk.errors.size(), 1u);
}

volatile long double zero = 0;

INSTANTIATE_TEST_SUITE_P(
    Form, DispatcherTest,
    testing::Values(ErrorCase{"convert", [] { throw ConvertError(Sjis("'x' は正しい浮動小数点数値ではありません")); },
                              Sjis("'x' は正しい浮動小数点数値ではありません")},
                    ErrorCase{"quotedNul", [] { StrToReal(std::string(" 0.3176\0 2254", 13)); },
                              std::string("' 0.3176\0 2254", 14) + Sjis("' は浮動小数点数ではありません")},
                    ErrorCase{"file", [] { throw FileError(2, Sjis("ファイルが見つかりません")); },
                              Sjis("ファイルが見つかりません")},
                    ErrorCase{"division",
                              [] {
                                  volatile long double x = 1 / zero;
                                  (void)x;
                                  CheckFpFlags();
                              },
                              Sjis("0 による浮動小数点数除算")},
                    ErrorCase{"integerDivision", [] { ThrowIntegerDivideByZero(); }, Sjis("ゼロによる除算")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, FloatingPointFlagsAreClearedWhenAHandlerStarts) {
    std::feraiseexcept(FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW);
    form.action = [] { CheckFpFlags(); };
    form.Click(form.Button1);
    EXPECT_TRUE(desk.errors.empty());
}

// A desktop whose dialogs and boxes leave floating-point flags behind, as real toolkits do.
class UntidyDesktop : public ui::ScriptedDesktop {
public:
    std::optional<std::string> ChooseFile(const ui::FileDialog& dialog) override {
        std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
        return ScriptedDesktop::ChooseFile(dialog);
    }
    void MessageBox(const std::string& title, const std::string& text) override {
        std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
        ScriptedDesktop::MessageBox(title, text);
    }
};

struct FlagCase {
    const char* name;
    bool faultBefore;  // the handler's own division by zero before the desktop call
    std::function<void(SampleForm&)> call;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class DesktopFlagsTest : public testing::TestWithParam<FlagCase> {};

// Only the handler's own arithmetic may abandon it, before and after a dialog or a box.
TEST_P(DesktopFlagsTest, TheDesktopsFlagsDoNotCountAgainstTheHandler) {
    const FlagCase& c = GetParam();
    UntidyDesktop desk;
    SampleForm form(desk);
    desk.QueueFile("k-su.efc");
    form.action = [&] {
        if (c.faultBefore) {
            volatile long double x = 1 / zero;
            (void)x;
        }
        c.call(form);
        CheckFpFlags();
    };
    form.Click(form.Button1);
    if (c.faultBefore)
        EXPECT_EQ(desk.errors, std::vector<std::string>{Sjis("0 による浮動小数点数除算")});
    else
        EXPECT_TRUE(desk.errors.empty()) << desk.errors[0];
}

INSTANTIATE_TEST_SUITE_P(
    Form, DesktopFlagsTest,
    testing::Values(FlagCase{"openDialog", false, [](SampleForm& f) { f.OpenDialog1.Execute(); }},
                    FlagCase{"saveDialog", false, [](SampleForm& f) { f.SaveDialog1.Execute(); }},
                    FlagCase{"message", false, [](SampleForm& f) { f.ShowMessage("x"); }},
                    FlagCase{"ownFaultBeforeDialog", true, [](SampleForm& f) { f.OpenDialog1.Execute(); }},
                    FlagCase{"ownFaultBeforeMessage", true, [](SampleForm& f) { f.ShowMessage("x"); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FormTest, AButtonWithoutHandlerDoesNothing) {
    ui::Button spare;
    form.Click(spare);
    EXPECT_TRUE(desk.errors.empty());
    EXPECT_TRUE(desk.titles.empty());
}

TEST_F(FormTest, SelectingAnotherItemRunsTheHandlerWithTheNewIndex) {
    form.Select(form.RadioGroup1, 1);
    form.Select(form.RadioGroup1, 1);  // no change: no handler
    form.Select(form.RadioGroup1, 0);
    EXPECT_EQ(form.selections, (std::vector<int>{1, 0}));
    EXPECT_EQ(form.RadioGroup1.itemIndex, 0);
}

TEST_F(FormTest, ShowMessageUsesTheProgramTitle) {
    form.ShowMessage(Sjis("設計できません"));
    EXPECT_EQ(desk.messages, std::vector<std::string>{Sjis("設計できません")});
    EXPECT_EQ(desk.titles, std::vector<std::string>{"psample"});
}

TEST(MessageTitle, KeepsTheFirstLetterAndLowersTheRest) {
    const std::pair<const char*, const char*> cases[] = {
        {"pMirsadel", "pmirsadel"}, {"pCorvalen", "pcorvalen"}, {"PQUISDALE", "Pquisdale"}, {"p", "p"}, {"", ""},
        {"pTobrenth2", "ptobrenth2"},
    };
    for (const auto& [program, title] : cases) {
        ui::ScriptedDesktop desk;
        ui::Form form(desk, program);
        EXPECT_EQ(form.MessageTitle(), title) << program;
    }
}

TEST(MemoLines, ReadsPastTheEndAreEmptyAndWritesPastTheEndDoNothing) {
    ui::Memo memo;
    memo.lines.SetAll({"a", "b", "c"});
    struct Step {
        int index;
        std::optional<std::string> write;
        std::string read;
        int count;
    };
    const Step steps[] = {
        {0, std::nullopt, "a", 3},  {2, std::nullopt, "c", 3}, {3, std::nullopt, "", 3},   {-1, std::nullopt, "", 3},
        {1000, std::nullopt, "", 3}, {1, "B", "B", 3},         {3, "d", "", 3},             {-1, "z", "", 3},
        {2, "", "", 3},
    };
    for (const Step& s : steps) {
        if (s.write) memo.lines.Set(s.index, *s.write);
        EXPECT_EQ(memo.lines.Get(s.index), s.read) << s.index;
        EXPECT_EQ(memo.lines.Count(), s.count) << s.index;
    }
    EXPECT_EQ(memo.lines.All(), (std::vector<std::string>{"a", "B", ""}));
}

// What the user did not change keeps its bytes; what was changed is converted.
TEST(MemoLines, EditedPaneKeepsTheBytesOfUnchangedLines) {
    const std::string invalid = "coefType : real\xFF\xFE\x80";  // shows as three U+FFFD
    const std::string necIbm = "\xED\x40";                        // converts back as FA 5C
    const std::vector<std::string> sjis = {"name : ", invalid, necIbm, ""};
    std::vector<std::string> utf8;
    for (const std::string& line : sjis) utf8.push_back(SjisToUtf8(line));
    struct Case {
        const char* what;
        std::vector<std::string> edited;  // UTF-8, as the pane gives it
        std::vector<std::string> lines;   // Shift-JIS
    };
    const std::vector<Case> cases = {
        {"one line typed into", {"name : x", utf8[1], utf8[2], ""}, {"name : x", invalid, necIbm, ""}},
        {"a line inserted above", {"new", "name : ", utf8[1], utf8[2], ""}, {"new", "name : ", invalid, necIbm, ""}},
        {"the odd line itself typed into", {"name : ", utf8[1] + "y", utf8[2], ""},
         {"name : ", "coefType : real???y", necIbm, ""}},
        {"a line deleted", {"name : ", utf8[2], ""}, {"name : ", necIbm, ""}},
        {"an odd line copied: the copy takes its bytes", {utf8[2], "name : ", utf8[1], utf8[2], ""},
         {necIbm, "name : ", invalid, necIbm, ""}},
        {"a new line that merely reads alike", {"name : ", utf8[1], "\xE7\xBA\x8A", ""},
         {"name : ", invalid, necIbm, ""}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ui::KeepUnchangedLines(sjis, utf8, c.edited), c.lines) << c.what;
}

// Lines that read alike are told apart by their place: each untouched line keeps its own bytes.
TEST(MemoLines, LinesThatReadAlikeKeepTheirOwnBytes) {
    struct Case {
        const char* what;
        std::vector<std::string> shown;   // Shift-JIS
        std::vector<std::string> edited;  // UTF-8
        std::vector<std::string> lines;   // Shift-JIS
    };
    const std::string kanji = "\xE7\xBA\x8A", oddA = "a\xEF\xBF\xBD";  // what ED 40 / FA 5C and a+0x80 / a+0xA0 show
    const std::vector<Case> cases = {
        {"a later line typed into", {"\xED\x40", "\xFA\x5C", "z"}, {kanji, kanji, "zx"},
         {"\xED\x40", "\xFA\x5C", "zx"}},
        {"the first of two alike lines deleted", {"a\x80", "b", "a\xA0", "x"}, {"b", oddA, "x"}, {"b", "a\xA0", "x"}},
        {"the lines around a kanji replaced", {"a\xFF", "\xED\x40", "\xFA\x5C"}, {"x", kanji, "y"},
         {"x", "\xED\x40", "y"}},
        {"the lines around an odd line replaced", {"a\x80", "a\x80", "a\xFF"}, {"x", oddA, "y"}, {"x", "a\x80", "y"}},
        {"a line deleted, then the first and last replaced", {"b", "u1", "a\x80", "a\xA0"}, {"x", oddA, "y"},
         {"x", "a\x80", "y"}},
        {"one of two alike lines deleted among replaced ones: the other stays where it stood",
         {"A", "a\x80", "a\xA0", "B"}, {"X", oddA, "Y"}, {"X", "a\x80", "Y"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> utf8;
        for (const std::string& line : c.shown) utf8.push_back(SjisToUtf8(line));
        EXPECT_EQ(ui::KeepUnchangedLines(c.shown, utf8, c.edited), c.lines) << c.what;
    }
}

// A pane of thousands of lines with one line reading like another far below it: editing the first
// line, the last and the one that reads alike leaves the other its bytes.
TEST(MemoLines, ALargePaneKeepsTheBytesOfItsUntouchedLines) {
    constexpr size_t kLines = 10000;
    std::vector<std::string> sjis, utf8;
    for (size_t i = 0; i < kLines; ++i) {
        sjis.push_back(i == kLines / 4 ? "\xED\x40" : i == kLines * 3 / 4 ? "\xFA\x5C" : " 0." + std::to_string(i));
        utf8.push_back(SjisToUtf8(sjis.back()));
    }
    std::vector<std::string> edited = utf8, want = sjis;
    for (size_t i : {size_t(0), kLines / 4, kLines - 1}) {
        edited[i] += "x";
        want[i] = Sjis(edited[i]);
    }
    const std::vector<std::string> got = ui::KeepUnchangedLines(sjis, utf8, edited);
    ASSERT_EQ(got.size(), kLines);
    EXPECT_EQ(got[kLines * 3 / 4], "\xFA\x5C");
    EXPECT_EQ(got, want);
}

// Panes drawn from lines that read alike, random edits: every line the edits did not touch keeps
// its bytes. A deleted line may be any of a run that reads alike, as the pane cannot tell.
TEST(MemoLines, RandomEditsLeaveTheOtherLinesTheirBytes) {
    const std::vector<std::string> pool = {"\xED\x40", "\xFA\x5C", "a\x80", "a\xA0", "a\xFF", "b"};
    const std::vector<std::string> typed = {"x", "\xE7\xBA\x8A", "\xEF\xBF\xBD"};
    auto without = [](std::vector<std::string> lines, size_t i) {
        lines.erase(lines.begin() + std::ptrdiff_t(i));
        return lines;
    };
    auto charStarts = [](const std::string& line) {  // UTF-8 character boundaries, the end included
        std::vector<size_t> at;
        for (size_t i = 0; i <= line.size(); ++i)
            if (i == line.size() || (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) at.push_back(i);
        return at;
    };
    enum class Edit { Type, DeleteChar, DeleteLine, Several };
    std::mt19937 rng(1234);
    auto below = [&rng](size_t n) { return size_t(rng() % n); };
    auto editLine = [&](std::string& line, bool erase) {  // line is UTF-8 and not empty
        const std::vector<size_t> at = charStarts(line);
        const size_t i = below(at.size() - (erase ? 1 : 0));
        if (erase)
            line.erase(at[i], at[i + 1] - at[i]);
        else
            line.insert(at[i], typed[below(typed.size())]);
    };
    const std::pair<const char*, Edit> edits[] = {
        {"a character typed into a line", Edit::Type},
        {"a character deleted from a line", Edit::DeleteChar},
        {"a line deleted", Edit::DeleteLine},
        {"two to four lines typed into or deleted from", Edit::Several},
    };
    for (const auto& [what, edit] : edits) {
        int failures = 0;
        std::string first;
        for (int trial = 0; trial < 2000; ++trial) {
            std::vector<std::string> sjis, utf8;
            for (size_t n = edit == Edit::Several ? 2 + below(9) : 1 + below(8); sjis.size() < n;) {
                sjis.push_back(pool[below(pool.size())]);
                utf8.push_back(SjisToUtf8(sjis.back()));
            }
            std::vector<size_t> changed(sjis.size());
            std::iota(changed.begin(), changed.end(), size_t(0));
            std::shuffle(changed.begin(), changed.end(), rng);
            changed.resize(edit == Edit::Several ? std::min(sjis.size(), 2 + below(3)) : 1);
            std::vector<std::string> edited = utf8, want = sjis;
            bool ok = false;
            if (edit == Edit::DeleteLine) {
                edited = without(utf8, changed[0]);
                const std::vector<std::string> got = ui::KeepUnchangedLines(sjis, utf8, edited);
                for (size_t j = 0; j < sjis.size() && !ok; ++j)
                    ok = without(utf8, j) == edited && without(sjis, j) == got;
            } else {
                for (size_t k : changed) {
                    editLine(edited[k], edit == Edit::DeleteChar || (edit == Edit::Several && below(2) == 0));
                    want[k] = Sjis(edited[k]);
                }
                ok = ui::KeepUnchangedLines(sjis, utf8, edited) == want;
            }
            if (!ok && failures++ == 0) first = "trial " + std::to_string(trial) + ", line " + std::to_string(changed[0]);
        }
        EXPECT_EQ(failures, 0) << what << ", first at " << first;
    }
}

TEST(MemoLines, PaneTextAndLinesConvertBothWays) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
        std::string joined;  // the text shown for those lines
    };
    const Case cases[] = {
        {"", {}, ""},
        {"a", {"a"}, "a\n"},
        {"a\n", {"a"}, "a\n"},
        {"a\nb", {"a", "b"}, "a\nb\n"},
        {"a\n\n", {"a", ""}, "a\n\n"},
        {"\n", {""}, "\n"},
        {"\n\nx", {"", "", "x"}, "\n\nx\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::SplitLines(c.text), c.lines) << c.text;
        EXPECT_EQ(ui::JoinLines(c.lines), c.joined) << c.text;
        EXPECT_EQ(ui::SplitLines(ui::JoinLines(c.lines)), c.lines) << c.text;  // empty lines survive
    }
}

// Dialog tests run in a fresh temporary folder and restore the current directory.
class DialogTest : public FormTest {
protected:
    void SetUp() override {
        fs::create_directories(folder_.Path("sub"));
        fs::create_directories(folder_.Path("dir.d"));
        for (const char* file : {"taps", "both", "both.txt"}) std::ofstream(folder_.Path(file)) << "x";
    }
    ui::TempFolder folder_;
};

struct ChooseCase {
    const char* name;
    std::string answer;      // as typed; "@" stands for the temporary folder
    std::string defaultExt;
    std::string fileName;    // expected, "@" for the temporary folder
    std::string folder;      // expected current directory afterwards
};

class DialogChooseTest : public DialogTest, public testing::WithParamInterface<ChooseCase> {};

std::string Expand(std::string s, const std::string& dir) {
    if (!s.empty() && s[0] == '@') s = dir + s.substr(1);
    return s;
}

TEST_P(DialogChooseTest, ChosenNameIsCompletedAndItsFolderBecomesCurrent) {
    const ChooseCase& c = GetParam();
    form.OpenDialog1.initialDir = folder_.path();
    form.OpenDialog1.defaultExt = c.defaultExt;
    desk.QueueFile(Expand(c.answer, folder_.path()));
    ASSERT_TRUE(form.OpenDialog1.Execute());
    EXPECT_EQ(form.OpenDialog1.fileName, Expand(c.fileName, folder_.path()));
    EXPECT_EQ(ui::CurrentDir(), Expand(c.folder, folder_.path()));
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, DialogChooseTest,
    testing::Values(ChooseCase{"bareName", "data", "efc", "@/data.efc", "@"},
                    ChooseCase{"hasExtension", "data.txt", "efc", "@/data.txt", "@"},
                    ChooseCase{"noDefault", "data", "", "@/data", "@"},
                    ChooseCase{"relativeFolder", "sub/x", "txt", "@/sub/x.txt", "@/sub"},
                    ChooseCase{"dotInFolderOnly", "dir.d/name", "efc", "@/dir.d/name.efc", "@/dir.d"},
                    ChooseCase{"absolute", "@/sub/k-su.efc", "efc", "@/sub/k-su.efc", "@/sub"},
                    ChooseCase{"existingFileWithoutExtension", "taps", "txt", "@/taps", "@"},
                    ChooseCase{"withExtensionExistsToo", "both", "txt", "@/both.txt", "@"},
                    ChooseCase{"folderOfThatName", "sub", "txt", "@/sub.txt", "@"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogTest, ASaveDialogAlwaysAddsItsExtension) {
    form.SaveDialog1.defaultExt = "efc";
    desk.QueueFile("taps");
    ASSERT_TRUE(form.SaveDialog1.Execute());
    EXPECT_EQ(form.SaveDialog1.fileName, folder_.Path("taps.efc"));
}

TEST_F(DialogTest, ARelativeNameWithoutInitialFolderUsesTheCurrentDirectory) {
    desk.QueueFile("sub/a.efc");
    ASSERT_TRUE(form.SaveDialog1.Execute());
    EXPECT_EQ(form.SaveDialog1.fileName, folder_.Path("sub/a.efc"));
    EXPECT_EQ(ui::CurrentDir(), folder_.Path("sub"));
}

TEST_F(DialogTest, TheDesktopSeesTheDialogSettings) {
    form.SaveDialog1.initialDir = "/somewhere";
    form.SaveDialog1.fileName = "k-su.efc";
    form.SaveDialog1.defaultExt = "efc";
    desk.QueueCancel();
    form.SaveDialog1.Execute();
    ASSERT_EQ(desk.dialogs.size(), 1u);
    EXPECT_TRUE(desk.dialogs[0].save);
    EXPECT_EQ(desk.dialogs[0].initialDir, "/somewhere");
    EXPECT_EQ(desk.dialogs[0].fileName, "k-su.efc");
    EXPECT_EQ(desk.dialogs[0].defaultExt, "efc");
}

TEST_F(DialogTest, CancelOrAnEmptyNameLeavesTheDialogAndTheFolder) {
    form.OpenDialog1.fileName = "k-su.efc";
    form.OpenDialog1.initialDir = folder_.Path("sub");
    desk.QueueCancel();
    desk.QueueFile("");
    EXPECT_FALSE(form.OpenDialog1.Execute());
    EXPECT_FALSE(form.OpenDialog1.Execute());
    EXPECT_FALSE(form.OpenDialog1.Execute());  // nothing queued: cancel
    EXPECT_EQ(form.OpenDialog1.fileName, "k-su.efc");
    EXPECT_EQ(ui::CurrentDir(), folder_.path());
    EXPECT_EQ(desk.dialogs.size(), 3u);
}

TEST_F(DialogTest, AChosenFileIsProposedNextTime) {
    desk.QueueFile("first.efc");
    ASSERT_TRUE(form.OpenDialog1.Execute());
    desk.QueueCancel();
    form.OpenDialog1.Execute();
    EXPECT_EQ(desk.dialogs[1].fileName, folder_.Path("first.efc"));
}

}  // namespace
