#pragma once
// Glyphs of the 12-pixel proportional Gothic face, rendered with FreeType through fontconfig.
#include <string>

#include "canvas.h"

namespace ui {

// Draws Shift-JIS text with its top-left cell corner at (x, y): black glyphs on an opaque
// white cell of the text's advance width and the face's 12-pixel height. Clipped to the bitmap.
void DrawText(Bitmap& bitmap, int x, int y, const std::string& sjis, bool bold = false);
// Advance width in pixels of Shift-JIS text.
int TextWidth(const std::string& sjis, bool bold = false);
// Path of the font file used (IPAPGothic where installed, else any fontconfig match).
std::string FontFile();

}  // namespace ui
