#include "render/ShaderProgram.h"
#include "render/Renderer.h"
#include "render/Transform.h"

#include <cmath>

#include <GL/glew.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>

#include <glm/gtc/type_ptr.hpp>

// Measured under llvmpipe: remembering locations saves nothing visible (the draws
// themselves dominate), so the driver is asked on every call.
bool ShaderProgram::cacheLocations = false;

std::string ShaderProgram::loadShaderSource(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fputs(("SHADER ERROR: Unable to load shader: " + path + "\n").c_str(), stdout);
        std::fflush(stdout);
        std::exit(EXIT_FAILURE);
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    std::string source(size > 0 ? static_cast<size_t>(size) : 0u, '\0');
    in.seekg(0, std::ios::beg);
    in.read(source.data(), static_cast<std::streamsize>(source.size()));
    return source;
}

std::string ShaderProgram::withVariant(const std::string& source, bool reference, const std::string& defines) {
    if (reference) return source;
    const std::string inserted = "#define FAST_DRAWING 1\n" + defines;
    // The defines must follow the #version line, which has to come first.
    const size_t version = source.find("#version");
    const size_t lineEnd = version == std::string::npos ? std::string::npos : source.find('\n', version);
    if (lineEnd == std::string::npos) return inserted + source;
    return source.substr(0, lineEnd + 1) + inserted + source.substr(lineEnd + 1);
}

uint32_t ShaderProgram::compileStage(uint32_t type, const std::string& original) {
    const std::string source = withVariant(original, Renderer::instance().referenceDrawing, defines);
    shaderId = glCreateShader(type);
    const GLchar* text = source.data();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shaderId, 1, &text, &length);
    glCompileShader(shaderId);
    GLint ok = 0;
    glGetShaderiv(shaderId, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[512] = {};
        glGetShaderInfoLog(shaderId, sizeof log, nullptr, log);
        std::fprintf(stderr, "SHADER ERROR: Unable to compile shader.\n%s\n", log);
    }
    return shaderId;
}

namespace {

void reportLink(GLuint program) {
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[512] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        std::fprintf(stderr, "SHADER ERROR: Unable to link shader program.\n%s\n", log);
    }
}

}  // namespace

uint32_t ShaderProgram::build(const std::string& vertexPath, const std::string& fragmentPath) {
    const std::string vertexSource = loadShaderSource(vertexPath);
    const std::string fragmentSource = loadShaderSource(fragmentPath);
    const GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexSource);
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentSource);
    programId = glCreateProgram();
    glAttachShader(programId, vertex);
    glAttachShader(programId, fragment);
    glLinkProgram(programId);
    reportLink(programId);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    locationCache.clear();
    return programId;
}

uint32_t ShaderProgram::buildWithGeometry(const std::string& vertexPath, const std::string& geometryPath,
                                          const std::string& fragmentPath) {
    const std::string vertexSource = loadShaderSource(vertexPath);
    const std::string geometrySource = loadShaderSource(geometryPath);
    const std::string fragmentSource = loadShaderSource(fragmentPath);
    const GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexSource);
    const GLuint geometry = compileStage(GL_GEOMETRY_SHADER, geometrySource);
    const GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentSource);
    programId = glCreateProgram();
    glAttachShader(programId, vertex);
    glAttachShader(programId, geometry);
    glAttachShader(programId, fragment);
    glLinkProgram(programId);
    reportLink(programId);
    // Attached stages live on with the program; dropping our names only frees them
    // together with it.
    glDeleteShader(vertex);
    glDeleteShader(geometry);
    glDeleteShader(fragment);
    locationCache.clear();
    return programId;
}

int ShaderProgram::location(const char* name) const {
    if (!cacheLocations) return glGetUniformLocation(programId, name);
    const std::string_view key(name);
    const auto it = locationCache.find(key);
    if (it != locationCache.end()) return it->second;
    const int loc = glGetUniformLocation(programId, name);
    locationCache.emplace(std::string(key), loc);
    return loc;
}

// A program that was never built (no context) has name 0: its setters do nothing.
void ShaderProgram::setBool(const char* name, bool value) const {
    if (programId) glUniform1i(location(name), value ? 1 : 0);
}
void ShaderProgram::setInt(const char* name, int value) const {
    if (programId) glUniform1i(location(name), value);
}
void ShaderProgram::setFloat(const char* name, float value) const {
    if (programId) glUniform1f(location(name), value);
}
void ShaderProgram::setVec3(const char* name, float x, float y, float z) const {
    if (programId) glUniform3f(location(name), x, y, z);
}
void ShaderProgram::setMat4(const char* name, glm::mat4 value) const {
    if (programId) glUniformMatrix4fv(location(name), 1, GL_FALSE, glm::value_ptr(value));
}

void ShaderProgram::setMat3(const char* name, glm::mat3 value) const {
    if (programId) glUniformMatrix3fv(location(name), 1, GL_FALSE, glm::value_ptr(value));
}

void ShaderProgram::setSpotlight(const Spotlight& spotlight) const {
    setVec3("spotlight.position", spotlight.position);
    setVec3("spotlight.direction", spotlight.direction);
    setVec3("spotlight.diffuse", spotlight.diffuse);
    setVec3("spotlight.specular", spotlight.specular);
    setFloat("spotlight.constant", spotlight.constant);
    setFloat("spotlight.linear", spotlight.linear);
    setFloat("spotlight.quadratic", spotlight.quadratic);
    setFloat("spotlight.cutOff", std::cos(spotlight.cutOff * kDegreesToRadians));
    setFloat("spotlight.outerCutOff", std::cos(spotlight.outerCutOff * kDegreesToRadians));
}
