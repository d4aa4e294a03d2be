#pragma once
// 24-bit Windows bitmap files.
#include <string>

#include "canvas.h"

namespace ui {

// Writes the bitmap as a bottom-up 24-bit .bmp, replacing the file; FileError on failure.
void SaveBmp(const Bitmap& bitmap, const std::string& path);
// Reads a 24-bit .bmp written by SaveBmp (or any uncompressed 24-bit one); FileError on failure.
Bitmap LoadBmp(const std::string& path);

}  // namespace ui
