// The generated pictures: every file the game's texture catalogue and sky name
// exists under the built data tree and decodes with stb_image, the game's decoder,
// with the transparency each use needs.
#include <gtest/gtest.h>

#include "TempDir.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// The engine's own decoder: the files must decode exactly as the game decodes them.
#include <stb_image.h>

namespace {

const std::string kData = VELKARAN_BUILD_DIR "/Data/Textures/";

enum class Alpha {
    Opaque,       // every pixel fully opaque (JPEGs, walls, full-screen pictures)
    Transparent,  // has fully transparent pixels (overlays, icons, sprites)
    Any,
};

struct Expect {
    const char* file;  // under Data/Textures/
    Alpha alpha;
};

// The whole inventory: the 106 catalogue pictures in load order, then the six sky faces.
const Expect kInventory[] = {
    {"trace_path_type_1.png", Alpha::Opaque},
    {"trace_path_type_2.png", Alpha::Opaque},
    {"trace_path_type_3.png", Alpha::Opaque},
    {"Bricks/bricks_01.png", Alpha::Opaque},
    {"Bricks/bricks_02.png", Alpha::Opaque},
    {"Bricks/bricks_03.png", Alpha::Opaque},
    {"Bricks/bricks_04.png", Alpha::Opaque},
    {"Bricks/bricks_05.png", Alpha::Opaque},
    {"Frames/wall_frame_P1.png", Alpha::Opaque},
    {"Frames/wall_frame_P2.png", Alpha::Opaque},
    {"Frames/wall_frame_P3.png", Alpha::Opaque},
    {"Frames/wall_frame_P4.png", Alpha::Opaque},
    {"Frames/wall_frame_P5.png", Alpha::Opaque},
    {"Frames/wall_frame_P6.png", Alpha::Opaque},
    {"Frames/wall_frame_P7.png", Alpha::Opaque},
    {"Frames/wall_frame_P8.png", Alpha::Opaque},
    {"Frames/wall_frame_P9.png", Alpha::Opaque},
    {"Frames/wall_frame_P10.png", Alpha::Opaque},
    {"Frames/wall_frame_P11.png", Alpha::Opaque},
    {"Frames/wall_frame_P12.png", Alpha::Opaque},
    {"HUD/crossHair_1.png", Alpha::Transparent},
    {"HUD/crossHair_2.png", Alpha::Transparent},
    {"enemy01.jpg", Alpha::Opaque},
    {"muzzleFlash.png", Alpha::Transparent},
    {"HUD/AmmoIcon.png", Alpha::Transparent},
    {"HUD/HealthIcon.png", Alpha::Transparent},
    {"HUD/EncubridoresDesactivadosIcon.png", Alpha::Transparent},
    {"HUD/Hiyura_rescatada_0.png", Alpha::Transparent},
    {"HUD/Hiyura_rescatada_1.png", Alpha::Transparent},
    {"HUD/EscanerIcon.png", Alpha::Transparent},
    {"HUD/CelulasIcon_0.png", Alpha::Transparent},
    {"HUD/CelulasIcon_1.png", Alpha::Transparent},
    {"HUD/celulas_conectadas_0.png", Alpha::Transparent},
    {"HUD/celulas_conectadas_1.png", Alpha::Transparent},
    {"HUD/celulas_conectadas_2.png", Alpha::Transparent},
    {"HUD/celulas_conectadas_3.png", Alpha::Transparent},
    {"HUD/celulas_conectadas_4.png", Alpha::Transparent},
    {"HUD/InyectorPlasma0Icon.png", Alpha::Transparent},
    {"HUD/InyectorPlasma1Icon.png", Alpha::Transparent},
    {"HUD/Map/Background_map.png", Alpha::Opaque},
    {"HUD/Map/Wall_0_IconMap.png", Alpha::Any},
    {"HUD/Map/Wall_1_IconMap.png", Alpha::Any},
    {"HUD/Map/Wall_2_IconMap.png", Alpha::Any},
    {"HUD/Map/Wall_3_IconMap.png", Alpha::Any},
    {"HUD/Map/Wall_4_IconMap.png", Alpha::Any},
    {"HUD/Map/Player_IconMap.png", Alpha::Transparent},
    {"HUD/Map/ItemChest_IconMap.png", Alpha::Transparent},
    {"HUD/Map/Teleport_IconMap.png", Alpha::Transparent},
    {"HUD/Map/KeyRed_IconMap.png", Alpha::Transparent},
    {"HUD/Map/KeyGreen_IconMap.png", Alpha::Transparent},
    {"HUD/Map/KeyYellow_IconMap.png", Alpha::Transparent},
    {"HUD/Map/Spaceship_IconMap.png", Alpha::Transparent},
    {"HUD/Map/DoorRed_IconMap.png", Alpha::Transparent},
    {"HUD/Map/DoorGreen_IconMap.png", Alpha::Transparent},
    {"HUD/Map/DoorYellow_IconMap.png", Alpha::Transparent},
    {"HUD/Map/EnergyCell_IconMap.png", Alpha::Transparent},
    {"HUD/Map/Statue_IconMap.png", Alpha::Transparent},
    {"HUD/Map/EngineDevice_IconMap.png", Alpha::Transparent},
    {"HUD/Map/Trace_IconMap.png", Alpha::Transparent},
    {"HUD/Map/Hiyura_IconMap.png", Alpha::Transparent},
    {"HUD/Map/SlotCell_IconMap.png", Alpha::Transparent},
    {"HUD/Map/InductorRojo_IconMap.png", Alpha::Transparent},
    {"HUD/Map/RepelenteAzul_IconMap.png", Alpha::Transparent},
    {"HUD/Map/WormAlien_IconMap.png", Alpha::Transparent},
    {"HUD/Map/MonolithAlien_IconMap.png", Alpha::Transparent},
    {"HUD/Map/ForceField_IconMap.png", Alpha::Transparent},
    {"HUD/KeyIconRed0Icon.png", Alpha::Transparent},
    {"HUD/KeyIconGreen0Icon.png", Alpha::Transparent},
    {"HUD/KeyIconYellow0Icon.png", Alpha::Transparent},
    {"HUD/KeyIconRed1Icon.png", Alpha::Transparent},
    {"HUD/KeyIconGreen1Icon.png", Alpha::Transparent},
    {"HUD/KeyIconYellow1Icon.png", Alpha::Transparent},
    {"HUD/InductorRojo0Icon.png", Alpha::Transparent},
    {"HUD/InductorRojo1Icon.png", Alpha::Transparent},
    {"HUD/RepelenteAzul0Icon.png", Alpha::Transparent},
    {"HUD/RepelenteAzul1Icon.png", Alpha::Transparent},
    {"HUD/CompassIcon.png", Alpha::Transparent},
    {"HUD/CompassNorthIcon.png", Alpha::Transparent},
    {"HUD/CompassSouthIcon.png", Alpha::Transparent},
    {"HUD/SniperScope.png", Alpha::Transparent},
    {"Particles/EnemyDamageEffect.png", Alpha::Transparent},
    {"Particles/EnemyDestroyEffect.png", Alpha::Transparent},
    {"Particles/GirlRescueEffect.png", Alpha::Transparent},
    {"Particles/SpaceshipEngineEffect.png", Alpha::Transparent},
    {"FlagTexture.png", Alpha::Opaque},
    {"ProjectileBlast.png", Alpha::Any},
    {"Projectile.png", Alpha::Opaque},
    {"Main_menu.png", Alpha::Opaque},
    {"Indicator.png", Alpha::Transparent},
    {"version_32_bits.png", Alpha::Transparent},
    {"About_menu.png", Alpha::Opaque},
    {"Credits_menu.png", Alpha::Opaque},
    {"loading_screen.png", Alpha::Opaque},
    {"GameOver.png", Alpha::Any},
    {"VictoryScreen.png", Alpha::Transparent},
    {"BloodFrame.png", Alpha::Transparent},
    {"Terrain/soil01.jpg", Alpha::Opaque},
    {"Terrain/soil02.jpg", Alpha::Opaque},
    {"Terrain/soil03.jpg", Alpha::Opaque},
    {"Terrain/soil03_NormalMap.jpg", Alpha::Opaque},
    {"Terrain/soil04.jpg", Alpha::Opaque},
    {"Terrain/blendMap.png", Alpha::Opaque},
    {"Terrain/ceiling_1.jpg", Alpha::Opaque},
    {"Terrain/ceiling_2.jpg", Alpha::Opaque},
    {"Terrain/ceiling_3.jpg", Alpha::Opaque},
    {"Terrain/ceiling_4.jpg", Alpha::Opaque},
    {"Skyboxes/Red/right.jpg", Alpha::Opaque},
    {"Skyboxes/Red/left.jpg", Alpha::Opaque},
    {"Skyboxes/Red/top.jpg", Alpha::Opaque},
    {"Skyboxes/Red/bottom.jpg", Alpha::Opaque},
    {"Skyboxes/Red/front.jpg", Alpha::Opaque},
    {"Skyboxes/Red/back.jpg", Alpha::Opaque},
};
constexpr size_t kCatalogueCount = 106;

// Decoded as the game decodes: four channels requested, rows as stored.
struct Picture {
    int w = 0, h = 0;
    std::vector<std::uint8_t> px;
    const std::uint8_t* at(int x, int y) const { return &px[(size_t(y) * w + x) * 4]; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
};

Picture decode(const std::string& file) {
    Picture p;
    int channels = 0;
    stbi_uc* data = stbi_load((kData + file).c_str(), &p.w, &p.h, &channels, 4);
    if (data) {
        p.px.assign(data, data + size_t(p.w) * p.h * 4);
        stbi_image_free(data);
    }
    return p;
}

double meanAbsDiff(const Picture& a, const Picture& b) {
    if (a.w != b.w || a.h != b.h) return 255.0;
    double sum = 0;
    for (size_t i = 0; i < a.px.size(); ++i) sum += std::abs(int(a.px[i]) - int(b.px[i]));
    return sum / double(a.px.size());
}

TEST(ImageAssets, InventoryDecodesWithTheTransparencyItsUseNeeds) {
    ASSERT_EQ(std::size(kInventory), kCatalogueCount + 6);
    size_t catalogueBytes = 0;
    for (size_t i = 0; i < std::size(kInventory); ++i) {
        const Expect& e = kInventory[i];
        SCOPED_TRACE(e.file);
        Picture p = decode(e.file);
        ASSERT_GT(p.w, 0) << stbi_failure_reason();
        ASSERT_GT(p.h, 0);
        if (i < kCatalogueCount) catalogueBytes += p.px.size();
        int transparent = 0, opaque = 0;
        for (int y = 0; y < p.h; ++y)
            for (int x = 0; x < p.w; ++x) {
                transparent += p.alpha(x, y) == 0;
                opaque += p.alpha(x, y) == 255;
            }
        if (e.alpha == Alpha::Opaque) {
            EXPECT_EQ(opaque, p.w * p.h);
        }
        if (e.alpha == Alpha::Transparent) {
            EXPECT_GT(transparent, 0);
            EXPECT_GT(p.w * p.h - transparent, 0) << "nothing drawn";
        }
        // Not a flat fill: some variation in colour.
        int lo = 255, hi = 0;
        for (size_t k = 0; k < p.px.size(); k += 4) {
            int l = (p.px[k] + p.px[k + 1] + p.px[k + 2]) / 3;
            lo = std::min(lo, l);
            hi = std::max(hi, l);
        }
        EXPECT_GT(hi - lo, 20);
    }
    // All catalogue pictures are decoded at every start.
    EXPECT_LT(catalogueBytes, size_t(64) << 20);
}

TEST(ImageAssets, OverlaysLeaveTheViewClear) {
    Picture scope = decode("HUD/SniperScope.png");
    ASSERT_GT(scope.w, 0);
    EXPECT_EQ(scope.alpha(scope.w / 2 + scope.w / 10, scope.h / 2 + scope.h / 10), 0);  // inside the lens
    EXPECT_EQ(scope.alpha(2, 2), 255);                                                // outside it, black
    EXPECT_EQ(scope.alpha(scope.w - 3, scope.h - 3), 255);

    Picture blood = decode("BloodFrame.png");
    ASSERT_GT(blood.w, 0);
    EXPECT_EQ(blood.alpha(blood.w / 2, blood.h / 2), 0);
    EXPECT_GT(blood.alpha(1, blood.h / 2), 100);

    for (const char* f : {"HUD/crossHair_1.png", "HUD/crossHair_2.png", "Indicator.png", "muzzleFlash.png"}) {
        SCOPED_TRACE(f);
        Picture p = decode(f);
        ASSERT_GT(p.w, 0);
        EXPECT_EQ(p.alpha(0, 0), 0);
        EXPECT_EQ(p.alpha(p.w - 1, p.h - 1), 0);
    }
}

TEST(ImageAssets, HeldAndMissingIconsDiffer) {
    const std::pair<const char*, const char*> pairs[] = {
        {"HUD/Hiyura_rescatada_0.png", "HUD/Hiyura_rescatada_1.png"},
        {"HUD/CelulasIcon_0.png", "HUD/CelulasIcon_1.png"},
        {"HUD/InyectorPlasma0Icon.png", "HUD/InyectorPlasma1Icon.png"},
        {"HUD/KeyIconRed0Icon.png", "HUD/KeyIconRed1Icon.png"},
        {"HUD/KeyIconGreen0Icon.png", "HUD/KeyIconGreen1Icon.png"},
        {"HUD/KeyIconYellow0Icon.png", "HUD/KeyIconYellow1Icon.png"},
        {"HUD/InductorRojo0Icon.png", "HUD/InductorRojo1Icon.png"},
        {"HUD/RepelenteAzul0Icon.png", "HUD/RepelenteAzul1Icon.png"},
        {"HUD/celulas_conectadas_0.png", "HUD/celulas_conectadas_4.png"},
        {"HUD/CompassNorthIcon.png", "HUD/CompassSouthIcon.png"},
        {"HUD/Map/KeyRed_IconMap.png", "HUD/Map/KeyGreen_IconMap.png"},
    };
    for (const auto& [a, b] : pairs) {
        SCOPED_TRACE(std::string(a) + " / " + b);
        EXPECT_GT(meanAbsDiff(decode(a), decode(b)), 8.0);
    }
}

TEST(ImageAssets, TerrainMapsHoldValidData) {
    // Tangent-space normals: unit length, pointing out of the surface.
    Picture n = decode("Terrain/soil03_NormalMap.jpg");
    ASSERT_GT(n.w, 0);
    for (int y = 0; y < n.h; y += 7)
        for (int x = 0; x < n.w; x += 7) {
            const std::uint8_t* p = n.at(x, y);
            double nx = p[0] / 127.5 - 1, ny = p[1] / 127.5 - 1, nz = p[2] / 127.5 - 1;
            ASSERT_NEAR(std::sqrt(nx * nx + ny * ny + nz * nz), 1.0, 0.12) << x << "," << y;
            ASSERT_GT(nz, 0.3);
        }
    // Blend weights never sum above one, and every ground texture shows somewhere.
    Picture b = decode("Terrain/blendMap.png");
    ASSERT_GT(b.w, 0);
    int dominant[4] = {0, 0, 0, 0};
    for (int y = 0; y < b.h; ++y)
        for (int x = 0; x < b.w; ++x) {
            const std::uint8_t* p = b.at(x, y);
            int sum = p[0] + p[1] + p[2];
            ASSERT_LE(sum, 258);
            int base = 255 - std::min(sum, 255);
            int best = std::max({int(p[0]), int(p[1]), int(p[2]), base});
            dominant[best == p[0] ? 0 : best == p[1] ? 1 : best == p[2] ? 2 : 3]++;
        }
    for (int k = 0; k < 4; ++k) {
        EXPECT_GT(dominant[k], b.w * b.h / 50) << "texture " << k;
    }
}

// Mean colour difference along a column of a and a column of b, row for row.
double columnDiff(const Picture& a, int ca, const Picture& b, int cb) {
    double sum = 0;
    for (int y = 0; y < a.h; ++y)
        for (int c = 0; c < 3; ++c) sum += std::abs(int(a.at(ca, y)[c]) - int(b.at(cb, y)[c]));
    return sum / (3.0 * a.h);
}

TEST(ImageAssets, WallsTileAndSkyFacesJoin) {
    // A wall's left and right edges meet its neighbour's: they must match.
    for (const char* f : {"Bricks/bricks_01.png", "Bricks/bricks_02.png", "Bricks/bricks_03.png", "Bricks/bricks_04.png"}) {
        SCOPED_TRACE(f);
        Picture p = decode(f);
        ASSERT_GT(p.w, 0);
        double seam = columnDiff(p, p.w - 1, p, 0);
        double inner = columnDiff(p, p.w / 2, p, p.w / 2 + 1);
        EXPECT_LT(seam, inner * 2.5 + 4);
    }
    // Cube faces: the right face's last column is the back face's first, the front
    // face's last column is the right face's first, and so on round the horizon.
    Picture right = decode("Skyboxes/Red/right.jpg"), left = decode("Skyboxes/Red/left.jpg");
    Picture front = decode("Skyboxes/Red/front.jpg"), back = decode("Skyboxes/Red/back.jpg");
    for (const Picture* p : {&right, &left, &front, &back}) {
        ASSERT_GT(p->w, 0);
        ASSERT_EQ(p->w, p->h);
        ASSERT_EQ(p->w, right.w);
    }
    const int e = right.w - 1;
    EXPECT_LT(columnDiff(right, e, back, 0), 6.0);
    EXPECT_LT(columnDiff(back, e, left, 0), 6.0);
    EXPECT_LT(columnDiff(left, e, front, 0), 6.0);
    EXPECT_LT(columnDiff(front, e, right, 0), 6.0);
}

}  // namespace

namespace {

std::vector<unsigned char> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ImageGenerator, WritesTheSameBytesOnEveryRun) {
    const TempDir temp;
    const std::filesystem::path out = temp.path;
    const std::string command =
        std::string("\"") + VELKARAN_BUILD_DIR + "/tools/velkaran-assetgen\" \"" + out.string() + "\" images";
    ASSERT_EQ(std::system(command.c_str()), 0);
    size_t compared = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(out / "Textures")) {
        if (!entry.is_regular_file()) continue;
        const auto relative = std::filesystem::relative(entry.path(), out);
        SCOPED_TRACE(relative.string());
        EXPECT_TRUE(fileBytes(entry.path()) == fileBytes(std::filesystem::path(VELKARAN_BUILD_DIR "/Data") / relative));
        ++compared;
    }
    EXPECT_GE(compared, 112u);
}

}  // namespace
