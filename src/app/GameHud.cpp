// The head-up display, the end-of-game pictures, the overlays, the map screen and
// screenshots. What they show is decided GL-free (gameplay/Hud.h); this draws it.
#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/Game.h"
#include "gameplay/Hud.h"
#include "render/Renderer.h"
#include "scene/RenderObjectIds.h"

namespace {

constexpr const char* kLabelFont = "../Data/Fonts/Roboto-BoldItalic.ttf";
constexpr glm::vec3 kWhite{1.0f, 1.0f, 1.0f};

void setUpLabel(TextLabel& label, const std::string& text, float x, float y, float scale, float advance,
                glm::vec3 colour = kWhite) {
    label.init(kLabelFont);
    label.text = text;
    label.scale = scale;
    label.advanceScale = advance;
    label.color = colour;
    label.x = x;
    label.y = y;
}

void setAlpha(const RenderObject& object, float alpha) {
    if (!object.shader.programId) return;
    glUseProgram(object.shader.programId);
    object.shader.setFloat("alpha_level", alpha);
}

}  // namespace

void flipSurfaceVertically(SDL_Surface* surface) {
    if (!surface || SDL_LockSurface(surface) != 0) return;
    const auto pitch = static_cast<size_t>(surface->pitch);
    std::vector<unsigned char> row(pitch);
    auto* pixels = static_cast<unsigned char*>(surface->pixels);
    for (int r = 0; r < surface->h / 2; ++r) {
        unsigned char* top = pixels + static_cast<size_t>(r) * pitch;
        unsigned char* bottom = pixels + static_cast<size_t>(surface->h - 1 - r) * pitch;
        std::copy(top, top + pitch, row.data());
        std::copy(bottom, bottom + pitch, top);
        std::copy(row.data(), row.data() + pitch, bottom);
    }
    SDL_UnlockSurface(surface);
}

void Game::createLabels() {
    const Renderer& renderer = Renderer::instance();
    setUpLabel(labels.health, "100", 75, 23, 0.69f, 0.69f, {0.0f, 0.7f, 0.0f});
    setUpLabel(labels.ammo, "0", 225, 23, 0.69f, 0.69f);
    setUpLabel(labels.stats, "", 5, 875, 0.4f, 0.45f, {2.0f, 0.1f, 0.1f});
    setUpLabel(labels.windowSize, std::to_string(renderer.width) + " x " + std::to_string(renderer.height), 5, 875,
               0.35f, 0.36f, {0.09f, 0.77f, 0.71f});
    setUpLabel(labels.nodes, "0/15", 335, 15, 0.39f, 0.44f);
    setUpLabel(labels.scanner, "0", 435, 15, 0.39f, 0.44f);
    setUpLabel(labels.clock, "", 5, 845, 0.4f, 0.4f);
    setUpLabel(labels.record, shell.fortress.recordText, 5, 827, 0.25f, 0.25f);
    setUpLabel(labels.fortressCaption, "Nombre de la fortaleza:", 150, 875, 0.5f, 0.6f);
    setUpLabel(labels.fortressName, shell.fortress.mapName, 440, 875, 0.5f, 0.6f, {1.0f, 0.1f, 0.1f});
    setUpLabel(labels.message, "", 60, 100, 0.5f, 0.6f);
}

void Game::drawHud() {
    const Session& s = *shell.session;
    for (const int32_t id : hudIconIds(s.hud)) drawFlatObject(id);

    labels.ammo.text = std::to_string(s.player.currentGun().ammo);
    labels.ammo.draw();
    labels.health.text = std::to_string(s.player.health);
    labels.health.draw();
    labels.nodes.text = s.hud.nodesText;
    labels.scanner.text = s.hud.scannerText;
    labels.nodes.draw();
    labels.scanner.draw();
    if (s.messageTimer > 0.0f) {
        labels.message.text = s.messageText;
        labels.message.draw();
    }

    // Rebuilt once a second, not every frame.
    fpsTimer += frameDelta;
    fpsFrames += 1;
    if (fpsTimer >= 1.0f) {
        if (shell.overlays.stats) {
            const std::optional<ProcessorTimes> times = readProcessorTimes();
            std::optional<uint32_t> load;
            if (times) {
                load = processorLoadPercent(previousProcessorTimes, *times);
                previousProcessorTimes = *times;
            }
            labels.stats.text = statsText(fpsFrames, load);
        }
        fpsFrames = 0;
        fpsTimer = 0.0f;
        if (!s.player.dead && s.escapeStage == 0) labels.clock.text = playClockText(shell.playClock());
    }
    if (shell.overlays.stats) labels.stats.draw();
    labels.clock.draw();
    labels.record.text = shell.fortress.recordText;
    labels.record.draw();
    if (s.fortressNameTimer > 0.0f) {
        labels.fortressCaption.draw();
        labels.fortressName.draw();
        labels.windowSize.draw();
    }

    // The pictures lie in the HUD's plane, behind the aim mark and the icons drawn first.
    if (s.player.dead) drawFlatObject(render_id::kPlayerDeadPicture);
    if (s.escapeStage == 3) drawFlatObject(render_id::kVictoryPicture);
    if (!shell.overlays.freeze && s.player.hurt) drawFlatObject(render_id::kBloodFrame);
    if (shell.overlays.about) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawFlatObject(render_id::kAboutScreen);
    }
    if (shell.overlays.map) drawMapScreen();
}

