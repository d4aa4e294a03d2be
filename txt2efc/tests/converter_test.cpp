// pQuisdale driven through the scripted desktop, with its files in a fresh temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "textutil/sjis.h"
#include "textutil/text.h"
#include "textutil/textfile.h"
#include "txt2efc/form1.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace {

namespace fs = std::filesystem;

const std::string kBadContent = "ファイルの内容が適切ではありません。";
const std::string kEvenCount = "奇数次（偶数タップ）フィルタは取り扱えません。";
const std::string kTooManyTaps = "10001 タップを超えるフィルタは取り扱えません。";

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::optional<std::string> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Lines joined with LF, as a hand-written list would be.
std::string List(const std::vector<std::string>& lines) {
    std::string s;
    for (const std::string& l : lines) s += l + "\n";
    return s;
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

struct Outcome {
    std::vector<std::string> messages;  // UTF-8
    std::vector<std::string> errors;    // UTF-8
    std::string status;                 // UTF-8
    ui::Color statusColor = 0;
    std::optional<std::string> efc;  // the written coefficient file, if any
};

// Why a coefficient file would not pass the strict readers of the other programs; "" when it would.
std::string ShapeFault(const std::string& bytes) {
    if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n") return "no CR LF at the end";
    std::vector<std::string> l = SplitCrLf(bytes);
    if (l.size() < 8) return "too short";
    auto value = [&](size_t i, const std::string& key) -> std::optional<std::string> {
        if (l[i].rfind(key, 0) != 0) return std::nullopt;
        return l[i].substr(key.size());
    };
    auto order = value(1, "order : ");
    auto coefNum = value(4, "coefNum : ");
    auto character = value(3, "character : ");
    if (l[0] != "name : " || l[2] != "phase : zero" || l[5] != "coefType : real" || l[6] != "coefList :")
        return "fixed header line";
    if (!order || !IsIntegerText(*order, true) || std::stoi(*order) % 2 != 0) return "order";
    if (!coefNum || !IsIntegerText(*coefNum, true)) return "coefNum";
    if (!character || (*character != "LPF" && *character != "HPF" && *character != "BPF" && *character != "BEF"))
        return "character";
    size_t n = std::stoul(*coefNum);
    if (n != size_t(std::stoi(*order) / 2 + 1)) return "coefNum against order";
    if (l.size() < 8 + n) return "missing coefficient lines";
    for (size_t i = 7; i < 7 + n; ++i) {
        std::string t = l[i];
        while (!t.empty() && t.front() == ' ') t.erase(0, 1);
        while (!t.empty() && t.back() == ' ') t.pop_back();
        if (!IsRealText(t, false)) return "coefficient line " + std::to_string(i + 1);
    }
    if (l[7 + n] != "end;") return "end;";
    return "";
}

class Txt2efc : public ::testing::Test {
protected:
    // A fresh sub-folder of the temporary folder, so that each table row has its own files.
    std::string NewFolder(const std::string& name) {
        std::string path = folder_.Path(name);
        fs::create_directories(path);
        return path;
    }

    // Writes the list to path, clicks "convert" once choosing it, and reports what happened.
    Outcome Convert(const std::string& path, const std::string& list, const std::string& efcPath) {
        WriteBytes(path, list);
        desk_ = std::make_unique<ui::ScriptedDesktop>();
        form_ = std::make_unique<quisdale::TForm1>(*desk_);
        form_->Create();
        desk_->QueueFile(path);
        form_->Click(form_->Button1);
        Outcome o;
        for (const std::string& m : desk_->messages) o.messages.push_back(SjisToUtf8(m));
        for (const std::string& e : desk_->errors) o.errors.push_back(SjisToUtf8(e));
        o.status = SjisToUtf8(form_->StatusBar1.simpleText);
        o.statusColor = form_->StatusBar1.color;
        o.efc = ReadBytes(efcPath);
        return o;
    }
    Outcome ConvertIn(const std::string& folder, const std::string& list) {
        std::string f = NewFolder(folder);
        return Convert(f + "/list.txt", list, f + "/list.efc");
    }

    ui::TempFolder folder_;
    std::unique_ptr<ui::ScriptedDesktop> desk_;
    std::unique_ptr<quisdale::TForm1> form_;
};

TEST_F(Txt2efc, WindowLayout) {
    ui::ScriptedDesktop desk;
    quisdale::TForm1 f(desk);
    EXPECT_EQ(f.caption, Sjis("Quisdale  コンバータ　（偶数次零位相ＦＩＲフィルタ専用）"));
    EXPECT_EQ(std::vector<int>({f.left, f.top, f.width, f.height}), std::vector<int>({192, 107, 403, 116}));
    EXPECT_EQ(f.color, ui::clBtnFace);
    EXPECT_EQ(f.fontName, Sjis("ＭＳ Ｐゴシック"));
    EXPECT_EQ(f.fontHeight, 12);
    const ui::Button& b = f.Button1;
    EXPECT_EQ(std::vector<int>({b.left, b.top, b.width, b.height}), std::vector<int>({152, 32, 75, 25}));
    EXPECT_EQ(b.caption, "convert");
    EXPECT_EQ(f.Find("Button1"), &f.Button1);
    const ui::StatusBar& s = f.StatusBar1;
    EXPECT_EQ(std::vector<int>({s.left, s.top, s.width, s.height}), std::vector<int>({0, 70, 395, 19}));
    EXPECT_EQ(s.simpleText, "");
    EXPECT_EQ(s.color, ui::clBtnFace);
    EXPECT_EQ(f.Find("StatusBar1"), &f.StatusBar1);

    f.Create();
    desk.QueueCancel();
    f.Click(f.Button1);
    ASSERT_EQ(desk.dialogs.size(), 1u);
    EXPECT_FALSE(desk.dialogs[0].save);
    EXPECT_EQ(desk.dialogs[0].initialDir, folder_.path());
    EXPECT_EQ(desk.dialogs[0].defaultExt, "txt");
    EXPECT_TRUE(desk.messages.empty() && desk.errors.empty());
}

// Lists that convert: where the count stands and how it is written.
TEST_F(Txt2efc, CountSearchFindsTheCount) {
    // Sixteen values 0.25, 0.24, ..., 0.10: the first read is the outermost tap.
    std::vector<std::string> sixteen;
    for (int v = 25; v >= 10; --v) sixteen.push_back("0." + std::to_string(v));
    std::vector<std::string> filler98(98, "filler 3");
    struct Row {
        const char* what;
        std::vector<std::string> before;  // lines before the count
        std::string count;
        std::string order;
        std::string coefNum;
    } rows[] = {
        {"title, empty line, 31", {"my filter", ""}, "31", "30", "16"},
        {"blanks around", {}, "  31 ", "30", "16"},
        {"tabs around", {"\t"}, "\t31\t", "30", "16"},
        {"leading zeros", {}, "0031", "30", "16"},
        {"31 taps skipped", {"31 taps"}, "3", "2", "2"},
        {"-31 skipped", {"-31"}, "3", "2", "2"},
        {"+31 skipped", {"+31"}, "3", "2", "2"},
        {"3.0 skipped", {"3.0"}, "3", "2", "2"},
        {"count on line 99", filler98, "3", "2", "2"},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::vector<std::string> lines = r.before;
        lines.push_back(r.count);
        lines.insert(lines.end(), sixteen.begin(), sixteen.end());
        Outcome o = ConvertIn("row" + std::to_string(i++), List(lines));
        EXPECT_TRUE(o.messages.empty());
        EXPECT_TRUE(o.errors.empty());
        ASSERT_TRUE(o.efc);
        std::vector<std::string> l = SplitCrLf(*o.efc);
        ASSERT_GE(l.size(), 8u);
        EXPECT_EQ(l[1], "order : " + r.order);
        EXPECT_EQ(l[4], "coefNum : " + r.coefNum);
        // The last value read is h0 and stands first in the file.
        size_t n = std::stoul(r.coefNum);
        EXPECT_EQ(l[7], " 0." + std::to_string(26 - n) + "0000000000000000");
        EXPECT_EQ(l[7 + n - 1], " 0.250000000000000000");
        EXPECT_EQ(l[7 + n], "end;");
        EXPECT_EQ(ShapeFault(*o.efc), "");
    }
}

// Lists that are refused: the reaction and that nothing is written.
TEST_F(Txt2efc, RefusedLists) {
    std::vector<std::string> filler99(99, "x");
    std::vector<std::string> countOn100 = filler99;
    countOn100.insert(countOn100.end(), {"3", "0.25", "0.5"});
    std::vector<std::string> bigList = {"10003"};
    bigList.insert(bigList.end(), 5002, "0.1");
    struct Row {
        const char* what;
        std::string list;
        std::string message;  // message box, "" for none
        std::string error;    // general error box, "" for none
        std::string status;   // red status text, "" for none
    } rows[] = {
        {"even count", List({"30", "0.1"}), "", "", kEvenCount},
        {"count 0", List({"0"}), "", "", kEvenCount},
        {"count on line 100", List(countOn100), kBadContent, "", ""},
        {"count on line 100, then an unconvertible line", List(filler99) + List({"3", "+-1.5"}),
         "", "'+-1.5' は浮動小数点数ではありません", ""},
        {"empty file", "", kBadContent, "", ""},
        {"too few values", List({"5", "0.1", "0.2"}), kBadContent, "", ""},
        {"value with a word", List({"3", "0.25 a", "0.5"}), kBadContent, "", ""},
        {"value accepted by the test, refused by the conversion", List({"3", "0.25", "+-1.5"}), "",
         "'+-1.5' は浮動小数点数ではありません", ""},
        {"lines after a bad one are still read", List({"3", "bad", "+-1.5"}), "",
         "'+-1.5' は浮動小数点数ではありません", ""},
        {"count beyond 32 bits", List({"2147483649", "0.5"}), "", "'2147483649' は整数ではありません", ""},
        {"more taps than slots", List(bigList), kTooManyTaps, "", ""},
        {"largest 32-bit count", List({"2147483647", "0.5"}), kTooManyTaps, "", ""},
        {"responses overflow", List({"3", "1e4932", "1e4932"}), "", "浮動小数点数のオーバーフロー", ""},
        {"overflow at 2 h1, then infinity minus infinity", List({"5", "1e4932", "1e4932", "0.5"}), "",
         "浮動小数点数のオーバーフロー", ""},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        std::string folder = NewFolder("row" + std::to_string(i++));
        Outcome o = Convert(folder + "/list.txt", r.list, folder + "/list.efc");
        EXPECT_EQ(o.messages, r.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.message});
        EXPECT_EQ(o.errors, r.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{r.error});
        EXPECT_EQ(o.status, r.status);
        EXPECT_EQ(o.statusColor, r.status.empty() ? ui::clBtnFace : ui::clRed);
        EXPECT_FALSE(o.efc);
        EXPECT_EQ(desk_->titles, std::vector<std::string>(r.status.empty() ? 1 : 0, "pquisdale"));
        // The click let go of its input: a writer may take it at once.
        EXPECT_NO_THROW(TextWriter(folder + "/list.txt").Close());
    }
}

