// "load" and "save ": files in, files out, and the format message after every load.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support.h"

namespace tobrenth_test {
namespace {

const char* const kFormat = "このファイルのフォーマットはこのプログラムに適合していません。";
const char* const kTooMany = "係数が多すぎてこのプログラムでは読み込めません。";
const char* const kPaneTooShort = "SOURCE FILE欄の行数が足りないので読み込めません。";
const char* const kBadCount = "変換後ファイルのcoefNumが正しくないので保存できません。";

bool Blank(const ui::Image& im) { return *im.picture == ui::Bitmap(329, 225); }

TEST(Load, CancelShowsTheFormatMessageOnlyWhileThePaneFails) {
    ScratchDir dir;
    Program p;
    p.desk.QueueCancel();
    p.f.Click(p.f.Button1);
    EXPECT_EQ(p.desk.messages, Lines{U(kFormat)});
    ASSERT_EQ(p.desk.dialogs.size(), 1u);
    EXPECT_EQ(p.desk.dialogs[0].fileName, "k-su.efc");
    EXPECT_EQ(p.desk.dialogs[0].initialDir, dir.path());

    p.LoadLines(NyquistFile());
    p.desk.QueueCancel();
    p.f.Click(p.f.Button1);
    EXPECT_EQ(p.desk.messages.size(), 1u);
    EXPECT_EQ(p.desk.dialogs.back().fileName, dir.path() + "/source.efc");
}

TEST(Load, DesignFileLoadsUpToItsEndLineAndPlots) {
    ScratchDir dir;
    Program p;
    Lines file = DesignFile();
    file[0] = "name : my filter";
    p.LoadLines(file, "k-su.efc");
    EXPECT_TRUE(p.desk.messages.empty());
    EXPECT_TRUE(p.desk.errors.empty());
    EXPECT_EQ(Program::Get(p.f.Memo1, 0, 37), Lines(file.begin(), file.begin() + 38));
    EXPECT_EQ(p.f.Memo1.lines.Get(37), "end;");
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 38));
    EXPECT_EQ(p.f.Image1.picture->Pixel(160, 115), ui::clBlack);
    EXPECT_TRUE(Blank(p.f.Image2));
}

// Files that load but leave the pane failing the check, or that the check accepts.
struct Case {
    const char* what;
    Lines file;
    bool passes;
};

std::vector<Case> FormatCases() {
    const Lines f = NyquistFile();
    Lines late = f;
    late.insert(late.begin() + 11, " 0.000000000000000000");
    return {
        {"order 0", With(f, 1, "order : 0"), true},
        {"order 58", With(f, 1, "order : 58"), true},
        {"odd order", With(f, 1, "order : 57"), false},
        {"negative order", With(f, 1, "order : -58"), false},
        {"order with a point", With(f, 1, "order : 58.0"), false},
        {"order with a plus", With(f, 1, "order : +58"), false},
        {"full-width order", With(f, 1, U("order : ５８")), false},
        {"empty order", With(f, 1, "order : "), false},
        {"order between blanks", With(f, 1, "order :\t 58 \t"), true},
        {"key Order", With(f, 1, "Order : 58"), false},
        {"key filter order", With(f, 1, "filter order : 58"), true},
        {"phase nonzero", With(f, 2, "phase : nonzero"), true},
        {"phase one", With(f, 2, "phase : one"), false},
        {"name line without colon", With(f, 0, "name"), false},
        {"coefficient with blanks around", With(f, 8, "   0.3125  "), true},
        {"coefficient with exponent", With(f, 8, "3.125e-1"), false},
        {"coefficient with plus", With(f, 8, "+0.3125"), false},
        {"coefficient .5", With(f, 8, ".5"), false},
        {"coefficient 5.", With(f, 8, "5."), false},
        {"end with text around", With(f, 11, " xend;y "), true},
        {"END in capitals", With(f, 11, "END;"), false},
        {"end one line late", late, false},
        {"count 0", Concat(Header("0", "LPF", "0"), {"end;", "", ""}), true},
    };
}

