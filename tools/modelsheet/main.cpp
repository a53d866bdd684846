// velkaran-modelsheet DATA_DIR OUT_PREFIX
// Imports every model of the game the way the game does (triangulate, flip UVs,
// no node transforms, diffuse map 0 from the model's folder), places it with the
// game's scale and rotation on a ground grid beside a post at eye height
// (10 units), and rasterises it in software into contact sheets
// OUT_PREFIX_<group>.png. Guns are shown as the player sees them.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#include <stb_easy_font.h>

namespace {

struct Entry {
    const char* group;
    const char* path;
    glm::vec3 scale;
    glm::vec3 axis;
    float angle;   // radians
    float height;  // origin above the ground
    bool firstPerson = false;
};

const float kPi = 3.14159265f;
const glm::vec3 Y(0, 1, 0);

std::vector<Entry> entries() {
    const glm::vec3 s1(1.0f);
    return {
        {"enemies", "Enemy/cildrone.dae", glm::vec3(10), Y, 0, 6},
        {"enemies", "Enemy/recondrone.dae", glm::vec3(5), Y, 0, 11.5f},
        {"enemies", "Enemy/recondrone_2.dae", glm::vec3(5), Y, 0, 11.5f},
        {"enemies", "Enemy/enemy_pyramid.dae", {4.3f, 6.5f, 4.3f}, Y, 0, 8},
        {"enemies", "Enemy/enemy_pyramid_2.dae", {4.3f, 6.5f, 4.3f}, Y, 0, 8},
        {"enemies", "Enemy/enemy_skull.dae", glm::vec3(12), Y, 0, 8},
        {"enemies", "Enemy/enemy_skull_2.dae", glm::vec3(12), Y, 0, 8},
        {"weapons", "Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", s1, Y, 0, 0, true},
        {"weapons", "Weapons/Sci-fi_SniperRifle/SniperRifle.dae", s1, Y, 0, 0, true},
        {"weapons", "Weapons/Sci-fi_AssaultRifle/AssaultRifle.dae", s1, Y, 0, 0},
        {"weapons", "Weapons/Sci-fi_SniperRifle/SniperRifle.dae", s1, Y, 0, 0},
        {"items", "Items/Item_health.dae", glm::vec3(0.015f), Y, 0, 5},
        {"items", "Items/Item_extra_health.dae", glm::vec3(5), Y, 0, 5},
        {"items", "Items/Item_ammo.dae", glm::vec3(8), Y, 0, 5},
        {"items", "Items/TreasureChest.dae", glm::vec3(0.1f), Y, 0, 5},
        {"items", "Items/Energy_Cell.dae", glm::vec3(4), Y, 0, 2},
        {"items", "Items/scanner_map.dae", glm::vec3(80), Y, 0, 2},
        {"items", "Items/engine_device.dae", glm::vec3(8), Y, 0, 10},
        {"items", "Items/repelente_azul.dae", glm::vec3(8), Y, 0, 8},
        {"items", "Items/cristal_rojo.dae", glm::vec3(10), Y, 0, 12},
        {"items", "Items/Key_red.dae", glm::vec3(8), Y, 0, 8},
        {"items", "Items/Key_green.dae", glm::vec3(8), Y, 0, 8},
        {"items", "Items/Key_yellow.dae", glm::vec3(8), Y, 0, 8},
        {"hazards", "Damages/stalagmites.dae", {6, 4, 6}, Y, 0, 6},
        {"hazards", "Damages/cactus_1.dae", {22, 25, 22}, Y, 0, 0},
        {"hazards", "Damages/vegetation_lava.dae", {5, 1.5f, 5}, Y, 0, -2},
        {"hazards", "Damages/vegetation_lava_2.dae", {25, 35, 25}, Y, 0, 2},
        {"scenery", "Scene/Platform_energy_cell.dae", glm::vec3(0.23f), Y, 0, 4},
        {"scenery", "Scene/Girl_rescue/girl_rescue.dae", glm::vec3(14), Y, 0, 4},
        {"scenery", "Scene/Spaceship/spaceship.dae", glm::vec3(0.1f), Y, 0, -4},
        {"scenery", "Scene/tree_1.dae", {5, 8, 5}, Y, 0, 0},
        {"scenery", "Scene/tree_2.dae", {5, 7, 5}, Y, 0, 0},
        {"scenery", "Scene/rock_1.dae", glm::vec3(18), Y, 0, 16},
        {"scenery", "Scene/plant_1.dae", glm::vec3(12), Y, 0, 7},
        {"scenery", "Scene/juncos_1.dae", glm::vec3(22), Y, 0, 30},
        {"scenery", "Scene/skeleton_head.dae", glm::vec3(4), {1, 0, 0}, -kPi / 4, 2},
        {"scenery", "Scene/skeleton_1.dae", glm::vec3(8), Y, 0, 0},
        {"scenery", "Scene/Worm_alien.dae", glm::vec3(8), Y, 0, 26},
        {"scenery", "Scene/monolith_alien.dae", {30, 24, 24}, {0, 0, 1}, -kPi / 2, -2},
        {"scenery", "Scene/JailGateRed.dae", glm::vec3(4.5f), Y, 0, -3},
        {"scenery", "Scene/JailGateGreen.dae", glm::vec3(4.5f), Y, 0, -3},
        {"scenery", "Scene/JailGateYellow.dae", glm::vec3(4.5f), Y, kPi / 2, -3},
        {"scenery", "Rock/LowPolyRock.dae", {20, 36, 20}, Y, 180, 5},
        {"scenery", "FlagPole/Pole.dae", s1, Y, 0, 6},
        {"fields", "Force_field/force_field_1_yellow.dae", glm::vec3(12), Y, 0, 12},
        {"fields", "Force_field/force_field_2_blue.dae", glm::vec3(12), Y, 0, 12},
        {"fields", "Force_field/force_field_3_green.dae", glm::vec3(12), Y, 0, 12},
        {"fields", "Force_field/force_field_4_violet.dae", glm::vec3(12), Y, 0, 12},
        {"fields", "Force_field/force_field_5_red.dae", glm::vec3(12), Y, 0, 12},
        {"fields", "Force_field/Statue_angel_1_yellow.dae", glm::vec3(22), Y, 0, 0},
        {"fields", "Force_field/Statue_angel_2_blue.dae", glm::vec3(22), Y, 0, 0},
        {"fields", "Force_field/Statue_angel_3_green.dae", glm::vec3(22), Y, 0, 0},
        {"fields", "Force_field/Statue_angel_4_violet.dae", glm::vec3(22), Y, 0, 0},
        {"fields", "Force_field/Statue_angel_5_red.dae", glm::vec3(22), Y, 0, 0},
    };
}

struct Texture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;
    glm::vec3 sample(glm::vec2 uv) const {
        if (w == 0) return glm::vec3(1, 0, 1);
        const float x = uv.x * static_cast<float>(w) - 0.5f, y = uv.y * static_cast<float>(h) - 0.5f;
        const float fx = std::floor(x), fy = std::floor(y);
        const float tx = x - fx, ty = y - fy;
        auto px = [&](int ix, int iy) {
            ix = ((ix % w) + w) % w;
            iy = ((iy % h) + h) % h;
            const unsigned char* p = &rgb[static_cast<std::size_t>((iy * w + ix) * 3)];
            return glm::vec3(p[0], p[1], p[2]) / 255.0f;
        };
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        return glm::mix(glm::mix(px(ix, iy), px(ix + 1, iy), tx), glm::mix(px(ix, iy + 1), px(ix + 1, iy + 1), tx), ty);
    }
};

