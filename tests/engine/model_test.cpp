// Imported models against a real context (run under Xvfb from <build>/bin): the import
// of a small hand-written Collada kit, material textures and their samplers, placement,
// the two model programs, sharing through the library, and failures.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/gtc/matrix_transform.hpp>

#include "scene/Camera.h"
#include "render/Model.h"
#include "render/ModelLibrary.h"
#include "render/Renderer.h"

// Static: another test file may carry the writer's implementation too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace {

namespace fs = std::filesystem;

const std::string kSingleVs = "../Data/Shaders/SingleModelLoader.vs";
const std::string kSingleFs = "../Data/Shaders/SingleModelLoader.fs";
const std::string kEnemyVs = "../Data/Shaders/EnemyVertexShader.vs";
const std::string kEnemyFs = "../Data/Shaders/EnemyFragmentShader.fs";

// ---- The fixture files ----

struct Triangle {
    std::string id;
    bool normals = true;
    bool uvs = true;
    float corners[9];
};

std::string floats(const float* v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += (i ? " " : "") + std::to_string(v[i]);
    return s;
}

// One triangle with one shared normal (0, 0, 1) and texture coordinates (0,0) (1,0) (0,1).
std::string geometry(const Triangle& t) {
    const float normal[3] = {0, 0, 1};
    const float uv[6] = {0, 0, 1, 0, 0, 1};
    std::string g = "<geometry id=\"" + t.id + "\"><mesh>";
    g += "<source id=\"" + t.id + "-pos\"><float_array id=\"" + t.id + "-pos-a\" count=\"9\">" + floats(t.corners, 9) +
         "</float_array><technique_common><accessor source=\"#" + t.id +
         "-pos-a\" count=\"3\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
         "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>";
    if (t.normals)
        g += "<source id=\"" + t.id + "-nrm\"><float_array id=\"" + t.id + "-nrm-a\" count=\"3\">" + floats(normal, 3) +
             "</float_array><technique_common><accessor source=\"#" + t.id +
             "-nrm-a\" count=\"1\" stride=\"3\"><param name=\"X\" type=\"float\"/><param name=\"Y\" type=\"float\"/>"
             "<param name=\"Z\" type=\"float\"/></accessor></technique_common></source>";
    if (t.uvs)
        g += "<source id=\"" + t.id + "-uv\"><float_array id=\"" + t.id + "-uv-a\" count=\"6\">" + floats(uv, 6) +
             "</float_array><technique_common><accessor source=\"#" + t.id +
             "-uv-a\" count=\"3\" stride=\"2\"><param name=\"S\" type=\"float\"/><param name=\"T\" type=\"float\"/>"
             "</accessor></technique_common></source>";
    g += "<vertices id=\"" + t.id + "-vtx\"><input semantic=\"POSITION\" source=\"#" + t.id + "-pos\"/></vertices>";
    g += "<triangles material=\"m\" count=\"1\"><input semantic=\"VERTEX\" source=\"#" + t.id + "-vtx\" offset=\"0\"/>";
    int inputs = 1;
    if (t.normals)
        g += "<input semantic=\"NORMAL\" source=\"#" + t.id + "-nrm\" offset=\"" + std::to_string(inputs++) + "\"/>";
    if (t.uvs)
        g += "<input semantic=\"TEXCOORD\" source=\"#" + t.id + "-uv\" offset=\"" + std::to_string(inputs++) +
             "\" set=\"0\"/>";
    g += "<p>";
    for (int v = 0; v < 3; ++v) {
        g += std::to_string(v) + " ";
        if (t.normals) g += "0 ";
        if (t.uvs) g += std::to_string(v) + " ";
    }
    return g + "</p></triangles></mesh></geometry>";
}

struct Material {
    std::string id;
    std::string diffuseImage;   // image id or empty
    std::string specularImage;  // image id or empty
};

