#include "font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cstdint>
#include <vector>

#include "../textutil/sjis.h"

namespace ui {

namespace {

constexpr int kPixelHeight = 12;
constexpr FT_Pos kBoldStrength = 64;  // one pixel in 26.6, added to the width only

// The one face of the process, opened on first use and kept for the program's life.
struct Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string file;
    int ascent = 0;  // baseline row below the cell's top
};

std::string MatchFontFile(int& index) {
    std::string file;
    if (!FcInit()) return file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("IPAPGothic"));
    if (!pattern) return file;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    // The best match is IPAPGothic where installed, otherwise the nearest installed font.
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            file = reinterpret_cast<const char*>(path);
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

Face OpenFace() {
    Face f;
    int index = 0;
    f.file = MatchFontFile(index);
    if (f.file.empty() || FT_Init_FreeType(&f.library) != 0) return f;
    if (FT_New_Face(f.library, f.file.c_str(), index, &f.face) != 0 ||
        FT_Set_Pixel_Sizes(f.face, 0, kPixelHeight) != 0) {
        if (f.face) FT_Done_Face(f.face);
        f.face = nullptr;
        return f;
    }
    // Whole pixels of the design ascent, so that ascenders and descenders stay in the 12-row cell.
    if (f.face->units_per_EM > 0)
        f.ascent = int(int64_t(f.face->ascender) * kPixelHeight / f.face->units_per_EM);
    else
        f.ascent = int(f.face->size->metrics.ascender >> 6);
    f.ascent = std::clamp(f.ascent, 0, kPixelHeight);
    return f;
}

const Face& TheFace() {
    static const Face face = OpenFace();
    return face;
}

// UTF-8 to code points; a malformed sequence gives U+FFFD for its first byte.
std::vector<char32_t> CodePoints(const std::string& utf8) {
    std::vector<char32_t> out;
    size_t i = 0;
    while (i < utf8.size()) {
        unsigned char b = static_cast<unsigned char>(utf8[i]);
        int extra = b < 0x80 ? 0 : (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        bool ok = extra >= 0 && i + size_t(extra) < utf8.size();
        for (int k = 1; ok && k <= extra; ++k) {
            unsigned char c = static_cast<unsigned char>(utf8[i + size_t(k)]);
            if ((c & 0xC0) != 0x80) ok = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += size_t(extra) + 1;
    }
    return out;
}

// Half-width characters of the stand-in face are a third wider than those of the face the
// layouts were made for (about 6 pixels a digit); they are condensed to that width.
bool IsHalfWidth(char32_t cp) { return cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F); }

// Loads the hinted outline of one character (emboldened sideways when bold); false when it fails.
bool LoadGlyph(FT_Face face, char32_t cp, bool bold) {
    FT_Matrix condense = {0xC000, 0, 0, 0x10000};  // x scaled by 0.75
    FT_Set_Transform(face, IsHalfWidth(cp) ? &condense : nullptr, nullptr);
    FT_UInt glyph = FT_Get_Char_Index(face, cp);
    if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_MONO) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_Outline_EmboldenXY(&slot->outline, kBoldStrength, 0);
        slot->advance.x += kBoldStrength;
    }
    return true;
}

int Advance(FT_Face face) { return int((face->glyph->advance.x + 32) >> 6); }

void FillCell(Bitmap& bitmap, int64_t x, int64_t y, int64_t width) {
    int64_t l = std::max<int64_t>(x, 0), t = std::max<int64_t>(y, 0);
    int64_t r = std::min<int64_t>(x + width, bitmap.width()), b = std::min<int64_t>(y + kPixelHeight, bitmap.height());
    for (int64_t row = t; row < b; ++row)
        for (int64_t col = l; col < r; ++col) bitmap.SetPixel(int(col), int(row), clWhite);
}

// Copies the rendered monochrome glyph with its origin at (penX, baseline), clipped.
void BlitGlyph(Bitmap& bitmap, const FT_Bitmap& glyph, int64_t left, int64_t top) {
    if (glyph.pixel_mode != FT_PIXEL_MODE_MONO) return;
    for (unsigned row = 0; row < glyph.rows; ++row) {
        int64_t py = top + row;
        if (py < 0 || py >= bitmap.height()) continue;
        const unsigned char* bits = glyph.buffer + int64_t(row) * glyph.pitch;
        for (unsigned col = 0; col < glyph.width; ++col) {
            int64_t px = left + col;
            if (px < 0 || px >= bitmap.width()) continue;
            if (bits[col >> 3] & (0x80 >> (col & 7))) bitmap.SetPixel(int(px), int(py), clBlack);
        }
    }
}

}  // namespace

int TextWidth(const std::string& sjis, bool bold) {
    const Face& f = TheFace();
    if (!f.face) return 0;
    int width = 0;
    for (char32_t cp : CodePoints(SjisToUtf8(sjis)))
        if (LoadGlyph(f.face, cp, bold)) width += Advance(f.face);
    return width;
}

void DrawText(Bitmap& bitmap, int x, int y, const std::string& sjis, bool bold) {
    const Face& f = TheFace();
    if (!f.face || sjis.empty()) return;
    FillCell(bitmap, x, y, TextWidth(sjis, bold));
    int64_t pen = x, baseline = int64_t(y) + f.ascent;
    for (char32_t cp : CodePoints(SjisToUtf8(sjis))) {
        if (!LoadGlyph(f.face, cp, bold)) continue;
        int advance = Advance(f.face);
        if (FT_Render_Glyph(f.face->glyph, FT_RENDER_MODE_MONO) == 0)
            BlitGlyph(bitmap, f.face->glyph->bitmap, pen + f.face->glyph->bitmap_left,
                      baseline - f.face->glyph->bitmap_top);
        pen += advance;
    }
}

std::string FontFile() { return TheFace().file; }

}  // namespace ui
