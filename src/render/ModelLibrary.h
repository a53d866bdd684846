#pragma once
// One loaded model per (file, program) pair: every instance that asks for the same
// file with the same shaders gets the same model, since the picture is the same; and
// one program per shader pair, shared by the models drawn with it.
// The handles are plain integers for the GL-free core's instance records.
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "scene/ModelHandle.h"
#include "render/Model.h"

class ModelLibrary {
public:
    // Imports on the first request of the pair, later requests return the same handle.
    // A file that fails to import still gets a handle (its model draws nothing), so the
    // failure is reported once.
    ModelHandle load(const std::string& path, const std::string& vertexShaderPath,
                     const std::string& fragmentShaderPath);
    // Null for kNoModel or any handle this library did not give out.
    Model* get(ModelHandle handle) const;
    size_t size() const { return models.size(); }
    // Frees every model's GL objects and forgets them; earlier handles become invalid.
    void release();

    std::vector<std::unique_ptr<Model>> models;  // indexed by handle

private:
    std::map<std::tuple<std::string, std::string, std::string>, ModelHandle> byKey;
    // The program of each shader pair, owned by the first model built with it.
    std::map<std::pair<std::string, std::string>, const ShaderProgram*> programs;
};
