#include <gtest/gtest.h>

#include <memory>

#include "app/Game.h"

using enum GameState;

TEST(GameObject, FreshGameHasItsDefaults) {
    auto game = std::make_unique<Game>();
    EXPECT_EQ(game->gameState, MainMenu);
    EXPECT_FLOAT_EQ(game->fortressNameTimer, 5.0f);
    EXPECT_FLOAT_EQ(game->spinAngleSlow, 0.3f);
    EXPECT_FLOAT_EQ(game->spinAngleFast, 0.3f);
    EXPECT_EQ(game->activeEnemyCount, 1);
    EXPECT_EQ(game->slidingInstance, -1);
    EXPECT_TRUE(game->slideAlongX);
    EXPECT_TRUE(game->firstStart);
    EXPECT_TRUE(game->markerBlinkOn);
    EXPECT_FALSE(game->aboutShown || game->mapShown || game->overlayFreeze || game->statsShown);
    EXPECT_EQ(game->hoveredButton, 0);
    EXPECT_EQ(game->fortress.mapSeed, 0u);
    EXPECT_TRUE(game->fortress.mapName.empty());
    EXPECT_FLOAT_EQ(game->sceneCamera.fieldOfView, 80.0f);
    // A Game destroyed before start-up touches no window and frees nothing twice.
    game.reset();
}