std::string effect(const Material& m) {
    auto slot = [](const char* channel, const std::string& image) {
        if (image.empty()) return std::string();
        return std::string("<") + channel + "><texture texture=\"" + image + "\" texcoord=\"UV0\"/></" + channel + ">";
    };
    return "<effect id=\"" + m.id + "-fx\"><profile_COMMON><technique sid=\"common\"><phong>" +
           slot("diffuse", m.diffuseImage) + slot("specular", m.specularImage) +
           "</phong></technique></profile_COMMON></effect>";
}

std::string instance(const std::string& geometryId, const std::string& materialId) {
    return "<instance_geometry url=\"#" + geometryId +
           "\"><bind_material><technique_common><instance_material symbol=\"m\" target=\"#" + materialId +
           "\"/></technique_common></bind_material></instance_geometry>";
}

struct Image {
    std::string id;
    std::string file;
};

std::string document(const std::vector<Image>& images, const std::vector<Material>& materials,
                     const std::vector<Triangle>& triangles, const std::string& nodes) {
    std::string d =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">"
        "<asset><unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset><library_images>";
    for (const Image& i : images) d += "<image id=\"" + i.id + "\"><init_from>" + i.file + "</init_from></image>";
    d += "</library_images><library_effects>";
    for (const Material& m : materials) d += effect(m);
    d += "</library_effects><library_materials>";
    for (const Material& m : materials)
        d += "<material id=\"" + m.id + "\"><instance_effect url=\"#" + m.id + "-fx\"/></material>";
    d += "</library_materials><library_geometries>";
    for (const Triangle& t : triangles) d += geometry(t);
    d += "</library_geometries><library_visual_scenes><visual_scene id=\"scene\">" + nodes +
         "</visual_scene></library_visual_scenes><scene><instance_visual_scene url=\"#scene\"/></scene></COLLADA>\n";
    return d;
}

// A triangle at x offset dx; the big one covers the whole clip square.
Triangle small(const std::string& id, float dx, bool normals = true, bool uvs = true) {
    return {id, normals, uvs, {dx - 0.5f, -0.5f, 0, dx + 0.5f, -0.5f, 0, dx, 0.5f, 0}};
}
Triangle screenFilling(const std::string& id) { return {id, true, true, {-1, -1, 0, 3, -1, 0, -1, 3, 0}}; }

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void writeSolidPng(const fs::path& path, int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> px;
    for (int i = 0; i < w * h; ++i) px.insert(px.end(), {r, g, b});
    stbi_write_png(path.string().c_str(), w, h, 3, px.data(), w * 3);
}

// 3 × 2 pixels of RGB: rows of 9 bytes, which a 4-byte unpack alignment would skew.
const std::vector<uint8_t> kOddPixels = {10, 20, 30, 40, 50, 60, 70, 80, 90, 110, 120, 130, 140, 150, 160, 170, 180, 190};

const char* kProbeVs = R"(#version 330 core
layout (location = 0) in vec3 aPos;
layout (location = 2) in vec2 aTexCoords;
uniform mat4 projection;
uniform mat4 view;
uniform mat4 model;
out vec2 uv;
void main() { uv = aTexCoords; gl_Position = projection * view * model * vec4(aPos, 1.0); }
)";
// Each map's red channel goes to its own output channel: a map on the wrong unit shows.
const char* kProbeFs = R"(#version 330 core
in vec2 uv;
out vec4 FragColor;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_specular1;
void main() {
    FragColor = vec4(texture(texture_diffuse1, uv).r, texture(texture_diffuse2, uv).r,
                     texture(texture_specular1, uv).r, 1.0);
}
)";
const char* kWhiteFs = R"(#version 330 core
out vec4 FragColor;
void main() { FragColor = vec4(1.0); }
)";

// One folder per test process: the tests run in parallel.
struct Kit {
    fs::path dir;
    std::string kit, material, plain, lit, missing;
    std::string probeVs, probeFs, whiteFs;

