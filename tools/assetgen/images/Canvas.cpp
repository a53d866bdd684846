#include "Canvas.h"

#include <cstdio>

#include <stb_image_write.h>

namespace assetgen::img {

std::uint32_t hash32(std::uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

Color Image::sample(float x, float y, bool wrap) const {
    x -= 0.5f;
    y -= 0.5f;
    int ix = int(std::floor(x)), iy = int(std::floor(y));
    float fx = x - ix, fy = y - iy;
    auto get = [&](int a, int b) -> const Color& {
        if (wrap) {
            a = ((a % w) + w) % w;
            b = ((b % h) + h) % h;
        } else {
            a = std::clamp(a, 0, w - 1);
            b = std::clamp(b, 0, h - 1);
        }
        return at(a, b);
    };
    Color c00 = get(ix, iy), c10 = get(ix + 1, iy), c01 = get(ix, iy + 1), c11 = get(ix + 1, iy + 1);
    return mix(mix(c00, c10, fx), mix(c01, c11, fx), fy);
}

void fill(Image& im, const Sdf& sdf, const Shader& shade, float x0, float y0, float x1, float y1) {
    int ax = std::max(0, int(std::floor(x0)) - 1), ay = std::max(0, int(std::floor(y0)) - 1);
    int bx = std::min(im.w - 1, int(std::ceil(x1)) + 1), by = std::min(im.h - 1, int(std::ceil(y1)) + 1);
    // Large areas are first tested tile by tile at the tile centre: a distance well
    // beyond the tile's half diagonal means no pixel of the tile is covered.
    const int T = 16;
    const bool tiled = (bx - ax + 1) * (by - ay + 1) > 200000;
    for (int ty = ay; ty <= by; ty += T)
        for (int tx = ax; tx <= bx; tx += T) {
            int ex = std::min(bx, tx + T - 1), ey = std::min(by, ty + T - 1);
            if (tiled) {
                float cx = (tx + ex + 1) * 0.5f, cy = (ty + ey + 1) * 0.5f;
                if (sdf(cx, cy) > 2.0f * T) continue;
            }
            for (int y = ty; y <= ey; ++y)
                for (int x = tx; x <= ex; ++x) {
                    float px = x + 0.5f, py = y + 0.5f;
                    float d = sdf(px, py);
                    float k = clamp01(0.5f - d);
                    if (k <= 0) continue;
                    blendOver(im.at(x, y), shade(px, py), k);
                }
        }
}

void fill(Image& im, const Sdf& sdf, Color c, float x0, float y0, float x1, float y1) {
    fill(im, sdf, [c](float, float) { return c; }, x0, y0, x1, y1);
}
void fill(Image& im, const Sdf& sdf, const Shader& shade) { fill(im, sdf, shade, 0, 0, float(im.w), float(im.h)); }
void fill(Image& im, const Sdf& sdf, Color c) { fill(im, sdf, c, 0, 0, float(im.w), float(im.h)); }

void paint(Image& im, const Shader& shade) {
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) blendOver(im.at(x, y), shade(x + 0.5f, y + 0.5f), 1.0f);
}

void render(Image& im, const Shader& shade) {
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) im.at(x, y) = shade(x + 0.5f, y + 0.5f);
}

float sdCircle(float x, float y, float cx, float cy, float r) { return std::hypot(x - cx, y - cy) - r; }

float sdBox(float x, float y, float cx, float cy, float hw, float hh, float radius) {
    float qx = std::fabs(x - cx) - hw + radius, qy = std::fabs(y - cy) - hh + radius;
    float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
    return std::hypot(ox, oy) + std::min(std::max(qx, qy), 0.0f) - radius;
}

float sdSegment(float x, float y, float ax, float ay, float bx, float by, float halfWidth) {
    float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp((px * dx + py * dy) / len2, 0.0f, 1.0f) : 0.0f;
    return std::hypot(px - dx * t, py - dy * t) - halfWidth;
}

