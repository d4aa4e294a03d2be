#include "numtext.h"

#include <langinfo.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "errors.h"
#include "sjis.h"

namespace {

char g_separator = '.';

// A locale object for "C", so that printing and parsing never see the user's locale.
locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

// Switches this thread to the "C" locale for the lifetime of the object.
class CLocaleScope {
public:
    CLocaleScope() : old_(CLocale() ? uselocale(CLocale()) : locale_t(0)) {}
    ~CLocaleScope() {
        if (old_) uselocale(old_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t old_;
};

// A decimal digit string: value = 0.digits x 10^exp, so exp is the number of digits before the point.
struct Decimal {
    std::string digits;
    int exp = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The magnitude rounded to 18 significant digits, ties to even, from the exact binary value.
Decimal Significant18(long double magnitude) {
    char buf[64];
    {
        CLocaleScope scope;
        std::snprintf(buf, sizeof buf, "%.17Le", magnitude);
    }
    Decimal d;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (IsDigit(*p)) d.digits += *p;
    d.exp = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;
    return d;
}

// A magnitude below 10 rounded to 17 digits after the point, ties to even.
Decimal Decimals17(long double magnitude) {
    char buf[64];
    {
        CLocaleScope scope;
        std::snprintf(buf, sizeof buf, "%.17Lf", magnitude);
    }
    Decimal d;
    bool beforePoint = true;
    for (const char* p = buf; *p; ++p) {
        if (IsDigit(*p)) {
            d.digits += *p;
            if (beforePoint) ++d.exp;
        } else {
            beforePoint = false;
        }
    }
    return d;
}

// Keeps the first `keep` digits, rounding half up on the first dropped digit; a carry out of the
// first digit adds a digit in front (the exponent grows, the digit count stays).
Decimal CutHalfUp(Decimal d, int keep) {
    if (keep < 0) return Decimal{std::string(), d.exp};
    if (keep >= int(d.digits.size())) {
        d.digits.append(size_t(keep) - d.digits.size(), '0');
        return d;
    }
    bool up = d.digits[size_t(keep)] >= '5';
    d.digits.resize(size_t(keep));
    if (!up) return d;
    int i = keep - 1;
    for (; i >= 0 && d.digits[size_t(i)] == '9'; --i) d.digits[size_t(i)] = '0';
    if (i >= 0) {
        ++d.digits[size_t(i)];
    } else {
        d.digits.insert(d.digits.begin(), '1');
        if (keep > 0) d.digits.pop_back();
        ++d.exp;
    }
    return d;
}

bool AllZero(const std::string& digits) { return digits.find_first_not_of('0') == std::string::npos; }

// The digit with place value 10^place, "0" outside the digit string.
char DigitAt(const Decimal& d, int place) {
    long k = long(d.exp) - 1 - place;
    return k >= 0 && k < long(d.digits.size()) ? d.digits[size_t(k)] : '0';
}

// The sign, the integer digits without leading zeros ("0" below 1), then the separator and
// exactly `decimals` digits.
std::string PlainDigits(bool negative, const Decimal& d, int decimals, char separator) {
    std::string text;
    if (negative) text += '-';
    const size_t start = text.size();
    for (int place = d.exp - 1; place >= 0; --place) {
        char c = DigitAt(d, place);
        if (c != '0' || text.size() > start) text += c;
    }
    if (text.size() == start) text += '0';
    if (decimals > 0) {
        text += separator;
        for (int j = 1; j <= decimals; ++j) text += DigitAt(d, -j);
    }
    return text;
}

std::string PadLeft(std::string text, int width) {
    if (width > int(text.size())) text.insert(0, size_t(width) - text.size(), ' ');
    return text;
}

std::string NonFiniteText(long double x) {
    if (std::isnan(x)) return "NAN";
    return std::signbit(x) ? "-INF" : "INF";
}

std::string ZeroText(int decimals, char separator) {
    std::string text = "0";
    if (decimals > 0) text += separator + std::string(size_t(decimals), '0');
    return text;
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

[[noreturn]] void ThrowInvalidOperation() { throw ArithError(Sjis("不正な浮動小数点数演算命令")); }

[[noreturn]] void ThrowNotInteger(const std::string& text) {
    throw ConvertError(Sjis("'") + text + Sjis("' は整数ではありません"));
}

[[noreturn]] void ThrowNotReal(const std::string& text) {
    throw ConvertError(Sjis("'") + text + Sjis("' は浮動小数点数ではありません"));
}

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Length of the hex prefix ("$", "x", "X", "0x", "0X") at position i, or 0.
size_t HexPrefixLength(const std::string& text, size_t i) {
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) return 1;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) return 2;
    return 0;
}

}  // namespace

void InitDecimalSeparator() {
    g_separator = '.';
    locale_t user = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
    if (!user) return;
    const char* radix = nl_langinfo_l(RADIXCHAR, user);
    // Only a one-byte separator other than a digit, sign or exponent letter can be applied.
    if (radix && std::strlen(radix) == 1 && !IsDigit(radix[0]) && !std::strchr("+-eE ", radix[0]))
        g_separator = radix[0];
    freelocale(user);
}

void SetDecimalSeparator(char separator) { g_separator = separator; }

char DecimalSeparator() { return g_separator; }

std::string GeneralText(long double x) { return GeneralText(x, 15); }

std::string GeneralText(long double x, int precision) {
    if (!std::isfinite(x)) return NonFiniteText(x);
    if (x == 0) return "0";
    precision = Clamp(precision, 1, 18);
    Decimal d = CutHalfUp(Significant18(std::fabs(x)), precision);
    size_t last = d.digits.find_last_not_of('0');
    d.digits.resize(last + 1);
    const int e = d.exp;
    if (e > precision || e < -3) {
        std::string text = std::signbit(x) ? "-" : "";
        text += d.digits[0];
        if (d.digits.size() > 1) {
            text += g_separator;
            text.append(d.digits, 1);
        }
        text += 'E';
        if (e - 1 < 0) text += '-';
        text += std::to_string(std::abs(e - 1));
        return text;
    }
    int decimals = int(d.digits.size()) - e;
    return PlainDigits(std::signbit(x), d, decimals > 0 ? decimals : 0, g_separator);
}

std::string FixedText(long double x, int precision, int decimals) {
    if (!std::isfinite(x)) return NonFiniteText(x);
    precision = Clamp(precision, 2, 18);
    decimals = Clamp(decimals, 0, 18);
    if (x == 0) return ZeroText(decimals, g_separator);
    Decimal d = Significant18(std::fabs(x));
    int shown = d.exp + decimals;
    if (shown < 0) return ZeroText(decimals, g_separator);
    d = CutHalfUp(d, shown < precision ? shown : precision);
    if (AllZero(d.digits)) return ZeroText(decimals, g_separator);
    if (d.exp > precision) return GeneralText(x, precision);
    return PlainDigits(std::signbit(x), d, decimals, g_separator);
}

std::string FixedWidthText(long double x, int width, int decimals) {
    if (!std::isfinite(x)) return PadLeft(NonFiniteText(x), width);
    decimals = Clamp(decimals, 0, 64);
    long double magnitude = std::fabs(x);
    Decimal d = magnitude < 10 ? Decimals17(magnitude) : Significant18(magnitude);
    d = CutHalfUp(d, d.exp + decimals);
    return PadLeft(PlainDigits(std::signbit(x), d, decimals, '.'), width);
}

std::string SciText(long double x, int width) {
    if (!std::isfinite(x)) return PadLeft(NonFiniteText(x), width);
    const int n = Clamp(width - 8, 2, 18);
    Decimal d{std::string(size_t(n), '0'), 1};
    if (x != 0) d = CutHalfUp(Significant18(std::fabs(x)), n);
    const int exponent = d.exp - 1;
    char tail[16];
    std::snprintf(tail, sizeof tail, "E%c%04d", exponent < 0 ? '-' : '+', std::abs(exponent));
    std::string text(1, std::signbit(x) ? '-' : ' ');
    text += d.digits[0];
    text += '.';
    text += d.digits.substr(1);
    text += tail;
    return PadLeft(text, width);
}

std::string Sci23Text(long double x) { return SciText(x, 23); }

std::string IntText(long long value, int width) { return PadLeft(std::to_string(value), width); }

std::string CoefToText(long double x) {
    bool nonNegative = !std::isnan(x) && !std::signbit(x);
    if (x == 0) nonNegative = true;
    std::string text = nonNegative ? " " : "";
    return text += FixedText(x, 18, 18);
}

int64_t RoundToInt64(long double x) {
    if (std::isnan(x)) ThrowInvalidOperation();
    long double r = roundevenl(x);
    // -2^63 and 2^63 are exact in extended precision; the range is [-2^63, 2^63).
    if (!(r >= -0x1p63L && r < 0x1p63L)) ThrowInvalidOperation();
    return int64_t(r);
}

int32_t FloorToInt32(long double x) {
    if (std::isnan(x)) ThrowInvalidOperation();
    long double r = floorl(x);
    if (!(r >= -2147483648.0L && r <= 2147483647.0L)) ThrowInvalidOperation();
    return int32_t(r);
}

int32_t CeilToInt32(long double x) {
    if (std::isnan(x)) ThrowInvalidOperation();
    long double r = ceill(x);
    if (!(r >= -2147483648.0L && r <= 2147483647.0L)) ThrowInvalidOperation();
    return int32_t(r);
}

int32_t StrToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (size_t prefix = HexPrefixLength(text, i)) {
        i += prefix;
        if (i == text.size()) ThrowNotInteger(text);
        uint64_t value = 0;
        for (; i < text.size(); ++i) {
            int h = HexValue(text[i]);
            if (h < 0) ThrowNotInteger(text);
            value = value * 16 + uint64_t(h);
            if (value > 0xFFFFFFFFull) ThrowNotInteger(text);
        }
        uint32_t bits = uint32_t(value);
        if (negative) bits = 0u - bits;
        return int32_t(bits);
    }
    if (i == text.size()) ThrowNotInteger(text);
    const int64_t limit = negative ? 2147483648LL : 2147483647LL;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) ThrowNotInteger(text);
        value = value * 10 + (text[i] - '0');
        if (value > limit) ThrowNotInteger(text);
    }
    return int32_t(negative ? -value : value);
}

long double StrToReal(const std::string& text) {
    const char sep = g_separator;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    // The number is rebuilt in C syntax and handed to a correctly rounding conversion.
    std::string number;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) number += text[i++];
    size_t mantissaStart = i;
    std::string digits;
    while (i < text.size() && IsDigit(text[i])) digits += text[i++];
    digits += '.';
    if (i < text.size() && text[i] == sep) {
        ++i;
        while (i < text.size() && IsDigit(text[i])) digits += text[i++];
    }
    if (i == mantissaStart) ThrowNotReal(text);
    number += digits.size() == 1 ? std::string("0") : digits;
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        int exponent = 0;
        while (i < text.size() && IsDigit(text[i]) && exponent < 500) exponent = exponent * 10 + (text[i++] - '0');
        number += (negativeExponent ? "e-" : "e") + std::to_string(exponent);
    }
    while (i < text.size() && text[i] == ' ') ++i;
    if (i != text.size()) ThrowNotReal(text);
    long double value = CLocale() ? strtold_l(number.c_str(), nullptr, CLocale()) : std::strtold(number.c_str(), nullptr);
    if (std::isinf(value)) ThrowNotReal(text);
    return value;
}
