#pragma once
// The programs' texts are Shift-JIS (CP932) bytes; literals are written in UTF-8.
#include <string>

// UTF-8 to CP932 bytes; characters without a CP932 form become '?'.
std::string Sjis(const std::string& utf8);
// CP932 bytes to UTF-8 for display; an invalid byte becomes U+FFFD.
std::string SjisToUtf8(const std::string& sjis);