struct Tri {
    glm::vec3 p[3], n[3];
    glm::vec2 uv[3];
    const Texture* tex;  // null: ground grid
};

struct Canvas {
    int w, h;
    std::vector<glm::vec3> c;
    std::vector<float> z;
    Canvas(int ww, int hh) : w(ww), h(hh), c(static_cast<std::size_t>(ww * hh)), z(static_cast<std::size_t>(ww * hh), 1e30f) {}
};

glm::vec3 shade(const Tri& t, glm::vec3 bary, glm::vec3 worldPos, glm::vec3 eye) {
    const glm::vec2 uv = bary.x * t.uv[0] + bary.y * t.uv[1] + bary.z * t.uv[2];
    glm::vec3 n = glm::normalize(bary.x * t.n[0] + bary.y * t.n[1] + bary.z * t.n[2]);
    glm::vec3 base;
    if (!t.tex) {
        const float gx = std::fabs(std::fmod(std::fabs(worldPos.x) + 5.0f, 10.0f) - 5.0f);
        const float gz = std::fabs(std::fmod(std::fabs(worldPos.z) + 5.0f, 10.0f) - 5.0f);
        base = (std::min(gx, gz) > 4.8f) ? glm::vec3(0.25f, 0.3f, 0.25f) : glm::vec3(0.45f, 0.5f, 0.42f);
    } else {
        base = t.tex->sample(uv);
    }
    const glm::vec3 L = glm::normalize(glm::vec3(0.4f, 0.8f, 0.5f));
    const glm::vec3 V = glm::normalize(eye - worldPos);
    if (glm::dot(n, V) < 0.0f) n = -n * 0.3f;  // back faces: dim, shows holes
    const float diff = std::max(0.0f, glm::dot(n, L));
    const float spec = std::pow(std::max(0.0f, glm::dot(glm::reflect(-L, n), V)), 24.0f);
    return base * (0.32f + 0.75f * diff) + glm::vec3(0.15f * spec);
}

