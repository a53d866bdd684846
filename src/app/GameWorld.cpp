// World building: the fixed render objects, the terrain, then everything the fortress
// seed decides, and the 3D instances of the furnished cells.
#include <SDL.h>

#include <cstdio>

#include "app/Game.h"
#include "app/InputManager.h"
#include "audio/AudioManager.h"
#include "render/ImageStore.h"
#include "render/MapIcons.h"
#include "render/Renderer.h"
#include "render/TexturePrefetch.h"

namespace {

const char* const kModelVertexShader = "../Data/Shaders/SingleModelLoader.vs";
const char* const kModelFragmentShader = "../Data/Shaders/SingleModelLoader.fs";
const char* const kEnemyVertexShader = "../Data/Shaders/EnemyVertexShader.vs";
const char* const kEnemyFragmentShader = "../Data/Shaders/EnemyFragmentShader.fs";

// The instances' models, each file imported once however many instances use it. The
// world's and the drones' programs draw with the night fog.
class LibraryModels : public ModelLoader {
public:
    explicit LibraryModels(ModelLibrary& models) : library(models) {}
    ModelHandle loadModel(const std::string& path, ModelProgram program) override {
        const size_t before = library.size();
        const bool enemy = program == ModelProgram::Enemy;
        const ModelHandle handle = library.load(path, enemy ? kEnemyVertexShader : kModelVertexShader,
                                                enemy ? kEnemyFragmentShader : kModelFragmentShader);
        if (library.size() != before)
            if (const Model* model = library.get(handle)) model->setBool("nightFog", true);
        return handle;
    }

private:
    ModelLibrary& library;
};

void pumpEvents() { SDL_PumpEvents(); }  // keeps the window responsive behind the loading picture

}  // namespace

// The window's steps between the shell's: settings, textures, meshes, render objects,
// sounds, labels and framebuffers are made where the drawing first needs them.
class WindowStartUp : public StartUpSteps {
public:
    explicit WindowStartUp(Game& window) : game(window) {}

    FortressIdentity fortress() override {
        if (game.replay) return game.replay->fortress();
        FortressIdentity identity;
        if (!identity.loadPreferences()) identity.createNewFortress();
        identity.formatRecordText();
        return identity;
    }
    void worldBegins() override {
        // The models' textures are decoded on a second thread meanwhile.
        if (Renderer::instance().glReady) TexturePrefetch::instance().start("../Data/Models3D");
        game.createRenderObjects();
        game.blockBatch.setUp();
    }
    void terrainBuilt(Terrain& terrain) override {
        if (!Renderer::instance().glReady) return;
        game.terrainRenderer.setUp("../Data/Shaders/TerrainVertexShader.vs", "../Data/Shaders/TerrainFragmentShader.fs");
        game.terrainRenderer.upload(terrain);
        terrain.releaseMeshData();  // the GPU holds the mesh; heightAt keeps the heights
    }
    FortressBuildHooks fortressHooks() override {
        FortressBuildHooks hooks;
        hooks.icons = &icons;
        hooks.pumpEvents = pumpEvents;
        return hooks;
    }
    void fortressBuilt() override {
        // The icons an object placed during play shows on the map.
        for (const MapIconSpec& icon : placedObjectIcons()) icons.createMapIcon(icon);
    }
    ModelLoader& models() override {
        game.modelLoader = std::make_unique<LibraryModels>(game.modelLibrary);
        TexturePrefetch::instance().finish();
        return *game.modelLoader;
    }
    std::function<void()> afterFurnishedRow() override { return pumpEvents; }
    void worldFurnished() override { TexturePrefetch::instance().release(); }
    void particlesCreated(const Session& session) override {
        game.girlRenderer.init("GirlRecueEffect", session.girlEffect.count);
        game.spaceshipRenderer.init("SpaceshipEffect", session.spaceshipEffect.count);
        game.enemyDamageRenderer.init("EnemyDamageEffect", 20);
        game.enemyDestroyRenderer.init("EnemyDestroyEffect", 10);
        game.initialiseAudio();
        game.createLabels();
        game.createFramebuffer();
    }
    void clothCreated() override { game.clothRenderer.init(); }
    void playerCreated(Session& session) override {
        // The guns' view models, drawn with the scene's model program.
        for (Weapon* gun : {&session.player.rifle, &session.player.sniperRifle})
            gun->model = game.modelLibrary.load(gun->modelPath, kModelVertexShader, kModelFragmentShader);
    }

private:
    Game& game;
    RendererMapIcons icons;
};

void Game::startUp() {
    captureMouse();
    showLoadingScreen();
    WindowStartUp steps(*this);
    const Renderer& renderer = Renderer::instance();
    shell.startUp(steps, renderer.width, renderer.height);
    ImageStore::instance().releasePixels();  // every texture exists now
    releaseMouse();
    if (replay) {
        std::string error;
        if (!replay->startMatches(shell, error)) {
            std::fprintf(stderr, "velkaran: %s\n", error.c_str());
            exitStatus = 2;
            return;
        }
        replay->setUp(shell);
    }
    setUpRecording();
    mainLoop();
}

void Game::initialiseAudio() {
    AudioManager& audio = AudioManager::instance();
    audio.initialize();
    audio.loadSoundTable();
    loadedSoundTable = true;
}
