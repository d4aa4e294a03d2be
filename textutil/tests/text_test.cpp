#include "textutil/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

struct SyntaxCase {
    std::string text;
    bool unsignedOnly;
    bool expected;
};

TEST(IsDigitText, OnlyOneDigitByte) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"7", true}, {"0", true}, {"9", true}, {"12", false}, {"", false}, {" 7", false}, {"7 ", false},
        {"a", false}, {"-", false}, {"\xef\xbc\x97", false} /* full-width 7 */, {"\0"s, false},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(IsDigitText(text), expected) << "'" << text << "'";
}

TEST(IsIntegerText, Table) {
    const std::vector<SyntaxCase> cases = {
        {"007", false, true},  {"-12", false, true},  {"0", false, true},    {"+5", false, false},
        {"--1", false, false}, {"-", false, false},   {"", false, false},    {"1.0", false, false},
        {"12 ", false, false}, {" 12", false, false}, {"-12", true, false},  {"12", true, true},
        {"1e3", false, false}, {"1\0"s, false, false}, {"\x82", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsIntegerText(c.text, c.unsignedOnly), c.expected) << "'" << c.text << "' " << c.unsignedOnly;
}

TEST(IsRealText, Table) {
    const std::vector<SyntaxCase> cases = {
        {"0.225", false, true}, {"-0.25", false, true}, {"12", false, true},   {"-7", false, true},
        {".5", false, false},   {"5.", false, false},   {"1.2.3", false, false}, {"+1", false, false},
        {"1e-3", false, false}, {"-", false, false},    {"-.5", false, false}, {"", false, false},
        {"-0.25", true, false}, {"0.25", true, true},   {"1 ", false, false},  {"1,5", false, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRealText(c.text, c.unsignedOnly), c.expected) << "'" << c.text << "' " << c.unsignedOnly;
}

TEST(HasSubText, Table) {
    struct Case {
        std::string part, text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"order", "order : 60", true}, {"Order", "order : 60", false}, {"", "abc", true},
        {"", "", true},                {"abcd", "abc", false},         {"60", "order : 60", true},
        {"\x82\xa0", "x\x82\xa0y", true},
    };
    for (const auto& c : cases) EXPECT_EQ(HasSubText(c.part, c.text), c.expected) << c.part << " in " << c.text;
}

struct SplitCase {
    std::string text, separator;
    bool trim;
    std::string before, after;
};

TEST(TextBeforeAfter, Table) {
    const std::vector<SplitCase> cases = {
        {"order : 60", ":", true, "order", "60"},
        {"a:b:c", ":", true, "a", "b:c"},
        {"abc", ":", true, "", "bc"},
        {"abc", ":", false, "", "bc"},
        {"\t60", ":", true, "", "60"},
        {"key:", ":", true, "key", ""},
        {"a:=b", ":=", true, "", ":=b"},
        {"", ":", true, "", ""},
        {"/tmp/dir.d/file.txt", ".", true, "/tmp/dir", "d/file.txt"},
        {" \tname : \t x y \t", ":", true, "name", "x y"},
        {" \tname : \t x y \t", ":", false, " \tname ", " \t x y \t"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextBefore(c.text, c.separator, c.trim, c.trim), c.before) << c.text;
        EXPECT_EQ(TextAfter(c.text, c.separator, c.trim, c.trim), c.after) << c.text;
    }
}

TEST(TrimBlanks, Table) {
    struct Case {
        std::string text, left, right;
    };
    const std::vector<Case> cases = {
        {"\t x ", "x ", "\t x"},
        {"x\r", "x\r", "x\r"},
        {" \t \t", "", ""},
        {"", "", ""},
        {"\r x", "\r x", "\r x"},
        {"\xe3\x80\x80x", "\xe3\x80\x80x", "\xe3\x80\x80x"},  // a full-width space is no blank
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TrimLeftBlanks(c.text), c.left);
        EXPECT_EQ(TrimRightBlanks(c.text), c.right);
    }
}

TEST(TextRoutines, SurviveOddTexts) {
    const std::vector<std::string> texts = {
        std::string(1 << 20, '7'), "a\0:b"s, "\x82", "\x82:", ":\x82", std::string(1 << 20, ' ') + "x",
    };
    for (const auto& t : texts) {
        EXPECT_FALSE(IsDigitText(t));
        IsIntegerText(t, false);
        IsRealText(t, false);
        EXPECT_TRUE(HasSubText("", t));
        EXPECT_LE(TextBefore(t, ":", true, true).size(), t.size());
        EXPECT_LE(TextAfter(t, ":", true, true).size(), t.size());
    }
    EXPECT_TRUE(IsIntegerText(texts[0], true));
    EXPECT_EQ(TextAfter(texts[1], ":", false, false), "b");
    EXPECT_EQ(TextBefore(texts[1], ":", false, false), "a\0"s);
    EXPECT_EQ(TrimLeftBlanks(texts[5]), "x");
}

}  // namespace
