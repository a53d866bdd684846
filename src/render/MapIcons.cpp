#include "render/MapIcons.h"

#include "render/Renderer.h"
#include "render/Shape.h"

void RendererMapIcons::createMapIcon(const MapIconSpec& icon) {
    Renderer::instance().createObjectSharingProgram(QuadShape, icon.textureKey, icon.id,
                                                    {kMapIconVertexShader, kMapIconFragmentShader}, icon.position,
                                                    icon.rotationDegrees, icon.scale);
}
