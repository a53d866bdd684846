#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <map>

#include <glm/gtc/matrix_transform.hpp>

namespace assetgen::models {
namespace {

constexpr float kPi = 3.14159265358979f;

struct Xf {
    glm::mat4 m;
    glm::mat3 n;
    explicit Xf(const glm::mat4& mm) : m(mm), n(glm::transpose(glm::inverse(glm::mat3(mm)))) {}
};

std::uint32_t add(Surface& s, const Xf& x, glm::vec3 p, glm::vec3 n, glm::vec2 uv) {
    Vertex v;
    v.p = glm::vec3(x.m * glm::vec4(p, 1.0f));
    glm::vec3 tn = x.n * n;
    float len = glm::length(tn);
    v.n = len > 1e-12f ? tn / len : glm::vec3(0, 1, 0);
    v.uv = uv;
    s.verts.push_back(v);
    return static_cast<std::uint32_t>(s.verts.size() - 1);
}

// Appends a triangle wound counter-clockwise as seen from the side its vertex
// normals point to; degenerate triangles are dropped.
void tri(Surface& s, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    const glm::vec3 pa = s.verts[a].p, pb = s.verts[b].p, pc = s.verts[c].p;
    const glm::vec3 fn = glm::cross(pb - pa, pc - pa);
    const float area2 = glm::dot(fn, fn);
    const float scale = std::max({glm::dot(pb - pa, pb - pa), glm::dot(pc - pa, pc - pa), 1e-30f});
    if (area2 <= 1e-14f * scale * scale) return;
    const glm::vec3 ref = s.verts[a].n + s.verts[b].n + s.verts[c].n;
    if (glm::dot(fn, ref) < 0.0f) std::swap(b, c);
    s.idx.insert(s.idx.end(), {a, b, c});
}

void quad(Surface& s, std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    tri(s, a, b, c);
    tri(s, a, c, d);
}

std::uint32_t hashU(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

float smooth01(float t) { return t * t * (3.0f - 2.0f * t); }

float valueNoise3(glm::vec3 p, std::uint32_t seed) {
    const glm::vec3 f = glm::floor(p);
    const glm::vec3 t = p - f;
    const int x0 = static_cast<int>(f.x), y0 = static_cast<int>(f.y), z0 = static_cast<int>(f.z);
    auto h = [&](int x, int y, int z) {
        return hash01(static_cast<std::uint32_t>(x) * 73856093U, static_cast<std::uint32_t>(y) * 19349663U,
                      static_cast<std::uint32_t>(z) * 83492791U + seed);
    };
    const float u = smooth01(t.x), v = smooth01(t.y), w = smooth01(t.z);
    auto lerp = [](float a, float b, float k) { return a + (b - a) * k; };
    const float x00 = lerp(h(x0, y0, z0), h(x0 + 1, y0, z0), u);
    const float x10 = lerp(h(x0, y0 + 1, z0), h(x0 + 1, y0 + 1, z0), u);
    const float x01 = lerp(h(x0, y0, z0 + 1), h(x0 + 1, y0, z0 + 1), u);
    const float x11 = lerp(h(x0, y0 + 1, z0 + 1), h(x0 + 1, y0 + 1, z0 + 1), u);
    return lerp(lerp(x00, x10, v), lerp(x01, x11, v), w) * 2.0f - 1.0f;
}

}  // namespace

float hash01(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return static_cast<float>(hashU(a ^ hashU(b ^ hashU(c + 0x9e3779b9U))) >> 8) * (1.0f / 16777216.0f);
}

std::vector<glm::vec2> circlePoly(float r, int n, float startDeg) {
    std::vector<glm::vec2> out;
    for (int i = 0; i < n; ++i) {
        const float a = glm::radians(startDeg) + 2.0f * kPi * static_cast<float>(i) / static_cast<float>(n);
        out.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    return out;
}

Surface& Model::operator[](const std::string& material) {
    for (Surface& s : surfaces)
        if (s.material == material) return s;
    surfaces.push_back(Surface{material, {}, {}});
    return surfaces.back();
}

glm::mat4 T(float x, float y, float z) { return glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z)); }
glm::mat4 T(glm::vec3 v) { return glm::translate(glm::mat4(1.0f), v); }
glm::mat4 S(float x, float y, float z) { return glm::scale(glm::mat4(1.0f), glm::vec3(x, y, z)); }
glm::mat4 S(float s) { return S(s, s, s); }
glm::mat4 Rx(float deg) { return glm::rotate(glm::mat4(1.0f), glm::radians(deg), glm::vec3(1, 0, 0)); }
glm::mat4 Ry(float deg) { return glm::rotate(glm::mat4(1.0f), glm::radians(deg), glm::vec3(0, 1, 0)); }
glm::mat4 Rz(float deg) { return glm::rotate(glm::mat4(1.0f), glm::radians(deg), glm::vec3(0, 0, 1)); }

glm::mat4 alignY(glm::vec3 d) {
    d = glm::normalize(d);
    const glm::vec3 y(0, 1, 0);
    const float c = glm::dot(y, d);
    if (c > 0.99999f) return glm::mat4(1.0f);
    if (c < -0.99999f) return Rx(180.0f);
    const glm::vec3 axis = glm::normalize(glm::cross(y, d));
    return glm::rotate(glm::mat4(1.0f), std::acos(c), axis);
}

glm::mat4 between(glm::vec3 a, glm::vec3 b) { return T(a) * alignY(b - a); }

void box(Surface& s, const glm::mat4& m, glm::vec3 size, float r, float tile) {
    const Xf x(m);
    const glm::vec3 h = size * 0.5f;
    r = std::min({r, h.x, h.y, h.z});
    // Small roundings only catch the light on the edge: one chamfer step will do.
    const int K = r < 0.2f * std::min({h.x, h.y, h.z}) ? 1 : 2;
    auto coords = [&](float he) {
        std::vector<float> c;
        if (r <= 0.0f) return std::vector<float>{-he, he};
        for (int i = 0; i <= K; ++i) c.push_back(-he + r * (1.0f - std::cos(0.5f * kPi * i / K)));
        for (int i = K; i >= 0; --i) c.push_back(he - r * (1.0f - std::cos(0.5f * kPi * i / K)));
        return c;
    };
    const glm::vec3 inner = h - glm::vec3(r);
    const int uvAxes[3][2] = {{2, 1}, {0, 2}, {0, 1}};
    for (int a = 0; a < 3; ++a) {
        const int u = (a + 1) % 3, v = (a + 2) % 3;
        const std::vector<float> cu = coords(h[u]), cv = coords(h[v]);
        for (float sg : {-1.0f, 1.0f}) {
            const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
            for (float pv : cv)
                for (float pu : cu) {
                    glm::vec3 P(0.0f);
                    P[a] = sg * h[a];
                    P[u] = pu;
                    P[v] = pv;
                    const glm::vec3 in = glm::clamp(P, -inner, inner);
                    const glm::vec3 d = P - in;
                    glm::vec3 n(0.0f), pos = P;
                    n[a] = sg;
                    if (r > 0.0f && glm::length(d) > 1e-9f) {
                        n = glm::normalize(d);
                        pos = in + n * r;
                    }
                    const glm::vec2 uv(P[uvAxes[a][0]] * (a == 1 ? 1.0f : (a == 0 ? -sg : sg)), P[uvAxes[a][1]]);
                    add(s, x, pos, n, uv / tile);
                }
            const std::uint32_t nu = static_cast<std::uint32_t>(cu.size());
            for (std::uint32_t j = 0; j + 1 < cv.size(); ++j)
                for (std::uint32_t i = 0; i + 1 < nu; ++i)
                    quad(s, base + j * nu + i, base + j * nu + i + 1, base + (j + 1) * nu + i + 1, base + (j + 1) * nu + i);
        }
    }
}

void lathe(Surface& s, const glm::mat4& m, const std::vector<glm::vec2>& prof, const LatheOpts& o) {
    const Xf x(m);
    const std::size_t np = prof.size();
    if (np < 2) return;
    std::vector<glm::vec2> segN(np - 1);
    std::vector<float> arc(np, 0.0f);
    float rmax = 0.0f;
    for (std::size_t k = 0; k + 1 < np; ++k) {
        const glm::vec2 t = prof[k + 1] - prof[k];
        const float len = glm::length(t);
        segN[k] = len > 1e-9f ? glm::vec2(t.y, -t.x) / len : glm::vec2(1, 0);
        arc[k + 1] = arc[k] + len;
    }
    for (const glm::vec2& p : prof) rmax = std::max(rmax, p.x);
    const int segs = o.segments;
    const float uRep = std::max(1.0f, std::round(2.0f * kPi * rmax / o.tileU));
    auto ang = [&](int j) { return glm::radians(o.startDeg) + 2.0f * kPi * static_cast<float>(j) / static_cast<float>(segs); };
    auto pos3 = [&](glm::vec2 p, float a) { return glm::vec3(p.x * std::cos(a), p.y, p.x * std::sin(a)); };
    for (std::size_t k = 0; k + 1 < np; ++k) {
        glm::vec2 n0 = segN[k], n1 = segN[k];
        if (o.smooth) {
            if (k > 0) n0 = glm::normalize(segN[k - 1] + segN[k]);
            if (k + 2 < np) n1 = glm::normalize(segN[k] + segN[k + 1]);
        }
        if (o.faceted) {
            for (int j = 0; j < segs; ++j) {
                const float a0 = ang(j), a1 = ang(j + 1), am = 0.5f * (a0 + a1);
                const glm::vec3 p00 = pos3(prof[k], a0), p01 = pos3(prof[k], a1);
                const glm::vec3 p10 = pos3(prof[k + 1], a0), p11 = pos3(prof[k + 1], a1);
                glm::vec3 fn = glm::cross(p10 - p00, p01 - p00);
                if (glm::length(fn) < 1e-12f) fn = glm::cross(p11 - p01, p00 - p01);
                if (glm::length(fn) < 1e-12f) continue;
                fn = glm::normalize(fn);
                const glm::vec3 ref(segN[k].x * std::cos(am), segN[k].y, segN[k].x * std::sin(am));
                if (glm::dot(fn, ref) < 0.0f) fn = -fn;
                const float u0 = uRep * static_cast<float>(j) / segs, u1 = uRep * static_cast<float>(j + 1) / segs;
                const float v0 = arc[k] / o.tileV, v1 = arc[k + 1] / o.tileV;
                const std::uint32_t a = add(s, x, p00, fn, {u0, v0}), b = add(s, x, p01, fn, {u1, v0});
                const std::uint32_t c = add(s, x, p11, fn, {u1, v1}), d = add(s, x, p10, fn, {u0, v1});
                quad(s, a, b, c, d);
            }
        } else {
            const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
            for (int row = 0; row < 2; ++row) {
                const glm::vec2 p = prof[k + row], n = row ? n1 : n0;
                for (int j = 0; j <= segs; ++j) {
                    const float a = ang(j);
                    add(s, x, pos3(p, a), glm::vec3(n.x * std::cos(a), n.y, n.x * std::sin(a)),
                        {uRep * static_cast<float>(j) / segs, arc[k + row] / o.tileV});
                }
            }
            const std::uint32_t w = static_cast<std::uint32_t>(segs + 1);
            for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(segs); ++j)
                quad(s, base + j, base + j + 1, base + w + j + 1, base + w + j);
        }
    }
    if (!o.caps) return;
    for (int end = 0; end < 2; ++end) {
        const glm::vec2 p = end ? prof.back() : prof.front();
        if (p.x <= 1e-6f) continue;
        const glm::vec3 n(0.0f, end ? 1.0f : -1.0f, 0.0f);
        const std::uint32_t c = add(s, x, {0.0f, p.y, 0.0f}, n, {0.0f, 0.0f});
        const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
        for (int j = 0; j <= segs; ++j) {
            const glm::vec3 q = pos3(p, ang(j));
            add(s, x, q, n, glm::vec2(q.x, q.z) / o.tileU);
        }
        for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(segs); ++j) tri(s, c, base + j, base + j + 1);
    }
}

