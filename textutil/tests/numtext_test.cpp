#include "textutil/numtext.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "textutil/errors.h"
#include "textutil/sjis.h"

namespace {

using namespace std::string_literals;

const long double kThird = 1.0L / 3;
const long double kTwoThirds = 2.0L / 3;
const long double kInf = std::numeric_limits<long double>::infinity();
const long double kNaN = std::numeric_limits<long double>::quiet_NaN();

// Every test here starts and ends with "." as the separator.
class NumText : public ::testing::Test {
protected:
    void SetUp() override { SetDecimalSeparator('.'); }
    void TearDown() override { SetDecimalSeparator('.'); }
};

struct FormCase {
    long double x;
    std::string text;
};

TEST_F(NumText, GeneralForm) {
    const std::vector<FormCase> cases = {
        {0.1715L, "0.1715"},
        {kThird, "0.333333333333333"},
        {kTwoThirds, "0.666666666666667"},
        {-137.123L, "-137.123"},
        {100, "100"},
        {123456789012345.0L, "123456789012345"},
        {1e15L, "1E15"},
        {999999999999999.0L, "999999999999999"},
        {9999999999999999.0L, "1E16"},
        {0.0001L, "0.0001"},
        {0.00001L, "1E-5"},
        {std::ldexp(1.0L, -20), "9.5367431640625E-7"},
        {0.0L, "0"},
        {-0.0L, "0"},
        {-2.5e-300L, "-2.5E-300"},
        {1.5e300L, "1.5E300"},
        {0.999999999999999999L, "1"},
        {-0.00012345L, "-0.00012345"},
        {LDBL_MAX, "1.18973149535723E4932"},
        {LDBL_TRUE_MIN, "3.64519953188247E-4951"},
    };
    for (const auto& c : cases) EXPECT_EQ(GeneralText(c.x), c.text) << double(c.x);
}

TEST_F(NumText, FixedFormOfPrecision) {
    struct Case {
        long double x;
        int p, d;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0.25L, 2, 2, "0.25"},
        {kThird, 2, 2, "0.33"},
        {0.125L, 2, 2, "0.13"},
        {0.5L, 2, 2, "0.50"},
        {0, 2, 2, "0.00"},
        {-0.005L, 2, 2, "-0.01"},
        {-0.004L, 2, 2, "0.00"},
        {-0.0L, 4, 3, "0.000"},
        {-1e-30L, 18, 18, "0.000000000000000000"},
        {1234.5678L, 2, 2, "1.2E3"},   // more than p integer digits: general form with p digits
        {1234.5678L, 4, 2, "1235.00"},
        {1234.5678L, 1, 0, "1.2E3"},   // p below 2 counts as 2
        {1234.5678L, 30, 2, "1234.57"},
        {kThird, 30, 30, "0.333333333333333333"},  // at most 18 decimals
        {12.5L, 2, 0, "13"},
        {0.06L, 2, 1, "0.1"},
        {0.04L, 2, 1, "0.0"},
        {-0.04L, 2, 1, "0.0"},
        {kInf, 18, 18, "INF"},
        {kNaN, 18, 18, "NAN"},
    };
    for (const auto& c : cases) EXPECT_EQ(FixedText(c.x, c.p, c.d), c.text) << double(c.x) << " " << c.p << "," << c.d;
}

