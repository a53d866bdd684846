#include "Export.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <assimp/Exporter.hpp>
#include <assimp/scene.h>

namespace assetgen::models {

namespace {

// The exporter prints nine significant digits; five are plenty for these models
// and make the files (parsed once per placed instance when the game starts)
// much smaller. Values within 1e-6 of zero become 0.
std::string compactNumbers(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t open = text.find("<float_array", pos);
        if (open == std::string::npos) break;
        const std::size_t start = text.find('>', open) + 1;
        const std::size_t end = text.find("</float_array>", start);
        out.append(text, pos, start - pos);
        const char* p = text.c_str() + start;
        const char* const stop = text.c_str() + end;
        char buf[32];
        while (p < stop) {
            char* next = nullptr;
            double v = std::strtod(p, &next);
            if (next == p || next > stop) break;
            if (std::fabs(v) < 1e-6) v = 0.0;
            std::snprintf(buf, sizeof buf, " %.5g", v);
            out += buf;
            p = next;
        }
        out += ' ';
        pos = end;
    }
    out.append(text, pos, std::string::npos);
    return out;
}

}  // namespace

std::string toCollada(const Model& model) {
    aiScene scene;
    scene.mRootNode = new aiNode("root");
    const unsigned n = static_cast<unsigned>(model.surfaces.size());
    scene.mNumMeshes = n;
    scene.mMeshes = new aiMesh*[n];
    scene.mNumMaterials = n;
    scene.mMaterials = new aiMaterial*[n];
    scene.mRootNode->mNumMeshes = n;
    scene.mRootNode->mMeshes = new unsigned[n];
    for (unsigned i = 0; i < n; ++i) {
        const Surface& s = model.surfaces[i];
        aiMesh* m = new aiMesh();
        scene.mMeshes[i] = m;
        scene.mRootNode->mMeshes[i] = i;
        m->mName = aiString(s.material);
        m->mMaterialIndex = i;
        m->mPrimitiveTypes = aiPrimitiveType_TRIANGLE;
        m->mNumVertices = static_cast<unsigned>(s.verts.size());
        m->mVertices = new aiVector3D[m->mNumVertices];
        m->mNormals = new aiVector3D[m->mNumVertices];
        m->mTextureCoords[0] = new aiVector3D[m->mNumVertices];
        m->mNumUVComponents[0] = 2;
        for (unsigned v = 0; v < m->mNumVertices; ++v) {
            const Vertex& x = s.verts[v];
            m->mVertices[v] = aiVector3D(x.p.x, x.p.y, x.p.z);
            m->mNormals[v] = aiVector3D(x.n.x, x.n.y, x.n.z);
            m->mTextureCoords[0][v] = aiVector3D(x.uv.x, x.uv.y, 0.0f);
        }
        m->mNumFaces = static_cast<unsigned>(s.idx.size() / 3);
        m->mFaces = new aiFace[m->mNumFaces];
        for (unsigned f = 0; f < m->mNumFaces; ++f) {
            m->mFaces[f].mNumIndices = 3;
            m->mFaces[f].mIndices = new unsigned[3];
            std::memcpy(m->mFaces[f].mIndices, &s.idx[f * 3], 3 * sizeof(unsigned));
        }
        aiMaterial* mat = new aiMaterial();
        const aiString name(s.material), tex(s.material + ".png");
        mat->AddProperty(&name, AI_MATKEY_NAME);
        mat->AddProperty(&tex, AI_MATKEY_TEXTURE_DIFFUSE(0));
        scene.mMaterials[i] = mat;
    }
    Assimp::Exporter exporter;
    const aiExportDataBlob* blob = exporter.ExportToBlob(&scene, "collada");
    if (!blob) return {};
    std::string text(static_cast<const char*>(blob->data), blob->size);
    // The exporter stamps the wall-clock time; a fixed date keeps runs byte-identical.
    for (const char* tag : {"created", "modified"}) {
        const std::string open = std::string("<") + tag + ">", close = std::string("</") + tag + ">";
        const std::size_t a = text.find(open);
        const std::size_t b = a == std::string::npos ? a : text.find(close, a);
        if (b != std::string::npos) text.replace(a + open.size(), b - a - open.size(), "2024-01-01T00:00:00");
    }
    return compactNumbers(text);
}

}  // namespace assetgen::models
