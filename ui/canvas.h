#pragma once
// An RGB bitmap and the canvas that draws on it. Everything is clipped to the bitmap.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

using Color = uint32_t;  // 0xRRGGBB
constexpr Color clBlack = 0x000000;
constexpr Color clWhite = 0xFFFFFF;
constexpr Color clRed = 0xFF0000;
constexpr Color clLime = 0x00FF00;
constexpr Color clBtnFace = 0xF0F0F0;
constexpr Color kNoPixel = 0xFFFFFFFFu;  // what Pixel gives outside the bitmap

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height, Color fill = clWhite);
    int width() const { return width_; }
    int height() const { return height_; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Color Pixel(int x, int y) const { return Contains(x, y) ? pixels_[size_t(y) * width_ + x] : kNoPixel; }
    void SetPixel(int x, int y, Color c) {
        if (Contains(x, y)) pixels_[size_t(y) * width_ + x] = c;
    }
    const std::vector<Color>& pixels() const { return pixels_; }
    bool operator==(const Bitmap&) const = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Color> pixels_;
};

// Draws on the bitmap that target() gives; target() creates it on first use.
class Canvas {
public:
    explicit Canvas(std::function<Bitmap&()> target) : target_(std::move(target)) {}
    Color penColor = clBlack;

    void MoveTo(int x, int y) { penX_ = x; penY_ = y; }
    // Draws from the pen position towards (x, y); the end point itself is not drawn.
    void LineTo(int x, int y);
    void SetPixel(int x, int y, Color c) { target_().SetPixel(x, y, c); }
    Color Pixel(int x, int y) { return target_().Pixel(x, y); }
    // Fills with the white brush; right and bottom edges excluded.
    void FillRect(int left, int top, int right, int bottom);
    // Black text on an opaque white background, top-left at (x, y); text is Shift-JIS.
    void TextOut(int x, int y, const std::string& text);
    int penX() const { return penX_; }
    int penY() const { return penY_; }

private:
    std::function<Bitmap&()> target_;
    int penX_ = 0;
    int penY_ = 0;
};

}  // namespace ui
