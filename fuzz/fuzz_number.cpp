// The number-text test and the real conversion against their rules written out plainly.
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#include "ripple/isnumbertext.h"
#include "scratch.h"
#include "textutil/errors.h"
#include "textutil/numtext.h"
#include "textutil/text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t SkipBlanks(const std::string& t, size_t i) {
    while (i < t.size() && IsBlank(t[i])) ++i;
    return i;
}
size_t SkipDigits(const std::string& t, size_t i) {
    while (i < t.size() && IsDigit(t[i])) ++i;
    return i;
}

// blanks, "+"?, "-"?, digits ("." digits)?, blanks, and optionally: "e" or "E", blanks, "+"?, "-"?,
// digits, blanks.
bool ExpectedIsNumber(const std::string& t) {
    size_t i = SkipBlanks(t, 0);
    if (i < t.size() && t[i] == '+') ++i;
    if (i < t.size() && t[i] == '-') ++i;
    size_t end = SkipDigits(t, i);
    if (end == i) return false;
    i = end;
    if (i < t.size() && t[i] == '.') {
        end = SkipDigits(t, i + 1);
        if (end == i + 1) return false;
        i = end;
    }
    i = SkipBlanks(t, i);
    if (i == t.size()) return true;
    if (t[i] != 'e' && t[i] != 'E') return false;
    i = SkipBlanks(t, i + 1);
    if (i < t.size() && t[i] == '+') ++i;
    if (i < t.size() && t[i] == '-') ++i;
    end = SkipDigits(t, i);
    if (end == i) return false;
    return SkipBlanks(t, end) == t.size();
}

// spaces, one sign, digits with at most one ".", at least one digit or the point, optionally an
// exponent letter with one sign and digits (read while below 500), spaces; and a finite value.
bool ExpectedConverts(const std::string& t, long double* value) {
    size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    const size_t start = i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    size_t end = SkipDigits(t, i);
    bool any = end > i;
    i = end;
    if (i < t.size() && t[i] == '.') {
        any = true;
        i = SkipDigits(t, i + 1);
    }
    if (!any) return false;
    std::string number = t.substr(start, i - start);
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        const bool negative = i < t.size() && t[i] == '-';
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        int exponent = 0;
        while (i < t.size() && IsDigit(t[i]) && exponent < 500) exponent = exponent * 10 + (t[i++] - '0');
        number += (negative ? "e-" : "e") + std::to_string(exponent);
    }
    while (i < t.size() && t[i] == ' ') ++i;
    if (i != t.size()) return false;
    if (number == "." || number == "+." || number == "-.") number.insert(number.size() - 1, "0");
    errno = 0;
    *value = std::strtold(number.c_str(), nullptr);
    return std::isfinite(*value);
}

// Few enough digits and a small exponent: the nearest extended value is required.
bool ValueIsFixed(const std::string& t) {
    int digits = 0;
    for (char c : t) {
        if (c == 'e' || c == 'E') return false;
        if (IsDigit(c)) ++digits;
    }
    return digits <= 18;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::setlocale(LC_ALL, "C");
    SetDecimalSeparator('.');
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(IsNumberText(text) == ExpectedIsNumber(text));

    long double expected = 0;
    const bool converts = ExpectedConverts(text, &expected);
    bool converted = false;
    long double value = 0;
    try {
        value = StrToReal(text);
        converted = true;
    } catch (const ConvertError&) {
    }
    FUZZ_CHECK(converted == converts);
    if (converted && ValueIsFixed(text)) FUZZ_CHECK(value == expected);

    // Every text that the real-text test accepts is a number text and converts.
    if (IsRealText(text, false)) FUZZ_CHECK(IsNumberText(text) && converted);
    return 0;
}
