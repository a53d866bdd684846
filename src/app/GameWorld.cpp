// World building: the fixed render objects, the terrain, then everything the fortress
// seed decides, and the 3D instances of the furnished cells.
#include <SDL.h>

#include "app/Game.h"
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

void Game::buildWorld() {
    // The models' textures are decoded on a second thread meanwhile.
    if (Renderer::instance().glReady) TexturePrefetch::instance().start("../Data/Models3D");
    createRenderObjects();
    blockBatch.setUp();
    buildTerrain();

    // The random engine holds the fortress seed here and nothing has drawn from it
    // since: the furnishing that follows is the same for the same seed.
    RendererMapIcons icons;
    FortressSetup setup;
    FortressBuildHooks hooks;
    hooks.icons = &icons;
    hooks.pumpEvents = pumpEvents;
    buildSeededFortress(session->grid, session->random, generatorSeed, setup, hooks);
    // The icons an object placed during play shows on the map.
    for (const MapIconSpec& icon : placedObjectIcons()) icons.createMapIcon(icon);

    session->adoptFortress(setup);

    modelLoader = std::make_unique<LibraryModels>(modelLibrary);
    TexturePrefetch::instance().finish();
    session->populateWorld(*modelLoader, pumpEvents);
    TexturePrefetch::instance().release();
    setup.map.release();
}

void Game::buildTerrain() {
    session->buildTerrain();
    if (!Renderer::instance().glReady) return;
    terrainRenderer.setUp("../Data/Shaders/TerrainVertexShader.vs", "../Data/Shaders/TerrainFragmentShader.fs");
    terrainRenderer.upload(session->terrain);
    session->terrain.releaseMeshData();  // the GPU holds the mesh; heightAt keeps the heights
}