TEST_F(Txt2efc, NextClickResetsTheRedStatus) {
    Outcome o = ConvertIn("even", List({"30"}));
    ASSERT_EQ(o.statusColor, ui::clRed);
    desk_->QueueCancel();
    form_->Click(form_->Button1);
    EXPECT_EQ(form_->StatusBar1.simpleText, "");
    EXPECT_EQ(form_->StatusBar1.color, ui::clBtnFace);
}

TEST_F(Txt2efc, CharacterFromTheResponses) {
    struct Row {
        std::string h1, h0;
        std::string character;
        std::string fZero, fHalf;  // the two response lines after "= "
    } rows[] = {
        {"0.25", "0.5", "LPF", " 1.00000000000000E+0000", " 0.00000000000000E+0000"},
        {"-0.25", "0.5", "HPF", " 0.00000000000000E+0000", " 1.00000000000000E+0000"},
        {"0.25", "0", "BPF", " 5.00000000000000E-0001", "-5.00000000000000E-0001"},
        {"0", "0.75", "BEF", " 7.50000000000000E-0001", " 7.50000000000000E-0001"},
        {"0", "0.5", "BPF", " 5.00000000000000E-0001", " 5.00000000000000E-0001"},
        {"-0.125", "0.75", "HPF", " 5.00000000000000E-0001", " 1.00000000000000E+0000"},
        {"0.125", "0.75", "LPF", " 1.00000000000000E+0000", " 5.00000000000000E-0001"},
        {"-0.5", "0.25", "HPF", "-7.50000000000000E-0001", " 1.25000000000000E+0000"},
        // Blanks and tabs around a value go before it is converted.
        {"\t-0.25 ", " \t0.5\t", "HPF", " 0.00000000000000E+0000", " 1.00000000000000E+0000"},
        {"2.5E-1", "5e-1", "LPF", " 1.00000000000000E+0000", " 0.00000000000000E+0000"},
    };
    int i = 0;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.h1 + " " + r.h0);
        Outcome o = ConvertIn("row" + std::to_string(i++), List({"3", r.h1, r.h0}));
        ASSERT_TRUE(o.efc);
        std::vector<std::string> l = SplitCrLf(*o.efc);
        ASSERT_EQ(l.size(), 14u);
        EXPECT_EQ(l[3], "character : " + r.character);
        EXPECT_EQ(l[12], "responseFZero = " + r.fZero);
        EXPECT_EQ(l[13], "responseFHalf = " + r.fHalf);
        EXPECT_EQ(ShapeFault(*o.efc), "");
    }
}

