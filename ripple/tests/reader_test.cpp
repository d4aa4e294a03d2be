#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ripple/efcreader.h"
#include "ripple_fixture.h"
#include "textutil/errors.h"
#include "textutil/sjis.h"
#include "textutil/textfile.h"

namespace mirsadel_test {
namespace {

const std::string kBadFileMessage = "参照したｅｆｃファイルの内容が適切ではありません。";

enum class Outcome { Accepted, Bad, Error };

// A good file with one line replaced; what the window shows after reading it.
struct ReadCase {
    const char* what;
    int index;  // line to replace, 0-based
    std::string line;
    Outcome outcome;
    std::string edit1 = "base";
    std::string memo0 = "order : even";
    std::string memo1 = "phase : zero";
    std::string error = "";  // UTF-8 text of the general error box
};

std::vector<std::string> BaseFile() {
    return {"name : base", "order : 58", "phase : zero", "character : LPF", "coefNum : 2",
            "coefType : real", "coefList :", " 0.500000000000000000", " 0.250000000000000000", "end;", "", ""};
}

const std::vector<ReadCase> kReadCases = {
    {"good file", 0, "name : base", Outcome::Accepted},
    {"no blank before the colon", 0, "name: x", Outcome::Bad, "filterName"},
    {"capital N", 0, "Name : x", Outcome::Bad, "filterName"},
    {"two blanks before the colon", 0, "name  : x", Outcome::Bad, "filterName"},
    {"name test on the whole line", 0, "filename : x", Outcome::Accepted, "x"},
    {"blanks before the key", 0, "  name : x", Outcome::Accepted, "x"},
    {"empty name", 0, "name :", Outcome::Accepted, "- none -"},
    {"name of blanks", 0, "name : \t  ", Outcome::Accepted, "- none -"},
    {"trailing blanks stay", 0, "name : two  ", Outcome::Accepted, "two  "},
    {"tab before the name", 0, "name :\tx", Outcome::Accepted, "x"},
    {"colon inside the name", 0, "name : a:b", Outcome::Accepted, "a:b"},
    {"order with a trailing blank", 1, "order : 58 ", Outcome::Bad, "base", ""},
    {"order with a minus", 1, "order : -4", Outcome::Bad, "base", ""},
    {"order with a plus", 1, "order : +4", Outcome::Bad, "base", ""},
    {"order with a point", 1, "order : 4.0", Outcome::Bad, "base", ""},
    {"order with an exponent", 1, "order : 4e1", Outcome::Bad, "base", ""},
    {"empty order line", 1, "", Outcome::Bad, "base", ""},
    {"order without blanks", 1, "order:57", Outcome::Accepted, "base", "order : odd"},
    {"order with leading zeros", 1, "order :   0058", Outcome::Accepted},
    {"largest order", 1, "order : 2147483647", Outcome::Accepted, "base", "order : odd"},
    {"order without a colon", 1, "58", Outcome::Bad, "base", "order : even"},
    {"order key inside a word", 1, "xorderx : 3", Outcome::Accepted, "base", "order : odd"},
    {"capital O", 1, "Order : 3", Outcome::Bad, "base", "order : odd"},
    {"order beyond 32 bits", 1, "order : 2147483648", Outcome::Error, "base", "", "", "'2147483648' は整数ではありません"},
    {"capital Z", 2, "phase : Zero", Outcome::Bad, "base", "order : even", "phase : shift90"},
    {"shift90", 2, "phase : shift90", Outcome::Accepted, "base", "order : even", "phase : shift90"},
    {"zero and shift90", 2, "phase : zero shift90", Outcome::Accepted},
    {"zero inside a word", 2, "phase : nonzero", Outcome::Accepted},
    {"other phase", 2, "phase : linear", Outcome::Bad, "base", "order : even", "phase : shift90"},
    {"capital P", 2, "Phase : zero", Outcome::Bad},
    {"lower-case character", 3, "character : lpf", Outcome::Accepted},
    {"empty character", 3, "character : ", Outcome::Accepted},
    {"character without a colon", 3, "character", Outcome::Bad},
    {"misspelt character", 3, "charakter : LPF", Outcome::Bad},
    {"coefNum with a trailing blank", 4, "coefNum : 2 ", Outcome::Bad},
    {"coefNum with a plus", 4, "coefNum : +2", Outcome::Bad},
    {"coefNum without blanks", 4, "coefNum:2", Outcome::Accepted},
    {"misspelt coefNum", 4, "coefnum : 2", Outcome::Bad},
    {"coefNum beyond 32 bits", 4, "coefNum : 4294967296", Outcome::Error, "base", "order : even", "phase : zero",
     "'4294967296' は整数ではありません"},
    {"coefType Real", 5, "coefType : Real", Outcome::Bad},
    {"coefType containing real", 5, "coefType : unreal", Outcome::Accepted},
    {"coefType without a colon", 5, "coefType real", Outcome::Bad},
    {"coefList without a colon", 6, "coefList", Outcome::Bad},
    {"coefList with a value", 6, "coefList : anything", Outcome::Accepted},
    {"empty line for coefList", 6, "", Outcome::Bad},
    {"scientific coefficient", 7, "1.5e-3", Outcome::Accepted},
    {"signed coefficients", 7, "+0.5", Outcome::Accepted},
    {"comma coefficient", 7, "0,5", Outcome::Bad},
    {"empty coefficient", 7, "", Outcome::Bad},
    {"plus then minus", 7, "+-1.5", Outcome::Error, "base", "order : even", "phase : zero",
     "'+-1.5' は浮動小数点数ではありません"},
    {"blanks around the exponent letter", 8, "1 e 5", Outcome::Error, "base", "order : even", "phase : zero",
     "'1 e 5' は浮動小数点数ではありません"},
    {"tab before a coefficient", 8, "\t0.25", Outcome::Error, "base", "order : even", "phase : zero",
     "'\t0.25' は浮動小数点数ではありません"},
    {"garbage instead of end", 9, "+-1.5", Outcome::Accepted},
};

class ReadTable : public RippleTest {};

TEST_F(ReadTable, HeaderAndCoefficientLines) {
    for (const ReadCase& c : kReadCases) {
        SCOPED_TRACE(c.what);
        ui::ScriptedDesktop d;
        mirsadel::TForm1 f(d);
        f.Create();
        std::vector<std::string> lines = BaseFile();
        lines[size_t(c.index)] = c.line;
        d.QueueFile(WriteFile("case.efc", lines));
        f.Click(f.Button1);

        EXPECT_EQ(f.Edit1.text, c.edit1);
        EXPECT_EQ(f.Memo1.lines.Get(0), c.memo0);
        EXPECT_EQ(f.Memo1.lines.Get(1), c.memo1);
        EXPECT_EQ(f.Memo1.lines.Count(), 5);
        switch (c.outcome) {
        case Outcome::Accepted:
            EXPECT_TRUE(d.messages.empty());
            EXPECT_TRUE(d.errors.empty());
            EXPECT_EQ(f.Image1.canvas.Pixel(30, 200), ui::clBlack);  // the frame was drawn
            break;
        case Outcome::Bad:
            ASSERT_EQ(d.messages.size(), 1u);
            EXPECT_EQ(d.messages[0], Sjis(kBadFileMessage));
            EXPECT_EQ(d.titles[0], "pmirsadel");
            EXPECT_TRUE(d.errors.empty());
            ASSERT_TRUE(f.Image1.picture);
            EXPECT_EQ(*f.Image1.picture, ui::Bitmap(5210, 369));  // cleared, nothing drawn
            break;
        case Outcome::Error:
            EXPECT_TRUE(d.messages.empty());
            ASSERT_EQ(d.errors.size(), 1u);
            EXPECT_EQ(d.errors[0], Sjis(c.error));
            EXPECT_FALSE(f.Image1.picture);  // neither cleared nor drawn
            break;
        }
    }
}

// Whole files that differ from a good one in more than one line.
struct FileCase {
    const char* what;
    std::vector<std::string> lines;
    Outcome outcome;
};

std::vector<std::string> Swapped() {
    std::vector<std::string> lines = BaseFile();
    std::swap(lines[1], lines[2]);
    return lines;
}

std::vector<std::string> WithLineAt(size_t index, const std::string& line) {
    std::vector<std::string> lines = BaseFile();
    lines.insert(lines.begin() + long(index), line);
    return lines;
}

std::vector<std::string> Coefs(int count, const std::string& coefNum) {
    std::vector<std::string> lines = BaseFile();
    lines.resize(7);
    lines[4] = "coefNum : " + coefNum;
    for (int k = 0; k < count; ++k) lines.push_back(k == 0 ? " 0.5" : " 0.000001");
    return lines;
}

const std::vector<FileCase> kFileCases = {
    {"header lines swapped", Swapped(), Outcome::Bad},
    {"empty line before the header", WithLineAt(0, ""), Outcome::Bad},
    {"extra line inside the header", WithLineAt(3, "character : LPF"), Outcome::Bad},
    {"file ends before the last coefficient", Coefs(2, "3"), Outcome::Bad},
    {"file ends inside the header", {"name : ", "order : 58", "phase : zero"}, Outcome::Bad},
    {"empty file", {}, Outcome::Bad},
    {"more coefficient lines than coefNum", Coefs(5, "2"), Outcome::Accepted},
    {"no end line", Coefs(2, "2"), Outcome::Accepted},
    {"coefNum 0", Coefs(0, "0"), Outcome::Accepted},
    {"as many coefficients as the store holds", Coefs(1001, "1001"), Outcome::Accepted},
    {"one coefficient more than the store holds", Coefs(1002, "1002"), Outcome::Bad},
    {"largest coefNum", Coefs(3, "2147483647"), Outcome::Bad},
    {"misspelt coefNum key, a bad line among its coefficients",
     {"name : ", "order : 58", "phase : zero", "character : LPF", "coefnum : 2", "coefType : real", "coefList :", "0.5",
      "+-1.5"},
     Outcome::Error},
};

TEST_F(ReadTable, WholeFiles) {
    for (const FileCase& c : kFileCases) {
        SCOPED_TRACE(c.what);
        ui::ScriptedDesktop d;
        mirsadel::TForm1 f(d);
        f.Create();
        d.QueueFile(WriteFile("case.efc", c.lines));
        f.Click(f.Button1);
        EXPECT_EQ(d.messages.size(), c.outcome == Outcome::Bad ? 1u : 0u);
        EXPECT_EQ(d.errors.size(), c.outcome == Outcome::Error ? 1u : 0u);
    }
}

TEST_F(RippleTest, FileOfTheDesignProgramIsAccepted) {
    std::vector<std::string> coefs = {" 0.500000000000000000"};
    for (int k = 1; k < 30; ++k) coefs.push_back(k % 2 ? " 0.012345678901234560" : "-0.000000000000000000");
    std::vector<std::string> lines = EfcLines(coefs);
    // Design data, and lines that would stop the click if they were ever read.
    for (const char* extra : {"$$$ design data $$$", "num := 29;", "//passNum := 15;", "//fpass :=    0.225;",
                              "//fsample :=    1.000;", "{fp  =   0.22500(fs) }", "+-1.5", "order : 99999999999"})
        lines.push_back(extra);
    Draw(WriteFile("k-su.efc", lines));
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_TRUE(desk.errors.empty());
    EXPECT_EQ(form.Edit1.text, "- none -");
    EXPECT_EQ(form.Memo1.lines.All(), (std::vector<std::string>{"order : even", "phase : zero", "", "", ""}));
}

TEST_F(RippleTest, StoreTakesTheCoefficientsInFileOrder) {
    struct StoreCase {
        const char* what;
        std::vector<std::string> lines;
        std::vector<long double> expected;  // slots from 0; every later slot stays 0
        int coefNum;
        bool isOdd, isShift90, badFile;
    };
    const std::vector<StoreCase> cases = {
        {"plain", EfcLines({" 0.5", "1.5e-3", "  -0.25  "}), {0.5L, 1.5e-3L, -0.25L}, 3, false, false, false},
        {"odd shift90", EfcLines({"0.75"}, "order : 1", "phase : shift90"), {0.75L}, 1, true, true, false},
        {"bad line stays zero", EfcLines({"0.5", "x", "0.125"}), {0.5L, 0, 0.125L}, 3, false, false, true},
        {"misspelt coefNum key still reads",
         {"name : ", "order : 4", "phase : zero", "character : LPF", "coefnum : 2", "coefType : real", "coefList :",
          "0.5", "0.25"},
         {0.5L, 0.25L},
         2,
         false,
         false,
         true},
        {"bad coefNum reads nothing",
         {"name : ", "order : 4", "phase : zero", "character : LPF", "coefNum : 2 ", "coefType : real", "coefList :",
          "0.5", "0.25"},
         {},
         0,
         false,
         false,
         true},
        {"beyond the store", Coefs(1003, "1003"), {0.5L, 1e-6L}, 1003, false, false, true},
    };
    for (const StoreCase& c : cases) {
        SCOPED_TRACE(c.what);
        mirsadel::CoefFile file;
        ui::Edit edit;
        ui::Memo memo;
        mirsadel::ReadCoefFile(WriteFile("store.efc", c.lines), file, edit, memo);
        EXPECT_EQ(file.coefNum, c.coefNum);
        EXPECT_EQ(file.isOdd, c.isOdd);
        EXPECT_EQ(file.isShift90, c.isShift90);
        EXPECT_EQ(file.badFile, c.badFile);
        for (size_t k = 0; k < c.expected.size(); ++k) EXPECT_EQ(file.coef[k], c.expected[k]) << k;
        for (size_t k = c.expected.size(); k < file.coef.size(); ++k) {
            if (c.coefNum > mirsadel::kCoefCapacity) break;
            EXPECT_EQ(file.coef[k], 0.0L) << k;
        }
    }
}

TEST(KeyValue, SplitAtTheFirstColon) {
    struct Case {
        std::string line, key, value;
    };
    const std::vector<Case> cases = {
        {"order : 58", "order", "58"},      {" \tcoefNum\t: 30 \t", "coefNum", "30 \t"},
        {"a:b:c", "a", "b:c"},              {":x", "", "x"},
        {"58", "", "8"},                    {"", "", ""},
        {"coefList :", "coefList", ""},     {"name :\t  x y ", "name", "x y "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mirsadel::KeyOfLine(c.line), c.key) << c.line;
        EXPECT_EQ(mirsadel::ValueOfLine(c.line), c.value) << c.line;
    }
}

TEST_F(RippleTest, CancelDoesNothing) {
    desk.QueueCancel();
    form.Click(form.Button1);
    EXPECT_EQ(desk.dialogs.size(), 1u);
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_TRUE(desk.errors.empty());
    EXPECT_EQ(form.Edit1.text, "filterName");
    EXPECT_EQ(form.Memo1.lines.All(), std::vector<std::string>(5));
    EXPECT_FALSE(form.Image1.picture);
}

TEST_F(RippleTest, FileThatCannotBeOpenedShowsTheErrorBox) {
    Draw(dir + "/missing.efc");
    ASSERT_EQ(desk.errors.size(), 1u);
    EXPECT_TRUE(desk.messages.empty());
    EXPECT_EQ(form.Edit1.text, "filterName");
    EXPECT_FALSE(form.Image1.picture);
}

TEST_F(RippleTest, AbandonedReadReleasesTheFile) {
    std::string path = WriteFile("abandoned.efc", EfcLines({"0.5", "+-1.5", "0.25"}));
    Draw(path);
    ASSERT_EQ(desk.errors.size(), 1u);
    // A writer needs the file to itself: this throws while a reader still holds it.
    EXPECT_NO_THROW({
        TextWriter writer(path);
        writer.WriteLine("x");
        writer.Close();
    });
}

TEST_F(RippleTest, BadFileKeepsWhatTheReadShowed) {
    Draw(WriteFile("first.efc", EfcLines({"1"}, "order : 0")));
    std::vector<std::string> bad = EfcLines({"1"}, "order : 7", "phase : shift90");
    bad[0] = "Name : second";
    bad[4] = "coefNum : x";
    Draw(WriteFile("second.efc", bad));
    ASSERT_EQ(desk.messages.size(), 1u);
    EXPECT_EQ(form.Edit1.text, "- none -");
    EXPECT_EQ(form.Memo1.lines.Get(0), "order : odd");
    EXPECT_EQ(form.Memo1.lines.Get(1), "phase : shift90");
}

TEST_F(RippleTest, MemoLinesThatDoNotExistAreNotCreated) {
    form.Memo1.lines.SetAll({"typed"});
    Draw(WriteFile("a.efc", EfcLines({"1"})));
    EXPECT_EQ(form.Memo1.lines.All(), std::vector<std::string>{"order : even"});
}

}  // namespace
}  // namespace mirsadel_test
