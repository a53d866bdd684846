// The terrain's draw against a real context (run under Xvfb from <build>/bin): the
// ground lands on screen, each texture on its unit, and the view-culled draw gives
// exactly the picture of the whole mesh.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "render/TerrainRenderer.h"
#include "world/Terrain.h"

namespace {

const std::string kVertexShader = "../Data/Shaders/TerrainVertexShader.vs";
const std::string kFragmentShader = "../Data/Shaders/TerrainFragmentShader.fs";
const char* const kKeys[6] = {"soil", "soil2", "grass", "soil4", "blendMap", "grassNormalMap"};

struct Pose {
    const char* name;
    glm::vec3 position;
    glm::vec3 front;
};

class TerrainGl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Renderer& renderer = Renderer::instance();
        if (!renderer.glReady) renderer.initialize();
        ASSERT_TRUE(renderer.glReady) << "no GL context: run under Xvfb";
        terrain = std::make_unique<Terrain>();
        terrain->sampleSpacing = Terrain::kWorldSampleSpacing;
        terrain->buildTerrain();
    }
    static void TearDownTestSuite() { terrain.reset(); }

    void SetUp() override {
        ASSERT_TRUE(Renderer::instance().glReady);
        width = Renderer::instance().width;
        height = Renderer::instance().height;
        glViewport(0, 0, width, height);
        glEnable(GL_DEPTH_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        camera.setPerspective(80.0f, 1.6f, 0.1f, 8000.0f);
        // The game's starting lights.
        sky.direction = {0.2f, 1.0f, 0.5f};
        sky.setColours({-0.1f, -0.1f, -0.1f}, {0.1f, 0.1f, 0.1f}, {0.5f, 0.5f, 0.5f});
        sky.lightColour = {0.37f, 0.28f, 0.1f};
        lamp.position = {325.0f, terrain->heightAt(300.0f, 200.0f) + 5.0f, 200.0f};
        lamp.setProperties({0.05f, 0.05f, 0.05f}, {10, 10, 10}, {1, 1, 1}, 1.0f, 0.045f, 0.0075f);
        flashlight.setProperties({0.92f, 0.76f, 0.35f}, {1, 1, 1}, 1.0f, 0.02f, 0.000038f, 35.5f, 45.0f);
    }
    void TearDown() override { renderer.release(); }

    void look(const Pose& pose) {
        camera.position = pose.position;
        camera.front = glm::normalize(pose.front);
        camera.updateView();
        flashlight.position = camera.position;
        flashlight.direction = camera.front;
    }
    // Clears, draws the terrain once and waits for the picture.
    void drawTerrain(bool culling) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        renderer.culling = culling;
        renderer.draw(camera, sky, lamp, &flashlight);
        glFinish();
    }
    std::vector<uint8_t> pixels() const {
        std::vector<uint8_t> px(static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    // Share of non-black pixels in the window rows [fromRow, toRow) (0 = bottom).
    double groundShare(const std::vector<uint8_t>& px, int fromRow, int toRow) const {
        size_t lit = 0, all = 0;
        for (int y = fromRow; y < toRow; ++y)
            for (int x = 0; x < width; ++x, ++all) {
                const size_t k = (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
                if (px[k] || px[k + 1] || px[k + 2]) ++lit;
            }
        return all ? static_cast<double>(lit) / static_cast<double>(all) : 0.0;
    }
    // Median of three draws: wall time, and the processor time of all the process's
    // threads (the driver's rasteriser threads included), which a busy machine
    // disturbs less.
    struct Timing {
        double wall, cpu;
    };
    Timing timeDraw(bool culling) {
        drawTerrain(culling);  // warm-up, and sets the culling
        std::vector<double> walls, cpus;
        for (int i = 0; i < 3; ++i) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glFinish();
            const auto start = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            renderer.draw(camera, sky, lamp, &flashlight);
            glFinish();
            cpus.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
            walls.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(walls.begin(), walls.end());
        std::sort(cpus.begin(), cpus.end());
        return {walls[1], cpus[1]};
    }

    static std::unique_ptr<Terrain> terrain;
    int width = 0;
    int height = 0;
    Camera camera;
    DirectionalLight sky;
    PointLight lamp;
    Spotlight flashlight;
    TerrainRenderer renderer;
};
std::unique_ptr<Terrain> TerrainGl::terrain;

// RGBA pixels of one colour.
std::vector<uint8_t> solid(int side, uint8_t r, uint8_t g, uint8_t b) {
    std::vector<uint8_t> px;
    for (int i = 0; i < side * side; ++i) px.insert(px.end(), {r, g, b, 255});
    return px;
}

}  // namespace

TEST_F(TerrainGl, CulledDrawGivesThePictureOfTheWholeMesh) {
    // The reference drawing's mesh and shaders: the default drawing's levels of detail are
    // held to it by the picture tests of the real game.
    struct Reference {
        Reference() { Renderer::instance().referenceDrawing = true; }
        ~Reference() { Renderer::instance().referenceDrawing = false; }
    } reference;
    ImageStore& store = ImageStore::instance();
    const char* const files[6] = {"soil01.jpg", "soil02.jpg", "soil03.jpg", "soil04.jpg", "blendMap.png",
                                  "soil03_NormalMap.jpg"};
    for (int k = 0; k < 6; ++k) ASSERT_TRUE(store.loadImage(std::string("../Data/Textures/Terrain/") + files[k], kKeys[k]));
    renderer.setUp(kVertexShader, kFragmentShader);
    renderer.upload(*terrain);
    ASSERT_NE(renderer.vao, 0u);
    ASSERT_EQ(renderer.indexCount, 1566726u);

    const float eye = terrain->heightAt(250.0f, 200.0f) + 10.0f;
    struct Case {
        Pose pose;
        double mostDrawn;  // share of the triangles culling may keep at most
    };
    const Case cases[] = {
        {{"start, along +x", {250.0f, eye, 200.0f}, {1.0f, 0.0f, 0.0f}}, 0.7},
        {{"start, along +z", {250.0f, eye, 200.0f}, {0.0f, 0.0f, 1.0f}}, 0.7},
        {{"middle, down towards the origin", {1800.0f, 150.0f, 1800.0f}, {-1.0f, -0.5f, -0.3f}}, 0.45},
        {{"above a corner, over the whole field", {3700.0f, 900.0f, 3700.0f}, {-1.0f, -0.6f, -1.0f}}, 1.0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.pose.name);
        look(k.pose);
        drawTerrain(false);
        const std::vector<uint8_t> whole = pixels();
        EXPECT_EQ(renderer.lastTrianglesDrawn, 522242u);
        drawTerrain(true);
        const std::vector<uint8_t> culled = pixels();
        size_t differing = 0;
        for (size_t p = 0; p < whole.size(); p += 4)
            if (whole[p] != culled[p] || whole[p + 1] != culled[p + 1] || whole[p + 2] != culled[p + 2]) ++differing;
        EXPECT_EQ(differing, 0u) << "pixels that differ between the whole and the culled draw";
        EXPECT_GT(renderer.lastTrianglesDrawn, 0u);
        EXPECT_LE(renderer.lastTrianglesDrawn, static_cast<uint32_t>(522242 * k.mostDrawn));
        std::printf("[terrain] %-38s tiles drawn %3u of %zu, triangles %6u of 522242\n", k.pose.name,
                    renderer.lastTilesDrawn, renderer.tiles.size(), renderer.lastTrianglesDrawn);
    }

    // From the start the ground fills the lower part of the view, and the sky (left
    // black here) the top. One draw timed each way, for the record.
    for (const Case& k : {cases[0], cases[1]}) {
        SCOPED_TRACE(k.pose.name);
        look(k.pose);
        drawTerrain(true);
        const std::vector<uint8_t> px = pixels();
        EXPECT_GT(groundShare(px, 0, height / 3), 0.99);
        EXPECT_LT(groundShare(px, height * 5 / 6, height), 0.01);
        const Timing whole = timeDraw(false), culled = timeDraw(true);
        std::printf("[terrain] %-38s one draw: whole mesh %.1f ms (cpu %.1f), culled %.1f ms (cpu %.1f)\n",
                    k.pose.name, whole.wall, whole.cpu, culled.wall, culled.cpu);
    }
}

TEST_F(TerrainGl, EachTextureIsSampledFromItsUnit) {
    // Four ground colours told apart by their strongest channel; the blend map picks one.
    ImageStore& store = ImageStore::instance();
    store.storeImage("soil", 4, 4, solid(4, 220, 30, 30));
    store.storeImage("soil2", 4, 4, solid(4, 30, 220, 30));
    store.storeImage("grass", 4, 4, solid(4, 30, 30, 220));
    store.storeImage("soil4", 4, 4, solid(4, 220, 220, 30));
    store.storeImage("grassNormalMap", 4, 4, solid(4, 128, 128, 255));
    renderer.setUp(kVertexShader, kFragmentShader);
    renderer.upload(*terrain);
    sky = DirectionalLight{};
    sky.direction = {0.0f, 1.0f, 0.0f};
    sky.diffuse = {0.5f, 0.5f, 0.5f};
    sky.lightColour = {0.4f, 0.4f, 0.4f};
    lamp = PointLight{};
    look({"start, along +x", {250.0f, terrain->heightAt(250.0f, 200.0f) + 10.0f, 200.0f}, {1.0f, -0.3f, 0.0f}});

    struct Case {
        const char* shows;
        uint8_t blend[3];
        bool red, green, blue;  // channels well above the others
    };
    const Case cases[] = {{"soil where the blend map is black", {0, 0, 0}, true, false, false},
                          {"soil2 under its red", {255, 0, 0}, false, true, false},
                          {"grass under its green", {0, 255, 0}, false, false, true},
                          {"soil4 under its blue", {0, 0, 255}, true, true, false}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.shows);
        store.storeImage("blendMap", 4, 4, solid(4, k.blend[0], k.blend[1], k.blend[2]));
        renderer.textures.release();
        renderer.textures.createFromImages({kKeys, kKeys + 6});
        drawTerrain(true);
        uint8_t p[4] = {};
        glReadPixels(width / 2, height / 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        EXPECT_EQ(p[0] > 100, k.red) << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
        EXPECT_EQ(p[1] > 100, k.green) << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
        EXPECT_EQ(p[2] > 100, k.blue) << int(p[0]) << " " << int(p[1]) << " " << int(p[2]);
    }
}
