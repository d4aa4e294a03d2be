// The request checks of the design click: outputs in the window and the one message shown.
#include <gtest/gtest.h>

#include "design/tests/window.h"
#include "ui/canvas.h"

namespace corvalen::test {
namespace {

// Message texts as Shift-JIS bytes.
const std::string kOrderRange =
    "\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xcc\x92\x6c\x82\xcd\x82\x57\x81\x60\x82\x50\x82\x4f\x82\x4f\x82\x4f"
    "\x82\xcc\x94\xcd\x88\xcd\x82\xcc\x90\xae\x90\x94\x81\x69\x82\x53\x82\xcc\x94\x7b\x90\x94\x81\x6a\x82\xc6\x82\xb5"
    "\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81\x42";
const std::string kOrderMultiple =
    "\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xcc\x92\x6c\x82\xcd\x82\x53\x82\xcc\x94\x7b\x90\x94\x82\xc6\x82\xb5"
    "\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81\x42";
const std::string kFpassBad =
    "\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x82\xcc\x92\x6c\x82\xcd\x90\xb3\x82\xcc\x8e\xc0\x90\x94\x81\x69\x82\x4f"
    "\x82\xf0\x8f\x9c\x82\xad\x81\x6a\x82\xc6\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81\x42";
const std::string kFsampleBad =
    "\x82\x86\x82\x93\x82\x81\x82\x8d\x82\x90\x82\x8c\x82\x85\x82\xcc\x92\x6c\x82\xcd\x90\xb3\x82\xcc\x8e\xc0\x90\x94"
    "\x81\x69\x82\x4f\x82\xf0\x8f\x9c\x82\xad\x81\x6a\x82\xc6\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2\x81\x42";
// "fpass(fs) ga 0.25" ... "to naru you ni fpass mataha fsample no atai wo kagen shite kudasai."
const std::string kQuarterHead =
    "\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x81\x69\x82\x86\x82\x93\x81\x6a\x82\xaa\x82\x4f\x81\x44\x82\x51\x82\x54";
const std::string kQuarterTail =
    "\x82\xc6\x82\xc8\x82\xe9\x82\xe6\x82\xa4\x82\xc9\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x82\xdc\x82\xbd\x82\xcd"
    "\x82\x86\x82\x93\x82\x81\x82\x8d\x82\x90\x82\x8c\x82\x85\x82\xcc\x92\x6c\x82\xf0\x89\xc1\x8c\xb8\x82\xb5\x82\xc4"
    "\x89\xba\x82\xb3\x82\xa2\x81\x42";
const std::string kAboveQuarterLpf = kQuarterHead + "\x88\xc8\x89\xba" + kQuarterTail;  // izika
const std::string kAboveQuarterHpf = kQuarterHead + "\x88\xc8\x8f\xe3" + kQuarterTail;  // ijou
const std::string kAtQuarterLpf = kQuarterHead + "\x96\xa2\x96\x9e" + kQuarterTail;     // miman
const std::string kAtQuarterHpf = kQuarterHead + "\x82\xe6\x82\xe8\x91\xe5\x82\xab\x82\xad\x82\xc8\x82\xe9\x82\xe6\x82\xa4\x82\xc9"
                                  "\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x82\xdc\x82\xbd\x82\xcd\x82\x86\x82\x93\x82\x81"
                                  "\x82\x8d\x82\x90\x82\x8c\x82\x85\x82\xcc\x92\x6c\x82\xf0\x89\xc1\x8c\xb8\x82\xb5\x82\xc4"
                                  "\x89\xba\x82\xb3\x82\xa2\x81\x42";  // yori ookiku naru you ni

std::string RangeMessage(const std::string& n, const std::string& x, bool highPass) {
    return "\x90\xdd\x8c\x76\x8e\xfb\x91\xa9\x94\xcd\x88\xcd\x83\x49\x81\x5b\x83\x6f\x81\x5b\x81\x40\x81\x46\x81\x40"
           "\x82\x8f\x82\x92\x82\x84\x82\x85\x82\x92\x82\xf0" +
           n + "\x88\xc8\x89\xba\x82\xc9\x82\xb7\x82\xe9\x82\xa9\x81\x41" +
           "\x82\x86\x82\x90\x82\x81\x82\x93\x82\x93\x81\x69\x82\x86\x82\x93\x81\x6a\x82\xf0" + x +
           (highPass ? "\x88\xc8\x8f\xe3\x89\xba\x82\xc9\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2"
                     : "\x88\xc8\x8f\xe3\x82\xc9\x82\xb5\x82\xc4\x89\xba\x82\xb3\x82\xa2");
}

struct Rejected {
    bool highPass;
    std::string order, fpass, fsample;
    std::string edit4, line9, line10;
    std::string message;
};

class RejectedRequest : public ::testing::TestWithParam<Rejected> {};

TEST_P(RejectedRequest, ShowsItsLimitsAndOneMessage) {
    const Rejected& c = GetParam();
    TempDir dir;
    Window w;
    w.Design(c.order, c.fpass, c.fsample, c.highPass);
    EXPECT_EQ(w.form.Edit4.text, c.edit4);
    EXPECT_EQ(w.Line(9), c.line9);
    EXPECT_EQ(w.Line(10), c.line10);
    ASSERT_EQ(w.desk.messages.size(), 1u);
    EXPECT_EQ(w.desk.messages[0], c.message);
    EXPECT_EQ(w.desk.titles[0], "pcorvalen");
    EXPECT_TRUE(w.desk.errors.empty());
    // Nothing is designed: no files, the picture stays clear, no cycle count, no stop gain.
    EXPECT_FALSE(std::filesystem::exists("monitor.txt"));
    EXPECT_FALSE(std::filesystem::exists("k-su.efc"));
    EXPECT_EQ(w.Line(11), "");
    EXPECT_EQ(w.form.Edit5.text, "-");
    EXPECT_EQ(w.Pixel(70, 200), ui::clWhite);
}

const std::string kLpf192 = "0.25 > fpass > 0.1715(fs)";

INSTANTIATE_TEST_SUITE_P(
    Messages, RejectedRequest,
    ::testing::Values(
        Rejected{false, "abc", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0(fs)", kOrderRange},
        Rejected{false, "4", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0.0025(fs)", kOrderRange},
        Rejected{false, "-8", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > -0.005(fs)", kOrderRange},
        Rejected{false, " 60", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0(fs)", kOrderRange},
        Rejected{false, "+60", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0(fs)", kOrderRange},
        Rejected{false, "1004", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0.25(fs)", kOrderRange},
        Rejected{false, "62", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > 0.17376(fs)", kOrderMultiple},
        Rejected{false, "60", "abc", "1", "0", "order < 0", kLpf192, kFpassBad},
        Rejected{false, "60", "-0.1", "1", "-0.1", "order < -160", kLpf192, kFpassBad},
        Rejected{false, "60", ".5", "1", "0", "order < 0", kLpf192, kFpassBad},
        Rejected{false, "60", "5.", "1", "0", "order < 0", kLpf192, kFpassBad},
        Rejected{false, "60", "1e-3", "1", "0", "order < 0", kLpf192, kFpassBad},
        Rejected{false, "60", "0", "1", "0", "order < 0", kLpf192, kFpassBad},
        // Both order and fpass bad: only the first message.
        Rejected{false, "abc", "abc", "1", "0", "order < 0", "0.25 > fpass > 0(fs)", kOrderRange},
        Rejected{false, "60", "0.250001", "1", "0.25", "order < 1000", kLpf192, kAboveQuarterLpf},
        Rejected{true, "60", "0.225", "1", "0.225", "order < 1000", "0.25 < fpass < 0.3285(fs)", kAboveQuarterHpf},
        Rejected{false, "40", "0.3", "1", "0.3", "order < 1000", "0.25 > fpass > 0.13701(fs)", kAboveQuarterLpf},
        Rejected{false, "92", "0.3", "1", "0.3", "order < 1000", "0.25 > fpass > 0.19767(fs)", kAboveQuarterLpf},
        Rejected{false, "64", "0.17", "1", "0.17", "order < 56", "0.25 > fpass > 0.176(fs)",
                 RangeMessage("56", "0.176", false)},
        Rejected{false, "1000", "0.2449", "1", "0.2449", "order < 1000", "0.25 > fpass > 0.245(fs)",
                 RangeMessage("1000", "0.245", false)},
        Rejected{true, "60", "0.7", "1", "0.7", "order < -320", "0.25 < fpass < 0.3285(fs)",
                 RangeMessage("-320", "0.3285", true)},
        Rejected{false, "60", "0.1", "3", "0.03333", "order < 12", kLpf192, RangeMessage("12", "0.1715", false)},
        // Pass and stop edge at fs/4 leave no transition band to design.
        Rejected{false, "60", "0.25", "1", "0.25", "order < 1000", kLpf192, kAtQuarterLpf},
        Rejected{false, "60", "0.5", "2", "0.25", "order < 1000", kLpf192, kAtQuarterLpf},
        Rejected{true, "60", "0.25", "1", "0.25", "order < 1000", "0.25 < fpass < 0.3285(fs)", kAtQuarterHpf},
        // Ratios whose 0.00001 steps no longer fit a 32-bit integer show "-".
        Rejected{false, "60", "21474.83647", "1", "21474.83647", "order < 1000", kLpf192, kAboveQuarterLpf},
        Rejected{false, "60", "21474.83648", "1", "-", "order < 1000", kLpf192, kAboveQuarterLpf},
        Rejected{false, "60", "99999999999999999999", "1", "-", "order < 1000", kLpf192, kAboveQuarterLpf},
        Rejected{true, "60", "21474.83648", "1", "-", "order < -34358940", "0.25 < fpass < 0.3285(fs)",
                 RangeMessage("-34358940", "0.3285", true)},
        Rejected{true, "60", "10000000", "1", "-", "order < -", "0.25 < fpass < 0.3285(fs)",
                 RangeMessage("-", "0.3285", true)},
        Rejected{false, "-2000000000", "0.225", "1", "0.225", "order < 192", "0.25 > fpass > -(fs)", kOrderRange}));

// A ratio beyond the range of the 80-bit reals is still only a request to refuse.
TEST(RejectedRequest, RatioBeyondTheRealRange) {
    const std::string huge = "1" + std::string(4000, '0');
    const std::string tiny = "0." + std::string(4000, '0') + "1";
    for (bool highPass : {false, true}) {
        Window w;
        w.Design("60", huge, tiny, highPass);
        EXPECT_TRUE(w.desk.errors.empty());
        ASSERT_EQ(w.desk.messages.size(), 1u);
        EXPECT_EQ(w.desk.messages[0], highPass ? RangeMessage("-", "0.3285", true) : kAboveQuarterLpf);
        EXPECT_EQ(w.form.Edit4.text, "-");
    }
}

TEST(RejectedRequest, BadFsampleKeepsThePreviousOutputs) {
    for (const char* fsample : {"0", "abc", "-1", ""}) {
        Window w;
        w.Design("64", "0.17", "1");
        w.Design("60", "0.225", fsample);
        EXPECT_EQ(w.form.Edit4.text, "0.17");
        EXPECT_EQ(w.Line(9), "order < 56");
        EXPECT_EQ(w.Line(10), "0.25 > fpass > 0.176(fs)");
        ASSERT_EQ(w.desk.messages.size(), 2u);
        EXPECT_EQ(w.desk.messages[1], kFsampleBad);
    }
}

struct Unconvertible {
    std::string order, fpass, fsample;
    std::string error;
};

// Texts that pass the syntax test but not the conversion end the click in the error box.
TEST(RejectedRequest, UnconvertibleTextEndsTheClickWithNothingChanged) {
    const Unconvertible cases[] = {
        {"99999999999", "0.225", "1", "'99999999999' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1"},
        {"99999999999", "abc", "abc", "'99999999999' \x82\xcd\x90\xae\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1"},
        {"60", "1" + std::string(5000, '0'), "1", ""},
    };
    for (const Unconvertible& c : cases) {
        TempDir dir;
        Window w;
        w.Design(c.order, c.fpass, c.fsample);
        EXPECT_TRUE(w.desk.messages.empty());
        ASSERT_EQ(w.desk.errors.size(), 1u);
        if (!c.error.empty()) {
            EXPECT_EQ(w.desk.errors[0], c.error);
        }
        EXPECT_EQ(w.form.Edit4.text, "-");
        EXPECT_EQ(w.Line(9), "");
        EXPECT_EQ(w.Line(10), "");
        EXPECT_FALSE(std::filesystem::exists("monitor.txt"));
    }
}

TEST(RadioGroup, MirrorsFpassAboutAQuarterOfFsample) {
    Window w;
    w.form.Select(w.form.RadioGroup1, 1);
    EXPECT_EQ(w.form.Edit2.text, "0.275");
    w.form.Select(w.form.RadioGroup1, 0);
    EXPECT_EQ(w.form.Edit2.text, "0.225");
    w.form.Edit3.text = "48000";
    w.form.Edit2.text = "10000";
    w.form.Select(w.form.RadioGroup1, 1);
    EXPECT_EQ(w.form.Edit2.text, "14000");
    EXPECT_TRUE(w.desk.errors.empty());
    EXPECT_TRUE(w.desk.messages.empty());
}

TEST(RadioGroup, UnconvertibleTextShowsTheErrorAndKeepsFpass) {
    // No syntax test here: a text the conversion takes (with an exponent) is mirrored too.
    Window w;
    w.form.Edit2.text = "2.25e-1";
    w.form.Select(w.form.RadioGroup1, 1);
    EXPECT_EQ(w.form.Edit2.text, "0.275");

    w.form.Edit3.text = "abc";
    w.form.Select(w.form.RadioGroup1, 0);
    EXPECT_EQ(w.form.RadioGroup1.itemIndex, 0);
    EXPECT_EQ(w.form.Edit2.text, "0.275");
    ASSERT_EQ(w.desk.errors.size(), 1u);
    EXPECT_EQ(w.desk.errors[0], "'abc' \x82\xcd\x95\x82\x93\xae\x8f\xac\x90\x94\x93\x5f\x90\x94\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1");
    EXPECT_TRUE(w.desk.messages.empty());
}

}  // namespace
}  // namespace corvalen::test
