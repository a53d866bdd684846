#include "world/Terrain.h"

#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "util/Random.h"

namespace {

constexpr int32_t kSide = Terrain::kSamples;
constexpr int32_t kSquares = kSide - 1;
constexpr double kNoiseStep = 0.008203125;  // 4.2 / 512: the field spans 4.2 noise cells
constexpr int32_t kOctaves = 5;

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }
double lerp(double t, double a, double b) { return a + t * (b - a); }

// The sixteen gradient directions of the improved-noise reference, hash & 15 selecting
// x + y, -x + y, x - y, -x - y, x + z, -x + z, x - z, -x - z, y + z, -y + z, y - z,
// -y - z, x + y, -y + z, -x + y, -y - z; in the plane z = 0 each is a signed sum of x
// and y, kept as a table so that it inlines into the noise loop.
constexpr double kGradX[16] = {1, -1, 1, -1, 1, -1, 1, -1, 0, 0, 0, 0, 1, 0, -1, 0};
constexpr double kGradY[16] = {1, 1, -1, -1, 0, 0, 0, 0, 1, -1, 1, -1, 1, -1, 1, -1};
inline double grad(int32_t hash, double x, double y) {
    const size_t h = static_cast<size_t>(hash & 15);
    return kGradX[h] * x + kGradY[h] * y;
}

// One coordinate split into its lattice cell, the offset in it and the faded offset.
struct Axis {
    int32_t cell;
    double offset;
    double faded;
};
Axis axis(double t) {
    const double whole = std::floor(t);
    const double offset = t - whole;
    // floor(t) & 255 without converting a value that may not fit an integer.
    double cell = std::fmod(whole, 256.0);
    if (cell < 0.0) cell += 256.0;
    return {std::isfinite(cell) ? static_cast<int32_t>(cell) : 0, offset, fade(offset)};
}

// Every lookup wraps at 256. The terrain's coordinates never need it (its indices stay
// below 256), but other callers must not read past the table.
double noiseAt(const std::array<int32_t, 256>& p, const Axis& ax, const Axis& ay) {
    const auto at = [&p](int32_t i) { return p[static_cast<size_t>(i & 255)]; };
    const double xf = ax.offset, yf = ay.offset;
    const int32_t a = at(ax.cell) + ay.cell, aa = at(a), ab = at(a + 1);
    const int32_t b = at(ax.cell + 1) + ay.cell, ba = at(b), bb = at(b + 1);
    return lerp(ay.faded, lerp(ax.faded, grad(at(aa), xf, yf), grad(at(ba), xf - 1.0, yf)),
                lerp(ax.faded, grad(at(ab), xf, yf - 1.0), grad(at(bb), xf - 1.0, yf - 1.0)));
}

float length3(float x, float y, float z) { return std::sqrt(x * x + y * y + z * z); }

}  // namespace

void PerlinNoise::seed(uint32_t value) {
    for (int32_t k = 0; k < 128; ++k) p[static_cast<size_t>(k)] = k;
    RandomEngine shuffler(value);
    for (uint32_t t = 1; t < 128; ++t) {
        const uint32_t k = shuffler.uniformIndex(t + 1);
        if (k != t) std::swap(p[t], p[k]);
    }
    for (size_t k = 0; k < 128; ++k) p[128 + k] = p[k];
}

double PerlinNoise::noise(double x, double y) const { return noiseAt(p, axis(x), axis(y)); }

double PerlinNoise::octaves(double x, double y, int32_t octaveCount) const {
    double total = 0.0, amplitude = 1.0;
    for (int32_t o = 0; o < octaveCount; ++o) {
        total += noise(x, y) * amplitude;
        x *= 2.0;
        y *= 2.0;
        amplitude *= 0.5;
    }
    return total;
}

void Terrain::buildTerrain() {
    buildHeights();
    buildMesh();
}

void Terrain::buildHeights() {
    noise.seed(kNoiseSeed);
    // octaves() for every sample, with each octave's split of a column's x and a row's
    // y worked out once: doubling is exact, so the values are the same to the bit.
    std::vector<Axis> octaveAxes(static_cast<size_t>(kSide * kOctaves));
    for (int32_t k = 0; k < kSide; ++k) {
        double t = k * kNoiseStep;
        for (int32_t o = 0; o < kOctaves; ++o, t *= 2.0) octaveAxes[static_cast<size_t>(k * kOctaves + o)] = axis(t);
    }
    heights.resize(static_cast<size_t>(kSide * kSide));
    for (int32_t r = 0; r < kSide; ++r) {
        const Axis* ys = &octaveAxes[static_cast<size_t>(r * kOctaves)];
        for (int32_t c = 0; c < kSide; ++c) {
            const Axis* xs = &octaveAxes[static_cast<size_t>(c * kOctaves)];
            double total = 0.0, amplitude = 1.0;
            for (int32_t o = 0; o < kOctaves; ++o) {
                total += noiseAt(noise.p, xs[o], ys[o]) * amplitude;
                amplitude *= 0.5;
            }
            heights[static_cast<size_t>(r * kSide + c)] = static_cast<float>((1.0 + total) * 0.5);
        }
    }
}

float Terrain::hill(int32_t r, int32_t c) {
    if (r <= 11) return static_cast<float>(76 - 4 * r);
    if (r >= 502) return static_cast<float>(10 * (r - 501));
    if (c <= 11) return static_cast<float>(80 - 4 * c);
    if (c >= 502) return static_cast<float>(10 * (c - 501));
    return 0.0f;
}

