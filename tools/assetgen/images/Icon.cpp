// The application icon for the desktop's menus: the main menu's night over the
// fortress, with its banded planet, cut to a rounded tile and lettered with the
// title's V, painted large and reduced for each size of the hicolor theme.
#include <cmath>
#include <cstdio>
#include <string>

#include "../Assets.h"
#include "Painters.h"
#include "Scenery.h"
#include "Text.h"

namespace assetgen {
namespace img {

Image appIcon(int size) {
    constexpr int kPaint = 512;
    const float S = kPaint;
    // The tile's corner radius and the thin margin a theme expects around it.
    const float margin = S * 0.035f, radius = S * 0.2f;
    const float half = S / 2 - margin;
    auto tile = [=](float x, float y) { return sdBox(x, y, S / 2, S / 2, half, half, radius); };

    Image scene(kPaint, kPaint);
    LandscapeOptions o;
    o.seed = 8801;  // the main menu's sky
    o.horizon = 0.76f;
    o.planetX = 0.7f;
    o.planetY = 0.3f;
    o.planetR = 0.2f;
    o.fortressX = 0.5f;
    o.fortressScale = 0.95f;
    o.starDensity = 2.5f;
    paintLandscape(scene, o);

    Font heavy(robotoPath("BlackItalic"));
    TextStyle st;
    st.px = S * 0.62f;
    st.color = hex(0xffe2c8);
    st.glow = st.px * 0.12f;
    st.glowColor = hex(0xff3a10);
    st.glowStrength = 1.3f;
    st.shadow = st.px * 0.04f;
    st.shadowOffset = int(st.px * 0.03f) + 1;
    drawText(scene, heavy, "V", S * 0.36f, S * 0.6f, Align::Center, st);

    Image icon(kPaint, kPaint);
    fill(icon, tile, [&](float x, float y) { return scene.sample(x, y, false); });
    // The ember rim of the menu's buttons.
    fill(icon, [=](float x, float y) { return std::fabs(tile(x, y) + S * 0.008f) - S * 0.006f; },
         rgb(1.0f, 0.55f, 0.3f, 0.8f));
    return size == kPaint ? icon : resized(icon, size, size);
}

}  // namespace img

bool generateIcons(const std::filesystem::path& outDir) {
    const img::Image large = img::appIcon(512);
    bool ok = true;
    for (int size : {48, 64, 128, 256}) {
        const std::string folder = std::to_string(size) + "x" + std::to_string(size);
        const auto path = outDir / "hicolor" / folder / "apps" / "velkaran.png";
        ok = img::save(img::resized(large, size, size), path, img::Mount::Face) && ok;
    }
    return ok;
}

}  // namespace assetgen
