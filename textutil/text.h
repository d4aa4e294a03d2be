#pragma once
// Syntax tests and splitting of byte texts (Shift-JIS, compared byte for byte).
// A blank is a space or a tab and nothing else.
#include <string>

bool IsDigitText(const std::string& text);
bool IsIntegerText(const std::string& text, bool unsignedOnly);
bool IsRealText(const std::string& text, bool unsignedOnly);
bool HasSubText(const std::string& part, const std::string& text);
std::string TextBefore(const std::string& text, const std::string& separator, bool trimLeft, bool trimRight);
std::string TextAfter(const std::string& text, const std::string& separator, bool trimLeft, bool trimRight);
std::string TrimLeftBlanks(const std::string& text);
std::string TrimRightBlanks(const std::string& text);