TEST_F(NumText, CoefToText) {
    const std::vector<FormCase> cases = {
        {0.5L, " 0.500000000000000000"},
        {-0.125L, "-0.125000000000000000"},
        {kThird, " 0.333333333333333333"},
        {kTwoThirds, " 0.666666666666666667"},
        {0.0318L, " 0.031800000000000000"},
        {1.0L / 7, " 0.142857142857142857"},
        {0.00123456789L, " 0.001234567890000000"},
        {1, " 1.000000000000000000"},
        {12.5L, " 12.500000000000000000"},
        {123.456789L, " 123.456789000000000000"},
        {-0.0L, " 0.000000000000000000"},
        {0.0L, " 0.000000000000000000"},
        {-5e-18L, "-0.000000000000000005"},
        {-6e-19L, "-0.000000000000000001"},
        {-4.9e-19L, "0.000000000000000000"},
        {-1e-20L, "0.000000000000000000"},
        {4e-19L, " 0.000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CoefToText(c.x), c.text) << double(c.x);
    }
    EXPECT_EQ(CoefToText(0.5L).size(), 21u);
    EXPECT_EQ(CoefToText(-1e-20L).size(), 20u);
    EXPECT_EQ(CoefToText(12.5L).size(), 22u);
}

TEST_F(NumText, FixedFormOfWidth) {
    struct Case {
        long double x;
        int w, d;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0.5L, 20, 18, "0.500000000000000000"},
        {kThird, 20, 18, "0.333333333333333330"},
        {kTwoThirds, 20, 18, "0.666666666666666670"},
        {-0.0318L, 20, 18, "-0.031800000000000000"},
        {-0.0L, 20, 18, "-0.000000000000000000"},
        {0.225L, 8, 3, "   0.225"},
        {0.225L, 10, 5, "   0.22500"},
        {-137.123L, 8, 3, "-137.123"},
        {2.5L, 8, 0, "       3"},
        {-1e-30L, 6, 2, " -0.00"},
        {9.999999999999999999L, 6, 2, " 10.00"},  // the 17-decimal intermediate carries
        {123456789.123456789L, 0, 12, "123456789.123456789000"},  // 18 significant digits above 10
        {-0.4L, 3, 0, " -0"},
        {kInf, 5, 2, "  INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FixedWidthText(c.x, c.w, c.d), c.text) << double(c.x) << " " << c.w << "," << c.d;
}

TEST_F(NumText, ScientificForm) {
    struct Case {
        long double x;
        int w;
        std::string text;
    };
    const std::vector<Case> cases = {
        {1, 23, " 1.00000000000000E+0000"},
        {0.5L, 23, " 5.00000000000000E-0001"},
        {-0.001L, 23, "-1.00000000000000E-0003"},
        {kThird, 23, " 3.33333333333333E-0001"},
        {-kTwoThirds, 23, "-6.66666666666667E-0001"},
        {0, 23, " 0.00000000000000E+0000"},
        {-0.0L, 23, "-0.00000000000000E+0000"},
        {0.0001234L, 15, " 1.234000E-0004"},
        {0.0001234L, 16, " 1.2340000E-0004"},
        {9.96L, 10, " 1.0E+0001"},
        {9.96L, 3, " 1.0E+0001"},  // below 10 the text stays 10 characters
        {kThird, 26, " 3.33333333333333333E-0001"},
        {kThird, 30, "     3.33333333333333333E-0001"},
        {LDBL_MAX, 23, " 1.18973149535723E+4932"},
        {-LDBL_TRUE_MIN, 23, "-3.64519953188247E-4951"},
    };
    for (const auto& c : cases) EXPECT_EQ(SciText(c.x, c.w), c.text) << double(c.x) << " " << c.w;
    EXPECT_EQ(Sci23Text(-kTwoThirds), "-6.66666666666667E-0001");
}

TEST_F(NumText, IntegerText) {
    struct Case {
        long long v;
        int w;
        std::string text;
    };
    const std::vector<Case> cases = {
        {0, 0, "0"},          {-5, 0, "-5"},       {58, 5, "   58"}, {-58, 5, "  -58"},
        {123456, 3, "123456"}, {LLONG_MIN, 0, "-9223372036854775808"},
    };
    for (const auto& c : cases) EXPECT_EQ(IntText(c.v, c.w), c.text);
}

TEST_F(NumText, RoundToInt64TiesToEven) {
    const std::vector<std::pair<long double, int64_t>> cases = {
        {2.5L, 2},     {3.5L, 4},   {-2.5L, -2}, {0.5L, 0},   {-0.5L, 0},   {1.5L, 2},
        {2.4999L, 2}, {-3.5L, -4}, {1e18L, 1000000000000000000LL},
        {-0x1p63L, INT64_MIN},      {0x1p63L - 1, INT64_MAX},
    };
    for (const auto& [x, expected] : cases) EXPECT_EQ(RoundToInt64(x), expected) << double(x);
}

TEST_F(NumText, RoundingOutOfRangeIsAnInvalidOperation) {
    const std::string message = Sjis("不正な浮動小数点数演算命令");
    for (long double x : {0x1p63L, -0x1p63L - 2, kInf, -kInf, kNaN, 1e30L}) {
        try {
            RoundToInt64(x);
            ADD_FAILURE() << double(x);
        } catch (const ArithError& e) {
            EXPECT_EQ(e.what(), message);
        }
    }
    EXPECT_THROW(FloorToInt32(2147483648.0L), ArithError);
    EXPECT_THROW(FloorToInt32(-2147483648.5L), ArithError);
    EXPECT_THROW(CeilToInt32(2147483647.1L), ArithError);
    EXPECT_THROW(CeilToInt32(-2147483649.0L), ArithError);
    EXPECT_THROW(FloorToInt32(kNaN), ArithError);
    EXPECT_THROW(CeilToInt32(kInf), ArithError);
}

TEST_F(NumText, FloorAndCeilToInt32) {
    struct Case {
        long double x;
        int32_t floor, ceil;
    };
    const std::vector<Case> cases = {
        {2.5L, 2, 3},
        {-2.5L, -3, -2},
        {7, 7, 7},
        {2147483646.5L, 2147483646, INT32_MAX},
        {-2147483647.5L, INT32_MIN, -2147483647},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FloorToInt32(c.x), c.floor) << double(c.x);
        EXPECT_EQ(CeilToInt32(c.x), c.ceil) << double(c.x);
    }
}

TEST_F(NumText, IntegerConversionAccepts) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"0", 0},           {"  12", 12},         {"+5", 5},           {"-12", -12},
        {"007", 7},         {"2147483647", INT32_MAX}, {"-2147483648", INT32_MIN},
        {"$FF", 255},       {"x1f", 31},          {"X1F", 31},         {"0x10", 16},
        {"0XfF", 255},      {"$FFFFFFFF", -1},    {"-$1", -1},         {"-0x80000000", INT32_MIN},
        {"$80000000", INT32_MIN}, {"+0x10", 16},  {"0x000000001", 1},  {" -x7FFFFFFF", -INT32_MAX},
        {"-0", 0},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(StrToInt(text), expected) << "'" << text << "'";
}