TEST(Load, FormatCheckTable) {
    for (const Case& c : FormatCases()) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        Program p;
        p.LoadLines(c.file);
        EXPECT_TRUE(p.desk.errors.empty());
        EXPECT_EQ(p.desk.messages, c.passes ? Lines{} : Lines{U(kFormat)});
    }
}

TEST(Load, OtherCharactersLeaveTheErrorText) {
    for (const char* character : {"NOTCH", "lpf", "SLPF", "NSHPF", ""}) {
        SCOPED_TRACE(character);
        ScratchDir dir;
        Program p;
        p.LoadLines(NyquistFile(character));
        EXPECT_EQ(Program::Get(p.f.Memo1, 0, 2),
                  (Lines{"### file character error ###", "This program can handling", " LPF/HPF/BPF/BEF file only."}));
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 3));
        EXPECT_EQ(p.desk.messages, Lines{U(kFormat)});
        EXPECT_TRUE(Blank(p.f.Image1));
    }
}

TEST(Load, CountThatIsNoDigitStringStopsReading) {
    ScratchDir dir;
    Program p;
    Lines file = With(NyquistFile(), 4, "coefNum : 4x");
    p.LoadLines(file);
    EXPECT_EQ(Program::Get(p.f.Memo1, 0, 4), Lines(file.begin(), file.begin() + 5));
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 5));
    EXPECT_EQ(p.desk.messages, Lines{U(kFormat)});
    EXPECT_TRUE(Blank(p.f.Image1));
}

TEST(Load, FailuresThatEndTheAction) {
    struct Failure {
        const char* what;
        Lines file;  // empty: no file at all
        std::string error;
        bool plotted;
    };
    const Failure cases[] = {
        {"missing file", {}, U("ファイルが見つかりません"), false},
        {"word as coefficient", With(NyquistFile(), 9, "zero"), U("'zero' は浮動小数点数ではありません"), false},
        {"order too large", With(NyquistFile(), 1, "order : 99999999998"), U("'99999999998' は整数ではありません"), true},
        {"order too large, first line bad too", With(With(NyquistFile(), 0, "nom"), 1, "order : 99999999998"),
         U("'99999999998' は整数ではありません"), true},
    };
    for (const Failure& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        Program p;
        if (c.file.empty()) p.Load("none.efc");
        else p.LoadLines(c.file);
        EXPECT_EQ(p.desk.errors, Lines{c.error});
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_EQ(Blank(p.f.Image1), !c.plotted);
    }
}

TEST(Load, MissingFileLeavesTheSourcePaneCleared) {
    ScratchDir dir;
    Program p;
    p.Load("none.efc");
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 0));
}

TEST(Load, CoefficientThatConvertsButFailsIsPlottedThenReported) {
    ScratchDir dir;
    Program p;
    p.LoadLines(With(NyquistFile(), 8, "3.125e-1"));
    EXPECT_EQ(p.desk.messages, Lines{U(kFormat)});
    EXPECT_EQ(p.f.Image1.picture->Pixel(160, 115), ui::clBlack);
}

Lines ManyCoefs(int n) {
    Lines coefs(size_t(n), " 0.000000000000000000");
    coefs[0] = " 0.500000000000000000";
    return Concat(Pane(std::to_string(2 * n - 2), "LPF", coefs), {"", ""});
}

TEST(Load, CountBeyondThePaneIsRefused) {
    ScratchDir dir;
    Program p;
    Lines file = ManyCoefs(1094);
    p.LoadLines(file);
    EXPECT_EQ(p.desk.messages, (Lines{U(kTooMany), U(kFormat)}));
    EXPECT_EQ(Program::Get(p.f.Memo1, 0, 4), Lines(file.begin(), file.begin() + 5));
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, 5));
    EXPECT_TRUE(Blank(p.f.Image1));
}

