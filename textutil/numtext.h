#pragma once
// Number forms (value to text) and conversions (text to value), all in 80-bit long double.
// Forms never go through double; digits come from the exact binary value.
#include <cstdint>
#include <string>

// The decimal separator of the user's regional settings, read once at start-up ("." if unreadable).
// The general form, the fixed form of precision p and the real conversion use it.
void InitDecimalSeparator();
void SetDecimalSeparator(char separator);  // for tests
char DecimalSeparator();

// General form: 15 significant digits, no trailing zeros, exponent form beyond 1e15 and below 1e-4.
std::string GeneralText(long double x);
// General form with p significant digits (used by the fixed form of precision p for large values).
std::string GeneralText(long double x, int precision);
// Fixed form of precision p with d decimals (windows, panes, CoefToText, plot labels).
std::string FixedText(long double x, int precision, int decimals);
// Fixed form of width w with d decimals (text files): "." always, "-" kept for negative zero.
std::string FixedWidthText(long double x, int width, int decimals);
// Scientific form of width w (text files): sign column, d.ddd, "E", sign, four exponent digits.
std::string SciText(long double x, int width);
// The 23-character scientific form: 15 significant digits.
std::string Sci23Text(long double x);
// Integer text, right-aligned in width when width > 0.
std::string IntText(long long value, int width = 0);
// Coefficient text: a blank then the fixed form of precision 18 with 18 decimals for x >= 0 (or -0),
// the fixed form alone for a negative x.
std::string CoefToText(long double x);

// Nearest integer, ties to even; outside the 64-bit range it throws ArithError (invalid operation).
int64_t RoundToInt64(long double x);
// Largest integer not above x, as a 32-bit integer; out of range throws ArithError.
int32_t FloorToInt32(long double x);
// Smallest integer not below x, as a 32-bit integer; out of range throws ArithError.
int32_t CeilToInt32(long double x);

// Integer conversion to 32 bits (decimal, or hex with "$", "x", "X", "0x", "0X");
// throws ConvertError "'%s' は整数ではありません".
int32_t StrToInt(const std::string& text);
// Real conversion to 80 bits, using the decimal separator; throws ConvertError "'%s' は浮動小数点数ではありません".
long double StrToReal(const std::string& text);