void cylinder(Surface& s, const glm::mat4& m, float r, float h, int segments, float tile) {
    LatheOpts o;
    o.segments = segments;
    o.smooth = false;
    o.tileU = o.tileV = tile;
    lathe(s, m, {{r, 0.0f}, {r, h}}, o);
}

void cone(Surface& s, const glm::mat4& m, float r0, float r1, float h, int segments, float tile) {
    LatheOpts o;
    o.segments = segments;
    o.smooth = false;
    o.tileU = o.tileV = tile;
    lathe(s, m, {{r0, 0.0f}, {r1, h}}, o);
}

void sphere(Surface& s, const glm::mat4& m, float r, int segments, int rings, float tile) {
    std::vector<glm::vec2> prof;
    for (int i = 0; i <= rings; ++i) {
        const float a = -0.5f * kPi + kPi * static_cast<float>(i) / static_cast<float>(rings);
        prof.emplace_back(r * std::cos(a), r * std::sin(a));
    }
    prof.front().x = 0.0f;
    prof.back().x = 0.0f;
    LatheOpts o;
    o.segments = segments;
    o.tileU = o.tileV = tile;
    lathe(s, m, prof, o);
}

void prism(Surface& s, const glm::mat4& m, float r, float h, int sides, float tile) {
    LatheOpts o;
    o.segments = sides;
    o.smooth = false;
    o.faceted = true;
    o.tileU = o.tileV = tile;
    o.startDeg = 180.0f / static_cast<float>(sides);
    lathe(s, m, {{r, 0.0f}, {r, h}}, o);
}

