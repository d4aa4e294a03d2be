// Files that cannot be created: the click ends in the error box and the window stays usable.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "design/coeffile.h"
#include "design/tests/window.h"
#include "design/tracefile.h"
#include "textutil/errors.h"
#include "textutil/textfile.h"

namespace corvalen::test {
namespace {

const std::string kAccessDenied =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xd6\x82\xcc\x83\x41\x83\x4e\x83\x5a\x83\x58\x82\xaa\x8b\x91\x94\xdb\x82\xb3"
    "\x82\xea\x82\xdc\x82\xb5\x82\xbd";
const std::string kSharingViolation = "I/O \x83\x47\x83\x89\x81\x5b (32)";

// What stands in the way of a file: a folder of its name, or the same file open for reading.
enum class Blocker { Folder, Reader };

struct Blocked {
    Blocker blocker;
    std::string error;
};

class BlockedFile {
public:
    BlockedFile(const std::string& path, Blocker b) : path_(path) {
        if (b == Blocker::Folder) {
            std::filesystem::remove(path);
            std::filesystem::create_directory(path);
        } else {
            reader_ = std::make_unique<TextReader>(path);
        }
    }
    ~BlockedFile() {
        reader_.reset();
        if (std::filesystem::is_directory(path_)) std::filesystem::remove(path_);
    }

private:
    std::string path_;
    std::unique_ptr<TextReader> reader_;
};

class BlockedTrace : public ::testing::TestWithParam<Blocked> {};

TEST_P(BlockedTrace, EndsTheClickBeforeAnythingIsDrawn) {
    TempDir dir;
    Window w;
    w.Design("60", "0.225");
    ASSERT_TRUE(w.desk.errors.empty());
    const ui::Bitmap picture = *w.form.Image1.picture;
    const std::string efc = ReadBytes("k-su.efc"), edit5 = w.form.Edit5.text, line11 = w.Line(11);
    {
        BlockedFile blocked("monitor.txt", GetParam().blocker);
        w.Design("8", "0.2");
        ASSERT_EQ(w.desk.errors.size(), 1u);
        EXPECT_EQ(w.desk.errors[0], GetParam().error);
        EXPECT_TRUE(w.desk.messages.empty());
        EXPECT_EQ(*w.form.Image1.picture, picture);
        EXPECT_EQ(ReadBytes("k-su.efc"), efc);
        EXPECT_EQ(w.form.Edit5.text, edit5);
        EXPECT_EQ(w.Line(11), line11);
        // The checks ran before: the limits of the new request are shown.
        EXPECT_EQ(w.form.Edit4.text, "0.2");
        EXPECT_EQ(w.Line(10), "0.25 > fpass > 0.005(fs)");
    }
    w.Design("8", "0.2");
    EXPECT_EQ(w.desk.errors.size(), 1u);
    EXPECT_EQ(ReadLines("k-su.efc").at(1), "order : 6");
}

INSTANTIATE_TEST_SUITE_P(Trace, BlockedTrace,
                         ::testing::Values(Blocked{Blocker::Folder, kAccessDenied},
                                           Blocked{Blocker::Reader, kSharingViolation}));

class BlockedCoefficientFile : public ::testing::TestWithParam<Blocked> {};

TEST_P(BlockedCoefficientFile, LeavesTheTraceAndTheMonitorPlotComplete) {
    TempDir dir;
    Window w;
    std::filesystem::create_directory("k-su.efc");  // a reader needs a file to hold open
    if (GetParam().blocker == Blocker::Reader) {
        std::filesystem::remove("k-su.efc");
        TextWriter("k-su.efc").Close();
    }
    {
        BlockedFile blocked("k-su.efc", GetParam().blocker);
        w.Design("60", "0.225");
        ASSERT_EQ(w.desk.errors.size(), 1u);
        EXPECT_EQ(w.desk.errors[0], GetParam().error);
        EXPECT_EQ(w.form.Edit5.text, "-");
        EXPECT_TRUE(w.Line(11).rfind("(rep = ", 0) == 0);
        const std::vector<std::string> trace = ReadLines("monitor.txt");
        ASSERT_FALSE(trace.empty());
        EXPECT_EQ(trace.back().rfind("passRipple =", 0), 0u) << trace.back();
        EXPECT_EQ(w.Pixel(70, 100), ui::clBlack);  // the final curve
        for (int y = 430; y < 850; ++y)
            for (int x = 0; x < 657; ++x) ASSERT_EQ(w.Pixel(x, y), ui::clWhite) << x << "," << y;
    }
    std::filesystem::remove("k-su.efc");
    w.Design("60", "0.225");
    EXPECT_EQ(w.desk.errors.size(), 1u);
    EXPECT_EQ(ReadLines("k-su.efc").size(), 49u);
    EXPECT_NE(w.form.Edit5.text, "-");
    EXPECT_EQ(w.Pixel(70, 780), ui::clBlack);
}

INSTANTIATE_TEST_SUITE_P(CoefficientFile, BlockedCoefficientFile,
                         ::testing::Values(Blocked{Blocker::Folder, kAccessDenied},
                                           Blocked{Blocker::Reader, kSharingViolation}));

// The exchange gives up after its cycle limit; what was drawn stays and no coefficient file appears.
TEST(DesignFault, CycleLimitLeavesNoCoefficientFile) {
    TempDir dir;
    Window w;
    w.form.maxCycles = 1;
    w.Design("60", "0.225");
    ASSERT_EQ(w.desk.errors.size(), 1u);
    EXPECT_TRUE(w.desk.messages.empty());
    EXPECT_FALSE(std::filesystem::exists("k-su.efc"));
    EXPECT_EQ(w.Line(11), "");
    EXPECT_EQ(w.form.Edit5.text, "-");
    EXPECT_EQ(w.Pixel(295, 84), ui::clLime);  // the monitor plot had begun
    // The trace keeps what reached the file: the opening lists, no final section.
    const std::vector<std::string> trace = ReadLines("monitor.txt");
    EXPECT_GE(trace.size(), size_t(4 * 32));
    EXPECT_EQ(std::count(trace.begin(), trace.end(), "DFT process"), 0);

    w.form.maxCycles = 1000;
    w.Design("60", "0.225");
    EXPECT_EQ(w.desk.errors.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists("k-su.efc"));
}

struct GainCase {
    long double J;
    std::string text;
};

TEST(StopGain, RoundsToAThousandthOfADecibel) {
    const GainCase cases[] = {{0.001L, "-60dB"}, {0.1L, "-20dB"}, {1.0L, "0dB"}, {0.00184L, "-54.704dB"}};
    for (const GainCase& c : cases) EXPECT_EQ(StopGainText(c.J), c.text) << double(c.J);
}

TEST(StopGain, ZeroRippleIsTheDivisionByZeroFault) {
    ClearFpFlags();
    try {
        StopGainText(0.0L);
        ADD_FAILURE() << "no fault";
    } catch (const ArithError& e) {
        EXPECT_EQ(std::string(e.what()), "0 \x82\xc9\x82\xe6\x82\xe9\x95\x82\x93\xae\x8f\xac\x90\x94\x93\x5f\x90\x94\x8f\x9c\x8e\x5a");
    }
}

struct RippleCase {
    long double J, L;
    std::string line;
};

TEST(TraceLines, CycleRippleLine) {
    const RippleCase cases[] = {
        {0.000123456789L, 0.000112345678L, "(ripple = 1.2345679E-0004 ~ 1.1234568E-0004//    1.098901)"},
        {0.000123456789L, 0.0L, "(ripple = 1.2345679E-0004 ~ 0.0000000E+0000// -)"},
    };
    for (const RippleCase& c : cases) EXPECT_EQ(CycleRippleLine(c.J, c.L), c.line);
}

TEST(TraceLines, FinalRippleLines) {
    TempDir dir;
    const long double coef[] = {0.5L};
    TraceFile trace;
    trace.Open(0);
    trace.Finish(coef, 0, 0.000123456789L);
    const std::vector<std::string> lines = ReadLines("monitor.txt");
    const std::vector<std::string> expected = {"/w/", "", "0", "", "DFT process", "[0] 5.00000000000000E-0001", "",
                                               "ripple      = 1.234568E-0004", "stopGain  = -78.16970 (dB)",
                                               "passRipple =   0.00107(dB)"};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace corvalen::test
