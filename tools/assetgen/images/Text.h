#pragma once
// Lettering with FreeType: the menu pictures, labels and legends carry their own text.
#include <memory>
#include <string>

#include "Canvas.h"

namespace assetgen::img {

class Font {
public:
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    bool ok() const;
    // Width in pixels of a UTF-8 text at a pixel size (advance sum, kerning included).
    float measure(const std::string& text, float px);
    // Height of capital letters above the baseline, in pixels.
    float capHeight(float px);
    // A layer holding the text in one colour; (originX, baseline) is where the pen started.
    struct Layer {
        Image image;
        int originX = 0, baseline = 0;
    };
    Layer layer(const std::string& text, float px, Color c, int margin);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct TextStyle {
    float px = 32;
    Color color{1, 1, 1, 1};
    float shadow = 0;        // blur radius of a dark drop shadow, 0 for none
    int shadowOffset = 2;
    Color shadowColor{0, 0, 0, 0.85f};
    float glow = 0;          // blur radius of a coloured glow, 0 for none
    Color glowColor{1, 0.3f, 0.1f, 1};
    float glowStrength = 1.5f;
    float outline = 0;       // outline width in pixels
    Color outlineColor{0, 0, 0, 1};
};

enum class Align { Left, Center, Right };

// Draws text with its baseline at y; x is the left edge, the centre or the right edge.
void drawText(Image& im, Font& font, const std::string& text, float x, float baseline, Align align,
              const TextStyle& style);
// Largest pixel size (at most maxPx) at which the text fits a width and whose
// capital height fits capMax.
float fitSize(Font& font, const std::string& text, float maxWidth, float capMax, float maxPx);
// Draws text vertically centred (by capital height) inside a box, shrinking it to fit.
// Returns the pixel size used.
float drawTextInBox(Image& im, Font& font, const std::string& text, float x0, float y0, float x1, float y1,
                    Align align, TextStyle style, float padX = 0);

// Font files from the system's Roboto family.
std::string robotoPath(const char* style);  // e.g. "BoldItalic", "Bold", "Regular", "Medium"

}  // namespace assetgen::img
