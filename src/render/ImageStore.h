#pragma once
// Decoded texture images, by texture key, kept through the start-up so that any number
// of textures can be made from one key. Decoding needs no window.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ImageStore {
public:
    static ImageStore& instance();

    // Decodes the game's image catalogue (flat images, then the six sky faces).
    void loadCatalogue();
    // Decodes the file as 8-bit RGBA and stores it under key; false (with a message)
    // when the file is missing or cannot be decoded.
    bool loadImage(const std::string& path, const std::string& key);
    // Stores already decoded RGBA pixels (rows top to bottom) under key.
    void storeImage(const std::string& key, int32_t width, int32_t height, std::vector<uint8_t> rgba);

    // The RGBA pixels of key, or null (with a message) for an absent key.
    const uint8_t* getPixels(const std::string& key) const;
    // Appends width, then height; nothing for an absent key.
    void getSize(const std::string& key, std::vector<int32_t>& size) const;

    // Every texture is made during the start-up; afterwards the driver holds the pixels
    // and the store's copy (some 60 MiB) would only be memory. Keys then read as absent.
    void releasePixels() { images.clear(); }

    void setCubeFaceKeys(const std::vector<std::string>& keys) { cubeFaceKeys = keys; }
    std::vector<std::string> getCubeFaceKeys() const { return cubeFaceKeys; }

    ImageStore(const ImageStore&) = delete;
    ImageStore& operator=(const ImageStore&) = delete;

private:
    ImageStore() = default;

    struct Image {
        int32_t width = 0;
        int32_t height = 0;
        std::vector<uint8_t> pixels;
    };
    std::map<std::string, Image, std::less<>> images;
    std::vector<std::string> cubeFaceKeys;
};
