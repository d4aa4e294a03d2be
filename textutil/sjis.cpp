#include "sjis.h"

#include <iconv.h>

#include <cerrno>

namespace {

bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Converts with iconv; an unconvertible or invalid character becomes the replacement text. From
// UTF-8 the whole character is skipped (its continuation bytes too), from CP932 one byte.
std::string Convert(const char* to, const char* from, const std::string& in, const std::string& replacement,
                    bool fromUtf8) {
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1)) return in;
    std::string out;
    char buf[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, size_t(dst - buf));
        if (r == size_t(-1) && errno != E2BIG) {
            out += replacement;
            do {
                ++src;
                --srcLeft;
            } while (fromUtf8 && srcLeft > 0 && IsUtf8Continuation(*src));
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string Sjis(const std::string& utf8) { return Convert("CP932", "UTF-8", utf8, "?", true); }

std::string SjisToUtf8(const std::string& sjis) { return Convert("UTF-8", "CP932", sjis, "\xEF\xBF\xBD", false); }
