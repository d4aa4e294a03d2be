#include "text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Position of the first byte equal to a one-byte separator, or npos.
size_t FindSeparator(const std::string& text, const std::string& separator) {
    if (separator.size() != 1) return std::string::npos;
    return text.find(separator[0]);
}

std::string Trim(std::string s, bool left, bool right) {
    if (left) s = TrimLeftBlanks(s);
    if (right) s = TrimRightBlanks(s);
    return s;
}

}  // namespace

bool IsDigitText(const std::string& text) { return text.size() == 1 && IsDigit(text[0]); }

bool IsIntegerText(const std::string& text, bool unsignedOnly) {
    size_t i = (!unsignedOnly && !text.empty() && text[0] == '-') ? 1 : 0;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i)
        if (!IsDigit(text[i])) return false;
    return true;
}

bool IsRealText(const std::string& text, bool unsignedOnly) {
    size_t start = (!unsignedOnly && !text.empty() && text[0] == '-') ? 1 : 0;
    if (start == text.size()) return false;
    int points = 0;
    for (size_t i = start; i < text.size(); ++i) {
        if (text[i] == '.')
            ++points;
        else if (!IsDigit(text[i]))
            return false;
    }
    return points <= 1 && text[start] != '.' && text.back() != '.';
}

bool HasSubText(const std::string& part, const std::string& text) {
    return part.size() <= text.size() && text.find(part) != std::string::npos;
}

std::string TextBefore(const std::string& text, const std::string& separator, bool trimLeft, bool trimRight) {
    size_t p = FindSeparator(text, separator);
    std::string result = p == std::string::npos ? std::string() : text.substr(0, p);
    return Trim(result, trimLeft, trimRight);
}

std::string TextAfter(const std::string& text, const std::string& separator, bool trimLeft, bool trimRight) {
    size_t p = FindSeparator(text, separator);
    // Without the separator the scan position stays on the first byte, which is dropped.
    if (p == std::string::npos) p = 0;
    std::string result = p + 1 <= text.size() ? text.substr(p + 1) : std::string();
    return Trim(result, trimLeft, trimRight);
}

std::string TrimLeftBlanks(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    return text.substr(i);
}

std::string TrimRightBlanks(const std::string& text) {
    size_t n = text.size();
    while (n > 0 && IsBlank(text[n - 1])) --n;
    return text.substr(0, n);
}