TEST_F(NumText, IntegerConversionRefusesWithTheWholeText) {
    const std::vector<std::string> cases = {
        "",     " ",       "12 ",  "\t12",  "2147483648", "-2147483649", "++1",   "+-1", "1.0",
        "1e3",  "$",       "0x",   "-",     "$1FFFFFFFF", "$G",          "0x 1",  "- 1", "\xef\xbc\x91",
        "1,000", "12a",    "x-1",  "0x-1",  "1\0"s,       "\x82",        "99999999999999999999",
    };
    for (const auto& text : cases) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), (Sjis("'") + text + Sjis("' は整数ではありません")).c_str());
        }
    }
    try {
        StrToInt("");
    } catch (const ConvertError& e) {
        EXPECT_EQ(std::string(e.what()), Sjis("'' は整数ではありません"));
    }
}

TEST_F(NumText, RealConversionAccepts) {
    const std::vector<std::pair<std::string, long double>> cases = {
        {"0.225", 0.225L},
        {"  1.5  ", 1.5L},
        {"+1", 1},
        {"-0.5", -0.5L},
        {".", 0},
        {"5.", 5},
        {".5", 0.5L},
        {"-.5", -0.5L},
        {"1e3", 1000},
        {"1E3", 1000},
        {"1e+3", 1000},
        {"1e-3", 0.001L},
        {"1e", 1},
        {"1e+", 1},
        {"2.5E-1", 0.25L},
        {"1e499", 1e499L},
        {"1e0500", 1e500L},
        {"1e-4999", 0},
        {"0e4999", 0},
        {"0000000000000000000000001", 1},
        {"1e0000000000000000000001", 10},
        {"0.1", 0.1L},
        {"0.333333333333333333333333333333", kThird},
        {"18446744073709551617", 0x1p64L},  // halfway: ties to even
        {"18446744073709551617.000001", 0x1p64L + 2},
        {"1.0000000000000000000542101086242752217003726400434970855712890625", 1},
        {"1.0000000000000000000542101086242752217003726400434970855712890626", 1 + 0x1p-63L},
        {"1.18973149535723176502e4932", LDBL_MAX},
        {"3.6e-4951", LDBL_TRUE_MIN},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(StrToReal(text), expected) << "'" << text << "'";
    EXPECT_TRUE(std::signbit(StrToReal("-0")));
}

TEST_F(NumText, RealConversionRefusesWithTheWholeText) {
    const std::vector<std::string> cases = {
        "",       " ",      "\t1",    "1\t",     "1 2",  "--1",  "+-1",   "1,5",    "1,000.5", "e5",
        "1e5000", "1e4999", "-1e4999", "1e-5000", "1.1.1", "1e5.0", "abc",  "0x10",   "inf",     "nan",
        "1e+-3",  "1 e3",   "\xef\xbc\x91", "1\0"s, "\x82", "1e4933", "+",   "-",      "E",
    };
    for (const auto& text : cases) {
        try {
            StrToReal(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConvertError& e) {
            EXPECT_STREQ(e.what(), (Sjis("'") + text + Sjis("' は浮動小数点数ではありません")).c_str());
        }
    }
}

TEST_F(NumText, ConversionsSurviveHugeTexts) {
    const std::string ones(1 << 20, '1');
    try {
        StrToInt(ones);
        ADD_FAILURE();
    } catch (const ConvertError& e) {
        EXPECT_EQ(std::string(e.what()).size(), ones.size() + Sjis("'' は整数ではありません").size());
    }
    EXPECT_THROW(StrToReal(ones), ConvertError);  // far beyond the extended range
    EXPECT_EQ(StrToReal("0." + std::string(1 << 20, '3')), kThird);
    EXPECT_EQ(StrToReal("0." + std::string(1 << 20, '0') + "1"), 0);
    EXPECT_EQ(StrToReal(std::string(1 << 20, ' ') + "2"), 2);
    EXPECT_THROW(StrToReal(std::string(1 << 20, '\x82')), ConvertError);
}

TEST_F(NumText, CommaSeparator) {
    SetDecimalSeparator(',');
    EXPECT_EQ(GeneralText(0.5L), "0,5");
    EXPECT_EQ(GeneralText(std::ldexp(1.0L, -20)), "9,5367431640625E-7");
    EXPECT_EQ(FixedText(0.125L, 2, 2), "0,13");
    EXPECT_EQ(CoefToText(-0.125L), "-0,125000000000000000");
    EXPECT_EQ(StrToReal("0,5"), 0.5L);
    EXPECT_EQ(StrToReal(" -1,5e3 "), -1500);
    EXPECT_EQ(StrToReal(","), 0);
    EXPECT_THROW(StrToReal("0.5"), ConvertError);
    // Text files always get ".".
    EXPECT_EQ(FixedWidthText(0.225L, 8, 3), "   0.225");
    EXPECT_EQ(Sci23Text(0.5L), " 5.00000000000000E-0001");
}

TEST_F(NumText, FormsSurviveExtremes) {
    for (long double x : {LDBL_MAX, -LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN, kInf, -kInf, kNaN, 1e4000L}) {
        EXPECT_FALSE(GeneralText(x).empty());
        EXPECT_FALSE(FixedText(x, 18, 18).empty());
        EXPECT_FALSE(CoefToText(x).empty());
        EXPECT_FALSE(FixedWidthText(x, 20, 18).empty());
        EXPECT_FALSE(SciText(x, 23).empty());
    }
    EXPECT_EQ(FixedWidthText(LDBL_MAX, 0, 0).size(), 4933u);
    EXPECT_EQ(CoefToText(1e30L), " 1E30");
    EXPECT_EQ(FixedText(LDBL_TRUE_MIN, 18, 18), "0.000000000000000000");
}

// A handler checks the flags after its arithmetic; formatting and converting must leave no fault behind.
TEST_F(NumText, FormsAndConversionsRaiseNoArithmeticFault) {
    ClearFpFlags();
    for (long double x : {0.0L, -0.0L, kThird, LDBL_MAX, LDBL_TRUE_MIN, -1e-20L, 2.5L}) {
        GeneralText(x);
        FixedText(x, 18, 18);
        CoefToText(x);
        FixedWidthText(x, 20, 18);
        Sci23Text(x);
    }
    for (const char* text : {"0.225", "1e-4999", "3.6e-4951", "1.18973149535723176502e4932", "-0"}) StrToReal(text);
    StrToInt("-2147483648");
    RoundToInt64(2.5L);
    FloorToInt32(-2.5L);
    CeilToInt32(-2.5L);
    EXPECT_NO_THROW(CheckFpFlags());
}

}  // namespace