void pyramid(Surface& s, const glm::mat4& m, float r, float h, int sides, float tile) {
    LatheOpts o;
    o.segments = sides;
    o.smooth = false;
    o.faceted = true;
    o.tileU = o.tileV = tile;
    o.startDeg = 180.0f / static_cast<float>(sides);
    lathe(s, m, {{r, 0.0f}, {0.0f, h}}, o);
}

void bipyramid(Surface& s, const glm::mat4& m, float r, float hDown, float hUp, int sides, float tile) {
    LatheOpts o;
    o.segments = sides;
    o.smooth = false;
    o.faceted = true;
    o.tileU = o.tileV = tile;
    lathe(s, m, {{0.0f, -hDown}, {r, 0.0f}, {0.0f, hUp}}, o);
}

void torus(Surface& s, const glm::mat4& m, float R, float r, int segments, int sides, float tile) {
    const Xf x(m);
    const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
    const float uRep = std::max(1.0f, std::round(2.0f * kPi * R / tile));
    const float vRep = std::max(1.0f, std::round(2.0f * kPi * r / tile));
    for (int i = 0; i <= segments; ++i) {
        const float a = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(segments);
        for (int j = 0; j <= sides; ++j) {
            const float b = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(sides);
            const glm::vec3 n(std::cos(b) * std::cos(a), std::sin(b), std::cos(b) * std::sin(a));
            const glm::vec3 p(R * std::cos(a), 0.0f, R * std::sin(a));
            add(s, x, p + r * n, n, {uRep * i / segments, vRep * j / sides});
        }
    }
    const std::uint32_t w = static_cast<std::uint32_t>(sides + 1);
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(segments); ++i)
        for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(sides); ++j)
            quad(s, base + i * w + j, base + (i + 1) * w + j, base + (i + 1) * w + j + 1, base + i * w + j + 1);
}