void Game::drawMapScreen() {
    const Session& s = *shell.session;
    Renderer& renderer = Renderer::instance();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    RenderObject* trace = renderer.findObject(render_id::kMapTrace);
    for (const MapMark& mark : mapScreenMarks(s.grid)) {
        if (mark.trace) {
            if (!trace) continue;
            setAlpha(*trace, mark.alpha);
            trace->transform.position = mapMarkPosition(mark.i, mark.j);
            trace->transform.rotation = {0.0f, 0.0f, 180.0f};
            trace->transform.scale = {0.15f, 0.26f, 0.15f};
            trace->draw(screenCamera, glm::vec3(0.0f));
        } else if (RenderObject* icon = renderer.findObject(mark.iconId)) {
            setAlpha(*icon, mark.alpha);
            // A cell's own icon already stands there; a shared one (a drop's) is moved.
            icon->transform.position = mapMarkPosition(mark.i, mark.j);
            icon->draw(screenCamera, glm::vec3(0.0f));
        }
    }
    // The blink itself is a rule of the frame (it takes the HUD timer's turns).
    if (s.markerBlinkOn) {
        if (RenderObject* marker = renderer.findObject(render_id::kMapPlayerMarker)) {
            marker->transform.position = mapMarkPosition(s.player.cellX, s.player.cellZ);
            marker->transform.rotation = {0.0f, 0.0f, 180.0f};
            marker->transform.scale = {0.15f, 0.26f, 0.15f};
            marker->draw(screenCamera, glm::vec3(0.0f));
        }
    }
    glUseProgram(0);
    drawFlatObject(render_id::kMapBackground);
}

void Game::saveScreenshot(int32_t drawn) {
    const Renderer& renderer = Renderer::instance();
    if (!renderer.glReady || renderer.width <= 0 || renderer.height <= 0) return;

    SDL_Surface* surface = SDL_CreateRGBSurface(0, renderer.width, renderer.height, 24, 0x000000FF, 0x0000FF00,
                                                0x00FF0000, 0);
    if (!surface) {
        std::fprintf(stderr, "ERROR: Unable to take a screenshot: %s\n", SDL_GetError());
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, renderer.width, renderer.height, GL_RGB, GL_UNSIGNED_BYTE, surface->pixels);
    flipSurfaceVertically(surface);

    const std::filesystem::path folder = screenshotsFolder;
    std::error_code error;
    // An empty folder means the player's files have no place this run: write nothing
    // rather than into whatever the working directory is.
    if (folder.empty() || (!std::filesystem::create_directories(folder, error) && error)) {
        std::fprintf(stderr, "ERROR: No folder for screenshots: %s\n", folder.string().c_str());
        SDL_FreeSurface(surface);
        return;
    }
    const std::optional<int32_t> number =
        freeScreenshotNumber(drawn, [&](int32_t n) { return std::filesystem::exists(folder / screenshotFileName(n)); });
    if (!number) {
        std::fprintf(stderr, "ERROR: Every screenshot number is taken in %s\n", folder.string().c_str());
    } else {
        const std::string path = (folder / screenshotFileName(*number)).string();
        SDL_RWops* file = SDL_RWFromFile(path.c_str(), "wb");
        if (!file || SDL_SaveBMP_RW(surface, file, 1) != 0)
            std::fprintf(stderr, "ERROR: Unable to write the screenshot %s: %s\n", path.c_str(), SDL_GetError());
    }
    SDL_FreeSurface(surface);
}
