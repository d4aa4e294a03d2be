#include "isnumbertext.h"

#include "textutil/text.h"

namespace {

// Removes one leading byte when it is c.
std::string DropLeading(const std::string& text, char c) {
    return !text.empty() && text[0] == c ? text.substr(1) : text;
}

bool IsMantissaText(const std::string& mantissa) {
    if (mantissa.empty()) return false;
    int points = 0;
    for (char c : mantissa) {
        if (c == '.')
            ++points;
        else if (!IsDigitText(std::string(1, c)))
            return false;
    }
    return points <= 1 && mantissa.front() != '.' && mantissa.back() != '.';
}

}  // namespace

bool IsNumberText(const std::string& text) {
    bool verdict = true;
    std::string mantissa;
    if (HasSubText("e", text) || HasSubText("E", text)) {
        // With both letters present the split at "E" is the one that counts.
        const std::string letter = HasSubText("E", text) ? "E" : "e";
        mantissa = TextBefore(text, letter, true, true);
        std::string exponent = DropLeading(TextAfter(text, letter, true, true), '+');
        verdict = IsIntegerText(exponent, false);
    } else {
        mantissa = TrimLeftBlanks(TrimRightBlanks(text));
    }
    // "+" then "-": two separate removals, so "+-1" passes and "-+1" does not.
    mantissa = DropLeading(DropLeading(mantissa, '+'), '-');
    return verdict && IsMantissaText(mantissa);
}
