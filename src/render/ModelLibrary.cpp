#include "render/ModelLibrary.h"

ModelHandle ModelLibrary::load(const std::string& path, const std::string& vertexShaderPath,
                               const std::string& fragmentShaderPath) {
    auto key = std::make_tuple(path, vertexShaderPath, fragmentShaderPath);
    const auto found = byKey.find(key);
    if (found != byKey.end()) return found->second;
    auto model = std::make_unique<Model>();
    // One program per shader pair: a model's draw sets every uniform its program reads
    // (and the owners set the same night fog on all of them), and under a software
    // driver each program costs start-up time and a quarter of a megabyte.
    const auto program = programs.find({vertexShaderPath, fragmentShaderPath});
    if (program != programs.end()) model->shareProgram(*program->second);
    model->load(path, vertexShaderPath, fragmentShaderPath);
    if (program == programs.end() && model->shader.programId)
        programs.emplace(std::make_pair(vertexShaderPath, fragmentShaderPath), &model->shader);
    const ModelHandle handle = static_cast<ModelHandle>(models.size());
    models.push_back(std::move(model));
    byKey.emplace(std::move(key), handle);
    return handle;
}

Model* ModelLibrary::get(ModelHandle handle) const {
    if (handle < 0 || static_cast<size_t>(handle) >= models.size()) return nullptr;
    return models[static_cast<size_t>(handle)].get();
}

void ModelLibrary::release() {
    for (const auto& model : models) model->release();
    models.clear();
    byKey.clear();
    programs.clear();
}