    Kit() {
        dir = fs::temp_directory_path() / ("velkaran-model-test-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        writeSolidPng(dir / "d1.png", 2, 2, 60, 0, 0);
        writeSolidPng(dir / "d2.png", 2, 2, 130, 0, 0);
        writeSolidPng(dir / "s1.png", 2, 2, 200, 0, 0);
        writeSolidPng(dir / "shared.png", 2, 2, 0, 255, 0);
        writeSolidPng(dir / "white.png", 2, 2, 255, 255, 255);
        stbi_write_png((dir / "odd.png").string().c_str(), 3, 2, 3, kOddPixels.data(), 9);
        writeFile(dir / "broken.png", "this is no picture");

        const std::vector<Image> images = {{"i_d1", "d1.png"},         {"i_s1", "s1.png"},
                                           {"i_shared_a", "shared.png"}, {"i_shared_b", "shared.png"},
                                           {"i_missing", "missing.png"}, {"i_broken", "broken.png"},
                                           {"i_odd", "odd.png"},         {"i_white", "white.png"}};
        const std::vector<Material> materials = {{"m_main", "i_d1", "i_s1"},     {"m_shared_a", "i_shared_a", ""},
                                                 {"m_shared_b", "i_shared_b", ""}, {"m_missing", "i_missing", ""},
                                                 {"m_broken", "i_broken", ""},     {"m_odd", "i_odd", ""},
                                                 {"m_white", "i_white", ""},       {"m_plain", "", ""}};
        // Meshes 0 … 5 sit at x = 0, 10, 20, …: their order shows in their positions.
        const std::string kitNodes =
            "<node id=\"a\" name=\"a\">" + instance("g0", "m_main") + instance("g1", "m_shared_a") +
            "<node id=\"a_child\" name=\"a_child\">" + instance("g2", "m_shared_b") + "</node></node>" +
            "<node id=\"b\" name=\"b\">" + instance("g3", "m_missing") + instance("g4", "m_broken") +
            instance("g5", "m_odd") + "</node>";
        kit = (dir / "kit.dae").string();
        writeFile(kit, document(images, materials,
                                {small("g0", 0), small("g1", 10), small("g2", 20, true, false),
                                 small("g3", 30, false, true), small("g4", 40), small("g5", 50)},
                                kitNodes));
        material = (dir / "material.dae").string();
        writeFile(material, document(images, materials, {screenFilling("g0")},
                                     "<node id=\"a\" name=\"a\">" + instance("g0", "m_main") + "</node>"));
        plain = (dir / "plain.dae").string();
        writeFile(plain, document(images, materials, {small("g0", 0)},
                                  "<node id=\"a\" name=\"a\">" + instance("g0", "m_plain") + "</node>"));
        lit = (dir / "lit.dae").string();
        writeFile(lit, document(images, materials, {screenFilling("g0")},
                                "<node id=\"a\" name=\"a\">" + instance("g0", "m_white") + "</node>"));
        missing = (dir / "no-such-model.dae").string();

        probeVs = (dir / "probe.vs").string();
        probeFs = (dir / "probe.fs").string();
        whiteFs = (dir / "white.fs").string();
        writeFile(probeVs, kProbeVs);
        writeFile(probeFs, kProbeFs);
        writeFile(whiteFs, kWhiteFs);
    }
    ~Kit() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
};

Kit& kit() {
    static Kit k;
    return k;
}

const unsigned kImportFlags = aiProcess_Triangulate | aiProcess_FlipUVs | aiProcess_GenNormals;

struct Rgb {
    int r, g, b;
};

class ModelGl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Renderer& renderer = Renderer::instance();
        if (!renderer.glReady) renderer.initialize();
        ASSERT_TRUE(renderer.glReady) << "no GL context: run under Xvfb";
        kit();
    }
    void SetUp() override {
        ASSERT_TRUE(Renderer::instance().glReady);
        width = Renderer::instance().width;
        height = Renderer::instance().height;
        glViewport(0, 0, width, height);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        // Off the model's plane: the lighting needs a direction towards the viewer.
        identity.position = {0.0f, 0.0f, 3.0f};
        clear();
    }
    void TearDown() override {
        for (const auto& m : made) m->release();
        // Leave the context as the game sets it up, for the tests that follow.
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
    }
    void clear() const {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    Rgb pixel(int x, int y) const {
        uint8_t p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    Rgb centre() const { return pixel(width / 2, height / 2); }

    // Models live until the test's end, when their GL objects are freed.
    Model& fresh() {
        made.push_back(std::make_unique<Model>());
        return *made.back();
    }
    Model& loaded(const std::string& path, const std::string& vs = kSingleVs, const std::string& fs = kSingleFs) {
        Model& model = fresh();
        model.load(path, vs, fs);
        return model;
    }

    int width = 0;
    int height = 0;
    Camera identity;  // projection and view stay the identity: model space is clip space
    std::vector<std::unique_ptr<Model>> made;
};

bool isNeutralWhite(uint32_t texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    uint8_t px[4] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, px);
    glBindTexture(GL_TEXTURE_2D, 0);
    return w == 1 && h == 1 && px[0] == 255 && px[1] == 255 && px[2] == 255;
}

