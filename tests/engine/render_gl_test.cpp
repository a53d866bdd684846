// The drawing layer against a real context (run under Xvfb from <build>/bin): programs,
// textures, placement of flat quads, the off-screen pass and its effects.
#include <GL/glew.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "effects/OffscreenFramebuffer.h"
#include "scene/Camera.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "render/ShaderProgram.h"
#include "render/TextLabel.h"
#include "render/TextureSet.h"

namespace {

const std::vector<std::string> kHud = {"../Data/Shaders/HUD.vs", "../Data/Shaders/HUD.fs"};
const std::vector<std::string> kPost = {"../Data/Shaders/PostProcessingVertexShader.vs",
                                        "../Data/Shaders/PostProcessingFragmentShader.fs"};

struct Rgb {
    int r, g, b;
};

// Solid RGBA pixels, rows top to bottom; topColour fills the upper half.
std::vector<uint8_t> twoBands(int w, int h, Rgb top, Rgb bottom) {
    std::vector<uint8_t> px;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgb c = y < h / 2 ? top : bottom;
            px.insert(px.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), 255});
        }
    return px;
}

class RenderGl : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Renderer& renderer = Renderer::instance();
        if (!renderer.glReady) renderer.initialize();
        ASSERT_TRUE(renderer.glReady) << "no GL context: run under Xvfb";
    }
    void SetUp() override {
        ASSERT_TRUE(Renderer::instance().glReady);
        width = Renderer::instance().width;
        height = Renderer::instance().height;
        glViewport(0, 0, width, height);
        screenCamera.setOrthographic(-20.0f, 20.0f, -20.0f, 20.0f, 0.0f, 100.0f);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    // Window pixel (x from the left, y from the bottom) of the current read buffer.
    Rgb pixel(int x, int y) const {
        uint8_t p[4] = {};
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    std::vector<uint8_t> allPixels() const {
        std::vector<uint8_t> px(static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }

    RenderObject* make(int32_t kind, const std::string& key, int32_t id, const std::vector<std::string>& program,
                       glm::vec3 position, glm::vec3 scale) {
        Renderer::instance().createObject(kind, key, id, program, position, {0, 0, 0}, scale, "blank", 0);
        return Renderer::instance().findObject(id);
    }

    int width = 0;
    int height = 0;
    Camera screenCamera;
};

#define EXPECT_RGB_NEAR(actual, er, eg, eb)       \
    do {                                          \
        const Rgb a_ = (actual);                  \
        EXPECT_NEAR(a_.r, er, 2);                 \
        EXPECT_NEAR(a_.g, eg, 2);                 \
        EXPECT_NEAR(a_.b, eb, 2);                 \
    } while (0)

}  // namespace

TEST_F(RenderGl, EveryProgramCompilesAndLinks) {
    const std::string d = "../Data/Shaders/";
    const std::vector<std::vector<std::string>> programs = {
        {d + "HUD.vs", d + "HUD.fs"},
        {d + "SkyboxVertexShader.vs", d + "SkyboxFragmentShader.fs"},
        {d + "Muzzle Flash Shader/MuzzleFlash.vs", d + "Muzzle Flash Shader/MuzzleFlash.fs"},
        {d + "EnemyVertexShader.vs", d + "EnemyFragmentShader.fs"},
        {d + "PostProcessingVertexShader.vs", d + "PostProcessingFragmentShader.fs"},
        {d + "Unlit.vs", d + "Unlit.fs"},
        {d + "TerrainVertexShader.vs", d + "TerrainFragmentShader.fs"},
        {d + "SingleModelLoader.vs", d + "SingleModelLoader.fs"},
        {d + "Font/Text.vs", d + "Font/Text.fs"},
        {d + "Cloth Shaders/VertexShader.vs", d + "Cloth Shaders/FragmentShader.fs"},
        {d + "Particle System Shaders/VertexShader.vs", d + "Particle System Shaders/GeometryShader.geom",
         d + "Particle System Shaders/FragmentShader.fs"},
    };
    for (const auto& files : programs) {
        SCOPED_TRACE(files[0]);
        ShaderProgram program;
        testing::internal::CaptureStderr();
        if (files.size() == 3) program.buildWithGeometry(files[0], files[1], files[2]);
        else program.build(files[0], files[1]);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
        GLint linked = 0;
        glGetProgramiv(program.programId, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE);
    }
    // The cloth's attributes are found by name.
    ShaderProgram cloth;
    cloth.build(d + "Cloth Shaders/VertexShader.vs", d + "Cloth Shaders/FragmentShader.fs");
    for (const char* attribute : {"position", "uv", "normal"})
        EXPECT_GE(glGetAttribLocation(cloth.programId, attribute), 0) << attribute;
}

TEST_F(RenderGl, CompileFailureReportsTheDriverLogAndGoesOn) {
    ShaderProgram program;
    testing::internal::CaptureStderr();
    program.compileStage(GL_FRAGMENT_SHADER, "#version 330 core\nvoid main() { this is not glsl }\n");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("SHADER ERROR: Unable to compile shader.\n", 0), 0u) << err;
    EXPECT_GT(err.size(), std::string("SHADER ERROR: Unable to compile shader.\n\n").size()) << "no driver log";
    EXPECT_NE(program.shaderId, 0u);
}

