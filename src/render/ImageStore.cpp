#include "render/ImageStore.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <thread>
#include <utility>
#include <vector>

#include <stb_image.h>

namespace {

struct CatalogueEntry {
    const char* key;
    const char* file;
};

// The flat images in load order; the sky faces follow separately.
constexpr CatalogueEntry kCatalogue[] = {
    {"sphere_trace_01_tex", "trace_path_type_1.png"},
    {"sphere_trace_02_tex", "trace_path_type_2.png"},
    {"sphere_trace_03_tex", "trace_path_type_3.png"},
    {"bricks_01_tex", "Bricks/bricks_01.png"},
    {"bricks_02_tex", "Bricks/bricks_02.png"},
    {"bricks_03_tex", "Bricks/bricks_03.png"},
    {"bricks_04_tex", "Bricks/bricks_04.png"},
    {"bricks_05_tex", "Bricks/bricks_05.png"},
    {"FrameWall_P1", "Frames/wall_frame_P1.png"},
    {"FrameWall_P2", "Frames/wall_frame_P2.png"},
    {"FrameWall_P3", "Frames/wall_frame_P3.png"},
    {"FrameWall_P4", "Frames/wall_frame_P4.png"},
    {"FrameWall_P5", "Frames/wall_frame_P5.png"},
    {"FrameWall_P6", "Frames/wall_frame_P6.png"},
    {"FrameWall_P7", "Frames/wall_frame_P7.png"},
    {"FrameWall_P8", "Frames/wall_frame_P8.png"},
    {"FrameWall_P9", "Frames/wall_frame_P9.png"},
    {"FrameWall_P10", "Frames/wall_frame_P10.png"},
    {"FrameWall_P11", "Frames/wall_frame_P11.png"},
    {"FrameWall_P12", "Frames/wall_frame_P12.png"},
    {"crossHair1", "HUD/crossHair_1.png"},
    {"crossHair2", "HUD/crossHair_2.png"},
    {"enemySphere", "enemy01.jpg"},
    {"muzzleFlash", "muzzleFlash.png"},
    {"ammoIcon", "HUD/AmmoIcon.png"},
    {"healthIcon", "HUD/HealthIcon.png"},
    {"encubridoresIcon", "HUD/EncubridoresDesactivadosIcon.png"},
    {"Hiyura0Icon", "HUD/Hiyura_rescatada_0.png"},
    {"Hiyura1Icon", "HUD/Hiyura_rescatada_1.png"},
    {"escanerIcon", "HUD/EscanerIcon.png"},
    {"Celula0Icon", "HUD/CelulasIcon_0.png"},
    {"Celula1Icon", "HUD/CelulasIcon_1.png"},
    {"CelulasConectadas0Icon", "HUD/celulas_conectadas_0.png"},
    {"CelulasConectadas1Icon", "HUD/celulas_conectadas_1.png"},
    {"CelulasConectadas2Icon", "HUD/celulas_conectadas_2.png"},
    {"CelulasConectadas3Icon", "HUD/celulas_conectadas_3.png"},
    {"CelulasConectadas4Icon", "HUD/celulas_conectadas_4.png"},
    {"InyectorPlasma0Icon", "HUD/InyectorPlasma0Icon.png"},
    {"InyectorPlasma1Icon", "HUD/InyectorPlasma1Icon.png"},
    {"backgroundMapScreen", "HUD/Map/Background_map.png"},
    {"Wall_0_IconMap", "HUD/Map/Wall_0_IconMap.png"},
    {"Wall_1_IconMap", "HUD/Map/Wall_1_IconMap.png"},
    {"Wall_2_IconMap", "HUD/Map/Wall_2_IconMap.png"},
    {"Wall_3_IconMap", "HUD/Map/Wall_3_IconMap.png"},
    {"Wall_4_IconMap", "HUD/Map/Wall_4_IconMap.png"},
    {"Player_IconMap", "HUD/Map/Player_IconMap.png"},
    {"ItemChest_IconMap", "HUD/Map/ItemChest_IconMap.png"},
    {"Teleport_IconMap", "HUD/Map/Teleport_IconMap.png"},
    {"KeyRed_IconMap", "HUD/Map/KeyRed_IconMap.png"},
    {"KeyGreen_IconMap", "HUD/Map/KeyGreen_IconMap.png"},
    {"KeyYellow_IconMap", "HUD/Map/KeyYellow_IconMap.png"},
    {"Spaceship_IconMap", "HUD/Map/Spaceship_IconMap.png"},
    {"DoorRed_IconMap", "HUD/Map/DoorRed_IconMap.png"},
    {"DoorGreen_IconMap", "HUD/Map/DoorGreen_IconMap.png"},
    {"DoorYellow_IconMap", "HUD/Map/DoorYellow_IconMap.png"},
    {"EnergyCell_IconMap", "HUD/Map/EnergyCell_IconMap.png"},
    {"Statue_IconMap", "HUD/Map/Statue_IconMap.png"},
    {"EngineDevice_IconMap", "HUD/Map/EngineDevice_IconMap.png"},
    {"Trace_IconMap", "HUD/Map/Trace_IconMap.png"},
    {"Hiyura_IconMap", "HUD/Map/Hiyura_IconMap.png"},
    {"SlotCell_IconMap", "HUD/Map/SlotCell_IconMap.png"},
    {"InductorRojo_IconMap", "HUD/Map/InductorRojo_IconMap.png"},
    {"RepelenteAzul_IconMap", "HUD/Map/RepelenteAzul_IconMap.png"},
    {"WormAlien_IconMap", "HUD/Map/WormAlien_IconMap.png"},
    {"MonolithAlien_IconMap", "HUD/Map/MonolithAlien_IconMap.png"},
    {"ForceField_IconMap", "HUD/Map/ForceField_IconMap.png"},
    {"KeyRedIcon0Icon", "HUD/KeyIconRed0Icon.png"},
    {"KeyGreenIcon0Icon", "HUD/KeyIconGreen0Icon.png"},
    {"KeyYellowIcon0Icon", "HUD/KeyIconYellow0Icon.png"},
    {"KeyRedIcon1Icon", "HUD/KeyIconRed1Icon.png"},
    {"KeyGreenIcon1Icon", "HUD/KeyIconGreen1Icon.png"},
    {"KeyYellowIcon1Icon", "HUD/KeyIconYellow1Icon.png"},
    {"InductorRojo0Icon", "HUD/InductorRojo0Icon.png"},
    {"InductorRojo1Icon", "HUD/InductorRojo1Icon.png"},
    {"RepelenteAzul0Icon", "HUD/RepelenteAzul0Icon.png"},
    {"RepelenteAzul1Icon", "HUD/RepelenteAzul1Icon.png"},
    {"CompassIcon", "HUD/CompassIcon.png"},
    {"CompassNorthIcon", "HUD/CompassNorthIcon.png"},
    {"CompassSouthIcon", "HUD/CompassSouthIcon.png"},
    {"sniperScope", "HUD/SniperScope.png"},
    {"EnemyDamageEffect", "Particles/EnemyDamageEffect.png"},
    {"EnemyDestroyEffect", "Particles/EnemyDestroyEffect.png"},
    {"GirlRecueEffect", "Particles/GirlRescueEffect.png"},
    {"SpaceshipEffect", "Particles/SpaceshipEngineEffect.png"},
    {"clothTex", "FlagTexture.png"},
    {"ProjectileBlast", "ProjectileBlast.png"},
    {"Projectile", "Projectile.png"},
    {"mainMenuScreen", "Main_menu.png"},
    {"indicator", "Indicator.png"},
    {"appVersion", "version_32_bits.png"},
    {"aboutScreen", "About_menu.png"},
    {"creditsScreen", "Credits_menu.png"},
    {"loadingScreen", "loading_screen.png"},
    {"playerDead", "GameOver.png"},
    {"victorious", "VictoryScreen.png"},
    {"bloodframe", "BloodFrame.png"},
    {"soil", "Terrain/soil01.jpg"},
    {"soil2", "Terrain/soil02.jpg"},
    {"grass", "Terrain/soil03.jpg"},
    {"grassNormalMap", "Terrain/soil03_NormalMap.jpg"},
    {"soil4", "Terrain/soil04.jpg"},
    {"blendMap", "Terrain/blendMap.png"},
    {"ceiling_1", "Terrain/ceiling_1.jpg"},
    {"ceiling_2", "Terrain/ceiling_2.jpg"},
    {"ceiling_3", "Terrain/ceiling_3.jpg"},
    {"ceiling_4", "Terrain/ceiling_4.jpg"},
};
static_assert(std::size(kCatalogue) == 106, "the catalogue holds 106 flat images");

constexpr CatalogueEntry kSkyFaces[] = {
    {"skybox", "right.jpg"},  {"skybox1", "left.jpg"},  {"skybox2", "top.jpg"},
    {"skybox3", "bottom.jpg"}, {"skybox4", "front.jpg"}, {"skybox5", "back.jpg"},
};

}  // namespace