const MeshTexture* cached(const Model& model, const std::string& file) {
    for (const MeshTexture& t : model.texturesLoaded)
        if (t.path == file) return &t;
    return nullptr;
}

}  // namespace

// ---- Pose ----

struct PoseCase {
    const char* name;
    ModelPose pose;
    glm::mat4 expected;
};

void PrintTo(const PoseCase& c, std::ostream* os) { *os << c.name; }

class ModelPoseMatrix : public testing::TestWithParam<PoseCase> {};

TEST_P(ModelPoseMatrix, IsTranslateRotateRotateScale) {
    const glm::mat4 m = GetParam().pose.matrix();
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            ASSERT_TRUE(std::isfinite(m[c][r])) << "column " << c << " row " << r;
            EXPECT_NEAR(m[c][r], GetParam().expected[c][r], 1e-5f) << "column " << c << " row " << r;
        }
}

namespace {

glm::mat4 trs(glm::vec3 t, float angle, glm::vec3 axis, glm::vec3 s) {
    return glm::scale(glm::rotate(glm::translate(glm::mat4(1.0f), t), angle, axis), s);
}

PoseCase withSecond(const char* name, float secondAngle, glm::vec3 secondAxis, glm::mat4 expected) {
    ModelPose pose;
    pose.position = {3, 4, 5};
    pose.axis = {0, 1, 0};
    pose.angle = 0.7f;
    pose.scale = {2, 3, 4};
    pose.secondAxis = secondAxis;
    pose.secondAngle = secondAngle;
    return {name, pose, expected};
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(
    ModelPose, ModelPoseMatrix,
    testing::Values(
        // The item table leaves the second axis at zero: a rotation about it would be NaN.
        withSecond("SecondAngleZeroWithZeroAxisIsLeftOut", 0.0f, {0, 0, 0},
                   trs({3, 4, 5}, 0.7f, {0, 1, 0}, {2, 3, 4})),
        withSecond("SecondAngleZeroWithAnAxisIsLeftOut", 0.0f, {1, 0, 0}, trs({3, 4, 5}, 0.7f, {0, 1, 0}, {2, 3, 4})),
        withSecond("SecondRotationFollowsTheFirst", -0.785f, {1, 0, 0},
                   glm::scale(glm::rotate(glm::rotate(glm::translate(glm::mat4(1.0f), {3, 4, 5}), 0.7f, {0, 1, 0}),
                                          -0.785f, {1, 0, 0}),
                              {2, 3, 4}))),
    [](const testing::TestParamInfo<PoseCase>& c) { return std::string(c.param.name); });

// ---- Import ----

TEST_F(ModelGl, MeshesComeInNodeOrderWithTheirGeometry) {
    Model& model = loaded(kit().kit);
    ASSERT_EQ(model.meshes.size(), 6u);
    for (size_t i = 0; i < model.meshes.size(); ++i) {
        const Mesh& mesh = model.meshes[i];
        ASSERT_EQ(mesh.vertices.size(), 3u) << "mesh " << i;
        EXPECT_EQ(mesh.indices, (std::vector<uint32_t>{0, 1, 2})) << "mesh " << i;
        EXPECT_FLOAT_EQ(mesh.vertices[2].position.x, 10.0f * static_cast<float>(i)) << "mesh " << i;
        EXPECT_FLOAT_EQ(mesh.vertices[2].position.y, 0.5f) << "mesh " << i;
        EXPECT_NE(mesh.vao, 0u);
    }
    // Flipped for images stored top row first: (0, 1) becomes (0, 0) and back.
    EXPECT_FLOAT_EQ(model.meshes[0].vertices[0].texCoords.y, 1.0f);
    EXPECT_FLOAT_EQ(model.meshes[0].vertices[2].texCoords.y, 0.0f);
    EXPECT_EQ(model.meshes[0].vertices[0].normal, glm::vec3(0, 0, 1));
}

TEST_F(ModelGl, MissingVertexDataIsFilledIn) {
    Model& model = loaded(kit().kit);
    ASSERT_EQ(model.meshes.size(), 6u);
    for (const ModelVertex& v : model.meshes[2].vertices) EXPECT_EQ(v.texCoords, glm::vec2(0.0f)) << "no UVs";
    for (const ModelVertex& v : model.meshes[3].vertices) {
        EXPECT_NEAR(glm::length(v.normal), 1.0f, 1e-5f) << "no normals in the file";
        EXPECT_NEAR(std::fabs(v.normal.z), 1.0f, 1e-5f) << "the triangle lies in the z = 0 plane";
    }
}

TEST_F(ModelGl, MaterialTexturesAreSharedByFileNameWithinTheModel) {
    Model& model = loaded(kit().kit);
    ASSERT_EQ(model.meshes.size(), 6u);
    // Two materials, two image entries, one file: one texture.
    ASSERT_EQ(model.meshes[1].textures.size(), 1u);
    ASSERT_EQ(model.meshes[2].textures.size(), 1u);
    EXPECT_EQ(model.meshes[1].textures[0].path, "shared.png");
    EXPECT_NE(model.meshes[1].textures[0].id, 0u);
    EXPECT_EQ(model.meshes[1].textures[0].id, model.meshes[2].textures[0].id);
    // d1, s1, shared, missing, broken, odd.
    EXPECT_EQ(model.texturesLoaded.size(), 6u);
    // Diffuse first, then specular.
    ASSERT_EQ(model.meshes[0].textures.size(), 2u);
    EXPECT_EQ(model.meshes[0].textures[0].type, "texture_diffuse");
    EXPECT_EQ(model.meshes[0].textures[1].type, "texture_specular");
    EXPECT_EQ(model.meshes[0].textures[1].path, "s1.png");

    // A second model of the same files makes textures of its own.
    Model& other = loaded(kit().kit);
    ASSERT_EQ(other.meshes.size(), 6u);
    EXPECT_NE(other.meshes[1].textures[0].id, model.meshes[1].textures[0].id);
}

TEST_F(ModelGl, MissingOrUndecodableTextureFileIsPlainWhite) {
    Model& model = loaded(kit().kit);
    for (const char* file : {"missing.png", "broken.png"}) {
        const MeshTexture* texture = cached(model, file);
        ASSERT_NE(texture, nullptr) << file;
        EXPECT_TRUE(isNeutralWhite(texture->id)) << file;
    }
    EXPECT_FALSE(isNeutralWhite(cached(model, "shared.png")->id));
}

TEST_F(ModelGl, OddWidthRgbTextureUploadsWithoutSkew) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    Model& model = loaded(kit().kit);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4) << "the previous alignment is restored";