TEST(RenderGlDeath, MissingShaderFileEndsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The message goes to standard output; the child sends it to stderr for the matcher.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            ShaderProgram program;
            program.build("../Data/Shaders/NoSuchProgram.vs", "../Data/Shaders/HUD.fs");
        },
        testing::ExitedWithCode(EXIT_FAILURE), "SHADER ERROR: Unable to load shader: \\.\\./Data/Shaders/NoSuchProgram\\.vs\n");
}

TEST_F(RenderGl, HudQuadLandsOnItsScreenRectangleUpright) {
    // Upper half red, lower half blue: also shows the picture is not upside down.
    ImageStore::instance().storeImage("test_bands", 8, 8, twoBands(8, 8, {220, 40, 30}, {20, 60, 210}));
    // Centre (10, 10), half-size 5 in the -20..20 screen: 62.5 % to 87.5 % of the window.
    RenderObject* quad = make(QuadShape, "test_bands", 9001, kHud, {10, 10, 0}, {5, 5, 5});
    ASSERT_NE(quad, nullptr);
    quad->draw(screenCamera, {0, 0, 0});

    const int left = width * 5 / 8, right = width * 7 / 8;
    const int bottom = height * 5 / 8, top = height * 7 / 8;
    const int midX = (left + right) / 2, midY = (bottom + top) / 2;
    // Sampled a quarter in from the top and the bottom: the texture repeats, so right at
    // those edges linear filtering mixes the two bands.
    const int upper = bottom + (top - bottom) * 3 / 4, lower = bottom + (top - bottom) / 4;
    EXPECT_RGB_NEAR(pixel(midX, upper), 220, 40, 30);
    EXPECT_RGB_NEAR(pixel(midX, lower), 20, 60, 210);
    EXPECT_RGB_NEAR(pixel(left + 1, lower), 20, 60, 210);
    EXPECT_RGB_NEAR(pixel(right - 2, upper), 220, 40, 30);
    // Just outside every edge: untouched.
    EXPECT_RGB_NEAR(pixel(left - 2, midY), 0, 0, 0);
    EXPECT_RGB_NEAR(pixel(right + 1, midY), 0, 0, 0);
    EXPECT_RGB_NEAR(pixel(midX, bottom - 2), 0, 0, 0);
    EXPECT_RGB_NEAR(pixel(midX, top + 1), 0, 0, 0);
    EXPECT_RGB_NEAR(pixel(width / 2, height / 2), 0, 0, 0);
}

TEST_F(RenderGl, FirstFlatQuadDrawnWinsAndClearPixelsAreDropped) {
    std::vector<uint8_t> holed = twoBands(4, 4, {250, 250, 0}, {250, 250, 0});
    for (size_t i = 0; i < 8; ++i) holed[i * 4 + 3] = 0;  // top half fully clear
    ImageStore::instance().storeImage("test_holed", 4, 4, holed);
    ImageStore::instance().storeImage("test_back", 2, 2, twoBands(2, 2, {0, 200, 0}, {0, 200, 0}));
    RenderObject* front = make(QuadShape, "test_holed", 9002, kHud, {0, 0, 0}, {4, 4, 4});
    RenderObject* back = make(QuadShape, "test_back", 9003, kHud, {0, 0, 0}, {8, 8, 8});
    front->draw(screenCamera, {0, 0, 0});
    back->draw(screenCamera, {0, 0, 0});
    EXPECT_RGB_NEAR(pixel(width / 2, height / 2 - height / 20), 250, 250, 0);  // front's opaque half
    EXPECT_RGB_NEAR(pixel(width / 2, height / 2 + height / 20), 0, 200, 0);    // through the clear half
    EXPECT_RGB_NEAR(pixel(width / 2, height / 2 + height * 3 / 20), 0, 200, 0);
}

