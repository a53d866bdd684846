// The particle and cloth drawing against a real context (run under Xvfb from <build>/bin).
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>

#include "effects/ClothRenderer.h"
#include "effects/OffscreenFramebuffer.h"
#include "effects/ParticleRenderer.h"
#include "gameplay/Cloth.h"
#include "gameplay/Particles.h"
#include "scene/Camera.h"
#include "render/ImageStore.h"
#include "render/Renderer.h"
#include "util/Random.h"

namespace {

struct Rgb {
    int r, g, b;
};

void storeSolid(const std::string& key, Rgb c, int alpha) {
    std::vector<uint8_t> px;
    for (int i = 0; i < 16; ++i) px.insert(px.end(), {uint8_t(c.r), uint8_t(c.g), uint8_t(c.b), uint8_t(alpha)});
    ImageStore::instance().storeImage(key, 4, 4, px);
}

class EffectsGl : public testing::Test {
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
        lookFrom({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, -1.0f});
        clear();
    }
    void clear() const {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    void lookFrom(glm::vec3 position, glm::vec3 front) {
        camera.setPerspective(80.0f, static_cast<float>(width) / static_cast<float>(height), 0.1f, 1000.0f);
        camera.position = position;
        camera.front = front;
        camera.updateView();
    }
    // The window pixel (from the bottom left) a world point lands on.
    glm::ivec2 toWindow(glm::vec3 world) const {
        const glm::vec4 clip = camera.projection * camera.view * glm::vec4(world, 1.0f);
        return {static_cast<int>((clip.x / clip.w * 0.5f + 0.5f) * static_cast<float>(width)),
                static_cast<int>((clip.y / clip.w * 0.5f + 0.5f) * static_cast<float>(height))};
    }
    Rgb pixel(glm::ivec2 at) const {
        uint8_t p[4] = {};
        glReadPixels(at.x, at.y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    std::vector<uint8_t> allPixels() const {
        std::vector<uint8_t> px(static_cast<size_t>(width) * static_cast<size_t>(height) * 4u);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
        return px;
    }
    size_t litPixels() const {
        const std::vector<uint8_t> px = allPixels();
        size_t lit = 0;
        for (size_t i = 0; i < px.size(); i += 4)
            if (px[i] + px[i + 1] + px[i + 2] > 0) ++lit;
        return lit;
    }

    // The plain way the picture is defined: one draw of the whole batch per particle,
    // moved there by "model". The renderer's one instanced draw must match it.
    static void drawOnePerParticle(const ParticleRenderer& renderer, const Camera& cam, const ParticleSystem& system) {
        glUseProgram(renderer.shader.programId);
        renderer.shader.setMat4("view", cam.view);
        renderer.shader.setMat4("projection", cam.projection);
        renderer.shader.setFloat("scale", system.scale);
        glBindVertexArray(renderer.vao);
        glDisableVertexAttribArray(ParticleRenderer::kParticleAttribute);
        glVertexAttrib3f(ParticleRenderer::kParticleAttribute, 0.0f, 0.0f, 0.0f);
        for (const Particle& p : system.particles) {
            renderer.shader.setMat4("model",
                                    glm::translate(glm::mat4(1.0f), p.position + ParticleRenderer::kSpriteOffset));
            renderer.textures.bind(0);
            glDrawArrays(GL_POINTS, 0, system.count);
        }
        glEnableVertexAttribArray(ParticleRenderer::kParticleAttribute);
        glBindVertexArray(0);
        glUseProgram(0);
    }

    template <typename Draw>
    static double millisecondsPerDraw(int repeats, Draw draw) {
        glFinish();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < repeats; ++i) draw();
        glFinish();
        const std::chrono::duration<double, std::milli> spent = std::chrono::steady_clock::now() - start;
        return spent.count() / repeats;
    }

    int width = 0;
    int height = 0;
    Camera camera;
};

}  // namespace

TEST_F(EffectsGl, ParticleSpritesAndTheClothFlagLandWhereExpected) {
    storeSolid("test_sprite", {255, 200, 0}, 255);
    storeSolid("test_flag", {40, 80, 220}, 255);

    // Two particles: each shows a sprite of half-size "scale" at its position plus the
    // system's offset, and nothing is drawn between them.
    RandomEngine random(11);
    ParticleSystem system;
    system.init(2, 1.0f, random);
    system.particles[0].position = {-12.0f, 6.0f, 0.0f};
    system.particles[1].position = {6.0f, -4.0f, 0.0f};
    ParticleRenderer sprites;
    sprites.init("test_sprite", system.count);
    sprites.draw(camera, system);
    for (const Particle& p : system.particles) {
        const glm::vec3 centre = p.position + glm::vec3(2.7f, -2.5f, 0.0f);
        SCOPED_TRACE(centre.x);
        const Rgb c = pixel(toWindow(centre));
        EXPECT_EQ(c.r, 255);
        EXPECT_EQ(c.g, 200);
        EXPECT_EQ(c.b, 0);
        EXPECT_EQ(pixel(toWindow(centre + glm::vec3(0.9f, 0.9f, 0.0f))).g, 200) << "inside the quad";
        EXPECT_EQ(pixel(toWindow(centre + glm::vec3(1.2f, 0.0f, 0.0f))).g, 0) << "beyond its half-size";
        EXPECT_EQ(pixel(toWindow(p.position)).g, 0) << "drawn without the offset";
    }
    EXPECT_EQ(pixel(toWindow({0.0f, 0.0f, 0.0f})).r, 0);

    // The flag, 10 x 6 units hanging from its corner at (-5, 3, 0), seen from the front.
    Cloth cloth;
    cloth.init(10.0f, 6.0f, 20, 17);
    cloth.position = {-5.0f, 3.0f, 0.0f};
    ClothRenderer flag;
    flag.init("test_flag");

    // Without a context neither draw touches anything.
    clear();
    Renderer::instance().glReady = false;
    sprites.draw(camera, system);
    flag.draw(camera, cloth);
    Renderer::instance().glReady = true;
    EXPECT_EQ(litPixels(), 0u);
    EXPECT_EQ(flag.vao, 0u) << "the buffers wait for a real first draw";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glDisable(GL_CULL_FACE);
    flag.draw(camera, cloth);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "the caller's culling state is put back";
    EXPECT_EQ(flag.elementCount, 670);
    const Rgb middle = pixel(toWindow({-0.5f, 0.0f, 0.0f}));
    EXPECT_NEAR(middle.r, 40, 2);  // it faces the camera squarely: full colour
    EXPECT_NEAR(middle.g, 80, 2);
    EXPECT_NEAR(middle.b, 220, 2);
    EXPECT_GT(pixel(toWindow({-4.8f, 2.8f, 0.0f})).b, 150) << "the pole-side corner";
    EXPECT_GT(pixel(toWindow({4.3f, -2.4f, 0.0f})).b, 150) << "the far corner";
    EXPECT_EQ(pixel(toWindow({-5.3f, 0.0f, 0.0f})).b, 0) << "left of the flag";
    EXPECT_EQ(pixel(toWindow({-0.5f, 3.3f, 0.0f})).b, 0) << "above the flag";
    EXPECT_EQ(pixel(toWindow({-0.5f, -3.0f, 0.0f})).b, 0) << "below the flag";

    // From behind it is culled away; a caller's culling of front faces survives the draw.
    lookFrom({0.0f, 0.0f, -30.0f}, {0.0f, 0.0f, 1.0f});
    clear();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    flag.draw(camera, cloth);
    EXPECT_EQ(litPixels(), 0u);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLint mode = 0;
    glGetIntegerv(GL_CULL_FACE_MODE, &mode);
    EXPECT_EQ(mode, GL_FRONT);
    glCullFace(GL_BACK);
    glDisable(GL_CULL_FACE);

    // Some frames of wind later the new shape is drawn: it still hangs from the pole
    // and covers most of its place.
    for (int frame = 0; frame < 60; ++frame) {
        cloth.addForce({0.0f, -0.05f, 0.0f});
        cloth.windForce({0.175f, 0.025f, 0.05f});
        cloth.timeStep();
    }
    lookFrom({0.0f, 0.0f, 30.0f}, {0.0f, 0.0f, -1.0f});
    clear();
    flag.draw(camera, cloth);
    EXPECT_GT(pixel(toWindow({-4.8f, 2.8f, 0.0f})).b, 100);
    EXPECT_GT(pixel(toWindow({-3.0f, 0.0f, 0.0f})).b, 100);
    EXPECT_GT(litPixels(), 5000u);

    sprites.release();
    flag.release();
    EXPECT_EQ(sprites.vao, 0u);
    EXPECT_EQ(flag.vao, 0u);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(EffectsGl, OneInstancedDrawMatchesOneDrawPerParticle) {
    storeSolid("test_glow", {250, 120, 30}, 60);
    RandomEngine random(4242);
    ParticleSystem system;
    system.init(20, 1.0f, random);
    for (int frame = 0; frame < 40; ++frame) system.update(0.03f, {-3.0f, 0.0f, 0.0f}, random);
    ParticleRenderer renderer;
    renderer.init("test_glow", system.count);

    // Translucent sprites blended, so that every point that gets through adds to the
    // picture and a missing or extra one would show: without a depth test (every copy
    // counts), with depth writes off (likewise), and as the game draws (depth test and
    // writes on, blending left on by the text; in the window and in the off-screen
    // frame of play), where the repeated points are hidden and only the first of each
    // batch is drawn.
    struct DepthState {
        const char* name;
        bool test;
        bool writes;
        bool offscreen;
        int32_t pointsPerParticle;
    };
    OffscreenFramebuffer frame;
    frame.create(width, height);
    GLint blendSource = GL_ONE, blendDestination = GL_ZERO;
    glGetIntegerv(GL_BLEND_SRC_RGB, &blendSource);
    glGetIntegerv(GL_BLEND_DST_RGB, &blendDestination);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const DepthState& state : {DepthState{"no depth test", false, true, false, 20},
                                    DepthState{"depth test without writes", true, false, false, 20},
                                    DepthState{"depth test and writes", true, true, false, 1},
                                    DepthState{"off-screen frame", true, true, true, 1}}) {
        SCOPED_TRACE(state.name);
        if (state.test) glEnable(GL_DEPTH_TEST);
        else glDisable(GL_DEPTH_TEST);
        glDepthMask(state.writes ? GL_TRUE : GL_FALSE);
        glBindFramebuffer(GL_FRAMEBUFFER, state.offscreen ? frame.fbo : 0);
        clear();
        renderer.draw(camera, system);
        EXPECT_EQ(renderer.batchPointsDrawn, state.pointsPerParticle);
        const std::vector<uint8_t> instanced = allPixels();
        clear();
        drawOnePerParticle(renderer, camera, system);
        const std::vector<uint8_t> reference = allPixels();
        EXPECT_GT(litPixels(), 1000u);
        size_t differing = 0;
        for (size_t i = 0; i < reference.size(); ++i)
            if (instanced[i] != reference[i]) ++differing;
        EXPECT_EQ(differing, 0u);
        glDepthMask(GL_TRUE);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    frame.release();

    // What a frame pays under the software driver (printed for the record): in the
    // game's depth state, and with every copy drawn. Each timed draw starts from a
    // cleared depth buffer (a clear costs about 0.01 ms), as in a frame.
    const auto cleared = [](auto draw) {
        return [draw] {
            glClear(GL_DEPTH_BUFFER_BIT);
            draw();
        };
    };
    const double gameState = millisecondsPerDraw(40, cleared([&] { renderer.draw(camera, system); }));
    const double perParticle =
        millisecondsPerDraw(40, cleared([&] { drawOnePerParticle(renderer, camera, system); }));
    glDisable(GL_DEPTH_TEST);
    const double everyCopy = millisecondsPerDraw(40, [&] { renderer.draw(camera, system); });
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(static_cast<GLenum>(blendSource), static_cast<GLenum>(blendDestination));
    Cloth cloth;
    cloth.init(10.0f, 6.0f, 20, 17);
    cloth.position = {-5.0f, 3.0f, 0.0f};
    ClothRenderer flag;
    flag.init("test_glow");
    const double clothDraw = millisecondsPerDraw(40, cleared([&] { flag.draw(camera, cloth); }));
    std::printf(
        "[ timing ] 20-particle system: %.3f ms as drawn in the game's depth state (%.3f ms in 20 draws of 20 points), "
        "%.3f ms with every copy drawn; cloth: %.3f ms\n",
        gameState, perParticle, everyCopy, clothDraw);
    renderer.release();
    flag.release();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
