#pragma once
// Placement arithmetic of screen text: where each glyph's quad goes and how far the
// pen moves. GL-free; the label's draw feeds these quads to the GPU one by one.
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

// One rasterised character. Sizes and bearings in pixels, advance in 1/64 pixel.
struct Glyph {
    uint32_t textureId = 0;
    int32_t width = 0;
    int32_t rows = 0;
    int32_t bearingLeft = 0;
    int32_t bearingTop = 0;
    uint32_t advance = 0;
};

using GlyphTable = std::map<uint8_t, Glyph>;

// Six (x, y, u, v) vertices: two triangles, texture rows top to bottom.
struct GlyphQuad {
    float vertices[6][4];
};

inline GlyphQuad glyphQuad(float pen, float y, const Glyph& g, float scale) {
    const float xpos = pen + static_cast<float>(g.bearingLeft) * scale;
    const float ypos = y - static_cast<float>(g.rows - g.bearingTop) * scale;
    const float w = static_cast<float>(g.width) * scale;
    const float h = static_cast<float>(g.rows) * scale;
    return GlyphQuad{{{xpos, ypos + h, 0.0f, 0.0f},
                      {xpos, ypos, 0.0f, 1.0f},
                      {xpos + w, ypos, 1.0f, 1.0f},
                      {xpos, ypos + h, 0.0f, 0.0f},
                      {xpos + w, ypos, 1.0f, 1.0f},
                      {xpos + w, ypos + h, 1.0f, 0.0f}}};
}

// The pen moves in whole pixels: the 1/64 fraction of the advance is dropped.
inline float penAdvance(const Glyph& g, float advanceScale) {
    return static_cast<float>(g.advance >> 6) * advanceScale;
}

struct PlacedGlyph {
    uint8_t code;
    GlyphQuad quad;
};

// Lays out one line starting at pen (x, y). A byte without a glyph (codes above 127,
// whose Windows-1252 letters are not rasterised) places nothing and does not move the
// pen. Returns the pen position after the last character.
inline float layoutLine(std::string_view text, const GlyphTable& glyphs, float x, float y, float scale,
                        float advanceScale, std::vector<PlacedGlyph>* placed) {
    float pen = x;
    for (const char c : text) {
        const uint8_t code = static_cast<uint8_t>(c);
        const auto it = glyphs.find(code);
        if (it == glyphs.end()) continue;
        const Glyph& g = it->second;
        if (placed && g.width > 0 && g.rows > 0) placed->push_back({code, glyphQuad(pen, y, g, scale)});
        pen += penAdvance(g, advanceScale);
    }
    return pen;
}
