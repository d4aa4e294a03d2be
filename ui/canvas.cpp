#include "canvas.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include "font.h"

namespace ui {

Bitmap::Bitmap(int width, int height, Color fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), pixels_(size_t(width_) * height_, fill) {}

namespace {

// Minor-axis offset of pixel i on a Bresenham line: i * minor / major, halves rounded down.
template <class Wide>
int64_t MinorOffsetIn(int64_t i, int64_t minor, int64_t major) {
    Wide num = Wide(2) * minor * i - major;
    if (num <= 0) return 0;
    return int64_t((num + Wide(2) * major - 1) / (Wide(2) * major));
}

// 64 bits hold 2 * minor * i while the line is shorter than 2^31; beyond that i and minor reach
// 2^32 and the product needs 128 bits.
int64_t MinorOffset(int64_t i, int64_t minor, int64_t major) {
    if (major <= INT32_MAX) return MinorOffsetIn<int64_t>(i, minor, major);
    return MinorOffsetIn<__int128>(i, minor, major);
}

}  // namespace

void Canvas::LineTo(int x, int y) {
    Bitmap& bmp = target_();
    // Bresenham from the pen position, the end point left out; only the steps whose major
    // coordinate lies on the bitmap are visited, so far-away lines cost nothing.
    int64_t x0 = penX_, y0 = penY_;
    int64_t dx = std::llabs(int64_t(x) - x0), dy = std::llabs(int64_t(y) - y0);
    int64_t sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    bool xMajor = dx >= dy;
    int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int64_t start = xMajor ? x0 : y0, step = xMajor ? sx : sy;
    int64_t limit = xMajor ? bmp.width() : bmp.height();
    // Steps i in [0, major) whose major coordinate start + step * i lies in [0, limit).
    int64_t lo = 0, hi = major - 1;
    if (step > 0) {
        lo = std::max<int64_t>(lo, -start);
        hi = std::min<int64_t>(hi, limit - 1 - start);
    } else {
        lo = std::max<int64_t>(lo, start - (limit - 1));
        hi = std::min<int64_t>(hi, start);
    }
    for (int64_t i = lo; i <= hi; ++i) {
        int64_t m = MinorOffset(i, minor, major);
        int64_t px = xMajor ? x0 + sx * i : x0 + sx * m;
        int64_t py = xMajor ? y0 + sy * m : y0 + sy * i;
        if (px >= 0 && py >= 0 && px < bmp.width() && py < bmp.height()) bmp.SetPixel(int(px), int(py), penColor);
    }
    penX_ = x;
    penY_ = y;
}

void Canvas::FillRect(int left, int top, int right, int bottom) {
    Bitmap& bmp = target_();
    int l = std::max(left, 0), t = std::max(top, 0);
    int r = std::min(right, bmp.width()), b = std::min(bottom, bmp.height());
    for (int yy = t; yy < b; ++yy)
        for (int xx = l; xx < r; ++xx) bmp.SetPixel(xx, yy, clWhite);
}

void Canvas::TextOut(int x, int y, const std::string& text) { DrawText(target_(), x, y, text); }

}  // namespace ui
