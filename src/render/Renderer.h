#pragma once
// The process-wide owner of SDL's video state, the one window, its OpenGL context
// and the window size every screen-space computation uses.
#include <SDL.h>

#include <memory>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "render/RenderObject.h"
#include "render/Shape.h"

class Renderer {
public:
    static Renderer& instance();

    // Creates the window and context. On failure reports on stderr and returns false:
    // without a window and GL there is nothing the game could show, so it stops.
    bool initialize();
    // Reads the window_resolution= line of the settings file into configuredWidth/Height,
    // and its fullscreen= and vsync= lines.
    void readWindowSettings();

    SDL_Window* window = nullptr;
    SDL_GLContext glContext = nullptr;
    int width = 0;
    int height = 0;
    int configuredWidth = 0;
    int configuredHeight = 0;
    bool fullscreen = false;  // the settings file's fullscreen= line
    std::optional<bool> vsync;  // its vsync= line: without it the driver's own swap interval stands
    // True once the context exists and the GL entry points are loaded. Without it no GL
    // call may be made: the registry then keeps objects without GL names.
    bool glReady = false;
    // The test aid --reference-drawing: every triangle and instance with the full shaders,
    // the picture the default drawing is held to. Set before the first program is built.
    bool referenceDrawing = false;

    // ---- Render object registry ----
    // Builds one object from a shape of the given kind, its own program (entries 0 and 1
    // of shaderFiles: vertex, fragment) and its own textures, and appends it. The key
    // "skybox" makes a cube map; a second key other than "blank" makes two textures on
    // units 0 and 1. The last argument is not used.
    void createObject(int32_t kind, const std::string& textureKey, int32_t id,
                      const std::vector<std::string>& shaderFiles, glm::vec3 position, glm::vec3 rotation,
                      glm::vec3 scale, const std::string& secondTextureKey = "blank", int32_t unused = 0);
    // Like createObject, but every object made this way from the same shader files uses
    // one program. Only for families whose draw sets every uniform it reads, such as the
    // map icons: there are about 1500 of them, and under a software driver a program
    // of its own costs each about 250 KB.
    void createObjectSharingProgram(int32_t kind, const std::string& textureKey, int32_t id,
                                    const std::vector<std::string>& shaderFiles, glm::vec3 position,
                                    glm::vec3 rotation, glm::vec3 scale);
    // The first object created with this id, or null (with a message on stderr).
    RenderObject* findObject(int32_t id) const;

    // The shape being converted during createObject, then the owned objects in creation order.
    std::vector<std::unique_ptr<Shape>> scratchShapes;
    std::vector<std::unique_ptr<RenderObject>> objects;
    Camera camera;

    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

private:
    Renderer() = default;
    ~Renderer();
    bool createWindowAndContext();
    void releaseObjects();
    void addObject(int32_t kind, const std::string& textureKey, int32_t id, const std::vector<std::string>& shaderFiles,
                   glm::vec3 position, glm::vec3 rotation, glm::vec3 scale, const std::string& secondTextureKey,
                   bool shareProgram);

    std::map<std::pair<std::string, std::string>, ShaderProgram> sharedPrograms;
};