    const MeshTexture* odd = cached(model, "odd.png");
    ASSERT_NE(odd, nullptr);
    glBindTexture(GL_TEXTURE_2D, odd->id);
    GLint w = 0, h = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 2);
    std::vector<uint8_t> back(kOddPixels.size() + 8, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    back.resize(kOddPixels.size());
    EXPECT_EQ(back, kOddPixels);
}

TEST_F(ModelGl, BoundingSphereHoldsEveryVertex) {
    Model& model = loaded(kit().kit);
    // x from −0.5 to 50.5, y from −0.5 to 0.5, z 0.
    EXPECT_NEAR(model.bounds.centre.x, 25.0f, 1e-4f);
    EXPECT_NEAR(model.bounds.centre.y, 0.0f, 1e-4f);
    EXPECT_NEAR(model.bounds.radius, std::sqrt(25.5f * 25.5f + 0.25f), 1e-3f);

    ModelPose pose;
    pose.position = {100, 0, 0};
    pose.angle = 1.5707964f;  // x turns into −z
    pose.scale = {2, 1, 3};
    const BoundingSphere world = model.worldBounds(pose);
    const glm::mat4 m = pose.matrix();
    for (const Mesh& mesh : model.meshes)
        for (const ModelVertex& v : mesh.vertices)
            EXPECT_LE(glm::length(glm::vec3(m * glm::vec4(v.position, 1.0f)) - world.centre), world.radius + 1e-3f);
    EXPECT_NEAR(world.centre.x, 100.0f, 1e-3f);
    EXPECT_NEAR(world.centre.z, -50.0f, 1e-3f);
}