TEST_F(RenderGl, MissingImageGivesAnEmptyOnePixelTexture) {
    TextureSet set;
    testing::internal::CaptureStderr();
    set.createFromImage("no_such_key");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Unable to retrieve texture image file: no_such_key \n");
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, set.id);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    set.release();

    testing::internal::CaptureStderr();
    EXPECT_FALSE(ImageStore::instance().loadImage("../Data/Textures/none.png", "none"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Loading failed: An error occurred while loading texture file: ../Data/Textures/none.png\n");
}

TEST_F(RenderGl, SkyKeyMakesACubeMapWithTopOnPlusY) {
    ImageStore& store = ImageStore::instance();
    const std::vector<std::string> savedKeys = store.getCubeFaceKeys();
    const Rgb colours[6] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
    std::vector<std::string> keys;
    for (int i = 0; i < 6; ++i) {
        keys.push_back("test_face" + std::to_string(i));
        store.storeImage(keys.back(), 2, 2, twoBands(2, 2, colours[i], colours[i]));
    }
    store.setCubeFaceKeys(keys);
    RenderObject* sky = make(CubeShape, "skybox", 9004, {"../Data/Shaders/SkyboxVertexShader.vs",
                                                           "../Data/Shaders/SkyboxFragmentShader.fs"},
                             {0, 0, 0}, {1, 1, 1});
    store.setCubeFaceKeys(savedKeys);
    ASSERT_TRUE(sky->textures.cubeMap);
    glBindTexture(GL_TEXTURE_CUBE_MAP, sky->textures.id);
    uint8_t top[16] = {};
    glGetTexImage(GL_TEXTURE_CUBE_MAP_POSITIVE_Y, 0, GL_RGBA, GL_UNSIGNED_BYTE, top);
    EXPECT_EQ(top[0], 0);
    EXPECT_EQ(top[1], 0);
    EXPECT_EQ(top[2], 255);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
}

class PostPass : public RenderGl {
protected:
    void SetUp() override {
        RenderGl::SetUp();
        framebuffer.create(width, height);
        quad = Renderer::instance().findObject(36);
        if (!quad) quad = make(QuadShape, "bricks_01_tex", 36, kPost, {0, 0, 0}, {10, 10, 10});
        ASSERT_NE(quad, nullptr);
    }
    // Draws a frame of one colour off-screen and shows it through the post pass.
    std::vector<uint8_t> show(float r, float g, float b, bool grey, bool flash) {
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.fbo);
        glClearColor(r, g, b, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glUseProgram(quad->shader.programId);
        quad->shader.setBool("grayScaleEffect", grey);
        quad->shader.setBool("thunderstormEffect", flash);
        quad->draw(screenCamera, {0, 0, 0}, false, nullptr, nullptr, true, framebuffer.colorTexture);
        glUseProgram(quad->shader.programId);
        quad->shader.setBool("grayScaleEffect", false);
        quad->shader.setBool("thunderstormEffect", false);
        glUseProgram(0);
        return allPixels();
    }

    OffscreenFramebuffer framebuffer;
    RenderObject* quad = nullptr;
};

TEST_F(PostPass, FrameCoversEveryPixelOfTheWindow) {
    const std::vector<uint8_t> px = show(0.2f, 0.6f, 0.4f, false, false);
    size_t wrong = 0;
    for (size_t i = 0; i < px.size(); i += 4)
        if (std::abs(px[i] - 51) > 1 || std::abs(px[i + 1] - 153) > 1 || std::abs(px[i + 2] - 102) > 1) ++wrong;
    EXPECT_EQ(wrong, 0u) << "pixels not showing the off-screen frame";
}

TEST_F(PostPass, GreyScaleDrainsTheColourAndLightningBrightens) {
    const std::vector<uint8_t> grey = show(0.2f, 0.6f, 0.4f, true, false);
    size_t coloured = 0;
    for (size_t i = 0; i < grey.size(); i += 4)
        if (grey[i] != grey[i + 1] || grey[i + 1] != grey[i + 2]) ++coloured;
    EXPECT_EQ(coloured, 0u);
    EXPECT_GT(grey[(static_cast<size_t>(height / 2) * width + width / 2) * 4], 40) << "the centre is not black";

    const std::vector<uint8_t> plain = show(0.2f, 0.3f, 0.25f, false, false);
    const std::vector<uint8_t> flash = show(0.2f, 0.3f, 0.25f, false, true);
    size_t notBrighter = 0;
    for (size_t i = 0; i < plain.size(); i += 4) {
        const int before = plain[i] + plain[i + 1] + plain[i + 2];
        const int after = flash[i] + flash[i + 1] + flash[i + 2];
        if (after < before + 150) ++notBrighter;
    }
    EXPECT_EQ(notBrighter, 0u);
    // The switches were put back: the next frame is plain again.
    EXPECT_EQ(show(0.2f, 0.3f, 0.25f, false, false), plain);
}

TEST_F(RenderGl, TextLabelRastersAsciiAndDrawsInTheVirtualScreen) {
    TextLabel label;
    testing::internal::CaptureStdout();
    label.init("../Data/Fonts/Roboto-BoldItalic.ttf");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(label.glyphs.count('H'), 1u);
    EXPECT_GT(label.glyphs['H'].advance >> 6, 10u);
    EXPECT_EQ(label.glyphs.count(200), 0u);

    glDisable(GL_BLEND);
    label.text = "";
    label.draw();
    EXPECT_TRUE(glIsEnabled(GL_BLEND));

    // A line of solid capitals at the centre of the virtual screen lands at the window's centre.
    label.text = "HHHH";
    label.color = {1.0f, 1.0f, 0.0f};
    label.x = 720.0f;
    label.y = 450.0f;
    label.draw();
    const std::vector<uint8_t> px = allPixels();
    int lit = 0, minX = width, minY = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &px[(static_cast<size_t>(y) * width + x) * 4];
            if (p[0] > 128 && p[1] > 128 && p[2] < 60) {
                ++lit;
                minX = std::min(minX, x);
                minY = std::min(minY, y);
            }
        }
    EXPECT_GT(lit, 100);
    EXPECT_NEAR(minX, width / 2, width / 100 + 3);
    EXPECT_NEAR(minY, height / 2, height / 100 + 3);
}