float sdPolygon(float x, float y, const std::vector<float>& v) {
    size_t n = v.size() / 2;
    float d = 1e30f;
    bool inside = false;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        float xi = v[2 * i], yi = v[2 * i + 1], xj = v[2 * j], yj = v[2 * j + 1];
        float ex = xj - xi, ey = yj - yi, wx = x - xi, wy = y - yi;
        float len2 = ex * ex + ey * ey;
        float t = len2 > 0 ? std::clamp((wx * ex + wy * ey) / len2, 0.0f, 1.0f) : 0.0f;
        float bx = wx - ex * t, by = wy - ey * t;
        d = std::min(d, bx * bx + by * by);
        if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi)) inside = !inside;
    }
    return (inside ? -1.0f : 1.0f) * std::sqrt(d);
}

float sdRing(float x, float y, float cx, float cy, float r, float halfWidth) {
    return std::fabs(std::hypot(x - cx, y - cy) - r) - halfWidth;
}

float sdEllipse(float x, float y, float cx, float cy, float rx, float ry) {
    // A good-enough approximation for anti-aliasing: scaled distance.
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    float k = std::hypot(dx, dy);
    if (k < 1e-6f) return -std::min(rx, ry);
    float gx = dx / rx, gy = dy / ry;  // gradient direction of the implicit function
    float g = std::hypot(gx, gy) / k;
    return (k - 1.0f) / std::max(g, 1e-6f);
}

namespace {
void boxPass(std::vector<float>& d, int w, int h, int ch, int r, bool horizontal, bool wrap) {
    int n = horizontal ? w : h, lines = horizontal ? h : w;
    std::vector<float> line(size_t(n) * ch), out(size_t(n) * ch);
    float inv = 1.0f / float(2 * r + 1);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < n; ++i) {
            size_t idx = horizontal ? (size_t(l) * w + i) : (size_t(i) * w + l);
            for (int c = 0; c < ch; ++c) line[size_t(i) * ch + c] = d[idx * ch + c];
        }
        auto get = [&](int i, int c) {
            if (wrap) i = ((i % n) + n) % n;
            else i = std::clamp(i, 0, n - 1);
            return line[size_t(i) * ch + c];
        };
        for (int c = 0; c < ch; ++c) {
            float acc = 0;
            for (int k = -r; k <= r; ++k) acc += get(k, c);
            for (int i = 0; i < n; ++i) {
                out[size_t(i) * ch + c] = acc * inv;
                acc += get(i + r + 1, c) - get(i - r, c);
            }
        }
        for (int i = 0; i < n; ++i) {
            size_t idx = horizontal ? (size_t(l) * w + i) : (size_t(i) * w + l);
            for (int c = 0; c < ch; ++c) d[idx * ch + c] = out[size_t(i) * ch + c];
        }
    }
}
}  // namespace

void blur(Image& im, float radius, bool wrap) {
    if (radius < 0.5f) return;
    std::vector<float> d(im.px.size() * 4);
    for (size_t i = 0; i < im.px.size(); ++i) {
        const Color& c = im.px[i];
        d[i * 4 + 0] = c.r * c.a;
        d[i * 4 + 1] = c.g * c.a;
        d[i * 4 + 2] = c.b * c.a;
        d[i * 4 + 3] = c.a;
    }
    int r = std::max(1, int(std::lround(radius / 1.7f)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(d, im.w, im.h, 4, r, true, wrap);
        boxPass(d, im.w, im.h, 4, r, false, wrap);
    }
    for (size_t i = 0; i < im.px.size(); ++i) {
        float a = d[i * 4 + 3];
        if (a > 1e-5f) im.px[i] = {d[i * 4] / a, d[i * 4 + 1] / a, d[i * 4 + 2] / a, std::min(a, 1.0f)};
        else im.px[i] = {0, 0, 0, 0};
    }
}

Image glowOf(const Image& im, float radius, Color tint, float strength, int dx, int dy) {
    Image g(im.w, im.h);
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) {
            int sx = x - dx, sy = y - dy;
            float a = (sx >= 0 && sy >= 0 && sx < im.w && sy < im.h) ? im.at(sx, sy).a : 0.0f;
            g.at(x, y) = withAlpha(tint, a);
        }
    blur(g, radius);
    for (auto& c : g.px) c.a = clamp01(c.a * strength);
    return g;
}

