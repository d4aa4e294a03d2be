#include "bmp.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "../textutil/errors.h"
#include "../textutil/textfile.h"

namespace ui {

namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi
constexpr int64_t kMaxSide = 1 << 16;      // larger sides are refused when reading

uint32_t RowBytes(int width) { return (uint32_t(width) * 3 + 3) & ~3u; }

void Put16(std::string& out, uint16_t v) {
    out += char(v & 0xFF);
    out += char(v >> 8);
}

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += char((v >> (8 * i)) & 0xFF);
}

uint32_t Get16(const std::string& in, size_t at) {
    return uint32_t(uint8_t(in[at])) | uint32_t(uint8_t(in[at + 1])) << 8;
}

uint32_t Get32(const std::string& in, size_t at) { return Get16(in, at) | Get16(in, at + 2) << 16; }

[[noreturn]] void Fail(int code) { throw FileError(code, FileErrorMessage(code)); }

std::string Headers(const Bitmap& bitmap) {
    uint32_t imageSize = RowBytes(bitmap.width()) * uint32_t(bitmap.height());
    std::string out;
    Put16(out, 0x4D42);                       // bfType "BM"
    Put32(out, kPixelOffset + imageSize);     // bfSize
    Put16(out, 0);                            // bfReserved1
    Put16(out, 0);                            // bfReserved2
    Put32(out, kPixelOffset);                 // bfOffBits
    Put32(out, kInfoHeaderSize);              // biSize
    Put32(out, uint32_t(bitmap.width()));     // biWidth
    Put32(out, uint32_t(bitmap.height()));    // biHeight (positive: bottom-up rows)
    Put16(out, 1);                            // biPlanes
    Put16(out, 24);                           // biBitCount
    Put32(out, 0);                            // biCompression = BI_RGB
    Put32(out, imageSize);                    // biSizeImage
    Put32(out, uint32_t(kPixelsPerMetre));    // biXPelsPerMeter
    Put32(out, uint32_t(kPixelsPerMetre));    // biYPelsPerMeter
    Put32(out, 0);                            // biClrUsed
    Put32(out, 0);                            // biClrImportant
    return out;
}

// One row as blue, green, red triples padded with zeros to four bytes.
std::string Row(const Bitmap& bitmap, int y) {
    std::string out;
    out.reserve(RowBytes(bitmap.width()));
    for (int x = 0; x < bitmap.width(); ++x) {
        Color c = bitmap.Pixel(x, y);
        out += char(c & 0xFF);
        out += char((c >> 8) & 0xFF);
        out += char((c >> 16) & 0xFF);
    }
    out.resize(RowBytes(bitmap.width()), '\0');
    return out;
}

std::string ReadAll(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw FileErrorFromErrno(errno);
    std::string data;
    char buf[65536];
    for (;;) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0) {
            int err = errno;
            close(fd);
            throw FileErrorFromErrno(err);
        }
        if (n == 0) break;
        data.append(buf, size_t(n));
    }
    close(fd);
    return data;
}

}  // namespace

void SaveBmp(const Bitmap& bitmap, const std::string& path) {
    TextWriter file(path);
    file.Write(Headers(bitmap));
    for (int y = bitmap.height() - 1; y >= 0; --y) file.Write(Row(bitmap, y));
    file.Close();
}

Bitmap LoadBmp(const std::string& path) {
    std::string data = ReadAll(path);
    // A file that is not an uncompressed 24-bit bitmap reads as an I/O error (invalid data).
    constexpr int kBadData = 13;
    if (data.size() < kPixelOffset || Get16(data, 0) != 0x4D42) Fail(kBadData);
    uint32_t offset = Get32(data, 10);
    uint32_t infoSize = Get32(data, 14);
    int64_t width = int32_t(Get32(data, 18));
    int64_t height = int32_t(Get32(data, 22));
    bool topDown = height < 0;
    height = std::llabs(height);
    if (infoSize < kInfoHeaderSize || Get16(data, 26) != 1 || Get16(data, 28) != 24 || Get32(data, 30) != 0 ||
        width < 0 || width > kMaxSide || height > kMaxSide)
        Fail(kBadData);
    uint64_t rowBytes = RowBytes(int(width));
    if (uint64_t(offset) + rowBytes * uint64_t(height) > data.size()) Fail(kBadData);
    Bitmap bitmap{int(width), int(height)};
    for (int64_t row = 0; row < height; ++row) {
        int64_t y = topDown ? row : height - 1 - row;
        size_t at = size_t(offset + rowBytes * uint64_t(row));
        for (int64_t x = 0; x < width; ++x, at += 3) {
            Color c = Color(uint8_t(data[at])) | Color(uint8_t(data[at + 1])) << 8 | Color(uint8_t(data[at + 2])) << 16;
            bitmap.SetPixel(int(x), int(y), c);
        }
    }
    return bitmap;
}

}  // namespace ui
