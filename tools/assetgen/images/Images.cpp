// The image module: every picture of the game's texture catalogue and the six sky
// faces, painted from code with fixed seeds.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "../Assets.h"
#include "Painters.h"

namespace assetgen {
namespace {

using img::Image;
using img::Mount;

struct Entry {
    std::string path;  // under Data/
    std::function<Image()> paint;
    Mount mount;
    bool opaque = false;
    int jpegQuality = 92;  // normals need the finest quantisation to stay unit length
};

std::vector<Entry> catalogue() {
    std::vector<Entry> e;
    const Mount Up = Mount::Upright, Face = Mount::Face, Turn = Mount::HalfTurn;
    for (int i = 1; i <= 3; ++i)
        e.push_back({"Textures/trace_path_type_" + std::to_string(i) + ".png", [i] { return img::traceSkin(i); }, Up, true});
    for (int i = 1; i <= 5; ++i)
        e.push_back({"Textures/Bricks/bricks_0" + std::to_string(i) + ".png", [i] { return img::bricks(i); }, Face, true});
    for (int i = 1; i <= 12; ++i)
        e.push_back({"Textures/Frames/wall_frame_P" + std::to_string(i) + ".png", [i] { return img::wallPicture(i); }, Face, true});
    e.push_back({"Textures/HUD/crossHair_1.png", [] { return img::crosshair(1); }, Face});
    e.push_back({"Textures/HUD/crossHair_2.png", [] { return img::crosshair(2); }, Face});
    e.push_back({"Textures/enemy01.jpg", img::enemySkin, Up});
    e.push_back({"Textures/muzzleFlash.png", img::muzzleFlash, Up});
    const std::pair<const char*, const char*> hud[] = {
        {"AmmoIcon", "ammoIcon"},
        {"HealthIcon", "healthIcon"},
        {"EncubridoresDesactivadosIcon", "encubridoresIcon"},
        {"Hiyura_rescatada_0", "Hiyura0Icon"},
        {"Hiyura_rescatada_1", "Hiyura1Icon"},
        {"EscanerIcon", "escanerIcon"},
        {"CelulasIcon_0", "Celula0Icon"},
        {"CelulasIcon_1", "Celula1Icon"},
        {"celulas_conectadas_0", "CelulasConectadas0Icon"},
        {"celulas_conectadas_1", "CelulasConectadas1Icon"},
        {"celulas_conectadas_2", "CelulasConectadas2Icon"},
        {"celulas_conectadas_3", "CelulasConectadas3Icon"},
        {"celulas_conectadas_4", "CelulasConectadas4Icon"},
        {"InyectorPlasma0Icon", "InyectorPlasma0Icon"},
        {"InyectorPlasma1Icon", "InyectorPlasma1Icon"},
    };
    for (const auto& [file, key] : hud) {
        std::string k = key;
        e.push_back({std::string("Textures/HUD/") + file + ".png", [k] { return img::hudIcon(k); }, Turn});
    }
    e.push_back({"Textures/HUD/Map/Background_map.png", img::mapBackground, Face, true});
    const char* mapKeys[] = {"Wall_0", "Wall_1", "Wall_2", "Wall_3", "Wall_4", "Player", "ItemChest", "Teleport",
                             "KeyRed", "KeyGreen", "KeyYellow", "Spaceship", "DoorRed", "DoorGreen", "DoorYellow",
                             "EnergyCell", "Statue", "EngineDevice", "Trace", "Hiyura", "SlotCell", "InductorRojo",
                             "RepelenteAzul", "WormAlien", "MonolithAlien", "ForceField"};
    for (const char* m : mapKeys) {
        std::string k = std::string(m) + "_IconMap";
        e.push_back({"Textures/HUD/Map/" + k + ".png", [k] { return img::mapIcon(k); }, Turn});
    }
    const std::pair<const char*, const char*> inv[] = {
        {"KeyIconRed0Icon", "KeyRedIcon0Icon"},       {"KeyIconGreen0Icon", "KeyGreenIcon0Icon"},
        {"KeyIconYellow0Icon", "KeyYellowIcon0Icon"}, {"KeyIconRed1Icon", "KeyRedIcon1Icon"},
        {"KeyIconGreen1Icon", "KeyGreenIcon1Icon"},   {"KeyIconYellow1Icon", "KeyYellowIcon1Icon"},
        {"InductorRojo0Icon", "InductorRojo0Icon"},   {"InductorRojo1Icon", "InductorRojo1Icon"},
        {"RepelenteAzul0Icon", "RepelenteAzul0Icon"}, {"RepelenteAzul1Icon", "RepelenteAzul1Icon"},
        {"CompassIcon", "CompassIcon"},               {"CompassNorthIcon", "CompassNorthIcon"},
        {"CompassSouthIcon", "CompassSouthIcon"},
    };
    for (const auto& [file, key] : inv) {
        std::string k = key;
        e.push_back({std::string("Textures/HUD/") + file + ".png", [k] { return img::hudIcon(k); }, Turn});
    }
    e.push_back({"Textures/HUD/SniperScope.png", img::sniperScope, Face});
    e.push_back({"Textures/Particles/EnemyDamageEffect.png", [] { return img::particleSprite(0); }, Up});
    e.push_back({"Textures/Particles/EnemyDestroyEffect.png", [] { return img::particleSprite(1); }, Up});
    e.push_back({"Textures/Particles/GirlRescueEffect.png", [] { return img::particleSprite(2); }, Up});
    e.push_back({"Textures/Particles/SpaceshipEngineEffect.png", [] { return img::particleSprite(3); }, Up});
    e.push_back({"Textures/FlagTexture.png", img::flag, Up, true});
    e.push_back({"Textures/ProjectileBlast.png", img::blastSkin, Up});
    e.push_back({"Textures/Projectile.png", img::projectileSkin, Up, true});
    e.push_back({"Textures/Main_menu.png", img::mainMenu, Face, true});
    e.push_back({"Textures/Indicator.png", img::indicator, Face});
    e.push_back({"Textures/version_32_bits.png", img::versionBadge, Face});
    e.push_back({"Textures/About_menu.png", img::aboutScreen, Face, true});
    e.push_back({"Textures/Credits_menu.png", img::creditsScreen, Face, true});
    e.push_back({"Textures/loading_screen.png", img::loadingScreen, Face, true});
    e.push_back({"Textures/GameOver.png", img::gameOverScreen, Face});
    e.push_back({"Textures/VictoryScreen.png", img::victoryScreen, Face});
    e.push_back({"Textures/BloodFrame.png", img::bloodFrame, Face});
    e.push_back({"Textures/Terrain/soil01.jpg", img::groundSoil, Up});
    e.push_back({"Textures/Terrain/soil02.jpg", img::groundMud, Up});
    e.push_back({"Textures/Terrain/soil03.jpg", img::groundGrass, Up});
    e.push_back({"Textures/Terrain/soil03_NormalMap.jpg", img::groundGrassNormalMap, Up, false, 100});
    e.push_back({"Textures/Terrain/soil04.jpg", img::groundGravel, Up});
    e.push_back({"Textures/Terrain/blendMap.png", img::terrainBlendMap, Up, true});
    for (int i = 1; i <= 4; ++i)
        e.push_back({"Textures/Terrain/ceiling_" + std::to_string(i) + ".jpg", [i] { return img::ceilingPanels(i); }, Up});
    // Cube-map faces keep OpenGL's face layout; see the sky painter.
    const char* faces[] = {"right", "left", "top", "bottom", "front", "back"};
    for (int f = 0; f < 6; ++f)
        e.push_back({std::string("Textures/Skyboxes/Red/") + faces[f] + ".jpg", [f] { return img::skyFace(f); }, Up});
    return e;
}

}  // namespace

bool generateImages(const std::filesystem::path& dataDir) {
    // ASSETGEN_TIMES=1 lists the time each picture takes (for tuning; output unchanged).
    const bool times = std::getenv("ASSETGEN_TIMES") != nullptr;
    const std::vector<Entry> entries = catalogue();
    for (const Entry& entry : entries) {
        std::error_code ec;
        std::filesystem::create_directories((dataDir / entry.path).parent_path(), ec);
    }
    // Pictures are independent, so two workers share them; each file's bytes depend
    // only on its own painter, never on which worker made it or when.
    std::atomic<size_t> next{0};
    std::atomic<bool> ok{true};
    auto work = [&] {
        for (size_t i = next++; i < entries.size(); i = next++) {
            const Entry& entry = entries[i];
            auto start = std::chrono::steady_clock::now();
            Image im = entry.paint();
            if (!img::save(im, dataDir / entry.path, entry.mount, entry.opaque, entry.jpegQuality)) ok = false;
            if (times) {
                double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                std::fprintf(stderr, "%8.1f ms  %s\n", ms, entry.path.c_str());
            }
        }
    };
    std::thread helper(work);
    work();
    helper.join();
    return ok;
}

}  // namespace assetgen