TEST_F(RenderGl, WallsTakeTheFlashlightAndTheAmbientColourAndFadeIntoFog) {
    ImageStore::instance().storeImage("test_wall", 4, 4, twoBands(4, 4, {200, 200, 200}, {200, 200, 200}));
    const std::vector<std::string> enemy = {"../Data/Shaders/EnemyVertexShader.vs",
                                            "../Data/Shaders/EnemyFragmentShader.fs"};
    RenderObject* wall = make(QuadShape, "test_wall", 9005, enemy, {0, 10, -60}, {200, 200, 1});
    Camera scene;
    scene.setPerspective(80.0f, static_cast<float>(width) / static_cast<float>(height), 0.1f, 8000.0f);
    scene.position = {0, 10, 0};
    scene.front = {0, 0, -1};
    scene.updateView();
    Spotlight flashlight;
    flashlight.setProperties({0.92f, 0.76f, 0.35f}, {1, 1, 1}, 1.0f, 0.02f, 0.000038f, 35.5f, 45.0f);
    flashlight.position = scene.position;
    flashlight.direction = scene.front;
    DirectionalLight sky;
    sky.lightColour = {0.37f, 0.28f, 0.1f};

    wall->draw(scene, scene.position, false, nullptr, &sky);
    const Rgb ambientOnly = pixel(width / 2, height / 2);
    EXPECT_GT(ambientOnly.r, 0);
    EXPECT_GT(ambientOnly.r, ambientOnly.b) << "the sky's colour tints the wall";

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    wall->draw(scene, scene.position, false, &flashlight, &sky);
    const Rgb lit = pixel(width / 2, height / 2);
    const Rgb outsideCone = pixel(4, 4);
    EXPECT_GT(lit.r, ambientOnly.r + 60) << "the flashlight lights the middle";
    EXPECT_NEAR(outsideCone.r, ambientOnly.r, 3) << "and nothing outside its cone";

    // Far away in the night fog the wall melts into the fog colour.
    glUseProgram(wall->shader.programId);
    wall->shader.setBool("nightFog", true);
    glUseProgram(0);
    wall->transform.position = {0, 10, -3000};
    wall->transform.scale = {4000, 4000, 1};
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    wall->draw(scene, scene.position, false, &flashlight, &sky);
    const Rgb fogged = pixel(width / 2, height / 2);
    EXPECT_NEAR(fogged.r, 0.37 * 0.25 * 255, 3);
    EXPECT_NEAR(fogged.b, 0.1 * 0.25 * 255, 3);
}
