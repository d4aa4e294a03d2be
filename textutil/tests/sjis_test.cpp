#include "textutil/sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct SjisCase {
    std::string utf8;
    std::string sjis;
};

TEST(Sjis, LiteralsBecomeCodePageBytes) {
    const std::vector<SjisCase> cases = {
        {"", ""},
        {"order : 60", "order : 60"},
        {"設計", "\x90\xDD\x8C\x76"},
        {"ｆｓ", "\x82\x86\x82\x93"},
        {"ｱ", "\xB1"},
        {"～", "\x81\x60"},
        {"a\tb\r\n", "a\tb\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sjis(c.utf8), c.sjis) << c.utf8;
        EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8) << c.utf8;
    }
}

// One question mark for each character that the code page lacks, however many bytes it takes.
TEST(Sjis, CharactersWithoutACodePageFormBecomeOneQuestionMark) {
    const std::vector<SjisCase> cases = {
        {"\xC3\xA9", "?"},                          // e with acute accent, two bytes
        {"a\xF0\x9F\x98\x80" "b", "a?b"},           // an emoji, four bytes
        {"\xE2\x82\xAC\xE2\x82\xAC", "??"},         // two euro signs, three bytes each
        {"x\xC3\xA9\xE8\xA8\xAD", "x?\x90\xDD"},    // then a character that has one
        {"\xFF" "a", "?a"},                         // a byte that is no UTF-8
        {"\xE8\xA8", "?"},                          // a sequence cut short at the end
    };
    for (const auto& c : cases) EXPECT_EQ(Sjis(c.utf8), c.sjis) << c.utf8;
}

TEST(SjisToUtf8, InvalidBytesBecomeReplacementCharacters) {
    const std::string kReplacement = "\xEF\xBF\xBD";
    const std::vector<SjisCase> cases = {
        {"a" + kReplacement, "a\x82"},  // a lead byte without its trail byte
        {kReplacement + "b", "\xFF" "b"},
        {std::string(3000, 'z'), std::string(3000, 'z')},
    };
    for (const auto& c : cases) EXPECT_EQ(SjisToUtf8(c.sjis), c.utf8);
}

}  // namespace
