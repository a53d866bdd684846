#pragma once
// Blending switched off for opaque draws, and back to what it was afterwards: a
// fragment of alpha 1 blends to itself, so blending would only read back the pixel it
// replaces. enable(opaque) lets one scope switch per draw.
#include <GL/glew.h>

class OpaqueDrawing {
public:
    OpaqueDrawing() : wasBlending(glIsEnabled(GL_BLEND) == GL_TRUE) { glDisable(GL_BLEND); }
    ~OpaqueDrawing() { restore(); }
    OpaqueDrawing(const OpaqueDrawing&) = delete;
    OpaqueDrawing& operator=(const OpaqueDrawing&) = delete;

    // Blending off for an opaque draw, as it was before the scope for any other.
    void enable(bool opaque) const {
        if (opaque) glDisable(GL_BLEND);
        else restore();
    }

private:
    void restore() const {
        if (wasBlending) glEnable(GL_BLEND);
    }
    bool wasBlending;
};