// A file that a pane as created would hold names the pane the user has shortened, not the file.
TEST(Load, PaneTheUserHasShortenedIsNamed) {
    const struct {
        const char* what;
        int paneLines;
    } cases[] = {{"emptied", 0}, {"one line short", 11}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        Program p;
        p.f.Memo1.lines.SetAll(Lines(size_t(c.paneLines)));
        p.LoadLines(NyquistFile());
        EXPECT_EQ(p.desk.messages, (Lines{U(kPaneTooShort), U(kFormat)}));
        EXPECT_EQ(p.f.Memo1.lines.Count(), c.paneLines);
        EXPECT_TRUE(Blank(p.f.Image1));
    }
}

TEST(Load, LimitFollowsThePaneTheUserHasGrown) {
    ScratchDir dir;
    Program p;
    p.f.Memo1.lines.SetAll(Lines(1200));
    p.LoadLines(ManyCoefs(1094));
    EXPECT_TRUE(p.desk.messages.empty());
    EXPECT_EQ(p.f.Memo1.lines.Get(1101), "end;");
    EXPECT_EQ(p.f.Image1.picture->Pixel(100, 115), ui::clBlack);
}

TEST(Load, CountBeyondThePlotArrayIsRefusedEvenInAGrownPane) {
    ScratchDir dir;
    Program p;
    p.f.Memo1.lines.SetAll(Lines(3000));
    p.LoadLines(ManyCoefs(2002));
    EXPECT_EQ(p.desk.messages.front(), U(kTooMany));
    p.desk.messages.clear();
    p.LoadLines(ManyCoefs(2001));
    EXPECT_TRUE(p.desk.messages.empty());
}

// From 998 coefficients on, the line that follows "end;" in the file stays in the pane.
TEST(Load, LineAfterTheEndShowsOnlyForLongLists) {
    for (int n : {997, 998}) {
        SCOPED_TRACE(n);
        ScratchDir dir;
        Program p;
        Lines file = ManyCoefs(n);
        file[size_t(n) + 8] = "tail";
        p.LoadLines(file);
        EXPECT_TRUE(p.desk.messages.empty());
        EXPECT_EQ(p.f.Memo1.lines.Get(n + 7), "end;");
        EXPECT_EQ(p.f.Memo1.lines.Get(n + 8), n == 998 ? "tail" : "");
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, n + 9));
    }
}

const Lines kInverted = {" 0.500000000000000000", "-0.312500000000000000", " 0.000000000000000000",
                         " 0.062500000000000000"};

// The window after loading the small Nyquist file and inverting it.
struct Inverted : Program {
    Inverted() {
        LoadLines(NyquistFile());
        f.Click(f.Button3);
    }
};

TEST(Save, WritesTheConvertedFileAndTwoEmptyLines) {
    ScratchDir dir;
    Inverted p;
    p.f.Memo2.lines.Set(12, "typed after the end");
    p.f.Memo2.lines.Set(9, "  0 ");
    p.Save("out.efc");
    Lines expected = Pane("6", "HPF", kInverted);
    expected[9] = "  0 ";
    EXPECT_EQ(ReadFile("out.efc"), Crlf(expected) + "\r\n\r\n");
    EXPECT_TRUE(p.desk.messages.empty());
}

TEST(Save, ReplacesAnExistingFile) {
    ScratchDir dir;
    Inverted p;
    WriteFile("out.efc", std::string(5000, 'x'));
    p.Save("out.efc");
    EXPECT_EQ(ReadFile("out.efc"), Crlf(Concat(Pane("6", "HPF", kInverted), {"", ""})));
}

TEST(Save, DialogAddsTheExtensionAndRemembersTheChoice) {
    ScratchDir dir;
    Inverted p;
    p.Save("out");
    EXPECT_TRUE(Exists("out.efc"));
    ASSERT_TRUE(mkdir("sub", 0700) == 0 && chdir("sub") == 0);
    p.Save("second.efc");
    ASSERT_EQ(p.desk.dialogs.size(), 3u);
    EXPECT_EQ(p.desk.dialogs[1].defaultExt, "efc");
    EXPECT_EQ(p.desk.dialogs[1].fileName, "");
    EXPECT_EQ(p.desk.dialogs[1].initialDir, dir.path());
    EXPECT_EQ(p.desk.dialogs[2].initialDir, dir.path() + "/sub");
    EXPECT_EQ(p.desk.dialogs[2].fileName, dir.path() + "/out.efc");
    EXPECT_TRUE(Exists(dir.path() + "/sub/second.efc"));
}

