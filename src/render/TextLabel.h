#pragma once
// One line of screen text with its own glyph textures, drawn in a virtual screen of
// 1440 x 900 units (origin bottom left) that is stretched over the window.
#include <cstdint>
#include <string>

#include <glm/glm.hpp>

#include "render/TextLayout.h"

constexpr float kTextScreenWidth = 1440.0f;
constexpr float kTextScreenHeight = 900.0f;

class TextLabel {
public:
    GlyphTable glyphs;  // codes 0..127
    uint32_t vao = 0;
    uint32_t vbo = 0;
    uint32_t programId = 0;
    std::string text;  // bytes, each looked up as a character code
    float scale = 1.0f;
    float advanceScale = 1.0f;
    glm::vec3 color{1.0f, 1.0f, 1.0f};
    float x = 0.0f;
    float y = 0.0f;

    // Loads the font at 48 pixels, rasterises codes 0..127 and builds the text program.
    // FreeType failures are reported on stdout and leave the affected glyphs empty.
    void init(const std::string& fontPath);
    // Draws text at (x, y); leaves alpha blending enabled.
    void draw() const;
};

// The projection that maps the virtual text screen onto clip space.
glm::mat4 textProjection();
