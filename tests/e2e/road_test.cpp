// The road through all four programs, each driven through its window as a user would, meeting
// only through the files they write: design, complement, ripple picture, and a plain list back in.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "convert/form1.h"
#include "design/form1.h"
#include "ripple/form1.h"
#include "textutil/numtext.h"
#include "textutil/text.h"
#include "txt2efc/form1.h"
#include "ui/bmp.h"
#include "ui/scripted.h"
#include "ui/tempfolder.h"

namespace {

constexpr int kCoefNum = 30;        // order 60 less the dropped outermost pair
constexpr int kFirstCoefLine = 7;   // after the seven header lines
constexpr int kEndLine = kFirstCoefLine + kCoefNum;

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The file's lines; every line of a suite file ends in CR LF.
std::vector<std::string> ReadLines(const std::string& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    EXPECT_EQ(start, bytes.size()) << path << " does not end with CR LF";
    return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

std::vector<std::string> Header(const std::string& character) {
    return {"name : ",    "order : 58",      "phase : zero", "character : " + character,
            "coefNum : 30", "coefType : real", "coefList :"};
}

bool IsZeroText(const std::string& coef) { return coef.find_first_not_of(" -0.") == std::string::npos; }

// The complement's coefficient as text: the value negated, with zero written unsigned.
std::string NegatedText(const std::string& coef) {
    if (IsZeroText(coef)) return " 0.000000000000000000";
    return (coef[0] == '-' ? " " : "-") + coef.substr(1);
}

// A coefficient read back and written again: the same digits, a negative zero unsigned.
std::string RewrittenText(const std::string& coef) {
    return IsZeroText(coef) ? " 0.000000000000000000" : coef;
}

class Road : public ::testing::Test {
protected:
    void SetUp() override { Design(); }

    std::string Path(const std::string& name) const { return folder_.Path(name); }

    // pCorvalen with the window's defaults: LPF, order 60, fpass 0.225, fsample 1, drop ticked.
    void Design() {
        ui::ScriptedDesktop desk;
        corvalen::TForm1 form(desk);
        form.Create();
        form.Click(form.Button1);
        ASSERT_TRUE(desk.messages.empty() && desk.errors.empty());
        design_ = ReadLines(Path("k-su.efc"));
        ASSERT_GT(design_.size(), size_t(kEndLine));
        ASSERT_GT(std::filesystem::file_size(Path("monitor.txt")), 0u);
    }

    // The design's coefficient texts, centre tap first.
    std::vector<std::string> DesignCoefs() const {
        return {design_.begin() + kFirstCoefLine, design_.begin() + kEndLine};
    }

    // pMirsadel: draws the file at plus or minus 0.1 dB and saves the picture; returns it as saved.
    ui::Bitmap DrawRipple(const std::string& path) {
        ui::ScriptedDesktop desk;
        mirsadel::TForm1 form(desk);
        form.Create();
        desk.QueueFile(path);
        form.Click(form.Button1);
        EXPECT_TRUE(desk.messages.empty()) << path;
        EXPECT_TRUE(desk.errors.empty()) << path;
        EXPECT_EQ(form.Edit1.text, "- none -");
        EXPECT_EQ(form.Memo1.lines.Get(0), "order : even");
        EXPECT_EQ(form.Memo1.lines.Get(1), "phase : zero");
        form.Click(form.Button2);
        ui::Bitmap saved = ui::LoadBmp(Path("Lunovar.bmp"));
        EXPECT_TRUE(form.Image1.picture && saved == *form.Image1.picture);
        return saved;
    }

    ui::TempFolder folder_;
    std::vector<std::string> design_;
};

TEST_F(Road, DesignWritesTheDefaultLowPass) {
    std::vector<std::string> header(design_.begin(), design_.begin() + kFirstCoefLine);
    EXPECT_EQ(header, Header("LPF"));
    EXPECT_EQ(design_[kFirstCoefLine], " 0.500000000000000000");
    for (const std::string& coef : DesignCoefs()) {
        EXPECT_EQ(coef.size(), 21u) << coef;
        EXPECT_EQ(coef.back(), '0') << coef;  // 17 decimals and a final zero
    }
    EXPECT_EQ(design_[kEndLine], "end;");
    EXPECT_EQ(design_.size(), size_t(kCoefNum + 19));  // and the design data after two empty lines
}

// pTobrenth loads k-su.efc, inverts it and saves the high-pass; every byte of it follows from the
// design's texts.
TEST_F(Road, ComplementKeepsEveryDigit) {
    ui::ScriptedDesktop desk;
    tobrenth::TForm1 form(desk);
    form.Create();
    desk.QueueFile(Path("k-su.efc"));
    form.Click(form.Button1);
    ASSERT_TRUE(desk.messages.empty() && desk.errors.empty()) << "load";
    for (int i = 0; i <= kEndLine; ++i) EXPECT_EQ(form.Memo1.lines.Get(i), design_[size_t(i)]) << i;
    EXPECT_EQ(form.Memo1.lines.Get(kEndLine + 1), "");  // the design data stays out of the pane

    form.Click(form.Button3);
    ASSERT_TRUE(desk.messages.empty() && desk.errors.empty()) << "invert";
    desk.QueueFile(Path("hpf.efc"));
    form.Click(form.Button2);
    ASSERT_TRUE(desk.messages.empty() && desk.errors.empty()) << "save";

    std::vector<std::string> expected = Header("HPF");
    expected.push_back(" 0.500000000000000000");  // 1 - 0.5
    for (int k = 1; k < kCoefNum; ++k) expected.push_back(NegatedText(DesignCoefs()[size_t(k)]));
    expected.insert(expected.end(), {"end;", "", ""});
    EXPECT_EQ(ReadBytes(Path("hpf.efc")), JoinLines(expected));
}

// The picture of the high-pass: near 0 dB over its pass band, on the lower clip in its stop band.
// Odd columns hold no grid dot, so a black pixel inside the plot box there is the curve.
TEST_F(Road, RippleOfTheComplementShowsItsBands) {
    ui::ScriptedDesktop desk;
    tobrenth::TForm1 form(desk);
    form.Create();
    desk.QueueFile(Path("k-su.efc"));
    form.Click(form.Button1);
    form.Click(form.Button3);
    desk.QueueFile(Path("hpf.efc"));
    form.Click(form.Button2);
    ASSERT_TRUE(desk.messages.empty() && desk.errors.empty());

    const ui::Bitmap picture = DrawRipple(Path("hpf.efc"));
    ASSERT_EQ(picture.width(), 5210);
    ASSERT_EQ(picture.height(), 369);

    struct Band {
        const char* name;
        int firstX, lastX;  // 100 pixels per 0.1 fs from x = 100
        int topY, bottomY;  // where the curve may run inside the box (75 and 325 are its edges)
        bool curveInside;
    };
    const Band bands[] = {
        {"stop band 0 to 0.2 fs", 101, 299, 76, 324, false},
        {"pass band 0.29 to 0.5 fs", 391, 599, 185, 215, true},
    };
    for (const Band& band : bands) {
        for (int x = band.firstX; x <= band.lastX; x += 2) {
            int inside = 0, outside = 0;
            for (int y = 76; y <= 324; ++y) {
                if (picture.Pixel(x, y) != ui::clBlack) continue;
                (y >= band.topY && y <= band.bottomY ? inside : outside)++;
            }
            if (band.curveInside) {
                EXPECT_GT(inside, 0) << band.name << ", x " << x;
                EXPECT_EQ(outside, 0) << band.name << ", x " << x;
            } else {
                EXPECT_EQ(inside + outside, 0) << band.name << ", x " << x;
            }
        }
    }
    for (int x = 100; x < 600; ++x) EXPECT_EQ(picture.Pixel(x, 325), ui::clBlack) << "lower clip, x " << x;
}

// A plain list of the design's coefficients, outermost first, through pQuisdale; its output is the
// design's list again and loads in pTobrenth and pMirsadel without a word.
TEST_F(Road, PlainListComesBackAsTheSameFile) {
    std::vector<std::string> list = {"coefficients of k-su.efc", "59"};
    const std::vector<std::string> coefs = DesignCoefs();
    list.insert(list.end(), coefs.rbegin(), coefs.rend());
    {
        std::ofstream out(Path("list.txt"), std::ios::binary);
        out << JoinLines(list);
    }

    ui::ScriptedDesktop desk;
    quisdale::TForm1 converter(desk);
    converter.Create();
    desk.QueueFile(Path("list.txt"));
    converter.Click(converter.Button1);
    ASSERT_TRUE(desk.messages.empty() && desk.errors.empty());
    EXPECT_EQ(converter.StatusBar1.simpleText, "");

    const std::vector<std::string> written = ReadLines(Path("list.efc"));
    std::vector<std::string> expected = Header("LPF");
    for (const std::string& coef : coefs) expected.push_back(RewrittenText(coef));
    expected.insert(expected.end(), {"end;", "", ""});
    ASSERT_EQ(written.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(written.begin(), written.begin() + long(expected.size())), expected);

    // A low-pass: 1 at zero frequency and 0 at half the sampling rate, within its ripple.
    struct Response {
        std::string key;
        long double value;
    };
    const Response responses[] = {{"responseFZero = ", 1}, {"responseFHalf = ", 0}};
    for (size_t i = 0; i < 2; ++i) {
        const std::string& line = written[expected.size() + i];
        ASSERT_EQ(line.substr(0, responses[i].key.size()), responses[i].key);
        EXPECT_EQ(line.size(), responses[i].key.size() + 23);
        EXPECT_NEAR(double(StrToReal(line.substr(responses[i].key.size()))), double(responses[i].value), 0.01);
    }

    ui::ScriptedDesktop loadDesk;
    tobrenth::TForm1 loader(loadDesk);
    loader.Create();
    loadDesk.QueueFile(Path("list.efc"));
    loader.Click(loader.Button1);
    EXPECT_TRUE(loadDesk.messages.empty() && loadDesk.errors.empty());
    for (int i = 0; i <= kEndLine; ++i) EXPECT_EQ(loader.Memo1.lines.Get(i), written[size_t(i)]) << i;

    DrawRipple(Path("list.efc"));
}

}  // namespace