namespace {
std::vector<std::uint32_t> earClip(std::vector<glm::vec2> poly) {
    std::vector<std::uint32_t> out;
    std::vector<std::uint32_t> id(poly.size());
    for (std::uint32_t i = 0; i < id.size(); ++i) id[i] = i;
    auto cross2 = [](glm::vec2 a, glm::vec2 b) { return a.x * b.y - a.y * b.x; };
    auto inside = [&](glm::vec2 p, glm::vec2 a, glm::vec2 b, glm::vec2 c) {
        return cross2(b - a, p - a) >= 0 && cross2(c - b, p - b) >= 0 && cross2(a - c, p - c) >= 0;
    };
    int guard = 0;
    while (id.size() > 3 && guard++ < 10000) {
        bool clipped = false;
        for (std::size_t i = 0; i < id.size(); ++i) {
            const std::uint32_t ia = id[(i + id.size() - 1) % id.size()], ib = id[i], ic = id[(i + 1) % id.size()];
            const glm::vec2 a = poly[ia], b = poly[ib], c = poly[ic];
            if (cross2(b - a, c - b) <= 1e-12f) continue;
            bool ear = true;
            for (std::uint32_t k : id) {
                if (k == ia || k == ib || k == ic) continue;
                if (inside(poly[k], a, b, c)) {
                    ear = false;
                    break;
                }
            }
            if (!ear) continue;
            out.insert(out.end(), {ia, ib, ic});
            id.erase(id.begin() + static_cast<std::ptrdiff_t>(i));
            clipped = true;
            break;
        }
        if (!clipped) {  // numerically stuck: fan the rest
            for (std::size_t i = 1; i + 1 < id.size(); ++i) out.insert(out.end(), {id[0], id[i], id[i + 1]});
            return out;
        }
    }
    if (id.size() == 3) out.insert(out.end(), {id[0], id[1], id[2]});
    return out;
}
}  // namespace

