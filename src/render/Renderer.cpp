#include "render/Renderer.h"

#include <GL/glew.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "world/Preferences.h"
#include "world/WindowSettings.h"

Renderer& Renderer::instance() {
    static Renderer renderer;
    return renderer;
}

void Renderer::initialize() {
    window = nullptr;
    if (!createWindowAndContext()) std::fputs("RENDERER ERROR: Unable to initialize SDL and OpenGL.\n", stderr);
}

void Renderer::readWindowSettings() {
    std::ifstream in(kSettingsPath, std::ios::binary);
    if (!in) return;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const WindowResolution configured = parseWindowResolution(text);
    if (configured.width == 0) return;
    configuredWidth = configured.width;
    configuredHeight = configured.height;
}

bool Renderer::createWindowAndContext() {
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "ERROR: SDL could not initialize, error: %s\n", SDL_GetError());
        return false;
    }
    SDL_DisplayMode mode{};
    SDL_GetCurrentDisplayMode(0, &mode);
    readWindowSettings();
    chooseWindowSize({configuredWidth, configuredHeight}, mode.w, mode.h, width, height);

    if (SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) != 0) std::fputs("SDL SetAttribute ERROR: SDL_GL_DOUBLEBUFFER\n", stderr);
    if (SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16) != 0) std::fputs("SDL SetAttribute ERROR: SDL_GL_DEPTH_SIZE\n", stderr);

    window = SDL_CreateWindow("Velkaran", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              SDL_WINDOW_OPENGL);
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
    if (glewInit() != GLEW_OK) {
        std::fputs("ERROR: GLEW could not be initialized.\n", stderr);
        return false;
    }
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    return true;
}

Renderer::~Renderer() {
    if (glContext) SDL_GL_DeleteContext(glContext);
    if (window) SDL_DestroyWindow(window);
    window = nullptr;
    glContext = nullptr;
    SDL_Quit();
}