TEST(Save, CancelWritesNothing) {
    ScratchDir dir;
    Inverted p;
    p.desk.QueueCancel();
    p.f.Click(p.f.Button2);
    EXPECT_TRUE(p.desk.messages.empty());
    auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1);  // the loaded file alone
}

TEST(Save, FileThatCannotBeCreatedLeavesThePanes) {
    ScratchDir dir;
    Inverted p;
    ASSERT_EQ(mkdir("taken.efc", 0700), 0);
    Lines source = p.f.Memo1.lines.All(), converted = p.f.Memo2.lines.All();
    p.Save("taken.efc");
    EXPECT_EQ(p.desk.errors, Lines{U("ファイルへのアクセスが拒否されました")});
    EXPECT_TRUE(p.desk.messages.empty());
    EXPECT_EQ(p.f.Memo1.lines.All(), source);
    EXPECT_EQ(p.f.Memo2.lines.All(), converted);
}

// What save writes, load takes back, unless the character is none of the four source kinds.
TEST(Save, SavedFileLoadsAgainOnlyWithASourceCharacter) {
    struct RoundTrip {
        ui::Button tobrenth::TForm1::*button;
        bool accepted;
    };
    const RoundTrip cases[] = {{&tobrenth::TForm1::Button3, true}, {&tobrenth::TForm1::Button9, true},
                               {&tobrenth::TForm1::Button7, true}, {&tobrenth::TForm1::Button4, false},
                               {&tobrenth::TForm1::Button5, false}, {&tobrenth::TForm1::Button6, false}};
    for (const RoundTrip& c : cases) {
        ScratchDir dir;
        Program p;
        p.LoadLines(NyquistFile());
        p.f.Click(p.f.*c.button);
        SCOPED_TRACE(p.f.Memo2.lines.Get(3));
        p.Save("saved.efc");
        p.Load("saved.efc");
        int n = std::stoi(p.f.Memo2.lines.Get(4).substr(10));
        if (c.accepted) {
            EXPECT_TRUE(p.desk.messages.empty());
            EXPECT_EQ(Program::Get(p.f.Memo1, 0, n + 7), Program::Get(p.f.Memo2, 0, n + 7));
            EXPECT_TRUE(Program::EmptyFrom(p.f.Memo1, n + 8));
        } else {
            EXPECT_EQ(p.desk.messages, Lines{U(kFormat)});
            EXPECT_EQ(p.f.Memo1.lines.Get(0), "### file character error ###");
        }
        EXPECT_TRUE(p.desk.errors.empty());
    }
}

TEST(Save, CountThatGivesNoFileIsRefusedWithoutTouchingTheFile) {
    for (const char* count : {"", "4x", "-1", "1094", "99999999999"}) {
        SCOPED_TRACE(count);
        ScratchDir dir;
        Inverted p;
        p.f.Memo2.lines.Set(4, std::string("coefNum : ") + count);
        WriteFile("kept.efc", "old");
        p.Save("kept.efc");
        p.Save("new.efc");
        EXPECT_EQ(p.desk.messages, (Lines{U(kBadCount), U(kBadCount)}));
        EXPECT_TRUE(p.desk.errors.empty());
        EXPECT_EQ(ReadFile("kept.efc"), "old");
        EXPECT_FALSE(Exists("new.efc"));
    }
}

TEST(Save, CountThatFillsAGrownPaneIsWritten) {
    ScratchDir dir;
    Inverted p;
    p.f.Memo2.lines.SetAll(Lines(1200));
    p.f.Memo2.lines.Set(4, "coefNum : 1192");
    p.Save("big.efc");
    EXPECT_TRUE(p.desk.messages.empty());
    EXPECT_EQ(ReadFile("big.efc").size(), (1200 + 2) * 2 + std::string("coefNum : 1192").size());
}

}  // namespace
}  // namespace tobrenth_test
