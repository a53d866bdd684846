#pragma once
// The map screen's icons become quad render objects of the registry.
#include "world/MapScreen.h"

class RendererMapIcons final : public MapIconFactory {
public:
    void createMapIcon(const MapIconSpec& icon) override;
};