TEST_F(ModelGl, UnreadableFileIsReportedAndDrawsNothing) {
    Model& model = fresh();
    testing::internal::CaptureStdout();
    const bool ok = model.load(kit().missing, kSingleVs, kSingleFs);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(ok);
    EXPECT_EQ(out, "ERROR: Unable to load 3D model " + kit().missing + "\n");
    EXPECT_TRUE(model.meshes.empty());

    ModelPose pose;
    model.draw(identity, pose, false, false, nullptr, nullptr);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    const Rgb c = centre();
    EXPECT_EQ(c.r + c.g + c.b, 0);
}

struct FlagCase {
    const char* name;
    unsigned flags;
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class ModelIncompleteScene : public ModelGl, public testing::WithParamInterface<FlagCase> {};

TEST_P(ModelIncompleteScene, IsReportedAndLeavesTheModelEmpty) {
    Assimp::Importer importer;
    ASSERT_NE(importer.ReadFile(kit().plain, kImportFlags), nullptr);
    std::unique_ptr<aiScene> scene(importer.GetOrphanedScene());
    scene->mFlags |= GetParam().flags;
    Model& model = fresh();
    model.buildProgram(kSingleVs, kSingleFs);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(model.loadScene(scene.get(), kit().plain));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: Unable to load 3D model " + kit().plain + "\n");
    EXPECT_TRUE(model.meshes.empty());
}

INSTANTIATE_TEST_SUITE_P(ModelImport, ModelIncompleteScene,
                         testing::Values(FlagCase{"IncompleteAlone", AI_SCENE_FLAGS_INCOMPLETE},
                                         FlagCase{"IncompleteAndValidated",
                                                  AI_SCENE_FLAGS_INCOMPLETE | AI_SCENE_FLAGS_VALIDATED},
                                         FlagCase{"IncompleteWithWarnings", AI_SCENE_FLAGS_INCOMPLETE |
                                                                                AI_SCENE_FLAGS_VALIDATION_WARNING |
                                                                                AI_SCENE_FLAGS_NON_VERBOSE_FORMAT}),
                         [](const testing::TestParamInfo<FlagCase>& c) { return std::string(c.param.name); });

// ---- Drawing ----

TEST_F(ModelGl, MaterialMapsGoToNumberedSamplersOnConsecutiveUnits) {
    // A Collada effect names one map per channel; a second diffuse map is added to the
    // imported material the way other formats deliver it.
    Assimp::Importer importer;
    ASSERT_NE(importer.ReadFile(kit().material, kImportFlags), nullptr);
    std::unique_ptr<aiScene> scene(importer.GetOrphanedScene());
    const aiString second("d2.png");
    scene->mMaterials[scene->mMeshes[0]->mMaterialIndex]->AddProperty(&second, AI_MATKEY_TEXTURE_DIFFUSE(1));
    Model& model = fresh();
    model.buildProgram(kit().probeVs, kit().probeFs);
    ASSERT_TRUE(model.loadScene(scene.get(), kit().material));
    ASSERT_EQ(model.meshes.size(), 1u);
    const std::vector<MeshTexture>& textures = model.meshes[0].textures;
    ASSERT_EQ(textures.size(), 3u);
    EXPECT_EQ(textures[0].path, "d1.png");
    EXPECT_EQ(textures[1].path, "d2.png");
    EXPECT_EQ(textures[2].path, "s1.png");

    ModelPose pose;
    model.draw(identity, pose, false, false, nullptr, nullptr);
    const Rgb c = centre();
    // d1 (red 60) on unit 0, d2 (130) on unit 1, s1 (200) on unit 2.
    EXPECT_NEAR(c.r, 60, 1);
    EXPECT_NEAR(c.g, 130, 1);
    EXPECT_NEAR(c.b, 200, 1);
    const GLuint program = model.shader.programId;
    const char* const samplers[] = {"texture_diffuse1", "texture_diffuse2", "texture_specular1"};
    for (GLint unit = 0; unit < 3; ++unit) {
        GLint value = -1;
        glGetUniformiv(program, glGetUniformLocation(program, samplers[unit]), &value);
        EXPECT_EQ(value, unit) << samplers[unit];
    }
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, static_cast<GLint>(GL_TEXTURE0)) << "later draws bind on unit 0";
}

