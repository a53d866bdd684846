// Frame cost of the flat menu screen and of many lit object draws, with uniform
// locations asked of the driver on every call (/0) or remembered per program (/1).
// Run under a display, from <build>/bin so "../Data/Shaders" resolves:
//   cd build/bin && xvfb-run -a -s "-screen 0 1280x720x24" ../bench/bench_render_bench
#include <GL/glew.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <vector>

#include "scene/Camera.h"
#include "scene/Lights.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"

namespace {

const std::vector<std::string> kHud = {"../Data/Shaders/HUD.vs", "../Data/Shaders/HUD.fs"};
const std::vector<std::string> kEnemy = {"../Data/Shaders/EnemyVertexShader.vs",
                                         "../Data/Shaders/EnemyFragmentShader.fs"};

void storeSolid(const char* key, int w, int h, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) {
    std::vector<uint8_t> px;
    px.reserve(static_cast<size_t>(w) * h * 4);
    for (int i = 0; i < w * h; ++i) px.insert(px.end(), {r, g, b, a});
    ImageStore::instance().storeImage(key, w, h, std::move(px));
}

bool setUp() {
    static bool ready = false;
    if (ready) return true;
    Renderer& renderer = Renderer::instance();
    renderer.initialize();
    if (!renderer.glReady) return false;
    storeSolid("mainMenuScreen", 1280, 720, 30, 50, 80);
    storeSolid("indicator", 64, 64, 255, 40, 40);
    storeSolid("appVersion", 256, 64, 40, 255, 40);
    storeSolid("bricks_01_tex", 512, 512, 150, 80, 60);
    renderer.createObject(QuadShape, "mainMenuScreen", 39, kHud, {0, 0, 0}, {0, 0, 0}, {20, 20, 20});
    renderer.createObject(QuadShape, "indicator", 40, kHud, {-7.5f, 3, 0}, {0, 0, 0}, {0.5f, 0.5f, 0.5f});
    renderer.createObject(QuadShape, "appVersion", 41, kHud, {-17.2f, -18.7f, 0}, {0, 0, 0}, {2.5f, 0.6f, 1});
    renderer.createObject(CubeShape, "bricks_01_tex", 52, kEnemy, {0, 0, 0}, {0, 0, 0}, {10, 10, 10});
    ready = true;
    return true;
}

void menuFrame(benchmark::State& state) {
    if (!setUp()) return state.SkipWithError("no GL context");
    ShaderProgram::cacheLocations = state.range(0) != 0;
    Renderer& renderer = Renderer::instance();
    Camera screen;
    screen.setOrthographic(-20, 20, -20, 20, 0, 100);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int id : {41, 40, 39}) renderer.findObject(id)->draw(screen, {0, 0, 0});
        SDL_GL_SwapWindow(renderer.window);
        glFinish();
    }
}

void objectDraws(benchmark::State& state) {
    if (!setUp()) return state.SkipWithError("no GL context");
    ShaderProgram::cacheLocations = state.range(0) != 0;
    Renderer& renderer = Renderer::instance();
    Camera scene;
    scene.setPerspective(80.0f, 1.6f, 0.1f, 8000.0f);
    scene.position = {0, 10, 0};
    scene.front = {0, 0, -1};
    scene.updateView();
    Spotlight flashlight;
    flashlight.setProperties({0.92f, 0.76f, 0.35f}, {1, 1, 1}, 1.0f, 0.02f, 0.000038f, 35.5f, 45.0f);
    flashlight.position = scene.position;
    flashlight.direction = scene.front;
    DirectionalLight sky;
    sky.lightColour = {0.37f, 0.28f, 0.1f};
    RenderObject* cube = renderer.findObject(52);
    // A wall of 1000 brick blocks ahead of the camera, as the walls are drawn: one
    // object moved and redrawn per block.
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < 1000; ++i) {
            cube->transform.position = {-250.0f + 12.0f * static_cast<float>(i % 40), 12.0f * static_cast<float>(i / 40),
                                        -400.0f};
            cube->draw(scene, scene.position, false, &flashlight, &sky);
        }
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 1000);
}

}  // namespace

BENCHMARK(menuFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(objectDraws)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_MAIN();
