#include "render/TextLabel.h"

#include <GL/glew.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "render/Renderer.h"
#include "render/ShaderProgram.h"

glm::mat4 textProjection() { return glm::ortho(0.0f, kTextScreenWidth, 0.0f, kTextScreenHeight); }

void TextLabel::init(const std::string& fontPath) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library)) {
        std::fputs("ERROR: Failed to initialize FreeType Library.\n", stdout);
        library = nullptr;
    }
    if (!library || FT_New_Face(library, fontPath.c_str(), 0, &face)) {
        std::fputs("ERROR: Failed to load font.\n", stdout);
        face = nullptr;
    }
    if (face) FT_Set_Pixel_Sizes(face, 0, 48);

    scale = 1.0f;
    advanceScale = 1.0f;
    color = glm::vec3(1.0f);
    if (!Renderer::instance().glReady) {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
        return;
    }

    ShaderProgram program;
    programId = program.build("../Data/Shaders/Font/Text.vs", "../Data/Shaders/Font/Text.fs");
    glUseProgram(programId);
    program.setMat4("projection", textProjection());

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (unsigned code = 0; code < 128; ++code) {
        if (!face || FT_Load_Char(face, code, FT_LOAD_RENDER)) {
            std::fputs("ERROR: Failed to load glyph.\n", stdout);
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, static_cast<GLsizei>(slot->bitmap.width),
                     static_cast<GLsizei>(slot->bitmap.rows), 0, GL_RED, GL_UNSIGNED_BYTE, slot->bitmap.buffer);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glyphs[static_cast<uint8_t>(code)] =
            Glyph{texture, static_cast<int32_t>(slot->bitmap.width), static_cast<int32_t>(slot->bitmap.rows),
                  slot->bitmap_left, slot->bitmap_top, static_cast<uint32_t>(slot->advance.x)};
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    if (face) FT_Done_Face(face);
    if (library) FT_Done_FreeType(library);

    glGenVertexArrays(1, &vao);
    glGenBuffers(1, &vbo);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * 6 * 4, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}

void TextLabel::draw() const {
    if (!vao) return;
    // Text lies over the scene: a wall close to the eye must not cut a line of the HUD.
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(programId);
    glUniform3f(glGetUniformLocation(programId, "textColor"), color.x, color.y, color.z);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);

    std::vector<PlacedGlyph> placed;
    layoutLine(text, glyphs, x, y, scale, advanceScale, &placed);
    for (const PlacedGlyph& p : placed) {
        glBindTexture(GL_TEXTURE_2D, glyphs.at(p.code).textureId);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof p.quad.vertices, p.quad.vertices);
        glDrawArrays(GL_TRIANGLES, 0, 6);
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
    if (depthTest) glEnable(GL_DEPTH_TEST);
}