TEST_F(ModelGl, TranslateToCameraPlacesThePoseInViewSpace) {
    Model& model = loaded(kit().plain, kit().probeVs, kit().whiteFs);  // no textures at all
    Camera camera;
    camera.setPerspective(60.0f, static_cast<float>(width) / static_cast<float>(height), 0.1f, 1000.0f);
    camera.position = {300, 40, -120};
    camera.front = glm::normalize(glm::vec3(1.0f, -0.2f, 0.5f));
    camera.updateView();

    struct Case {
        const char* what;
        glm::vec3 position;
        bool translateToCamera;
        bool seen;
    } cases[] = {
        {"in view space, ahead", {0, 0, -5}, true, true},
        {"in view space, behind", {0, 0, 5}, true, false},
        {"in the world, ahead of the camera", camera.position + camera.front * 5.0f, false, true},
        {"in view space coordinates but drawn in the world", {0, 0, -5}, false, false},
    };
    for (const Case& c : cases) {
        clear();
        ModelPose pose;
        pose.position = c.position;
        model.draw(camera, pose, c.translateToCamera, false, nullptr, nullptr);
        const Rgb p = centre();
        EXPECT_EQ(p.g, c.seen ? 255 : 0) << c.what;
        const Rgb corner = pixel(2, 2);
        EXPECT_EQ(corner.g, 0) << c.what;
    }
}

struct ProgramCase {
    const char* name;
    std::string vs, fs;
    bool hasSpotlightSwitch;  // the wall program has no "EnableSpotlight"
};

void PrintTo(const ProgramCase& c, std::ostream* os) { *os << c.name; }

class ModelPrograms : public ModelGl, public testing::WithParamInterface<ProgramCase> {};

