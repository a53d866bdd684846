#include <gtest/gtest.h>

#include <memory>

#include "app/Game.h"

using enum GameState;

TEST(GameObject, FreshGameHasItsDefaults) {
    auto game = std::make_unique<Game>();
    EXPECT_EQ(game->shell.state, MainMenu);
    const Session& s = *game->shell.session;
    EXPECT_FLOAT_EQ(s.fortressNameTimer, 5.0f);
    EXPECT_FLOAT_EQ(s.spinAngleSlow, 0.3f);
    EXPECT_FLOAT_EQ(s.spinAngleFast, 0.3f);
    EXPECT_EQ(s.activeEnemyCount, 1);
    EXPECT_TRUE(s.world.slides.empty());
    EXPECT_TRUE(game->shell.firstStart);
    EXPECT_TRUE(game->shell.session->markerBlinkOn);
    const Overlays& o = game->shell.overlays;
    EXPECT_FALSE(o.about || o.map || o.freeze || o.stats);
    EXPECT_EQ(game->shell.hoveredButton, 0);
    EXPECT_EQ(game->shell.fortress.mapSeed, 0u);
    EXPECT_TRUE(game->shell.fortress.mapName.empty());
    EXPECT_FLOAT_EQ(s.sceneCamera.fieldOfView, 80.0f);
    // A Game destroyed before start-up touches no window and frees nothing twice.
    game.reset();
}

TEST(Screenshot, FlippingSwapsRowsAndLeavesTheMiddleRowOfAnOddHeight) {
    SDL_Surface* surface = SDL_CreateRGBSurface(0, 3, 5, 24, 0x000000FF, 0x0000FF00, 0x00FF0000, 0);
    ASSERT_NE(surface, nullptr);
    auto* pixels = static_cast<unsigned char*>(surface->pixels);
    for (int r = 0; r < 5; ++r) std::fill(pixels + r * surface->pitch, pixels + (r + 1) * surface->pitch, r * 10);
    flipSurfaceVertically(surface);
    for (int r = 0; r < 5; ++r) {
        EXPECT_EQ(pixels[r * surface->pitch], (4 - r) * 10) << "row " << r;
        EXPECT_EQ(pixels[r * surface->pitch + surface->pitch - 1], (4 - r) * 10) << "the padding goes too";
    }
    SDL_FreeSurface(surface);
}