void extrude(Surface& s, const glm::mat4& m, const std::vector<glm::vec2>& polyIn, float depth, float tile) {
    const Xf x(m);
    std::vector<glm::vec2> poly = polyIn;
    float area = 0.0f;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const glm::vec2 a = poly[i], b = poly[(i + 1) % poly.size()];
        area += a.x * b.y - a.y * b.x;
    }
    if (area < 0.0f) std::reverse(poly.begin(), poly.end());
    const std::vector<std::uint32_t> tris = earClip(poly);
    const float hz = depth * 0.5f;
    for (float sg : {-1.0f, 1.0f}) {
        const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
        for (const glm::vec2& p : poly) add(s, x, {p.x, p.y, sg * hz}, {0.0f, 0.0f, sg}, glm::vec2(sg * p.x, p.y) / tile);
        for (std::size_t i = 0; i < tris.size(); i += 3) tri(s, base + tris[i], base + tris[i + 1], base + tris[i + 2]);
    }
    float per = 0.0f;
    for (std::size_t i = 0; i < poly.size(); ++i) {
        const glm::vec2 a = poly[i], b = poly[(i + 1) % poly.size()];
        const glm::vec2 d = b - a;
        const float len = glm::length(d);
        if (len < 1e-9f) continue;
        const glm::vec3 n(d.y / len, -d.x / len, 0.0f);
        const std::uint32_t i0 = add(s, x, {a.x, a.y, -hz}, n, glm::vec2(per, -hz) / tile);
        const std::uint32_t i1 = add(s, x, {b.x, b.y, -hz}, n, glm::vec2(per + len, -hz) / tile);
        const std::uint32_t i2 = add(s, x, {b.x, b.y, hz}, n, glm::vec2(per + len, hz) / tile);
        const std::uint32_t i3 = add(s, x, {a.x, a.y, hz}, n, glm::vec2(per, hz) / tile);
        quad(s, i0, i1, i2, i3);
        per += len;
    }
}