TEST_P(ModelPrograms, LightTheModelAndAddItsTint) {
    Model& model = loaded(kit().lit, GetParam().vs, GetParam().fs);
    ModelPose pose;
    model.draw(identity, pose, false, false, nullptr, nullptr);
    const Rgb plain = centre();
    // The default ambient colour (0.5, 0.972, 0.905) on a white texture: never black, and
    // a model lit with a missing normal would be.
    EXPECT_GT(plain.g, 40);
    EXPECT_GT(plain.g, plain.r);

    clear();
    pose.colorize = {0.5f, 0.0f, 0.0f};
    model.draw(identity, pose, false, false, nullptr, nullptr);
    const Rgb tinted = centre();
    EXPECT_NEAR(tinted.r - plain.r, 127, 3);
    EXPECT_NEAR(tinted.g, plain.g, 1);

    // The flashlight shines straight at the model's face from close by.
    clear();
    pose.colorize = {0.0f, 0.0f, 0.0f};
    Spotlight flashlight;
    flashlight.setProperties({0.92f, 0.76f, 0.35f}, {1, 1, 1}, 1.0f, 0.02f, 0.000038f, 35.5f, 45.0f);
    flashlight.position = {0, 0, 2};
    flashlight.direction = {0, 0, -1};
    model.draw(identity, pose, false, true, &flashlight, nullptr);
    const Rgb lit = centre();
    EXPECT_GT(lit.r, plain.r + 40);
    if (GetParam().hasSpotlightSwitch) {
        // Switched off, the same light adds nothing.
        clear();
        model.draw(identity, pose, false, false, &flashlight, nullptr);
        EXPECT_NEAR(centre().r, plain.r, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(ModelDraw, ModelPrograms,
                         testing::Values(ProgramCase{"SingleModelProgram", kSingleVs, kSingleFs, true},
                                         ProgramCase{"EnemyProgram", kEnemyVs, kEnemyFs, false}),
                         [](const testing::TestParamInfo<ProgramCase>& c) { return std::string(c.param.name); });

// ---- Sharing ----

TEST_F(ModelGl, LibraryImportsEachFileAndProgramPairOnce) {
    ModelLibrary library;
    const ModelHandle first = library.load(kit().kit, kSingleVs, kSingleFs);
    const ModelHandle again = library.load(kit().kit, kSingleVs, kSingleFs);
    EXPECT_NE(first, kNoModel);
    EXPECT_EQ(again, first);
    EXPECT_EQ(library.size(), 1u);
    ASSERT_NE(library.get(first), nullptr);
    EXPECT_EQ(library.get(first)->meshes.size(), 6u);

    // Another program is another model: its uniforms (night fog) are its own.
    const ModelHandle enemy = library.load(kit().kit, kEnemyVs, kEnemyFs);
    EXPECT_NE(enemy, first);
    EXPECT_EQ(library.size(), 2u);
    EXPECT_NE(library.get(enemy)->shader.programId, library.get(first)->shader.programId);

    // A file that fails is reported once and keeps its (empty) model.
    testing::internal::CaptureStdout();
    const ModelHandle broken = library.load(kit().missing, kSingleVs, kSingleFs);
    EXPECT_EQ(library.load(kit().missing, kSingleVs, kSingleFs), broken);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR: Unable to load 3D model " + kit().missing + "\n");
    ASSERT_NE(library.get(broken), nullptr);
    EXPECT_TRUE(library.get(broken)->meshes.empty());

    EXPECT_EQ(library.get(kNoModel), nullptr);
    EXPECT_EQ(library.get(static_cast<ModelHandle>(library.size())), nullptr);
    library.release();
    EXPECT_EQ(library.size(), 0u);
}

// ---- Without a context ----

TEST(ModelWithoutContext, ReadsTheGeometryButMakesNoGlObjects) {
    Renderer& renderer = Renderer::instance();
    const bool wasReady = renderer.glReady;
    renderer.glReady = false;  // as in a process that never opened a window
    Model model;
    // The shader files are not even read: without a context there is nothing to build.
    EXPECT_TRUE(model.load(kit().kit, "no-such.vs", "no-such.fs"));
    ASSERT_EQ(model.meshes.size(), 6u);
    EXPECT_EQ(model.meshes[0].vertices.size(), 3u);
    EXPECT_GT(model.bounds.radius, 25.0f);
    EXPECT_EQ(model.shader.programId, 0u);
    for (const Mesh& mesh : model.meshes) {
        EXPECT_EQ(mesh.vao, 0u);
        for (const MeshTexture& t : mesh.textures) EXPECT_EQ(t.id, 0u);
    }
    EXPECT_EQ(model.meshes[1].textures[0].path, "shared.png");
    Camera camera;
    model.draw(camera, ModelPose{}, true, true, nullptr, nullptr);  // nothing to do, no GL call
    model.setBool("nightFog", true);
    model.release();
    renderer.glReady = wasReady;
}
