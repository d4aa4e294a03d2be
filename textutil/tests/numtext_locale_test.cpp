// Forms and conversions under a real decimal-comma C locale, and reading the user's separator.
#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <clocale>
#include <cstdlib>
#include <optional>
#include <string>

#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "ui/tempfolder.h"

namespace {

constexpr const char* kCommaLocale = "de_DE.UTF-8";

bool LocaleLoads(const char* name) {
    locale_t loc = newlocale(LC_ALL_MASK, name, locale_t(0));
    if (!loc) return false;
    freelocale(loc);
    return true;
}

// Sets an environment variable for the lifetime of the object.
class EnvScope {
public:
    EnvScope(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~EnvScope() {
        if (old_) setenv(name_.c_str(), old_->c_str(), 1);
        else unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

class DecimalCommaLocale : public ::testing::Test {
protected:
    // Uses the installed locale, or compiles one into a temporary folder named by LOCPATH.
    static void SetUpTestSuite() {
        if (LocaleLoads(kCommaLocale)) return;
        folder_.emplace(ui::TempFolder::kStayOutside);
        std::string command = "localedef -i de_DE -f UTF-8 " + folder_->Path(kCommaLocale) + " >/dev/null 2>&1";
        if (std::system(command.c_str()) == -1) return;
        setenv("LOCPATH", folder_->path().c_str(), 1);
    }
    static void TearDownTestSuite() {
        if (!folder_) return;
        unsetenv("LOCPATH");
        folder_.reset();
    }
    void SetUp() override {
        if (!LocaleLoads(kCommaLocale))
            GTEST_SKIP() << kCommaLocale << " is not installed and localedef could not build it";
        SetDecimalSeparator('.');
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        SetDecimalSeparator('.');
    }
    static inline std::optional<ui::TempFolder> folder_;
};

TEST_F(DecimalCommaLocale, FormsAndConversionsIgnoreTheCLocale) {
    ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr);
    ASSERT_STREQ(localeconv()->decimal_point, ",");
    EXPECT_EQ(GeneralText(1.0L / 3), "0.333333333333333");
    EXPECT_EQ(FixedText(0.125L, 2, 2), "0.13");
    EXPECT_EQ(CoefToText(2.0L / 3), " 0.666666666666666667");
    EXPECT_EQ(FixedWidthText(-0.0318L, 20, 18), "-0.031800000000000000");
    EXPECT_EQ(Sci23Text(-2.0L / 3), "-6.66666666666667E-0001");
    EXPECT_EQ(StrToReal(" 0.225 "), 0.225L);
    EXPECT_EQ(StrToReal("1.5e-3"), 0.0015L);
    EXPECT_THROW(StrToReal("0,5"), ConvertError);
    EXPECT_EQ(StrToInt(" -42"), -42);
}

TEST_F(DecimalCommaLocale, TheUsersSeparatorIsReadFromTheEnvironment) {
    EnvScope env("LC_ALL", kCommaLocale);
    // The order of the window start-up: the user's locale, then "C" numbers, then the separator.
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    InitDecimalSeparator();
    EXPECT_EQ(DecimalSeparator(), ',');
    EXPECT_EQ(GeneralText(0.5L), "0,5");
    EXPECT_EQ(CoefToText(0.5L), " 0,500000000000000000");
    EXPECT_EQ(StrToReal("0,5"), 0.5L);
    EXPECT_THROW(StrToReal("0.5"), ConvertError);
    EXPECT_EQ(FixedWidthText(0.225L, 8, 3), "   0.225");
    EXPECT_EQ(Sci23Text(0.5L), " 5.00000000000000E-0001");
    // The separator stays what it was at start-up, whatever the C locale becomes later.
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(DecimalSeparator(), ',');
}

TEST(DecimalSeparator, PointWhenTheLocaleHasOneOrCannotBeRead) {
    for (const char* name : {"C", "POSIX", "xx_NOWHERE.UTF-8"}) {
        SetDecimalSeparator(',');
        EnvScope env("LC_ALL", name);
        InitDecimalSeparator();
        EXPECT_EQ(DecimalSeparator(), '.') << name;
    }
    SetDecimalSeparator('.');
}

}  // namespace
