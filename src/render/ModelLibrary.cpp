#include "render/ModelLibrary.h"

ModelHandle ModelLibrary::load(const std::string& path, const std::string& vertexShaderPath,
                               const std::string& fragmentShaderPath) {
    auto key = std::make_tuple(path, vertexShaderPath, fragmentShaderPath);
    const auto found = byKey.find(key);
    if (found != byKey.end()) return found->second;
    auto model = std::make_unique<Model>();
    model->load(path, vertexShaderPath, fragmentShaderPath);
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
}
