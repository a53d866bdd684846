#include "gameplay/MenuScreens.h"

#include <array>

namespace {

struct AreaRow {
    GameState screen;
    int32_t buttonId;
    PixelRect percent;
    float indicatorX;
    float indicatorY;
};

constexpr GameState kMainMenu = GameState::MainMenu;
constexpr GameState kAbout = GameState::About;
constexpr GameState kCredits = GameState::Credits;

constexpr std::array<AreaRow, 10> kAreas = {{
    {kMainMenu, StartButton, {34, 37, 66, 46}, -7.5f, 3.0f},
    {kMainMenu, NewMapButton, {34, 50, 61, 58}, -7.5f, -2.0f},
    {kMainMenu, AboutButton, {34, 62, 65, 70}, -7.5f, -6.7f},
    {kMainMenu, CreditsButton, {34, 73, 54, 81}, -7.5f, -11.2f},
    {kMainMenu, QuitButton, {34, 86, 46, 94}, -7.5f, -16.0f},
    {kMainMenu, HomePageButton, {85, 96, 99, 99}, 13.5f, -19.0f},
    {kAbout, BackButton, {4, 89, 17, 97}, -19.3f, -17.2f},
    {kAbout, GamePageButton, {28, 94, 71, 98}, -9.5f, -18.5f},
    {kCredits, BackButton, {4, 89, 17, 97}, -19.3f, -17.2f},
    {kCredits, GamePageButton, {28, 94, 71, 98}, -9.5f, -18.5f},
}};

}  // namespace

int32_t percentToPixels(int32_t percent, int windowExtent) {
    const float onePercent = static_cast<float>(windowExtent) * 0.01f;
    const float pixels = static_cast<float>(percent) * onePercent;
    return static_cast<int32_t>(pixels);
}

void ButtonArea::computePixelRect(int windowWidth, int windowHeight) {
    pixelRect.left = percentToPixels(percentRect.left, windowWidth);
    pixelRect.top = percentToPixels(percentRect.top, windowHeight);
    pixelRect.right = percentToPixels(percentRect.right, windowWidth);
    pixelRect.bottom = percentToPixels(percentRect.bottom, windowHeight);
}

bool ButtonArea::contains(int32_t x, int32_t y) const {
    return pixelRect.left <= x && x <= pixelRect.right && pixelRect.top <= y && y <= pixelRect.bottom;
}

std::vector<ButtonArea> makeButtonAreas(int windowWidth, int windowHeight) {
    std::vector<ButtonArea> areas;
    areas.reserve(kAreas.size());
    for (const AreaRow& row : kAreas) {
        ButtonArea area;
        area.screen = row.screen;
        area.buttonId = row.buttonId;
        area.percentRect = row.percent;
        area.indicatorX = row.indicatorX;
        area.indicatorY = row.indicatorY;
        area.computePixelRect(windowWidth, windowHeight);
        areas.push_back(area);
    }
    return areas;
}

std::string quitGameQuestion() {
    return "\xBF Quieres abandonar esta partida y volver al men\xFA principal ?";
}

std::string newMapQuestion(const std::string& mapName) {
    return "\xBF Quieres eliminar el mapa del nivel actual llamado '" + mapName +
           "' y generar uno nuevo ?\n\n"
           "Si seleccionas 'Si' la aplicaci\xF3n se cerrar\xE1 y podr\xE1s disfrutar del nuevo nivel la "
           "pr\xF3xima vez que inicies el juego.";
}