TEST_F(Txt2efc, WrittenFileByteForByte) {
    Outcome o = ConvertIn("exact", List({"3", "0.25", "0.5"}));
    ASSERT_TRUE(o.efc);
    EXPECT_EQ(*o.efc,
              "name : \r\n"
              "order : 2\r\n"
              "phase : zero\r\n"
              "character : LPF\r\n"
              "coefNum : 2\r\n"
              "coefType : real\r\n"
              "coefList :\r\n"
              " 0.500000000000000000\r\n"
              " 0.250000000000000000\r\n"
              "end;\r\n"
              "\r\n"
              "\r\n"
              "responseFZero =  1.00000000000000E+0000\r\n"
              "responseFHalf =  0.00000000000000E+0000\r\n");
    EXPECT_TRUE(o.messages.empty() && o.errors.empty() && o.status.empty());
}

TEST_F(Txt2efc, SingleTapList) {
    // One tap: order 0 and the centre tap alone, which is both responses.
    Outcome o = ConvertIn("one", List({"title", "1", "0.75", "0.5"}));
    ASSERT_TRUE(o.efc);
    EXPECT_EQ(*o.efc,
              "name : \r\n"
              "order : 0\r\n"
              "phase : zero\r\n"
              "character : BEF\r\n"
              "coefNum : 1\r\n"
              "coefType : real\r\n"
              "coefList :\r\n"
              " 0.750000000000000000\r\n"
              "end;\r\n"
              "\r\n"
              "\r\n"
              "responseFZero =  7.50000000000000E-0001\r\n"
              "responseFHalf =  7.50000000000000E-0001\r\n");
}

