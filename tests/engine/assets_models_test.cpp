// The generated models: every file the game loads imports the way the game
// imports it, carries normals and texture coordinates, names diffuse textures
// that exist and decode, and has a believable size once drawn at the game's scale.
#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <gtest/gtest.h>

#include "TempDir.h"
#include <unistd.h>

// The engine's own decoder: the files must decode exactly as the game decodes them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

namespace fs = std::filesystem;

const fs::path kModels = fs::path(VELKARAN_BUILD_DIR) / "Data" / "Models3D";

struct ModelCase {
    const char* path;
    float scaleX, scaleY, scaleZ;  // the scale the game draws it with
    float minSize, maxSize;        // accepted range of its largest world extent
};

// Every model the game loads, with its draw scale and a sane world size range
// (a cell is 50 units, the eye 10 above the ground, walls 100 high).
const ModelCase kInventory[] = {
    {"Enemy/cildrone.dae", 10, 10, 10, 8, 20},
    {"Enemy/recondrone.dae", 5, 5, 5, 8, 20},
    {"Enemy/recondrone_2.dae", 5, 5, 5, 8, 20},
    {"Enemy/enemy_pyramid.dae", 4.3f, 6.5f, 4.3f, 8, 22},
    {"Enemy/enemy_pyramid_2.dae", 4.3f, 6.5f, 4.3f, 8, 22},
    {"Enemy/enemy_skull.dae", 12, 12, 12, 8, 20},
    {"Enemy/enemy_skull_2.dae", 12, 12, 12, 8, 20},
    {"Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", 1, 1, 1, 4, 8},
    {"Weapons/Sci-fi_SniperRifle/SniperRifle.dae", 1, 1, 1, 4, 9},
    {"Items/Item_health.dae", 0.015f, 0.015f, 0.015f, 4, 9},
    {"Items/Item_extra_health.dae", 5, 5, 5, 5, 12},
    {"Items/Item_ammo.dae", 8, 8, 8, 4, 10},
    {"Items/TreasureChest.dae", 0.1f, 0.1f, 0.1f, 6, 14},
    {"Items/Energy_Cell.dae", 4, 4, 4, 4, 10},
    {"Items/scanner_map.dae", 80, 80, 80, 3, 10},
    {"Items/engine_device.dae", 8, 8, 8, 6, 14},
    {"Items/repelente_azul.dae", 8, 8, 8, 3, 8},
    {"Items/cristal_rojo.dae", 10, 10, 10, 4, 10},
    {"Items/Key_red.dae", 8, 8, 8, 3, 6},
    {"Items/Key_green.dae", 8, 8, 8, 3, 6},
    {"Items/Key_yellow.dae", 8, 8, 8, 3, 6},
    {"Damages/stalagmites.dae", 6, 4, 6, 12, 35},
    {"Damages/cactus_1.dae", 22, 25, 22, 12, 30},
    {"Damages/vegetation_lava.dae", 5, 1.5f, 5, 20, 45},
    {"Damages/vegetation_lava_2.dae", 25, 35, 25, 10, 30},
    {"Scene/Platform_energy_cell.dae", 0.23f, 0.23f, 0.23f, 15, 40},
    {"Scene/Girl_rescue/girl_rescue.dae", 14, 14, 14, 8, 14},
    {"Scene/Spaceship/spaceship.dae", 0.1f, 0.1f, 0.1f, 40, 60},
    {"Scene/tree_1.dae", 5, 8, 5, 30, 70},
    {"Scene/tree_2.dae", 5, 7, 5, 30, 70},
    {"Scene/rock_1.dae", 18, 18, 18, 15, 45},
    {"Scene/plant_1.dae", 12, 12, 12, 5, 20},
    {"Scene/juncos_1.dae", 22, 22, 22, 10, 30},
    {"Scene/skeleton_head.dae", 4, 4, 4, 3, 10},
    {"Scene/skeleton_1.dae", 8, 8, 8, 12, 35},
    {"Scene/Worm_alien.dae", 8, 8, 8, 25, 60},
    {"Scene/monolith_alien.dae", 30, 24, 24, 40, 75},
    {"Scene/JailGateRed.dae", 4.5f, 4.5f, 4.5f, 45, 75},
    {"Scene/JailGateGreen.dae", 4.5f, 4.5f, 4.5f, 45, 75},
    {"Scene/JailGateYellow.dae", 4.5f, 4.5f, 4.5f, 45, 75},
    {"Rock/LowPolyRock.dae", 20, 36, 20, 60, 160},
    {"FlagPole/Pole.dae", 1, 1, 1, 38, 50},
    {"Force_field/force_field_1_yellow.dae", 12, 12, 12, 15, 45},
    {"Force_field/force_field_2_blue.dae", 12, 12, 12, 15, 45},
    {"Force_field/force_field_3_green.dae", 12, 12, 12, 15, 45},
    {"Force_field/force_field_4_violet.dae", 12, 12, 12, 15, 45},
    {"Force_field/force_field_5_red.dae", 12, 12, 12, 15, 45},
    {"Force_field/Statue_angel_1_yellow.dae", 22, 22, 22, 20, 40},
    {"Force_field/Statue_angel_2_blue.dae", 22, 22, 22, 20, 40},
    {"Force_field/Statue_angel_3_green.dae", 22, 22, 22, 20, 40},
    {"Force_field/Statue_angel_4_violet.dae", 22, 22, 22, 20, 40},
    {"Force_field/Statue_angel_5_red.dae", 22, 22, 22, 20, 40},
};