void Terrain::buildMesh() {
    if (heights.size() != static_cast<size_t>(kSide * kSide)) buildHeights();
    const size_t count = static_cast<size_t>(kSide * kSide);
    positions.resize(count * 3);
    texCoords.resize(count * 2);
    normals.resize(count * 3);
    tangents.resize(count * 3);

    for (int32_t r = 0; r < kSide; ++r) {
        for (int32_t c = 0; c < kSide; ++c) {
            const size_t v = static_cast<size_t>(r * kSide + c);
            positions[v * 3 + 0] = static_cast<float>(r) * sampleSpacing;
            positions[v * 3 + 1] = sample(r, c) * heightScale + hill(r, c);
            positions[v * 3 + 2] = static_cast<float>(c) * sampleSpacing;
            texCoords[v * 2 + 0] = static_cast<float>(r) / 512.0f;
            texCoords[v * 2 + 1] = static_cast<float>(c) / 512.0f;
        }
    }

    // Normals by central differences of the mesh heights (hills included), one-sided
    // on the border, so that the lighting follows the ground that is drawn.
    const auto meshY = [this](int32_t r, int32_t c) { return positions[static_cast<size_t>(r * kSide + c) * 3 + 1]; };
    for (int32_t r = 0; r < kSide; ++r) {
        const int32_t r0 = r > 0 ? r - 1 : r, r1 = r < kSquares ? r + 1 : r;
        for (int32_t c = 0; c < kSide; ++c) {
            const int32_t c0 = c > 0 ? c - 1 : c, c1 = c < kSquares ? c + 1 : c;
            const float slopeX = (meshY(r1, c) - meshY(r0, c)) / (static_cast<float>(r1 - r0) * sampleSpacing);
            const float slopeZ = (meshY(r, c1) - meshY(r, c0)) / (static_cast<float>(c1 - c0) * sampleSpacing);
            const float length = length3(slopeX, 1.0f, slopeZ);
            const size_t v = static_cast<size_t>(r * kSide + c);
            normals[v * 3 + 0] = -slopeX / length;
            normals[v * 3 + 1] = 1.0f / length;
            normals[v * 3 + 2] = -slopeZ / length;
        }
    }

    // Tangents along -Z, from each sample to its neighbour in the next column. The last
    // column has none, so it takes the difference to the previous column the same way
    // round: a flipped tangent there would turn the grass relief inside out.
    for (int32_t r = 0; r < kSide; ++r) {
        for (int32_t c = 0; c < kSide; ++c) {
            const size_t from = static_cast<size_t>(r * kSide + (c < kSquares ? c : c - 1)) * 3;
            const size_t to = from + 3;
            const float dx = positions[from] - positions[to];
            const float dy = positions[from + 1] - positions[to + 1];
            const float dz = positions[from + 2] - positions[to + 2];
            const float length = length3(dx, dy, dz);
            const size_t v = static_cast<size_t>(r * kSide + c) * 3;
            tangents[v + 0] = dx / length;
            tangents[v + 1] = dy / length;
            tangents[v + 2] = dz / length;
        }
    }

    indices.resize(static_cast<size_t>(kSquares * kSquares * 6));
    size_t k = 0;
    constexpr uint32_t side = kSide;
    for (uint32_t r = 0; r + 1 < side; ++r) {
        for (uint32_t c = 0; c + 1 < side; ++c) {
            const uint32_t here = r * side + c, below = (r + 1) * side + c;
            indices[k++] = here;
            indices[k++] = here + 1;
            indices[k++] = below;
            indices[k++] = here + 1;
            indices[k++] = below;
            indices[k++] = below + 1;
        }
    }
}

void Terrain::releaseMeshData() {
    std::vector<float>().swap(positions);
    std::vector<float>().swap(texCoords);
    std::vector<float>().swap(normals);
    std::vector<float>().swap(tangents);
    std::vector<uint32_t>().swap(indices);
}

float Terrain::heightAt(float x, float z) const {
    if (heights.size() != static_cast<size_t>(kSide * kSide)) return 0.0f;
    const float square = sampleSpacing * columns / (rows - 1.0f);
    const float dx = x - originX, dz = z - originZ;
    float gxf = std::floor(dx / square);
    float gzf = std::floor(dz / square);
    // Written so that NaN fails too, and before any conversion to int.
    if (!(gxf >= 0.0f && gzf >= 0.0f && gxf < rows - 1.0f && gzf < columns - 1.0f)) return 0.0f;
    // Just below a square's edge the rounded quotient can already name the next square
    // while fmod still measures from the start of this one (offset close to 1): the
    // height would come from one sample too far. Go back one square then.
    if (gxf > 0.0f && std::fma(-gxf, square, dx) < 0.0f) gxf -= 1.0f;
    if (gzf > 0.0f && std::fma(-gzf, square, dz) < 0.0f) gzf -= 1.0f;
    const int32_t gx = static_cast<int32_t>(gxf), gz = static_cast<int32_t>(gzf);
    // The sample grid is always 512 x 512; rows and columns only scale the squares.
    if (gx >= kSquares || gz >= kSquares) return 0.0f;
    const float fx = std::fmod(dx, square) / square;
    const float fz = std::fmod(dz, square) / square;
    const auto h = [this](int32_t a, int32_t b) { return sample(a, b) * heightScale; };
    if (fx <= 1.0f - fz) return h(gx, gz) * (1.0f - fx - fz) + h(gx + 1, gz) * fx + h(gx, gz + 1) * fz;
    return h(gx + 1, gz) * (1.0f - fz) + h(gx + 1, gz + 1) * (fx + fz - 1.0f) + h(gx, gz + 1) * (1.0f - fx);
}
