#include "Text.h"

#include <cstdio>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace assetgen::img {

std::string robotoPath(const char* style) {
    return std::string("/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-") + style + ".ttf";
}

namespace {
std::vector<char32_t> decodeUtf8(const std::string& s) {
    std::vector<char32_t> out;
    for (size_t i = 0; i < s.size();) {
        unsigned char c = (unsigned char)s[i];
        char32_t cp = c;
        int extra = 0;
        if (c >= 0xF0) cp = c & 0x07, extra = 3;
        else if (c >= 0xE0) cp = c & 0x0F, extra = 2;
        else if (c >= 0xC0) cp = c & 0x1F, extra = 1;
        ++i;
        for (int k = 0; k < extra && i < s.size(); ++k, ++i) cp = (cp << 6) | ((unsigned char)s[i] & 0x3F);
        out.push_back(cp);
    }
    return out;
}
}  // namespace

struct Font::Impl {
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    void setSize(float px) { FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(px * 64)), 72, 72); }
};

Font::Font(const std::string& path) : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->lib) != 0) {
        std::fprintf(stderr, "assetgen: FreeType could not start\n");
        impl_->lib = nullptr;
        return;
    }
    if (FT_New_Face(impl_->lib, path.c_str(), 0, &impl_->face) != 0) {
        std::fprintf(stderr, "assetgen: could not open font %s\n", path.c_str());
        impl_->face = nullptr;
    }
}

Font::~Font() {
    if (impl_->face) FT_Done_Face(impl_->face);
    if (impl_->lib) FT_Done_FreeType(impl_->lib);
}

bool Font::ok() const { return impl_->face != nullptr; }

float Font::measure(const std::string& text, float px) {
    if (!ok()) return 0;
    impl_->setSize(px);
    FT_Face f = impl_->face;
    long pen = 0;
    FT_UInt prev = 0;
    for (char32_t cp : decodeUtf8(text)) {
        FT_UInt gi = FT_Get_Char_Index(f, cp);
        if (prev && gi && FT_HAS_KERNING(f)) {
            FT_Vector k;
            FT_Get_Kerning(f, prev, gi, FT_KERNING_DEFAULT, &k);
            pen += k.x;
        }
        if (FT_Load_Glyph(f, gi, FT_LOAD_DEFAULT) == 0) pen += f->glyph->advance.x;
        prev = gi;
    }
    return pen / 64.0f;
}

float Font::capHeight(float px) {
    if (!ok()) return px * 0.7f;
    impl_->setSize(px);
    FT_UInt gi = FT_Get_Char_Index(impl_->face, U'H');
    if (FT_Load_Glyph(impl_->face, gi, FT_LOAD_DEFAULT) != 0) return px * 0.7f;
    return impl_->face->glyph->metrics.horiBearingY / 64.0f;
}

Font::Layer Font::layer(const std::string& text, float px, Color c, int margin) {
    Layer L;
    if (!ok()) return L;
    float width = measure(text, px);
    impl_->setSize(px);
    FT_Face f = impl_->face;
    int asc = int(std::ceil(f->size->metrics.ascender / 64.0f)) + 2;
    int desc = int(std::ceil(-f->size->metrics.descender / 64.0f)) + 2;
    // Italic faces lean past their advance; leave room on the right.
    int extra = int(px * 0.3f) + 2;
    L.image = Image(int(std::ceil(width)) + extra + 2 * margin + 2, asc + desc + 2 * margin);
    L.originX = margin + 1;
    L.baseline = margin + asc;
    long pen = 0;
    FT_UInt prev = 0;
    for (char32_t cp : decodeUtf8(text)) {
        FT_UInt gi = FT_Get_Char_Index(f, cp);
        if (prev && gi && FT_HAS_KERNING(f)) {
            FT_Vector k;
            FT_Get_Kerning(f, prev, gi, FT_KERNING_DEFAULT, &k);
            pen += k.x;
        }
        prev = gi;
        if (FT_Load_Glyph(f, gi, FT_LOAD_DEFAULT) != 0) continue;
        if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
        const FT_Bitmap& bm = f->glyph->bitmap;
        int gx = L.originX + int(std::lround(pen / 64.0f)) + f->glyph->bitmap_left;
        int gy = L.baseline - f->glyph->bitmap_top;
        for (unsigned row = 0; row < bm.rows; ++row)
            for (unsigned col = 0; col < bm.width; ++col) {
                int x = gx + int(col), y = gy + int(row);
                if (x < 0 || y < 0 || x >= L.image.w || y >= L.image.h) continue;
                float a = bm.buffer[row * bm.pitch + col] / 255.0f;
                Color& d = L.image.at(x, y);
                d = {c.r, c.g, c.b, std::min(1.0f, d.a + a * c.a)};
            }
        pen += f->glyph->advance.x;
    }
    return L;
}