void tube(Surface& s, const glm::mat4& m, const std::vector<glm::vec3>& path, const std::vector<float>& radius, int sides,
          float tile, bool caps) {
    const Xf x(m);
    const std::size_t n = path.size();
    if (n < 2) return;
    std::vector<glm::vec3> tan(n), nor(n), bin(n);
    for (std::size_t i = 0; i < n; ++i) {
        const glm::vec3 a = path[i == 0 ? 0 : i - 1], b = path[i + 1 < n ? i + 1 : n - 1];
        tan[i] = glm::normalize(b - a);
    }
    glm::vec3 ref = std::abs(tan[0].y) < 0.9f ? glm::vec3(0, 1, 0) : glm::vec3(1, 0, 0);
    nor[0] = glm::normalize(glm::cross(glm::cross(tan[0], ref), tan[0]));
    for (std::size_t i = 1; i < n; ++i) {
        glm::vec3 v = nor[i - 1] - tan[i] * glm::dot(nor[i - 1], tan[i]);
        nor[i] = glm::length(v) > 1e-6f ? glm::normalize(v) : nor[i - 1];
    }
    for (std::size_t i = 0; i < n; ++i) bin[i] = glm::cross(tan[i], nor[i]);
    float rmax = 0.0f;
    for (float r : radius) rmax = std::max(rmax, r);
    const float uRep = std::max(1.0f, std::round(2.0f * kPi * rmax / tile));
    const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
    float arc = 0.0f;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0) arc += glm::length(path[i] - path[i - 1]);
        const float r = radius[std::min(i, radius.size() - 1)];
        for (int j = 0; j <= sides; ++j) {
            const float a = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(sides);
            const glm::vec3 d = std::cos(a) * nor[i] + std::sin(a) * bin[i];
            add(s, x, path[i] + r * d, d, {uRep * j / sides, arc / tile});
        }
    }
    const std::uint32_t w = static_cast<std::uint32_t>(sides + 1);
    for (std::uint32_t i = 0; i + 1 < n; ++i)
        for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(sides); ++j)
            quad(s, base + i * w + j, base + i * w + j + 1, base + (i + 1) * w + j + 1, base + (i + 1) * w + j);
    if (!caps) return;
    for (int end = 0; end < 2; ++end) {
        const std::size_t i = end ? n - 1 : 0;
        const float r = radius[std::min(i, radius.size() - 1)];
        if (r <= 1e-6f) continue;
        const glm::vec3 cn = end ? tan[i] : -tan[i];
        const std::uint32_t c = add(s, x, path[i], cn, {0.5f, 0.5f});
        const std::uint32_t b0 = static_cast<std::uint32_t>(s.verts.size());
        for (int j = 0; j <= sides; ++j) {
            const float a = 2.0f * kPi * static_cast<float>(j) / static_cast<float>(sides);
            add(s, x, path[i] + r * (std::cos(a) * nor[i] + std::sin(a) * bin[i]), cn,
                glm::vec2(std::cos(a), std::sin(a)) * r / tile);
        }
        for (std::uint32_t j = 0; j < static_cast<std::uint32_t>(sides); ++j) tri(s, c, b0 + j, b0 + j + 1);
    }
}

