#pragma once
// The window-sized framebuffer every frame of play is drawn into before the
// post-processing pass shows it in the window.
#include <cstdint>

class OffscreenFramebuffer {
public:
    uint32_t fbo = 0;
    uint32_t rbo = 0;  // depth and stencil
    uint32_t colorTexture = 0;

    OffscreenFramebuffer() = default;
    OffscreenFramebuffer(const OffscreenFramebuffer&) = delete;
    OffscreenFramebuffer& operator=(const OffscreenFramebuffer&) = delete;
    ~OffscreenFramebuffer() { release(); }

    // Builds it at width x height (the window size; never resized afterwards).
    void create(int width, int height);
    void release();
};