void raster(Canvas& cv, const std::vector<Tri>& tris, const glm::mat4& view, const glm::mat4& proj, glm::vec3 eye, int ox, int oy,
            int tw, int th) {
    for (const Tri& t : tris) {
        glm::vec4 clip[3];
        bool behind = false;
        for (int k = 0; k < 3; ++k) {
            clip[k] = proj * view * glm::vec4(t.p[k], 1.0f);
            if (clip[k].w < 0.05f) behind = true;
        }
        if (behind) continue;
        glm::vec3 s[3];
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 ndc = glm::vec3(clip[k]) / clip[k].w;
            s[k] = glm::vec3(ox + (ndc.x * 0.5f + 0.5f) * tw, oy + (0.5f - ndc.y * 0.5f) * th, clip[k].w);
        }
        const float area = (s[1].x - s[0].x) * (s[2].y - s[0].y) - (s[2].x - s[0].x) * (s[1].y - s[0].y);
        if (std::fabs(area) < 1e-9f) continue;
        const int x0 = std::max(ox, static_cast<int>(std::floor(std::min({s[0].x, s[1].x, s[2].x}))));
        const int x1 = std::min(ox + tw - 1, static_cast<int>(std::ceil(std::max({s[0].x, s[1].x, s[2].x}))));
        const int y0 = std::max(oy, static_cast<int>(std::floor(std::min({s[0].y, s[1].y, s[2].y}))));
        const int y1 = std::min(oy + th - 1, static_cast<int>(std::ceil(std::max({s[0].y, s[1].y, s[2].y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                float b0 = ((s[1].x - px) * (s[2].y - py) - (s[2].x - px) * (s[1].y - py)) / area;
                float b1 = ((s[2].x - px) * (s[0].y - py) - (s[0].x - px) * (s[2].y - py)) / area;
                float b2 = 1.0f - b0 - b1;
                if (b0 < 0 || b1 < 0 || b2 < 0) continue;
                // Perspective-correct weights.
                glm::vec3 pw(b0 / s[0].z, b1 / s[1].z, b2 / s[2].z);
                const float sum = pw.x + pw.y + pw.z;
                pw /= sum;
                const float depth = 1.0f / sum;
                const std::size_t i = static_cast<std::size_t>(y * cv.w + x);
                if (depth >= cv.z[i]) continue;
                cv.z[i] = depth;
                const glm::vec3 wp = pw.x * t.p[0] + pw.y * t.p[1] + pw.z * t.p[2];
                cv.c[i] = shade(t, pw, wp, eye);
            }
    }
}

void text(Canvas& cv, int x, int y, const std::string& s, glm::vec3 col, float scale) {
    static char buf[60000];
    const int quads = stb_easy_font_print(0, 0, const_cast<char*>(s.c_str()), nullptr, buf, sizeof buf);
    for (int q = 0; q < quads; ++q) {
        const float* v = reinterpret_cast<const float*>(buf + q * 64);
        const float qx0 = v[0], qy0 = v[1], qx1 = v[8], qy1 = v[9];
        for (int yy = static_cast<int>(qy0 * scale); yy < static_cast<int>(qy1 * scale); ++yy)
            for (int xx = static_cast<int>(qx0 * scale); xx < static_cast<int>(qx1 * scale); ++xx) {
                const int px = x + xx, py = y + yy;
                if (px >= 0 && py >= 0 && px < cv.w && py < cv.h) cv.c[static_cast<std::size_t>(py * cv.w + px)] = col;
            }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: velkaran-modelsheet DATA_DIR OUT_PREFIX\n");
        return 2;
    }
    const std::string data = std::string(argv[1]) + "/Models3D/";
    const std::string prefix = argv[2];
    std::map<std::string, std::vector<Entry>> groups;
    for (const Entry& e : entries()) groups[e.group].push_back(e);
    int failures = 0;
    for (auto& [group, list] : groups) {
        // Guns are looked at closely: bigger tiles.
        const bool guns = group == "weapons";
        const int tw = guns ? 800 : 480, th = guns ? 500 : 400, cols = guns ? 2 : 4;
        const int rows = static_cast<int>((list.size() + cols - 1) / cols);
        Canvas cv(tw * cols, th * rows);
        for (std::size_t k = 0; k < cv.c.size(); ++k) cv.c[k] = glm::vec3(0.16f, 0.18f, 0.22f);
        for (std::size_t idx = 0; idx < list.size(); ++idx) {
            const Entry& e = list[idx];
            const int ox = static_cast<int>(idx % cols) * tw, oy = static_cast<int>(idx / cols) * th;
            const std::string file = data + e.path;
            Assimp::Importer importer;
            const aiScene* scene = importer.ReadFile(file, aiProcess_Triangulate | aiProcess_FlipUVs);
            if (!scene || scene->mFlags == AI_SCENE_FLAGS_INCOMPLETE || !scene->mRootNode || scene->mNumMeshes == 0) {
                text(cv, ox + 10, oy + 10, std::string("FAILED ") + e.path, {1, 0.3f, 0.3f}, 2.0f);
                ++failures;
                continue;
            }
            const std::string dir = file.substr(0, file.rfind('/'));
            std::map<std::string, Texture> textures;
            glm::mat4 m = glm::translate(glm::mat4(1.0f), glm::vec3(0, e.height, 0));
            if (e.firstPerson) m = glm::translate(glm::mat4(1.0f), glm::vec3(1.7f, -2.0f, -2.5f));
            if (e.firstPerson) m = glm::rotate(m, 3.31613f, Y);
            else m = glm::rotate(m, e.angle, e.axis);
            m = glm::scale(m, e.scale);
            const glm::mat3 nm = glm::transpose(glm::inverse(glm::mat3(m)));
            std::vector<Tri> tris;
            glm::vec3 lo(1e30f), hi(-1e30f);
            std::size_t vcount = 0;
            bool normalsOk = true;
            for (unsigned mi = 0; mi < scene->mNumMeshes; ++mi) {
                const aiMesh* mesh = scene->mMeshes[mi];
                aiString tp;
                const aiMaterial* mat = scene->mMaterials[mesh->mMaterialIndex];
                const Texture* tex = nullptr;
                if (mat->GetTextureCount(aiTextureType_DIFFUSE) > 0 && mat->GetTexture(aiTextureType_DIFFUSE, 0, &tp) == AI_SUCCESS) {
                    Texture& t = textures[tp.C_Str()];
                    if (t.w == 0) {
                        int n = 0;
                        unsigned char* px = stbi_load((dir + "/" + tp.C_Str()).c_str(), &t.w, &t.h, &n, 3);
                        if (px) {
                            t.rgb.assign(px, px + t.w * t.h * 3);
                            stbi_image_free(px);
                        } else {
                            t.w = 0;
                        }
                    }
                    tex = &t;
                }
                if (!mesh->HasNormals()) normalsOk = false;
                vcount += mesh->mNumVertices;
                for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
                    const aiFace& face = mesh->mFaces[f];
                    if (face.mNumIndices != 3) continue;
                    Tri t{};
                    t.tex = tex;
                    for (int k = 0; k < 3; ++k) {
                        const unsigned vi = face.mIndices[k];
                        const aiVector3D p = mesh->mVertices[vi];
                        const aiVector3D n = mesh->HasNormals() ? mesh->mNormals[vi] : aiVector3D(0, 1, 0);
                        t.p[k] = glm::vec3(m * glm::vec4(p.x, p.y, p.z, 1.0f));
                        t.n[k] = glm::normalize(nm * glm::vec3(n.x, n.y, n.z));
                        t.uv[k] = mesh->HasTextureCoords(0) ? glm::vec2(mesh->mTextureCoords[0][vi].x, mesh->mTextureCoords[0][vi].y)
                                                            : glm::vec2(0.0f);
                        lo = glm::min(lo, t.p[k]);
                        hi = glm::max(hi, t.p[k]);
                    }
                    tris.push_back(t);
                }
            }
            glm::mat4 view, proj;
            glm::vec3 eye;
            if (e.firstPerson) {
                eye = glm::vec3(0.0f);
                view = glm::lookAt(eye, glm::vec3(0, 0, -1), Y);
                proj = glm::perspective(glm::radians(80.0f), 1.6f, 0.1f, 8000.0f);
                // a wall and floor far ahead so the gun reads against something
                const glm::vec3 fl[4] = {{-40, -10, -1}, {40, -10, -1}, {40, -10, -80}, {-40, -10, -80}};
                for (int q = 0; q < 2; ++q) {
                    Tri g{};
                    const int ids[2][3] = {{0, 1, 2}, {0, 2, 3}};
                    for (int k = 0; k < 3; ++k) {
                        g.p[k] = fl[ids[q][k]];
                        g.n[k] = Y;
                    }
                    tris.push_back(g);
                }
            } else {
                const glm::vec3 centre = (lo + hi) * 0.5f;
                const float radius = std::max(glm::length(hi - lo) * 0.5f, 6.0f);
                // Ground and a 10-unit post (eye height) beside the model for scale.
                const float gs = std::max(radius * 1.6f, 20.0f);
                const glm::vec3 gq[4] = {{centre.x - gs, 0, centre.z - gs}, {centre.x + gs, 0, centre.z - gs},
                                         {centre.x + gs, 0, centre.z + gs}, {centre.x - gs, 0, centre.z + gs}};
                for (int q = 0; q < 2; ++q) {
                    Tri g{};
                    const int ids[2][3] = {{0, 1, 2}, {0, 2, 3}};
                    for (int k = 0; k < 3; ++k) {
                        g.p[k] = gq[ids[q][k]];
                        g.n[k] = Y;
                    }
                    tris.push_back(g);
                }
                static Texture postTex;
                if (postTex.w == 0) {
                    postTex.w = postTex.h = 1;
                    postTex.rgb = {255, 120, 20};
                }
                const float px = hi.x + 3.0f, pz = centre.z;
                const glm::vec3 pc[8] = {{px - 0.5f, 0, pz - 0.5f}, {px + 0.5f, 0, pz - 0.5f}, {px + 0.5f, 0, pz + 0.5f},
                                         {px - 0.5f, 0, pz + 0.5f}, {px - 0.5f, 10, pz - 0.5f}, {px + 0.5f, 10, pz - 0.5f},
                                         {px + 0.5f, 10, pz + 0.5f}, {px - 0.5f, 10, pz + 0.5f}};
                const int faces[4][4] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}};
                for (const auto& f : faces) {
                    const glm::vec3 n = glm::normalize(glm::cross(pc[f[1]] - pc[f[0]], pc[f[3]] - pc[f[0]]));
                    for (int q = 0; q < 2; ++q) {
                        Tri g{};
                        g.tex = &postTex;
                        const int ids[2][3] = {{0, 1, 2}, {0, 2, 3}};
                        for (int k = 0; k < 3; ++k) {
                            g.p[k] = pc[f[ids[q][k]]];
                            g.n[k] = n;
                        }
                        tris.push_back(g);
                    }
                }
                const glm::vec3 viewDir = glm::normalize(glm::vec3(0.75f, 0.45f, 1.0f));
                eye = centre + viewDir * radius * 3.0f;
                view = glm::lookAt(eye, centre, Y);
                proj = glm::perspective(glm::radians(40.0f), static_cast<float>(tw) / th, 0.1f, 10000.0f);
            }
            raster(cv, tris, view, proj, eye, ox, oy, tw, th);
            char label[256];
            const glm::vec3 size = hi - lo;
            std::snprintf(label, sizeof label, "%s%s", e.path, e.firstPerson ? "  (player view)" : "");
            text(cv, ox + 6, oy + 6, label, {1, 1, 1}, 1.5f);
            std::snprintf(label, sizeof label, "world %.1f x %.1f x %.1f  y %.1f..%.1f  %zu verts%s", size.x, size.y, size.z, lo.y,
                          hi.y, vcount, normalsOk ? "" : "  NO NORMALS");
            text(cv, ox + 6, oy + 24, label, normalsOk ? glm::vec3(0.8f, 0.9f, 1.0f) : glm::vec3(1, 0.3f, 0.3f), 1.5f);
            if (!normalsOk) ++failures;
        }
        std::vector<unsigned char> out(cv.c.size() * 3);
        for (std::size_t k = 0; k < cv.c.size(); ++k)
            for (int ch = 0; ch < 3; ++ch)
                out[k * 3 + static_cast<std::size_t>(ch)] =
                    static_cast<unsigned char>(std::clamp(cv.c[k][ch], 0.0f, 1.0f) * 255.0f + 0.5f);
        const std::string name = prefix + "_" + group + ".png";
        stbi_write_png(name.c_str(), cv.w, cv.h, 3, out.data(), cv.w * 3);
        std::printf("%s\n", name.c_str());
    }
    return failures ? 1 : 0;
}
