#include "render/TextureSet.h"

#include <GL/glew.h>

#include <algorithm>

#include "render/ImageStore.h"

namespace {

// Uploads the key's pixels to the bound target. A key whose image failed to load has
// already been reported by the store; it becomes a transparent 1 x 1 texture so that
// the objects using it are simply invisible and the game goes on.
void uploadImage(GLenum target, const std::string& key) {
    const ImageStore& store = ImageStore::instance();
    const uint8_t* pixels = store.getPixels(key);
    std::vector<int32_t> size;
    store.getSize(key, size);
    static const uint8_t kEmpty[4] = {0, 0, 0, 0};
    if (!pixels || size.size() < 2) {
        glTexImage2D(target, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, kEmpty);
        return;
    }
    glTexImage2D(target, 0, GL_RGBA, size[0], size[1], 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
}

void setFlatParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

}  // namespace

void TextureSet::createFromImage(const std::string& key) {
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, id);
    setFlatParameters();
    uploadImage(GL_TEXTURE_2D, key);
    cubeMap = false;
}

void TextureSet::createFromImages(const std::vector<std::string>& keys) {
    const GLsizei n = static_cast<GLsizei>(std::min<size_t>(keys.size(), 32));
    glGenTextures(n, ids);
    for (GLsizei i = 0; i < n; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        glBindTexture(GL_TEXTURE_2D, ids[i]);
        setFlatParameters();
        uploadImage(GL_TEXTURE_2D, keys[static_cast<size_t>(i)]);
    }
}

void TextureSet::createCubeMap(int firstFace, int faceCount) {
    glGenTextures(1, &id);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_CUBE_MAP, id);
    const std::vector<std::string> faces = ImageStore::instance().getCubeFaceKeys();
    for (int i = firstFace; i < faceCount; ++i) {
        const std::string key = static_cast<size_t>(i) < faces.size() ? faces[static_cast<size_t>(i)] : std::string();
        uploadImage(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(i - firstFace), key);
    }
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_CUBE_MAP, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    cubeMap = true;
}

void TextureSet::bind(uint32_t unit) const {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, id);
}

void TextureSet::bindIndexed(uint32_t unit) const {
    glActiveTexture(GL_TEXTURE0 + unit);
    glBindTexture(GL_TEXTURE_2D, ids[unit]);
}

void TextureSet::release() {
    if (id) glDeleteTextures(1, &id);
    id = 0;
    for (uint32_t& name : ids) {
        if (name) glDeleteTextures(1, &name);
        name = 0;
    }
}