void drawText(Image& im, Font& font, const std::string& text, float x, float baseline, Align align,
              const TextStyle& st) {
    int margin = int(std::ceil(std::max({st.shadow * 2 + st.shadowOffset, st.glow * 2, st.outline + 1.0f}))) + 2;
    Font::Layer L = font.layer(text, st.px, st.color, margin);
    if (L.image.w == 0) return;
    float width = font.measure(text, st.px);
    float left = align == Align::Left ? x : (align == Align::Center ? x - width / 2 : x - width);
    int ox = int(std::lround(left)) - L.originX, oy = int(std::lround(baseline)) - L.baseline;
    if (st.glow > 0) drawOnto(im, glowOf(L.image, st.glow, st.glowColor, st.glowStrength), ox, oy);
    if (st.shadow > 0)
        drawOnto(im, glowOf(L.image, st.shadow, st.shadowColor, 1.6f, st.shadowOffset, st.shadowOffset), ox, oy);
    if (st.outline > 0) {
        Image o(L.image.w, L.image.h);
        int r = int(std::ceil(st.outline));
        for (int y = 0; y < o.h; ++y)
            for (int xx = 0; xx < o.w; ++xx) {
                float best = 0;
                for (int dy = -r; dy <= r; ++dy)
                    for (int dx = -r; dx <= r; ++dx) {
                        float dist = std::hypot(float(dx), float(dy));
                        if (dist > st.outline + 0.5f) continue;
                        int sx = xx + dx, sy = y + dy;
                        if (sx < 0 || sy < 0 || sx >= o.w || sy >= o.h) continue;
                        float k = clamp01(st.outline + 0.5f - dist);
                        best = std::max(best, L.image.at(sx, sy).a * k);
                    }
                o.at(xx, y) = withAlpha(st.outlineColor, best * st.outlineColor.a);
            }
        drawOnto(im, o, ox, oy);
    }
    drawOnto(im, L.image, ox, oy);
}

float fitSize(Font& font, const std::string& text, float maxWidth, float capMax, float maxPx) {
    float px = maxPx;
    for (int i = 0; i < 60; ++i) {
        if (font.measure(text, px) <= maxWidth && font.capHeight(px) <= capMax) break;
        px *= 0.96f;
    }
    return px;
}

float drawTextInBox(Image& im, Font& font, const std::string& text, float x0, float y0, float x1, float y1,
                    Align align, TextStyle style, float padX) {
    float boxW = (x1 - x0) - 2 * padX, boxH = y1 - y0;
    // Italic overhang: keep a little room so the last letter stays inside.
    style.px = fitSize(font, text, boxW - style.px * 0.12f, boxH * 0.56f, style.px);
    float cap = font.capHeight(style.px);
    float baseline = (y0 + y1) / 2 + cap / 2;
    float x = align == Align::Left ? x0 + padX : (align == Align::Center ? (x0 + x1) / 2 : x1 - padX);
    drawText(im, font, text, x, baseline, align, style);
    return style.px;
}

}  // namespace assetgen::img