ImageStore& ImageStore::instance() {
    static ImageStore store;
    return store;
}

namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    bool ok = false;
};

Decoded decodeRgba(const std::string& path) {
    Decoded d;
    int channels = 0;
    stbi_uc* data = stbi_load(path.c_str(), &d.width, &d.height, &channels, 4);
    if (!data) return d;
    d.pixels.assign(data, data + static_cast<size_t>(d.width) * static_cast<size_t>(d.height) * 4u);
    stbi_image_free(data);
    d.ok = true;
    return d;
}

}  // namespace

void ImageStore::loadCatalogue() {
    const std::string textures = "../Data/Textures/";
    std::vector<std::pair<std::string, std::string>> files;  // path, key
    for (const CatalogueEntry& e : kCatalogue) files.emplace_back(textures + e.file, e.key);
    std::vector<std::string> faceKeys;
    for (const CatalogueEntry& e : kSkyFaces) {
        files.emplace_back(textures + "Skyboxes/Red/" + e.file, e.key);
        faceKeys.emplace_back(e.key);
    }
    // Decoding is most of the start-up before the window: the files are decoded on as
    // many threads as there are processors, then stored and reported in catalogue order,
    // so the store and the messages are those of one file after the other.
    std::vector<Decoded> decoded(files.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t k = next++; k < files.size(); k = next++) decoded[k] = decodeRgba(files[k].first);
    };
    const unsigned helpers = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u)) - 1;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < helpers; ++t) threads.emplace_back(work);
    work();
    for (std::thread& t : threads) t.join();
    for (size_t k = 0; k < files.size(); ++k) {
        if (!decoded[k].ok) {
            std::fprintf(stderr, "Loading failed: An error occurred while loading texture file: %s\n",
                         files[k].first.c_str());
            continue;
        }
        storeImage(files[k].second, decoded[k].width, decoded[k].height, std::move(decoded[k].pixels));
    }
    setCubeFaceKeys(faceKeys);
}

bool ImageStore::loadImage(const std::string& path, const std::string& key) {
    int width = 0, height = 0, channels = 0;
    stbi_uc* data = stbi_load(path.c_str(), &width, &height, &channels, 4);
    if (!data) {
        std::fprintf(stderr, "Loading failed: An error occurred while loading texture file: %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> pixels(data, data + static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
    stbi_image_free(data);
    storeImage(key, width, height, std::move(pixels));
    return true;
}

void ImageStore::storeImage(const std::string& key, int32_t width, int32_t height, std::vector<uint8_t> rgba) {
    // Each key is stored once: a second image under a known key replaces the first.
    Image& image = images[key];
    image.width = width;
    image.height = height;
    image.pixels = std::move(rgba);
}

const uint8_t* ImageStore::getPixels(const std::string& key) const {
    const auto it = images.find(key);
    if (it == images.end()) {
        std::fprintf(stderr, "ERROR: Unable to retrieve texture image file: %s \n", key.c_str());
        return nullptr;
    }
    return it->second.pixels.data();
}

void ImageStore::getSize(const std::string& key, std::vector<int32_t>& size) const {
    const auto it = images.find(key);
    if (it == images.end()) return;
    size.push_back(it->second.width);
    size.push_back(it->second.height);
}