void drawOnto(Image& dst, const Image& src, int ox, int oy, float opacity) {
    for (int y = 0; y < src.h; ++y) {
        int ty = y + oy;
        if (ty < 0 || ty >= dst.h) continue;
        for (int x = 0; x < src.w; ++x) {
            int tx = x + ox;
            if (tx < 0 || tx >= dst.w) continue;
            blendOver(dst.at(tx, ty), src.at(x, y), opacity);
        }
    }
}

Image resized(const Image& src, int w, int h) {
    Image out(w, h);
    float sx = float(src.w) / w, sy = float(src.h) / h;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (sx <= 1.0f && sy <= 1.0f) {
                out.at(x, y) = src.sample((x + 0.5f) * sx, (y + 0.5f) * sy, false);
                continue;
            }
            // Area average with premultiplied alpha.
            int x0 = int(x * sx), x1 = std::max(x0 + 1, int((x + 1) * sx));
            int y0 = int(y * sy), y1 = std::max(y0 + 1, int((y + 1) * sy));
            float r = 0, g = 0, b = 0, a = 0, n = 0;
            for (int yy = y0; yy < y1 && yy < src.h; ++yy)
                for (int xx = x0; xx < x1 && xx < src.w; ++xx) {
                    const Color& c = src.at(xx, yy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                    n += 1;
                }
            out.at(x, y) = a > 1e-6f ? Color{r / a, g / a, b / a, a / n} : Color{0, 0, 0, 0};
        }
    return out;
}

Image flippedVertically(const Image& src) {
    Image out(src.w, src.h);
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) out.at(x, y) = src.at(x, src.h - 1 - y);
    return out;
}

Image flippedHorizontally(const Image& src) {
    Image out(src.w, src.h);
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) out.at(x, y) = src.at(src.w - 1 - x, y);
    return out;
}

Image forMount(const Image& im, Mount m) {
    switch (m) {
        case Mount::HalfTurn: return flippedHorizontally(flippedVertically(im));
        case Mount::Face:
        case Mount::Upright: break;
    }
    return im;
}

namespace {
void writeToVector(void* ctx, void* data, int size) {
    auto* v = static_cast<std::vector<unsigned char>*>(ctx);
    auto* p = static_cast<unsigned char*>(data);
    v->insert(v->end(), p, p + size);
}
}  // namespace

bool save(const Image& src, const std::filesystem::path& path, Mount m, bool opaque, int jpegQuality) {
    Image im = forMount(src, m);
    std::string ext = path.extension().string();
    bool jpeg = ext == ".jpg" || ext == ".jpeg";
    int ch = (jpeg || opaque) ? 3 : 4;
    std::vector<unsigned char> bytes(size_t(im.w) * im.h * ch);
    for (int y = 0; y < im.h; ++y)
        for (int x = 0; x < im.w; ++x) {
            const Color& c = im.at(x, y);
            float dither = (hashUnit(hash2(x, y, 0x5eedu)) - 0.5f);
            float v[4] = {c.r, c.g, c.b, c.a};
            for (int k = 0; k < ch; ++k) {
                float f = clamp01(v[k]) * 255.0f + (k < 3 ? dither : 0.0f);
                bytes[(size_t(y) * im.w + x) * ch + k] = (unsigned char)std::clamp(std::lround(f), 0L, 255L);
            }
        }
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::vector<unsigned char> encoded;
    int ok = jpeg ? stbi_write_jpg_to_func(writeToVector, &encoded, im.w, im.h, ch, bytes.data(), jpegQuality)
                  : stbi_write_png_to_func(writeToVector, &encoded, im.w, im.h, ch, bytes.data(), im.w * ch);
    if (!ok) {
        std::fprintf(stderr, "assetgen: could not encode %s\n", path.string().c_str());
        return false;
    }
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f) {
        std::fprintf(stderr, "assetgen: could not write %s\n", path.string().c_str());
        return false;
    }
    bool written = std::fwrite(encoded.data(), 1, encoded.size(), f) == encoded.size();
    written = (std::fclose(f) == 0) && written;
    if (!written) std::fprintf(stderr, "assetgen: could not write %s\n", path.string().c_str());
    return written;
}

}  // namespace assetgen::img