void blob(Surface& s, const glm::mat4& m, glm::vec3 radius, int subdivisions, float roughness, std::uint32_t seed,
          float tile) {
    const Xf x(m);
    const float t = (1.0f + std::sqrt(5.0f)) * 0.5f;
    std::vector<glm::vec3> v = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0}, {0, -1, t}, {0, 1, t},
                                {0, -1, -t}, {0, 1, -t}, {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    for (glm::vec3& p : v) p = glm::normalize(p);
    std::vector<glm::uvec3> f = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                                 {11, 10, 2}, {10, 7, 6}, {7, 1, 8},   {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                                 {3, 8, 9},  {4, 9, 5},  {2, 4, 11},  {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    for (int sub = 0; sub < subdivisions; ++sub) {
        std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> mid;
        auto midpoint = [&](std::uint32_t a, std::uint32_t b) {
            const auto key = std::minmax(a, b);
            auto it = mid.find(key);
            if (it != mid.end()) return it->second;
            v.push_back(glm::normalize(v[a] + v[b]));
            const std::uint32_t id = static_cast<std::uint32_t>(v.size() - 1);
            mid[key] = id;
            return id;
        };
        std::vector<glm::uvec3> nf;
        for (const glm::uvec3& fa : f) {
            const std::uint32_t ab = midpoint(fa.x, fa.y), bc = midpoint(fa.y, fa.z), ca = midpoint(fa.z, fa.x);
            nf.insert(nf.end(), {{fa.x, ab, ca}, {fa.y, bc, ab}, {fa.z, ca, bc}, {ab, bc, ca}});
        }
        f.swap(nf);
    }
    std::vector<glm::vec3> pos(v.size());
    for (std::size_t i = 0; i < v.size(); ++i) {
        const glm::vec3 d = v[i];
        float k = 0.0f, amp = 1.0f, freq = 1.6f;
        for (int o = 0; o < 3; ++o) {
            k += amp * valueNoise3(d * freq + glm::vec3(static_cast<float>(o) * 5.3f), seed + static_cast<std::uint32_t>(o));
            amp *= 0.5f;
            freq *= 2.1f;
        }
        pos[i] = d * radius * (1.0f + roughness * k);
    }
    for (const glm::uvec3& fa : f) {
        const glm::vec3 a = pos[fa.x], b = pos[fa.y], c = pos[fa.z];
        glm::vec3 n = glm::cross(b - a, c - a);
        if (glm::length(n) < 1e-12f) continue;
        n = glm::normalize(n);
        if (glm::dot(n, a + b + c) < 0.0f) n = -n;
        const glm::vec3 an = glm::abs(n);
        const int ax = an.x > an.y && an.x > an.z ? 0 : (an.y > an.z ? 1 : 2);
        const int u = ax == 0 ? 2 : 0, w = ax == 1 ? 2 : 1;
        auto uv = [&](glm::vec3 p) { return glm::vec2(p[u], p[w]) / tile; };
        const std::uint32_t i0 = add(s, x, a, n, uv(a)), i1 = add(s, x, b, n, uv(b)), i2 = add(s, x, c, n, uv(c));
        tri(s, i0, i1, i2);
    }
}

void transformModel(Model& model, const glm::mat4& m) {
    const Xf x(m);
    for (Surface& s : model.surfaces)
        for (Vertex& v : s.verts) {
            v.p = glm::vec3(x.m * glm::vec4(v.p, 1.0f));
            v.n = glm::normalize(x.n * v.n);
        }
}

float minY(const Model& model, const glm::mat4& m) {
    float y = 1e30f;
    for (const Surface& s : model.surfaces)
        for (const Vertex& v : s.verts) y = std::min(y, (m * glm::vec4(v.p, 1.0f)).y);
    return y;
}

void leaf(Surface& s, const glm::mat4& m, float len, float w, float bend, float thickness, float tile) {
    const Xf x(m);
    constexpr int rows = 7;
    auto point = [&](float t, float side) {
        const float hw = 0.5f * w * std::pow(std::sin(kPi * std::min(1.0f, 0.08f + 0.92f * t)), 0.7f);
        return glm::vec3(side * hw, len * t, bend * t * t + (side == 0.0f ? thickness : 0.0f));
    };
    for (float face : {1.0f, -1.0f}) {
        const std::uint32_t base = static_cast<std::uint32_t>(s.verts.size());
        for (int r = 0; r <= rows; ++r) {
            const float t = static_cast<float>(r) / rows;
            for (int c = 0; c < 3; ++c) {
                const float side = static_cast<float>(c - 1);
                const glm::vec3 p = point(t, side);
                const glm::vec3 dt = point(std::min(1.0f, t + 0.01f), side) - point(std::max(0.0f, t - 0.01f), side);
                const glm::vec3 ds = point(t, 1.0f) - point(t, -1.0f);
                glm::vec3 n = glm::cross(glm::length(ds) > 1e-6f ? ds : glm::vec3(1, 0, 0), dt);
                n = glm::length(n) > 1e-9f ? glm::normalize(n) : glm::vec3(0, 0, 1);
                if (c != 1) n = glm::normalize(n + glm::vec3(side * 0.35f, 0.0f, 0.0f));
                add(s, x, face < 0.0f ? p - n * (thickness * 0.2f) : p, face * n, glm::vec2(p.x + 0.5f * w, p.y) / tile);
            }
        }
        for (std::uint32_t r = 0; r < static_cast<std::uint32_t>(rows); ++r)
            for (std::uint32_t c = 0; c < 2; ++c)
                quad(s, base + r * 3 + c, base + r * 3 + c + 1, base + (r + 1) * 3 + c + 1, base + (r + 1) * 3 + c);
    }
}

}  // namespace assetgen::models
