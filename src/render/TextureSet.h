#pragma once
// GL textures made from the image store's pixels: one 2D texture, several 2D textures
// on consecutive units, or the sky's cube map.
#include <cstdint>
#include <string>
#include <vector>

class TextureSet {
public:
    uint32_t id = 0;        // single texture or cube map
    uint32_t ids[32] = {};  // multi-texture form, entry i on unit i
    bool cubeMap = false;

    void createFromImage(const std::string& key);
    // At most 32 keys; further keys are ignored.
    void createFromImages(const std::vector<std::string>& keys);
    void createCubeMap(int firstFace, int faceCount);
    void bind(uint32_t unit) const;
    void bindIndexed(uint32_t unit) const;
    void release();
};
