#pragma once
// Whether a text is a decimal number with optional exponent, sign and surrounding blanks.
#include <string>

bool IsNumberText(const std::string& text);
