#pragma once
// The process-wide owner of SDL's video state, the one window, its OpenGL context
// and the window size every screen-space computation uses.
#include <SDL.h>

#include <string>

class Renderer {
public:
    static Renderer& instance();

    // Creates the window and context; on failure reports on stderr and returns
    // normally with no usable window (callers are not told).
    void initialize();
    // Reads the window_resolution= line of the settings file into configuredWidth/Height.
    void readWindowSettings();

    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    int width = 0;
    int height = 0;
    int configuredWidth = 0;
    int configuredHeight = 0;

    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

private:
    Renderer() = default;
    ~Renderer();
    bool createWindowAndContext();
};
