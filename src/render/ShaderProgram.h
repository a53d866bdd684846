#pragma once
// One linked GLSL program read from "../Data/Shaders/" files, with uniform setters by
// name. The setters assume the program is in use; a name the program lacks is ignored.
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include <glm/glm.hpp>

#include "scene/Lights.h"

class ShaderProgram {
public:
    uint32_t shaderId = 0;   // the stage compiled last
    uint32_t programId = 0;  // the linked program, for glUseProgram

    // The whole file. A file that cannot be opened ends the process: the game cannot
    // draw anything without its programs.
    static std::string loadShaderSource(const std::string& path);
    // Compiles one stage. The default drawing compiles every file with FAST_DRAWING
    // defined; the reference drawing (Renderer::referenceDrawing) compiles it as it stands.
    uint32_t compileStage(uint32_t type, const std::string& source);
    static std::string withVariant(const std::string& source, bool reference, const std::string& defines = "");
    // Lines such as "#define X 1\n" that the next build puts after the #version line.
    std::string defines;
    uint32_t build(const std::string& vertexPath, const std::string& fragmentPath);
    uint32_t buildWithGeometry(const std::string& vertexPath, const std::string& geometryPath,
                               const std::string& fragmentPath);

    void setBool(const char* name, bool value) const;
    void setInt(const char* name, int value) const;
    void setFloat(const char* name, float value) const;
    void setVec3(const char* name, float x, float y, float z) const;
    void setVec3(const char* name, const glm::vec3& v) const { setVec3(name, v.x, v.y, v.z); }
    void setMat4(const char* name, glm::mat4 value) const;
    void setMat3(const char* name, glm::mat3 value) const;
    // The nine "spotlight.*" uniforms of the flashlight, the cut-offs as cosines.
    void setSpotlight(const Spotlight& spotlight) const;

    // The uniform's location: asked of the driver on every call, or, with
    // cacheLocations on, asked once per name and program and remembered.
    int location(const char* name) const;
    static bool cacheLocations;

private:
    mutable std::map<std::string, int, std::less<>> locationCache;
};