class GeneratedModel : public ::testing::TestWithParam<ModelCase> {};

TEST_P(GeneratedModel, ImportsAsTheGameDoesWithNormalsUvsAndDiffuseTextures) {
    const ModelCase& c = GetParam();
    const fs::path file = kModels / c.path;
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), aiProcess_Triangulate | aiProcess_FlipUVs);
    ASSERT_NE(scene, nullptr) << file << ": " << importer.GetErrorString();
    ASSERT_NE(scene->mFlags, static_cast<unsigned>(AI_SCENE_FLAGS_INCOMPLETE));
    ASSERT_NE(scene->mRootNode, nullptr);
    ASSERT_GE(scene->mNumMeshes, 1u);

    float lo[3] = {1e30f, 1e30f, 1e30f}, hi[3] = {-1e30f, -1e30f, -1e30f};
    const float scale[3] = {c.scaleX, c.scaleY, c.scaleZ};
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        SCOPED_TRACE(mesh->mName.C_Str());
        ASSERT_GT(mesh->mNumFaces, 0u);
        // The game reads normals without generating any, so they must be in the file.
        ASSERT_TRUE(mesh->HasNormals());
        ASSERT_TRUE(mesh->HasTextureCoords(0));
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            const aiVector3D& n = mesh->mNormals[v];
            ASSERT_NEAR(n.Length(), 1.0f, 0.01f) << "vertex " << v;
            const aiVector3D& p = mesh->mVertices[v];
            const float q[3] = {p.x, p.y, p.z};
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], q[k] * scale[k]);
                hi[k] = std::max(hi[k], q[k] * scale[k]);
            }
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) ASSERT_EQ(mesh->mFaces[f].mNumIndices, 3u);

        const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
        ASSERT_GE(material->GetTextureCount(aiTextureType_DIFFUSE), 1u);
        for (unsigned t = 0; t < material->GetTextureCount(aiTextureType_DIFFUSE); ++t) {
            aiString name;
            ASSERT_EQ(material->GetTexture(aiTextureType_DIFFUSE, t, &name), AI_SUCCESS);
            const fs::path texture = file.parent_path() / name.C_Str();
            ASSERT_TRUE(fs::exists(texture)) << texture;
            int w = 0, h = 0, channels = 0;
            unsigned char* pixels = stbi_load(texture.string().c_str(), &w, &h, &channels, 3);
            ASSERT_NE(pixels, nullptr) << texture << ": " << stbi_failure_reason();
            // A texture, not a flat colour: its pixels must vary.
            int lowest = 255, highest = 0;
            for (int i = 0; i < w * h * 3; i += 3) {
                lowest = std::min<int>(lowest, pixels[i] + pixels[i + 1] + pixels[i + 2]);
                highest = std::max<int>(highest, pixels[i] + pixels[i + 1] + pixels[i + 2]);
            }
            stbi_image_free(pixels);
            EXPECT_GT(highest - lowest, 30) << texture;
        }
    }
    const float size = std::max({hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]});
    EXPECT_GE(size, c.minSize) << "world size of " << c.path;
    EXPECT_LE(size, c.maxSize) << "world size of " << c.path;
}

INSTANTIATE_TEST_SUITE_P(Inventory, GeneratedModel, ::testing::ValuesIn(kInventory), [](const auto& testInfo) {
    std::string name = testInfo.param.path;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A second run of the generator writes exactly the bytes the build wrote.
TEST(GeneratedModels, SecondRunGivesIdenticalFiles) {
    const fs::path generator = fs::path(VELKARAN_BUILD_DIR) / "tools" / "velkaran-assetgen";
    ASSERT_TRUE(fs::exists(generator));
    const TempDir temp;
    const fs::path out = temp.path;
    const std::string command = "\"" + generator.string() + "\" \"" + out.string() + "\" models > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(kModels)) {
        if (!entry.is_regular_file()) continue;
        const fs::path again = out / "Models3D" / fs::relative(entry.path(), kModels);
        ASSERT_TRUE(fs::exists(again)) << again;
        EXPECT_TRUE(readAll(entry.path()) == readAll(again)) << "differs: " << entry.path();
        ++compared;
    }
    std::size_t regenerated = 0;
    for (const auto& entry : fs::recursive_directory_iterator(out / "Models3D"))
        if (entry.is_regular_file()) ++regenerated;
    EXPECT_EQ(compared, regenerated);
}

}  // namespace
