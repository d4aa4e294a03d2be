// Cross-checks the number forms against an exact decimal expansion of the binary value.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "textutil/numtext.h"

namespace {

// value = 0.digits x 10^point; digits has no leading or trailing zeros; empty digits is zero.
struct Exact {
    std::string digits;
    int point = 0;
};

// Little-endian base 10^9 big integer, just enough to expand mantissa x 2^k or mantissa x 5^k.
using Big = std::vector<uint64_t>;
constexpr uint64_t kBase = 1000000000;

void MultiplySmall(Big& n, uint64_t factor) {
    uint64_t carry = 0;
    for (auto& limb : n) {
        uint64_t v = limb * factor + carry;
        limb = v % kBase;
        carry = v / kBase;
    }
    while (carry) {
        n.push_back(carry % kBase);
        carry /= kBase;
    }
}

std::string BigToString(const Big& n) {
    std::string s = std::to_string(n.back());
    for (size_t i = n.size() - 1; i-- > 0;) {
        std::string part = std::to_string(n[i]);
        s += std::string(9 - part.size(), '0') + part;
    }
    return s;
}

Exact Normalize(std::string digits, int point) {
    size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return {};
    point -= int(first);
    digits.erase(0, first);
    digits.erase(digits.find_last_not_of('0') + 1);
    return {digits, point};
}

Exact ExactOf(long double magnitude) {
    if (magnitude == 0) return {};
    int e2;
    long double f = std::frexp(magnitude, &e2);
    uint64_t m = uint64_t(std::ldexp(f, 64));
    int shift = e2 - 64;
    Big n = {m % kBase, (m / kBase) % kBase, m / kBase / kBase};
    while (n.size() > 1 && n.back() == 0) n.pop_back();
    if (shift >= 0) {
        for (int k = shift; k > 0; k -= 29) MultiplySmall(n, uint64_t(1) << std::min(k, 29));
        std::string s = BigToString(n);
        return Normalize(s, int(s.size()));
    }
    // m x 2^-k = m x 5^k / 10^k
    for (int k = -shift; k > 0; k -= 13) {
        uint64_t p = 1;
        for (int i = 0; i < std::min(k, 13); ++i) p *= 5;
        MultiplySmall(n, p);
    }
    std::string s = BigToString(n);
    return Normalize(s, int(s.size()) + shift);
}

// Rounds to a multiple of 10^place, half up or ties to even.
Exact RoundAt(const Exact& v, int place, bool tiesToEven) {
    int keep = v.point - place;
    if (keep >= int(v.digits.size())) return v;
    if (keep < 0) return {};
    std::string kept = v.digits.substr(0, size_t(keep));
    char first = v.digits[size_t(keep)];
    bool up;
    if (!tiesToEven) {
        up = first >= '5';
    } else {
        bool exactHalf = first == '5' && v.digits.find_first_not_of('0', size_t(keep) + 1) == std::string::npos;
        bool lastOdd = !kept.empty() && (kept.back() - '0') % 2 == 1;
        up = first > '5' || (first == '5' && (!exactHalf || lastOdd));
    }
    int point = v.point;
    if (up) {
        int i = int(kept.size()) - 1;
        while (i >= 0 && kept[size_t(i)] == '9') kept[size_t(i--)] = '0';
        if (i >= 0) {
            ++kept[size_t(i)];
        } else {
            kept.insert(kept.begin(), '1');
            ++point;
        }
    }
    return Normalize(kept, point);
}

Exact Intermediate18(long double magnitude) {
    Exact v = ExactOf(magnitude);
    return RoundAt(v, v.point - 18, true);
}

// The digits of v x 10^decimals (v must be a multiple of 10^-decimals), with the point put back.
std::string Render(const Exact& v, int decimals, char separator) {
    std::string n;
    if (!v.digits.empty() && v.point + decimals > 0) {
        n = v.digits;
        n.append(size_t(std::max(0, v.point + decimals - int(v.digits.size()))), '0');
    }
    std::string text(size_t(std::max(0, decimals + 1 - int(n.size()))), '0');
    text += n;
    if (decimals > 0) text.insert(text.end() - decimals, separator);
    return text;
}

std::string Prefixed(const char* prefix, const std::string& text) {
    std::string s = prefix;
    return s += text;
}

std::string Pad(const std::string& s, int width) {
    return int(s.size()) < width ? std::string(size_t(width) - s.size(), ' ') + s : s;
}

std::string RefGeneral(long double x, int p) {
    if (x == 0) return "0";
    Exact v = Intermediate18(std::fabs(x));
    v = RoundAt(v, v.point - p, false);
    std::string sign = x < 0 ? "-" : "";
    int e = v.point;
    if (e > p || e < -3) {
        std::string s = sign;
        s += v.digits[0];
        if (v.digits.size() > 1) s.append(".").append(v.digits, 1);
        return s.append("E").append(std::to_string(e - 1));
    }
    int decimals = std::max(0, int(v.digits.size()) - e);
    return Prefixed(sign.c_str(), Render(v, decimals, '.'));
}

std::string RefFixed(long double x, int p, int d) {
    p = std::clamp(p, 2, 18);
    d = std::clamp(d, 0, 18);
    const std::string zero = Render({}, d, '.');
    if (x == 0) return zero;
    Exact v = Intermediate18(std::fabs(x));
    if (v.point + d < 0) return zero;
    Exact r = RoundAt(v, std::max(-d, v.point - p), false);
    if (r.digits.empty()) return zero;
    if (r.point > p) return RefGeneral(x, p);
    return Prefixed(x < 0 ? "-" : "", Render(r, d, '.'));
}

std::string RefWidth(long double x, int w, int d) {
    long double m = std::fabs(x);
    Exact v = ExactOf(m);
    Exact inter = m < 10 ? RoundAt(v, -17, true) : RoundAt(v, v.point - 18, true);
    Exact r = RoundAt(inter, -d, false);
    return Pad(Prefixed(std::signbit(x) ? "-" : "", Render(r, d, '.')), w);
}

std::string RefSci(long double x, int w) {
    int n = std::clamp(w - 8, 2, 18);
    std::string digits(size_t(n), '0');
    int exponent = 0;
    if (x != 0) {
        Exact v = Intermediate18(std::fabs(x));
        Exact r = RoundAt(v, v.point - n, false);
        digits.replace(0, r.digits.size(), r.digits);
        exponent = r.point - 1;
    }
    std::string e = std::to_string(std::abs(exponent));
    std::string s = std::string(std::signbit(x) ? "-" : " ") + digits[0] + "." + digits.substr(1) + "E" +
                    (exponent < 0 ? "-" : "+") + std::string(4 - e.size(), '0') + e;
    return Pad(s, w);
}

void CheckAllForms(long double x, std::mt19937_64& rng) {
    int p = int(rng() % 20), d = int(rng() % 20), w = int(rng() % 31);
    ASSERT_EQ(GeneralText(x), RefGeneral(x, 15)) << double(x);
    ASSERT_EQ(CoefToText(x), Prefixed(std::signbit(x) && x != 0 ? "" : " ", RefFixed(x, 18, 18))) << double(x);
    ASSERT_EQ(FixedText(x, p, d), RefFixed(x, p, d)) << double(x) << " " << p << "," << d;
    ASSERT_EQ(FixedWidthText(x, 20, 18), RefWidth(x, 20, 18)) << double(x);
    ASSERT_EQ(FixedWidthText(x, w, d), RefWidth(x, w, d)) << double(x) << " " << w << "," << d;
    ASSERT_EQ(Sci23Text(x), RefSci(x, 23)) << double(x);
    ASSERT_EQ(SciText(x, w), RefSci(x, w)) << double(x) << " " << w;
}

// Mixes full 64-bit mantissas over many magnitudes with short binary fractions (exact decimal ties)
// and decimal-looking values near the cut positions.
long double RandomValue(std::mt19937_64& rng) {
    long double x;
    switch (rng() % 3) {
        case 0: {
            uint64_t m = rng() | (uint64_t(1) << 63);
            x = std::ldexp(static_cast<long double>(m), int(rng() % 481) - 240 - 64);
            break;
        }
        case 1:
            x = std::ldexp(static_cast<long double>(rng() % 10000000 + 1), -int(rng() % 31));
            break;
        default: {
            std::string text = std::to_string(rng() % 1000000000000000000ull) + "e-" + std::to_string(rng() % 40);
            x = std::strtold(text.c_str(), nullptr);
            break;
        }
    }
    return rng() % 2 ? -x : x;
}

TEST(NumTextExact, RandomValuesMatchTheExactExpansion) {
    SetDecimalSeparator('.');
    std::mt19937_64 rng(20240611);
    for (int i = 0; i < 100000; ++i) {
        CheckAllForms(RandomValue(rng), rng);
        if (HasFatalFailure()) return;
    }
}

TEST(NumTextExact, ExtremeValuesMatchTheExactExpansion) {
    SetDecimalSeparator('.');
    std::mt19937_64 rng(7);
    const long double values[] = {LDBL_MAX, LDBL_MIN, LDBL_TRUE_MIN, -LDBL_TRUE_MIN * 3, 1e-4000L, 1e4000L,
                                  0.0L,     -0.0L,    0.5L,          9.9999999999999999995L};
    for (long double x : values) {
        for (int k = 0; k < 5; ++k) CheckAllForms(x, rng);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
