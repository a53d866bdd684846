#include "render/Renderer.h"

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "util/Paths.h"
#include "world/PlayerOptions.h"
#include "world/WindowSettings.h"

Renderer& Renderer::instance() {
    static Renderer renderer;
    return renderer;
}

bool Renderer::initialize() {
    window = nullptr;
    glReady = false;
    if (createWindowAndContext()) return true;
    std::fputs("RENDERER ERROR: Unable to initialize SDL and OpenGL.\n", stderr);
    return false;
}

namespace {

// GLEW asks GLX for its extensions after loading the core entry points; on an EGL
// context (SDL's offscreen or Wayland drivers) that step fails with "no GLX display"
// although GL itself works. What counts is whether GL answers.
bool glUsable(GLenum glewResult) {
    if (glewResult == GLEW_OK) return true;
    if (glewResult != GLEW_ERROR_NO_GLX_DISPLAY) return false;
    const GLubyte* version = glGetString(GL_VERSION);
    return version && glGenVertexArrays && glCreateShader;
}

// vsync=1 waits for the display's refresh, adaptively where the driver can (a late
// frame is shown at once rather than a whole refresh later); vsync=0 never waits.
void applyVsync(bool on) {
    if (on && SDL_GL_SetSwapInterval(-1) == 0) return;
    if (SDL_GL_SetSwapInterval(on ? 1 : 0) != 0)
        std::fprintf(stderr, "velkaran: vsync=%d is not available here: %s\n", on ? 1 : 0, SDL_GetError());
}

}  // namespace

void Renderer::readWindowSettings() {
    std::ifstream in(settingsFilePath(), std::ios::binary);
    if (!in) return;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const PlayerOptions options = parsePlayerOptions(text);
    fullscreen = options.fullscreen;
    vsync = options.vsync;
    const WindowResolution configured = parseWindowResolution(text);
    if (configured.width == 0) return;
    configuredWidth = configured.width;
    configuredHeight = configured.height;
}

bool Renderer::createWindowAndContext() {
    // Without a display SDL would fall back to its offscreen driver, and the game would
    // run as an invisible process that nobody can see or quit. Only real displays are
    // tried unless SDL_VIDEODRIVER asks for another driver (the tests' EGL runs do).
    if (!SDL_getenv("SDL_VIDEODRIVER")) SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,wayland");
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "ERROR: SDL could not initialize, error: %s\n", SDL_GetError());
        return false;
    }
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(0, &mode);
    readWindowSettings();
    chooseWindowSize({configuredWidth, configuredHeight}, mode.w, mode.h, width, height);
    if (fullscreen) {  // the desktop's own resolution, whatever size was asked for
        width = mode.w;
        height = mode.h;
    }

    if (SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) != 0) std::fputs("SDL SetAttribute ERROR: SDL_GL_DOUBLEBUFFER\n", stderr);
    if (SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16) != 0) std::fputs("SDL SetAttribute ERROR: SDL_GL_DEPTH_SIZE\n", stderr);

    window = SDL_CreateWindow("Velkaran", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_OPENGL | (fullscreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u));
    if (!window) {
        std::fprintf(stderr, "ERROR: SDL could not create window, error: %s\n", SDL_GetError());
        return false;
    }
    glContext = SDL_GL_CreateContext(window);
    if (!glContext) {
        std::fputs("ERROR: SDL could not create GL context.\n", stderr);
        return false;
    }
    glewExperimental = GL_TRUE;
    if (!glUsable(glewInit())) {
        std::fputs("ERROR: GLEW could not be initialized.\n", stderr);
        return false;
    }
    if (vsync) applyVsync(*vsync);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glReady = true;
    return true;
}

void Renderer::createObject(int32_t kind, const std::string& textureKey, int32_t id,
                            const std::vector<std::string>& shaderFiles, glm::vec3 position, glm::vec3 rotation,
                            glm::vec3 scale, const std::string& secondTextureKey, int32_t) {
    addObject(kind, textureKey, id, shaderFiles, position, rotation, scale, secondTextureKey, false);
}

void Renderer::createObjectSharingProgram(int32_t kind, const std::string& textureKey, int32_t id,
                                          const std::vector<std::string>& shaderFiles, glm::vec3 position,
                                          glm::vec3 rotation, glm::vec3 scale) {
    addObject(kind, textureKey, id, shaderFiles, position, rotation, scale, "blank", true);
}

void Renderer::addObject(int32_t kind, const std::string& textureKey, int32_t id,
                         const std::vector<std::string>& shaderFiles, glm::vec3 position, glm::vec3 rotation,
                         glm::vec3 scale, const std::string& secondTextureKey, bool shareProgram) {
    std::unique_ptr<Shape> shape = makeShape(kind);
    if (!shape || shaderFiles.size() < 2) {
        std::fprintf(stderr, "RENDERER ERROR: Unable to create the game object with numeric id: %d.\n", id);
        return;
    }
    scratchShapes.push_back(std::move(shape));
    Shape& scratch = *scratchShapes.back();
    scratch.generate();

    auto object = std::make_unique<RenderObject>();
    if (glReady) {
        object->setupMesh(scratch.getVertices(), scratch.getVertexCount(), scratch.getIndices(),
                          scratch.getIndexCount());
        if (shareProgram) {
            auto [entry, isNew] = sharedPrograms.try_emplace({shaderFiles[0], shaderFiles[1]});
            if (isNew) entry->second.build(shaderFiles[0], shaderFiles[1]);
            object->shader.shaderId = entry->second.shaderId;
            object->shader.programId = entry->second.programId;
        } else {
            object->shader.build(shaderFiles[0], shaderFiles[1]);
        }
        if (textureKey == "skybox") object->textures.createCubeMap(0, 6);
        else if (secondTextureKey == "blank") object->textures.createFromImage(textureKey);
        else object->textures.createFromImages({textureKey, secondTextureKey});
    }
    object->transform = Transform{position, rotation, scale};
    object->textureKey = textureKey;
    object->numericId = id;

    scratchShapes.clear();
    objects.push_back(std::move(object));
}

RenderObject* Renderer::findObject(int32_t id) const {
    for (const auto& object : objects) {
        if (object && object->numericId == id) return object.get();
    }
    std::fprintf(stderr, "ERROR: Unable to find the game object with numeric id: %d.\n", id);
    return nullptr;
}

void Renderer::releaseObjects() {
    // GL names can only be deleted while the context lives; without one, only the
    // memory is freed.
    for (auto& object : objects) {
        if (object && glReady) object->release();
        object.reset();
    }
}

Renderer::~Renderer() {
    releaseObjects();
    if (glContext) SDL_GL_DeleteContext(glContext);
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    glContext = nullptr;
    SDL_Quit();
    objects.clear();
    scratchShapes.clear();
}
