#pragma once
// The menu screens' clickable rectangles, their buttons, and the texts of the two
// questions the menus put to the player.
#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/GameState.h"
#include "util/Windows1252.h"

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// One clickable area of one menu screen. The rectangle is given in per cent of the
// window (left/right of its width, top/bottom of its height) and converted to pixels
// once, at start-up.
struct ButtonArea {
    GameState screen = GameState::MainMenu;  // the game state in which the area is live
    int32_t buttonId = 0;  // 1 to 8
    PixelRect pixelRect;
    PixelRect percentRect;
    float indicatorX = 0.0f;  // where the hover indicator goes, in screen-camera units
    float indicatorY = 0.0f;

    // Per cent to pixels in single precision, truncated towards zero: on a 1920 pixel
    // window 85 % is 1631, because 1920 x 0.01 is not exactly 19.2 as a float.
    void computePixelRect(int windowWidth, int windowHeight);
    // Both edges included.
    bool contains(int32_t x, int32_t y) const;
};

int32_t percentToPixels(int32_t percent, int windowExtent);

// The areas of the three menu screens, in the order in which hits are tested.
std::vector<ButtonArea> makeButtonAreas(int windowWidth, int windowHeight);

// Menu button ids.
enum MenuButton : int32_t {
    NoButton = 0,
    StartButton = 1,
    NewMapButton = 2,
    AboutButton = 3,
    CreditsButton = 4,
    QuitButton = 5,
    BackButton = 6,
    HomePageButton = 7,
    GamePageButton = 8,
};

inline constexpr const char* kHomePageUrl = "https://velkaran.example.org/";
inline constexpr const char* kGamePageUrl = "https://velkaran.example.org/juego";

// The texts of the two confirmations, Windows-1252.
std::string quitGameQuestion();
std::string newMapQuestion(const std::string& mapName);
inline constexpr const char* kQuitGameCaption = "Cancelar partida";
inline constexpr const char* kNewMapCaption = "Generar nuevo mapa";