TEST_F(Txt2efc, FullSymmetricListAndLargestList) {
    Outcome full = ConvertIn("full", List({"5", "0.125", "-0.25", "0.5", "-0.25", "0.125"}));
    ASSERT_TRUE(full.efc);
    std::vector<std::string> l = SplitCrLf(*full.efc);
    ASSERT_EQ(l.size(), 15u);
    EXPECT_EQ(std::vector<std::string>(l.begin() + 7, l.begin() + 10),
              std::vector<std::string>({" 0.500000000000000000", "-0.250000000000000000", " 0.125000000000000000"}));

    // 10001 taps fill every slot; the list runs from the outermost tap (-0.25) to h0 (0.5).
    std::vector<std::string> list = {"10001", "-0.25"};
    list.insert(list.end(), 4999, "0");
    list.push_back("0.5");
    Outcome big = ConvertIn("big", List(list));
    ASSERT_TRUE(big.efc);
    l = SplitCrLf(*big.efc);
    ASSERT_EQ(l.size(), 5001u + 12);
    EXPECT_EQ(l[1], "order : 10000");
    EXPECT_EQ(l[4], "coefNum : 5001");
    EXPECT_EQ(l[7], " 0.500000000000000000");
    EXPECT_EQ(l[8], " 0.000000000000000000");
    EXPECT_EQ(l[7 + 5000], "-0.250000000000000000");
    EXPECT_EQ(l[3], "character : BPF");  // both responses are exactly 0
    EXPECT_EQ(ShapeFault(*big.efc), "");
}

TEST_F(Txt2efc, OutputNameIsThePathUpToItsFirstDot) {
    std::string list = List({"3", "0.25", "0.5"});
    struct Row {
        std::string input;   // relative to the temporary folder
        std::string output;  // relative to the temporary folder
    } rows[] = {
        {"a/list.txt", "a/list.efc"},
        {"b/list.v2.txt", "b/list.efc"},
        {"c.d/list.txt", "c.efc"},
        {"e/taps", "e/.efc"},  // no "." in the whole path: ".efc" in the list's folder
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.input);
        fs::create_directories(fs::path(folder_.Path(r.input)).parent_path());
        Outcome o = Convert(folder_.Path(r.input), list, folder_.Path(r.output));
        EXPECT_TRUE(o.errors.empty());
        ASSERT_TRUE(o.efc);
        EXPECT_EQ(SplitCrLf(*o.efc)[3], "character : LPF");
    }
    EXPECT_FALSE(fs::exists(folder_.Path("c.d/list.efc")));
}

TEST_F(Txt2efc, ExistingOutputIsOverwritten) {
    std::string folder = NewFolder("over");
    WriteBytes(folder + "/list.efc", std::string(5000, '#'));
    Outcome o = Convert(folder + "/list.txt", List({"3", "-0.25", "0.5"}), folder + "/list.efc");
    ASSERT_TRUE(o.efc);
    EXPECT_EQ(o.efc->find('#'), std::string::npos);
    EXPECT_EQ(SplitCrLf(*o.efc)[3], "character : HPF");
}

TEST_F(Txt2efc, InputThatWouldBeItsOwnOutputStaysUnchanged) {
    std::string folder = NewFolder("self");
    std::string list = List({"3", "0.25", "0.5"});
    Outcome o = Convert(folder + "/x.efc", list, folder + "/x.efc");
    EXPECT_EQ(o.errors, std::vector<std::string>({"I/O エラー (32)"}));
    EXPECT_TRUE(o.messages.empty());
    EXPECT_EQ(o.efc, list);
}

}  // namespace
