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
    // The heights in one array: the error search below reads each many times.
    heights.resize(static_cast<size_t>(side * side));
    for (size_t k = 0; k < heights.size(); ++k) heights[k] = positions[k * 3 + 1];
    const float* const field = heights.data();
    const auto y = [field, this](int32_t r, int32_t c) { return field[r * side + c]; };
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

    // The floors of the blocks, for groundCovers.
    blocksPerSide = (squares + kBlockSquares - 1) / kBlockSquares;
    spacing = side > 1 ? positions[static_cast<size_t>(side) * 3] - positions[0] : 1.0f;  // along rows
    blockSize = spacing * static_cast<float>(kBlockSquares);
    extent = spacing * static_cast<float>(squares);
    blockFloor.assign(static_cast<size_t>(blocksPerSide * blocksPerSide), INFINITY);
    blockCeiling.assign(static_cast<size_t>(blocksPerSide * blocksPerSide), -INFINITY);
    for (int32_t r = 0; r < side; ++r) {
        for (int32_t c = 0; c < side; ++c) {
            const float h = y(r, c);
            // A sample on a block's edge belongs to the blocks on both sides.
            for (int32_t br = std::max(0, (r - 1) / kBlockSquares); br <= std::min(blocksPerSide - 1, r / kBlockSquares); ++br)
                for (int32_t bc = std::max(0, (c - 1) / kBlockSquares); bc <= std::min(blocksPerSide - 1, c / kBlockSquares);
                     ++bc) {
                    const size_t b = static_cast<size_t>(br * blocksPerSide + bc);
                    blockFloor[b] = std::min(blockFloor[b], h);
                    blockCeiling[b] = std::max(blockCeiling[b], h);
                }
        }
    }

    // Room for every level's triangles and skirts at once: growing the list step by step
    // would copy it over and over.
    size_t room = 0;
    for (int32_t level = 0; level < kLevels; ++level) {
        const size_t perSide = static_cast<size_t>(kTileSquares >> level) + 1 + creases.size();
        room += (perSide * perSide + 4 * perSide) * 6;
    }
    indices.reserve(room * tiles.size());

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

bool TerrainLod::rayMeetsGround(const glm::vec3& origin, const glm::vec3& direction, float slack) const {
    const float horizontal = std::sqrt(direction.x * direction.x + direction.z * direction.z);
    if (blocksPerSide == 0) return false;
    if (horizontal < 1e-6f) return direction.y < 0.0f;
    const auto inside = [this](const glm::vec3& p) { return p.x >= 0.0f && p.z >= 0.0f && p.x < extent && p.z < extent; };
    // Below the lowest corner of its square, a point is below the ground there; the drawn
    // ground may lie lower than the mesh by its level's error, which grows with depth.
    const auto below = [&](const glm::vec3& p) {
        const int32_t r = std::min(side - 2, static_cast<int32_t>(p.x / spacing));
        const int32_t c = std::min(side - 2, static_cast<int32_t>(p.z / spacing));
        const float* row = &heights[static_cast<size_t>(r * side + c)];
        const float lowest = std::min({row[0], row[1], row[side], row[side + 1]});
        return p.y < lowest - slack * glm::length(p - origin);
    };
    // Steps of half a block along the ground; a block the ray crosses between its lowest
    // and highest sample is looked at square by square.
    constexpr int32_t kFine = 2 * kBlockSquares;
    const glm::vec3 step = direction * (0.5f * blockSize / horizontal);
    glm::vec3 p = origin;
    for (int32_t k = 0; k < 4 * blocksPerSide; ++k) {
        const glm::vec3 from = p;
        p += step;
        if (!inside(p)) {
            // Outside the field: nothing more to meet once it moves away from it.
            const bool leaving = (p.x < 0.0f && step.x <= 0.0f) || (p.z < 0.0f && step.z <= 0.0f) ||
                                 (p.x >= extent && step.x >= 0.0f) || (p.z >= extent && step.z >= 0.0f);
            if (leaving) return false;
            continue;
        }
        const int32_t br = std::min(blocksPerSide - 1, static_cast<int32_t>(p.x / blockSize));
        const int32_t bc = std::min(blocksPerSide - 1, static_cast<int32_t>(p.z / blockSize));
        const size_t b = static_cast<size_t>(br * blocksPerSide + bc);
        if (p.y < blockFloor[b] - slack * glm::length(p - origin)) return true;
        if (std::min(p.y, from.y) > blockCeiling[b]) continue;
        for (int32_t f = 1; f <= kFine; ++f) {
            const glm::vec3 q = from + step * (static_cast<float>(f) / kFine);
            if (inside(q) && below(q)) return true;
        }
    }
    return false;
}

bool TerrainLod::groundCovers(const glm::vec3& eye, const glm::vec3& centre, float radius, float slack) const {
    const glm::vec3 toCentre = centre - eye;
    const float distance = glm::length(toCentre);
    if (distance <= radius) return false;
    const glm::vec3 forward = toCentre / distance;
    glm::vec3 right = glm::cross(forward, glm::vec3(0.0f, 1.0f, 0.0f));
    if (glm::length(right) < 1e-6f) return false;  // straight above or below
    right = glm::normalize(right);
    const glm::vec3 up = glm::cross(right, forward);
    // A little wider than the outline; the upper half is enough, since at the same
    // bearing a lower ray meets a height field wherever a higher one does.
    const float angle = std::asin(std::min(1.0f, 1.05f * radius / distance));
    constexpr int32_t kRays = 9;
    for (int32_t k = 0; k < kRays; ++k) {
        const float around = 3.14159265f * static_cast<float>(k) / static_cast<float>(kRays - 1);
        const glm::vec3 across = right * std::cos(around) + up * std::sin(around);
        const glm::vec3 direction = forward * std::cos(angle) + across * std::sin(angle);
        if (!rayMeetsGround(eye, direction, slack)) return false;
    }
    return true;
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
