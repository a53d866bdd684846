#include "render/TerrainLod.h"

#include <algorithm>
#include <cmath>

namespace {

// The samples a level takes along one side of a tile: every step-th from first, the
// creases inside, and last.
std::vector<int32_t> levelSamples(int32_t first, int32_t last, int32_t step, const std::vector<int32_t>& creases) {
    std::vector<int32_t> out;
    for (int32_t k = first; k < last; k += step) out.push_back(k);
    for (int32_t k : creases)
        if (k > first && k < last) out.push_back(k);
    out.push_back(last);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

void TerrainLod::build(const std::vector<float>& positions, int32_t samplesPerSide,
                       const std::vector<int32_t>& creases) {
    side = samplesPerSide;
    const int32_t squares = side - 1;
    tilesPerSide = (squares + kTileSquares - 1) / kTileSquares;
    tiles.assign(static_cast<size_t>(tilesPerSide * tilesPerSide), Tile{});
    indices.clear();
    skirtSource.clear();
    skirtDrop.clear();
    const auto y = [&](int32_t r, int32_t c) { return positions[static_cast<size_t>(r * side + c) * 3 + 1]; };
    const auto vertex = [&](int32_t r, int32_t c) { return static_cast<uint32_t>(r * side + c); };

    // Bounds and the error of every level.
    for (int32_t tr = 0; tr < tilesPerSide; ++tr) {
        for (int32_t tc = 0; tc < tilesPerSide; ++tc) {
            Tile& t = tiles[static_cast<size_t>(tr * tilesPerSide + tc)];
            t.r0 = tr * kTileSquares;
            t.r1 = std::min(t.r0 + kTileSquares, squares);
            t.c0 = tc * kTileSquares;
            t.c1 = std::min(t.c0 + kTileSquares, squares);
            glm::vec3 lo(INFINITY), hi(-INFINITY);
            for (int32_t r = t.r0; r <= t.r1; ++r)
                for (int32_t c = t.c0; c <= t.c1; ++c) {
                    const float* p = &positions[static_cast<size_t>(r * side + c) * 3];
                    lo = glm::min(lo, glm::vec3(p[0], p[1], p[2]));
                    hi = glm::max(hi, glm::vec3(p[0], p[1], p[2]));
                }
            t.boundsMin = lo;
            t.boundsMax = hi;
            for (int32_t level = 1; level < kLevels; ++level) {
                const std::vector<int32_t> rs = levelSamples(t.r0, t.r1, 1 << level, creases);
                const std::vector<int32_t> cs = levelSamples(t.c0, t.c1, 1 << level, creases);
                float worst = 0.0f;
                for (size_t a = 0; a + 1 < rs.size(); ++a) {
                    for (size_t b = 0; b + 1 < cs.size(); ++b) {
                        const int32_t ra = rs[a], rb = rs[a + 1], ca = cs[b], cb = cs[b + 1];
                        const float yA = y(ra, ca), yB = y(ra, cb), yC = y(rb, ca), yD = y(rb, cb);
                        // The coarse surface at (u, v) of its cell, u along rows, v along columns.
                        const auto coarse = [&](float u, float v) {
                            return u + v <= 1.0f ? yA * (1.0f - u - v) + yC * u + yB * v
                                                 : yD * (u + v - 1.0f) + yB * (1.0f - u) + yC * (1.0f - v);
                        };
                        const float du = 1.0f / static_cast<float>(rb - ra), dv = 1.0f / static_cast<float>(cb - ca);
                        for (int32_t r = ra; r <= rb; ++r) {
                            for (int32_t c = ca; c <= cb; ++c) {
                                const float u = static_cast<float>(r - ra) * du, v = static_cast<float>(c - ca) * dv;
                                worst = std::max(worst, std::fabs(y(r, c) - coarse(u, v)));
                                // The middle of the fine square's diagonal: where a coarse
                                // diagonal of another slant can cross it.
                                if (r < rb && c < cb) {
                                    const float mid = 0.5f * (y(r, c + 1) + y(r + 1, c));
                                    worst = std::max(worst, std::fabs(mid - coarse(u + 0.5f * du, v + 0.5f * dv)));
                                }
                            }
                        }
                    }
                }
                t.error[static_cast<size_t>(level)] = worst;
            }
        }
    }

    // The skirts' depth: the deepest crack a tile's edge can face.
    const auto worstOf = [&](int32_t tr, int32_t tc) {
        if (tr < 0 || tc < 0 || tr >= tilesPerSide || tc >= tilesPerSide) return 0.0f;
        const Tile& t = tiles[static_cast<size_t>(tr * tilesPerSide + tc)];
        return *std::max_element(t.error.begin(), t.error.end());
    };

    for (int32_t tr = 0; tr < tilesPerSide; ++tr) {
        for (int32_t tc = 0; tc < tilesPerSide; ++tc) {
            Tile& t = tiles[static_cast<size_t>(tr * tilesPerSide + tc)];
            const float neighbours = std::max({worstOf(tr - 1, tc), worstOf(tr + 1, tc), worstOf(tr, tc - 1),
                                               worstOf(tr, tc + 1)});
            const float drop = worstOf(tr, tc) + neighbours + 0.5f;
            // The edges that face another tile: (fixed row or column, along rows?).
            struct Edge {
                bool alongColumns;  // the edge runs along c at row `at`
                int32_t at;
            };
            std::vector<Edge> edges;
            if (tr > 0) edges.push_back({true, t.r0});
            if (tr + 1 < tilesPerSide) edges.push_back({true, t.r1});
            if (tc > 0) edges.push_back({false, t.c0});
            if (tc + 1 < tilesPerSide) edges.push_back({false, t.c1});
            // One lowered copy of every sample of those edges, shared by the levels.
            std::vector<std::vector<uint32_t>> lowered(edges.size());
            for (size_t e = 0; e < edges.size(); ++e) {
                const int32_t from = edges[e].alongColumns ? t.c0 : t.r0;
                const int32_t to = edges[e].alongColumns ? t.c1 : t.r1;
                for (int32_t k = from; k <= to; ++k) {
                    const uint32_t source = edges[e].alongColumns ? vertex(edges[e].at, k) : vertex(k, edges[e].at);
                    lowered[e].push_back(static_cast<uint32_t>(side * side) + static_cast<uint32_t>(skirtSource.size()));
                    skirtSource.push_back(source);
                    skirtDrop.push_back(drop);
                }
            }
            t.boundsMin.y -= drop;

            for (int32_t level = 0; level < kLevels; ++level) {
                Range& range = t.range[static_cast<size_t>(level)];
                range.first = static_cast<uint32_t>(indices.size());
                const std::vector<int32_t> rs = levelSamples(t.r0, t.r1, 1 << level, creases);
                const std::vector<int32_t> cs = levelSamples(t.c0, t.c1, 1 << level, creases);
                for (size_t a = 0; a + 1 < rs.size(); ++a) {
                    for (size_t b = 0; b + 1 < cs.size(); ++b) {
                        const uint32_t here = vertex(rs[a], cs[b]), right = vertex(rs[a], cs[b + 1]);
                        const uint32_t below = vertex(rs[a + 1], cs[b]), corner = vertex(rs[a + 1], cs[b + 1]);
                        indices.insert(indices.end(), {here, right, below, right, below, corner});
                    }
                }
                for (size_t e = 0; e < edges.size(); ++e) {
                    const std::vector<int32_t>& along = edges[e].alongColumns ? cs : rs;
                    const int32_t from = edges[e].alongColumns ? t.c0 : t.r0;
                    for (size_t k = 0; k + 1 < along.size(); ++k) {
                        const auto top = [&](int32_t s) {
                            return edges[e].alongColumns ? vertex(edges[e].at, s) : vertex(s, edges[e].at);
                        };
                        const uint32_t p = top(along[k]), q = top(along[k + 1]);
                        const uint32_t pl = lowered[e][static_cast<size_t>(along[k] - from)];
                        const uint32_t ql = lowered[e][static_cast<size_t>(along[k + 1] - from)];
                        indices.insert(indices.end(), {p, q, pl, q, ql, pl});
                    }
                }
                range.count = static_cast<uint32_t>(indices.size()) - range.first;
            }
        }
    }
}

float TerrainLod::pixelsPerUnit(const glm::mat4& projection, float viewportWidth, float viewportHeight) {
    return std::max(std::fabs(projection[0][0]) * 0.5f * viewportWidth,
                    std::fabs(projection[1][1]) * 0.5f * viewportHeight);
}

float TerrainLod::distanceTo(const Tile& tile, const glm::vec3& point) {
    const glm::vec3 nearest = glm::clamp(point, tile.boundsMin, tile.boundsMax);
    return glm::length(point - nearest);
}

float TerrainLod::nearestDepth(const Tile& tile, const glm::vec3& eye, const glm::vec3& front, float cosCorner) {
    float cornerDepth = INFINITY;
    for (int32_t k = 0; k < 8; ++k) {
        const glm::vec3 corner(k & 1 ? tile.boundsMax.x : tile.boundsMin.x, k & 2 ? tile.boundsMax.y : tile.boundsMin.y,
                               k & 4 ? tile.boundsMax.z : tile.boundsMin.z);
        cornerDepth = std::min(cornerDepth, glm::dot(corner - eye, front));
    }
    return std::max(cornerDepth, distanceTo(tile, eye) * cosCorner);
}

int32_t TerrainLod::levelFor(const Tile& tile, float depth, float pixelsPerUnitAtOne, float tolerance) {
    if (!(depth > 0.0f)) return 0;
    for (int32_t level = kLevels - 1; level > 0; --level)
        if (tile.error[static_cast<size_t>(level)] * pixelsPerUnitAtOne <= tolerance * depth) return level;
    return 0;
}
