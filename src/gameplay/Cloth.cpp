#include "gameplay/Cloth.h"

#include <cmath>

namespace {

constexpr int kRelaxationPasses = 3;

}  // namespace

void ClothParticle::step() {
    if (!movable) return;
    const glm::vec3 temp = position;
    position = position + (position - oldPosition) * (1.0f - damping) + acceleration * timeStepSquared;
    oldPosition = temp;
    acceleration = glm::vec3(0.0f);
}

void Cloth::addConstraint(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    ClothConstraint c;
    c.first = index(x1, y1);
    c.second = index(x2, y2);
    c.restDistance = glm::length(at(x1, y1).position - at(x2, y2).position);
    constraints.push_back(c);
}

void Cloth::init(float width, float height, int32_t wide, int32_t high) {
    particlesWide = wide > 0 ? wide : 0;
    particlesHigh = high > 0 ? high : 0;
    particles.assign(static_cast<size_t>(particlesWide) * static_cast<size_t>(particlesHigh), ClothParticle{});
    constraints.clear();
    triangles.clear();
    const int32_t w = particlesWide, h = particlesHigh;
    const float fw = static_cast<float>(w), fh = static_cast<float>(h);

    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = 0; y < h; ++y) {
            ClothParticle& p = at(x, y);
            p.position = glm::vec3(width * static_cast<float>(x) / fw, -height * static_cast<float>(y) / fh, 0.0f);
            p.oldPosition = p.position;
        }
    }

    // Structural and shear neighbours first, then the bending ones: the relaxation
    // visits them in this order.
    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = 0; y < h; ++y) {
            if (x < w - 1) addConstraint(x, y, x + 1, y);
            if (y < h - 1) addConstraint(x, y, x, y + 1);
            if (x < w - 1 && y < h - 1) {
                addConstraint(x, y, x + 1, y + 1);
                addConstraint(x + 1, y, x, y + 1);
            }
        }
    }
    for (int32_t x = 0; x < w; ++x) {
        for (int32_t y = 0; y < h; ++y) {
            if (x < w - 2) addConstraint(x, y, x + 2, y);
            if (y < h - 2) addConstraint(x, y, x, y + 2);
            if (x < w - 2 && y < h - 2) {
                addConstraint(x, y, x + 2, y + 2);
                addConstraint(x + 2, y, x, y + 2);
            }
        }
    }

    // Held at the pole by the top and bottom of its three leftmost columns. A grid
    // narrower or shorter than that simply has fewer pins.
    for (int32_t x = 0; x < 3 && x < w; ++x) {
        if (h > 0) at(x, 0).movable = false;
        for (int32_t y = h - 3 > 0 ? h - 3 : 0; y < h; ++y) at(x, y).movable = false;
    }

    for (int32_t x = 0; x < w - 1; ++x) {
        for (int32_t y = 0; y < h - 1; ++y) {
            triangles.push_back({index(x + 1, y), index(x, y), index(x, y + 1)});
            triangles.push_back({index(x + 1, y + 1), index(x + 1, y), index(x, y + 1)});
        }
    }
}

void Cloth::addForce(const glm::vec3& force) {
    for (ClothParticle& p : particles) p.addForce(force);
}

void Cloth::windForce(const glm::vec3& direction) {
    // The forces change no position, so every triangle's normal is the one before the wind.
    forEachFacingTriangle([&](const std::array<int32_t, 3>& t, const glm::vec3& n, float length) {
        const glm::vec3 force = n * glm::dot(n / length, direction);
        for (const int32_t k : t) particles[static_cast<size_t>(k)].addForce(force);
    });
}

void Cloth::timeStep() {
    for (int pass = 0; pass < kRelaxationPasses; ++pass) {
        for (const ClothConstraint& c : constraints) {
            ClothParticle& p1 = particles[static_cast<size_t>(c.first)];
            ClothParticle& p2 = particles[static_cast<size_t>(c.second)];
            const glm::vec3 delta = p2.position - p1.position;
            const float current = glm::length(delta);
            // Two particles in one place give no direction to push along; dividing by
            // zero would turn the whole cloth into NaN on the next pass.
            if (!(current > 0.0f)) continue;
            const glm::vec3 correction = delta * (1.0f - c.restDistance / current) * 0.5f;
            if (p1.movable) p1.position += correction;
            if (p2.movable) p2.position -= correction;
        }
    }
    for (ClothParticle& p : particles) p.step();
}

std::vector<glm::vec3> Cloth::vertexNormals() const {
    std::vector<glm::vec3> normals(particles.size(), glm::vec3(0.0f));
    forEachFacingTriangle([&](const std::array<int32_t, 3>& t, const glm::vec3& n, float length) {
        const glm::vec3 unit = n / length;
        for (const int32_t k : t) normals[static_cast<size_t>(k)] += unit;
    });
    return normals;
}

std::vector<uint32_t> Cloth::stripIndices() const {
    std::vector<uint32_t> strip;
    const uint32_t w = static_cast<uint32_t>(particlesWide);
    for (int32_t r = 0; r + 1 < particlesHigh; ++r) {
        const uint32_t row = static_cast<uint32_t>(r) * w;
        // Repeated indices make zero-area triangles that carry the strip from the end
        // of one row to the start of the next without flipping its winding.
        if (r > 0) strip.push_back(row);
        for (uint32_t c = 0; c < w; ++c) {
            strip.push_back(row + c);
            strip.push_back(row + c + w);
        }
        if (r + 1 < particlesHigh - 1 && !strip.empty()) strip.push_back(strip.back());
    }
    return strip;
}
