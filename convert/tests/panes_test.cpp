// The format check and the copy routine on pane lines as a user may have typed them.
#include <gtest/gtest.h>

#include "support.h"

namespace tobrenth_test {
namespace {

struct PaneCase {
    const char* what;
    Lines pane;
    bool passes;
};

Lines Typed(const Lines& file) { return Concat(file, Lines(1101 - file.size())); }

std::vector<PaneCase> PaneCases() {
    const Lines f = Pane("6", "LPF", kNyquistCoefs);
    return {
        {"as written", f, true},
        {"tabs around a coefficient", With(f, 8, "\t0.3125\t"), true},
        {"blank and tab before a negative one", With(f, 10, " \t-0.25"), true},
        {"exponent", With(f, 8, "1e-3"), false},
        {"plus sign", With(f, 8, "+0.5"), false},
        {"two points", With(f, 8, "1.2.3"), false},
        {"empty coefficient line", With(f, 8, ""), false},
        {"line of blanks", With(f, 8, " \t "), false},
        {"any character value", With(f, 3, "character : NOTCH"), true},
        {"any coefType value", With(f, 5, "coefType : complex"), true},
        {"coefList key missing", With(f, 6, "list :"), false},
        {"count one short of the end line", With(f, 4, "coefNum : 3"), false},
        {"count past the pane", With(f, 4, "coefNum : 1094"), false},
    };
}

TEST(FormatCheck, PaneLinesAsTyped) {
    for (const PaneCase& c : PaneCases()) {
        SCOPED_TRACE(c.what);
        Program p;
        p.f.Memo1.lines.SetAll(Typed(c.pane));
        p.f.Memo2.lines.SetAll(Typed(c.pane));
        EXPECT_EQ(p.f.CheckSourceFormat(), c.passes);
        EXPECT_EQ(p.f.CheckConvertedFormat(), c.passes);
    }
}

// A count too large for an integer ends the action, but only once the first five lines passed.
TEST(FormatCheck, HugeCountIsConvertedOnlyAfterTheHeaderPassed) {
    const Lines f = With(Pane("6", "LPF", kNyquistCoefs), 4, "coefNum : 99999999999");
    const std::pair<Lines, Lines> cases[] = {
        {f, {U("'99999999999' は整数ではありません")}},
        {With(f, 2, "phase : one"), {}},
    };
    for (const auto& [pane, errors] : cases) {
        Program p;
        p.f.Memo1.lines.SetAll(Typed(pane));
        p.f.Click(p.f.Button4);
        EXPECT_EQ(p.desk.errors, errors);
        EXPECT_EQ(p.desk.messages, errors.empty() ? Lines{U("このソースコードは使えません。")} : Lines{});
        EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 0));
    }
}

TEST(CopyPane, LinesAfterTheEndLineStayBehind) {
    Program p;
    Lines source = Typed(With(Pane("6", "LPF", kNyquistCoefs), 0, "name : mine"));
    source[12] = "typed after the end";
    source[13] = "end;";
    p.f.Memo1.lines.SetAll(source);
    p.f.Memo2.lines.SetAll(Lines(1101, "old"));
    p.f.CopySourceToConverted();
    Lines expected = With(Pane("6", "LPF", kNyquistCoefs), 0, "name : ");
    EXPECT_EQ(Program::Get(p.f.Memo2, 0, 11), expected);
    EXPECT_TRUE(Program::EmptyFrom(p.f.Memo2, 12));
    EXPECT_EQ(p.f.Memo1.lines.All(), source);
}

}  // namespace
}  // namespace tobrenth_test
