#pragma once
// The models' texture files, decoded and reduced to their mipmap levels on a worker
// thread while the main thread builds the rest of the world. Under a software driver
// decoding and, above all, glGenerateMipmap are most of a model's loading time; the
// main thread then only uploads the prepared levels.
#include <cstdint>
#include <map>
#include <string>
#include <thread>
#include <vector>

struct PreparedTexture {
    int width = 0;
    int height = 0;
    // RGB, 8 bits a channel, level 0 first down to 1 x 1, each level's rows top to bottom;
    // freed once uploaded.
    std::vector<std::vector<uint8_t>> levels;
    uint32_t uploaded = 0;  // the GL texture made from it, shared by every model naming the file
};

// Each level halves the one above (rounding down, at least 1), averaging its 2 x 2
// pixels (an odd last row or column is taken with the one before it).
std::vector<std::vector<uint8_t>> mipmapChain(const uint8_t* rgb, int width, int height);

class TexturePrefetch {
public:
    static TexturePrefetch& instance();

    // Starts decoding every PNG and JPEG file under folder.
    void start(const std::string& folder);
    // Waits for the worker; find answers from then on.
    void finish();
    // The prepared texture of a file path (compared after lexical normalisation), or null.
    PreparedTexture* find(const std::string& path);
    // The GL texture of the file, uploaded on the first request and shared afterwards
    // (the picture is the same for every model that names the file); 0 when the file was
    // not prepared.
    uint32_t texture(const std::string& path, uint32_t (*upload)(const PreparedTexture&));
    // True for a texture made here: it belongs to no single model.
    bool shares(uint32_t textureId) const;
    // Frees the prepared pixels (after the models are loaded).
    void release();

    TexturePrefetch(const TexturePrefetch&) = delete;
    TexturePrefetch& operator=(const TexturePrefetch&) = delete;

private:
    TexturePrefetch() = default;
    ~TexturePrefetch();

    std::thread worker;
    bool ready = false;
    std::map<std::string, PreparedTexture> prepared;
    std::vector<uint32_t> sharedTextures;
};
