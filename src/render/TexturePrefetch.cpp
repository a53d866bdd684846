#include "render/TexturePrefetch.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include <stb_image.h>

namespace fs = std::filesystem;

namespace {

std::string key(const std::string& path) { return fs::path(path).lexically_normal().string(); }

bool isPicture(const fs::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext == ".png" || ext == ".jpg" || ext == ".jpeg";
}

}  // namespace

std::vector<std::vector<uint8_t>> mipmapChain(const uint8_t* rgb, int width, int height) {
    std::vector<std::vector<uint8_t>> levels;
    levels.emplace_back(rgb, rgb + static_cast<size_t>(width) * static_cast<size_t>(height) * 3u);
    int w = width, h = height;
    while (w > 1 || h > 1) {
        const int nw = std::max(1, w / 2), nh = std::max(1, h / 2);
        const std::vector<uint8_t>& above = levels.back();
        std::vector<uint8_t> level(static_cast<size_t>(nw) * static_cast<size_t>(nh) * 3u);
        for (int y = 0; y < nh; ++y) {
            const int y0 = std::min(2 * y, h - 1), y1 = std::min(2 * y + 1, h - 1);
            for (int x = 0; x < nw; ++x) {
                const int x0 = std::min(2 * x, w - 1), x1 = std::min(2 * x + 1, w - 1);
                for (int c = 0; c < 3; ++c) {
                    auto at = [&](int px, int py) {
                        return static_cast<int>(above[(static_cast<size_t>(py) * static_cast<size_t>(w) + static_cast<size_t>(px)) * 3u + static_cast<size_t>(c)]);
                    };
                    const int sum = at(x0, y0) + at(x1, y0) + at(x0, y1) + at(x1, y1);
                    level[(static_cast<size_t>(y) * static_cast<size_t>(nw) + static_cast<size_t>(x)) * 3u + static_cast<size_t>(c)] =
                        static_cast<uint8_t>((sum + 2) / 4);
                }
            }
        }
        levels.push_back(std::move(level));
        w = nw;
        h = nh;
    }
    return levels;
}

TexturePrefetch& TexturePrefetch::instance() {
    static TexturePrefetch prefetch;
    return prefetch;
}

TexturePrefetch::~TexturePrefetch() {
    if (worker.joinable()) worker.join();
}

void TexturePrefetch::start(const std::string& folder) {
    finish();
    ready = false;
    prepared.clear();
    worker = std::thread([this, folder] {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(folder, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            if (!it->is_regular_file(ec) || !isPicture(it->path())) continue;
            int width = 0, height = 0, channels = 0;
            stbi_uc* pixels = stbi_load(it->path().string().c_str(), &width, &height, &channels, 3);
            if (!pixels) continue;  // the loader's own path reports nothing and uses white
            PreparedTexture& t = prepared[key(it->path().string())];
            t.width = width;
            t.height = height;
            t.levels = mipmapChain(pixels, width, height);
            stbi_image_free(pixels);
        }
    });
}

void TexturePrefetch::finish() {
    if (worker.joinable()) {
        worker.join();
        ready = true;
    }
}

PreparedTexture* TexturePrefetch::find(const std::string& path) {
    if (!ready) return nullptr;
    const auto found = prepared.find(key(path));
    return found == prepared.end() ? nullptr : &found->second;
}

uint32_t TexturePrefetch::texture(const std::string& path, uint32_t (*upload)(const PreparedTexture&)) {
    PreparedTexture* t = find(path);
    if (!t) return 0;
    if (!t->uploaded) {
        t->uploaded = upload(*t);
        sharedTextures.push_back(t->uploaded);
        t->levels = {};  // the driver holds the pixels now
    }
    return t->uploaded;
}

bool TexturePrefetch::shares(uint32_t textureId) const {
    return std::find(sharedTextures.begin(), sharedTextures.end(), textureId) != sharedTextures.end();
}

void TexturePrefetch::release() {
    finish();
    prepared.clear();
    ready = false;
}
