// Full-screen pictures: menus with their own lettering, loading, game over, victory, map.
#include <cmath>
#include <sstream>
#include <vector>

#include "Noise.h"
#include "Painters.h"
#include "Scenery.h"
#include "Symbols.h"
#include "Text.h"

namespace assetgen::img {
namespace {

constexpr int kW = 1280, kH = 800;

// A clickable area given in per cent of the window (left, top, right, bottom).
struct Pct {
    float l, t, r, b;
};
struct Rect {
    float x0, y0, x1, y1;
};
Rect toPixels(Pct p, int w, int h) { return {p.l * w / 100, p.t * h / 100, p.r * w / 100, p.b * h / 100}; }

std::vector<std::string> wrapWords(Font& font, const std::string& text, float px, float maxWidth) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string word, line;
    while (in >> word) {
        std::string trial = line.empty() ? word : line + " " + word;
        if (!line.empty() && font.measure(trial, px) > maxWidth) {
            lines.push_back(line);
            line = word;
        } else {
            line = trial;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// Draws wrapped text from a top edge; returns the y below the last line.
float paragraph(Image& im, Font& font, const std::string& text, float x, float top, float maxWidth, const TextStyle& st,
                float lineGap = 1.35f) {
    float y = top + font.capHeight(st.px);
    for (const std::string& line : wrapWords(font, text, st.px, maxWidth)) {
        drawText(im, font, line, x, y, Align::Left, st);
        y += st.px * lineGap;
    }
    return y - font.capHeight(st.px);
}

// A menu button: a dark glass plate with a thin ember border, its label inside.
float buttonPad(Rect r) { return std::max(14.0f, (r.y1 - r.y0) * 0.22f); }

// The size at which a label fits its button (same rule as drawTextInBox).
float labelFit(Font& font, Rect r, const std::string& label, float px) {
    float boxW = (r.x1 - r.x0) - 2 * buttonPad(r);
    return fitSize(font, label, boxW - px * 0.12f, (r.y1 - r.y0) * 0.56f, px);
}

void button(Image& im, Font& font, Rect r, const std::string& label, float px, Align align = Align::Left) {
    float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2, hw = (r.x1 - r.x0) / 2, hh = (r.y1 - r.y0) / 2;
    float rad = std::min(hh * 0.35f, 12.0f);
    fill(im, [=](float x, float y) { return sdBox(x, y, cx, cy + 3, hw, hh, rad); }, rgb(0, 0, 0, 0.35f));
    fill(im, [=](float x, float y) { return sdBox(x, y, cx, cy, hw - 1, hh - 1, rad); },
         [=](float x, float y) {
             float t = clamp01((y - r.y0) / (r.y1 - r.y0));
             float side = clamp01((x - r.x0) / (r.x1 - r.x0));
             Color c = mix(rgb(0.20f, 0.05f, 0.05f, 0.78f), rgb(0.06f, 0.02f, 0.03f, 0.82f), t);
             return mix(c, rgb(0.08f, 0.02f, 0.03f, 0.6f), side * 0.5f);
         });
    fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, cy, hw - 1.5f, hh - 1.5f, rad)) - 1.0f; },
         rgb(1.0f, 0.55f, 0.3f, 0.75f));
    // A bright accent on the left edge.
    fill(im, [=](float x, float y) { return sdBox(x, y, r.x0 + 5, cy, 2, hh * 0.6f, 1.5f); }, hex(0xff7a3a));
    TextStyle st;
    st.px = px;
    st.color = hex(0xfbeee4);
    st.shadow = 2.5f;
    st.shadowOffset = 2;
    drawTextInBox(im, font, label, r.x0, r.y0, r.x1, r.y1, align, st, buttonPad(r));
}

void linkLabel(Image& im, Font& font, Rect r, const std::string& label, float px) {
    TextStyle st;
    st.px = px;
    st.color = hex(0x9fd4ff);
    st.shadow = 2;
    st.shadowOffset = 1;
    float used = drawTextInBox(im, font, label, r.x0, r.y0, r.x1, r.y1, Align::Center, st, 4);
    float wdt = font.measure(label, used), cy = (r.y0 + r.y1) / 2 + font.capHeight(used) / 2 + 3;
    float cx = (r.x0 + r.x1) / 2;
    fill(im, [=](float x, float y) { return sdSegment(x, y, cx - wdt / 2, cy, cx + wdt / 2, cy, 0.7f); }, withAlpha(hex(0x9fd4ff), 0.8f));
}

void title(Image& im, Font& font, const std::string& text, float cx, float baseline, float px) {
    TextStyle st;
    st.px = px;
    st.color = hex(0xffe2c8);
    st.glow = px * 0.18f;
    st.glowColor = hex(0xff3a10);
    st.glowStrength = 1.2f;
    st.shadow = px * 0.05f;
    st.shadowOffset = int(px * 0.04f) + 1;
    drawText(im, font, text, cx, baseline, Align::Center, st);
}

// Darkens towards the edges.
void vignette(Image& im, float strength) {
    paint(im, [&](float x, float y) {
        float u = x / im.w - 0.5f, v = y / im.h - 0.5f;
        float d = std::sqrt(u * u + v * v) * 1.4f;
        return rgb(0, 0, 0, strength * smooth(0.4f, 1.0f, d));
    });
}

void panel(Image& im, Rect r, float alpha) {
    float cx = (r.x0 + r.x1) / 2, cy = (r.y0 + r.y1) / 2, hw = (r.x1 - r.x0) / 2, hh = (r.y1 - r.y0) / 2;
    fill(im, [=](float x, float y) { return sdBox(x, y, cx, cy, hw, hh, 18); }, rgb(0.03f, 0.01f, 0.02f, alpha));
    fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, cx, cy, hw - 2, hh - 2, 16)) - 1.2f; }, rgb(1.0f, 0.5f, 0.3f, 0.55f));
}

LandscapeOptions menuLandscape() {
    LandscapeOptions o;
    o.seed = 8801;
    o.horizon = 0.72f;
    o.planetX = 0.83f;
    o.planetY = 0.3f;
    o.planetR = 0.17f;
    o.fortressX = 0.5f;
    o.fortressScale = 0.9f;
    return o;
}

// The back and web buttons shared by the about and credits pictures.
void aboutCreditsButtons(Image& im, Font& bold) {
    button(im, bold, toPixels({4, 89, 17, 97}, im.w, im.h), "Volver", 40, Align::Center);
    Rect web = toPixels({28, 94, 71, 98}, im.w, im.h);
    linkLabel(im, bold, web, "Visitar la página web de Velkaran", 26);
}

Image dimmedBackdrop(std::uint32_t seed) {
    Image im(kW, kH);
    LandscapeOptions o = menuLandscape();
    o.seed = seed;
    o.planetX = 0.12f;
    o.planetY = 0.22f;
    o.planetR = 0.12f;
    o.fortressX = 0.72f;
    o.fortressScale = 0.7f;
    paintLandscape(im, o);
    paint(im, [](float, float) { return rgb(0.02f, 0.0f, 0.01f, 0.45f); });
    vignette(im, 0.6f);
    return im;
}

}  // namespace

Image mainMenu() {
    Image im(kW, kH);
    paintLandscape(im, menuLandscape());
    vignette(im, 0.55f);
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic"));
    title(im, heavy, "VELKARAN", kW / 2.0f, kH * 0.215f, 150);
    TextStyle sub;
    sub.px = 30;
    sub.color = hex(0xffb08a);
    sub.shadow = 3;
    drawText(im, bold, "Escapa de la fortaleza", kW / 2.0f, kH * 0.29f, Align::Center, sub);
    struct B {
        Pct p;
        const char* label;
    };
    const B buttons[] = {
        {{34, 37, 66, 46}, "Comenzar partida"},
        {{34, 50, 61, 58}, "Generar nuevo mapa"},
        {{34, 62, 65, 70}, "Acerca de Velkaran"},
        {{34, 73, 54, 81}, "Créditos"},
        {{34, 86, 46, 94}, "Salir"},
    };
    float px = 44;
    for (const B& b : buttons) px = std::min(px, labelFit(bold, toPixels(b.p, kW, kH), b.label, 44));
    for (const B& b : buttons) button(im, bold, toPixels(b.p, kW, kH), b.label, px);
    linkLabel(im, bold, toPixels({85, 96, 99, 99}, kW, kH), "Web de Velkaran team", 22);
    return im;
}

Image aboutScreen() {
    Image im = dimmedBackdrop(8802);
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic")), regular(robotoPath("Regular")),
        medium(robotoPath("Medium"));
    title(im, heavy, "Acerca de Velkaran", kW / 2.0f, 92, 64);
    panel(im, {60, 120, kW - 60.0f, 690}, 0.72f);
    TextStyle body;
    body.px = 26;
    body.color = hex(0xf2e6de);
    body.shadow = 1.5f;
    float y = paragraph(im, regular,
                        "Tu nave ha caído en un planeta hostil, junto a una fortaleza generada a partir de una semilla. "
                        "Desactiva los quince nodos del encubridor, rescata a Hiyura, reúne cuatro células de energía y el "
                        "inyector de plasma, conecta las células en las plataformas junto a la nave y escapa. Las llaves "
                        "abren las puertas de su color; el repelente azul ahuyenta al gusano y el inductor rojo destruye el "
                        "monolito. Tu tiempo se compara con el récord de la fortaleza.",
                        100, 150, kW - 200.0f, body);
    TextStyle head;
    head.px = 30;
    head.color = hex(0xffa070);
    head.shadow = 2;
    drawText(im, bold, "Controles", 100, y + 58, Align::Left, head);
    const char* controls[][2] = {
        {"W A S D", "Moverse"},          {"Mayús izq.", "Correr"},         {"Espacio", "Saltar"},
        {"Ratón", "Mirar"},              {"Botón izquierdo", "Disparar"},  {"Botón derecho", "Mira telescópica"},
        {"Q", "Cambiar de arma"},        {"F", "Linterna"},                {"N", "Usar el escáner"},
        {"M", "Mapa y pausa"},           {"F1", "Esta pantalla"},          {"F8", "Rendimiento"},
        {"F12", "Captura de pantalla"},  {"Esc", "Abandonar la partida"},
    };
    TextStyle keyStyle;
    keyStyle.px = 23;
    keyStyle.color = hex(0xffd6b8);
    TextStyle valStyle = body;
    valStyle.px = 23;
    const int rows = 5;
    float top = y + 104;
    for (int i = 0; i < 14; ++i) {
        int col = i / rows, row = i % rows;
        float x = 100 + col * 370.0f, yy = top + row * 46.0f;
        float kw = medium.measure(controls[i][0], keyStyle.px) + 20;
        fill(im, [=](float px, float py) { return sdBox(px, py, x + kw / 2, yy - 8, kw / 2, 17, 6); }, rgb(1, 0.55f, 0.3f, 0.18f));
        drawText(im, medium, controls[i][0], x + 10, yy, Align::Left, keyStyle);
        drawText(im, regular, controls[i][1], x + kw + 14, yy, Align::Left, valStyle);
    }
    aboutCreditsButtons(im, bold);
    return im;
}

Image creditsScreen() {
    Image im = dimmedBackdrop(8803);
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic")), regular(robotoPath("Regular"));
    title(im, heavy, "Créditos", kW / 2.0f, 92, 64);
    panel(im, {170, 120, kW - 170.0f, 690}, 0.72f);
    TextStyle head;
    head.px = 27;
    head.color = hex(0xffa070);
    head.shadow = 2;
    TextStyle body;
    body.px = 24;
    body.color = hex(0xf2e6de);
    body.shadow = 1.5f;
    float cx = kW / 2.0f, y = 178;
    auto section = [&](const char* h, std::initializer_list<const char*> lines) {
        drawText(im, bold, h, cx, y, Align::Center, head);
        y += 38;
        for (const char* l : lines) {
            drawText(im, regular, l, cx, y, Align::Center, body);
            y += 33;
        }
        y += 22;
    };
    section("Un juego de", {"Velkaran team"});
    section("Diseño, programación, gráficos, modelos y sonido",
            {"Velkaran team, con el código del propio proyecto:", "cada imagen, modelo y sonido se genera al compilar"});
    section("Bibliotecas", {"SDL2  ·  OpenGL  ·  GLEW  ·  assimp", "FreeType  ·  stb  ·  GLM"});
    section("Tipografía", {"Roboto (licencia Apache 2.0)"});
    TextStyle thanks = body;
    thanks.px = 22;
    thanks.color = hex(0xffc8a8);
    drawText(im, bold, "¡Gracias por jugar!", cx, 668, Align::Center, thanks);
    aboutCreditsButtons(im, bold);
    return im;
}

Image loadingScreen() {
    const int w = 1024, h = 640;
    Image im(w, h);
    LandscapeOptions o = menuLandscape();
    o.seed = 8804;
    o.planetX = 0.2f;
    o.planetY = 0.28f;
    o.planetR = 0.2f;
    o.fortressX = 0.62f;
    paintLandscape(im, o);
    vignette(im, 0.6f);
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic")), regular(robotoPath("Italic"));
    title(im, heavy, "VELKARAN", w / 2.0f, h * 0.22f, 118);
    TextStyle st;
    st.px = 36;
    st.color = hex(0xfbeee4);
    st.shadow = 3;
    drawText(im, bold, "Cargando la fortaleza…", w / 2.0f, h * 0.86f, Align::Center, st);
    for (int i = 0; i < 3; ++i) {
        float x = w / 2.0f - 40 + i * 40.0f, y = h * 0.915f;
        fill(im, [=](float px, float py) { return sdCircle(px, py, x, y, 6); }, withAlpha(hex(0xff7a3a), 0.45f + 0.25f * i));
    }
    TextStyle tip;
    tip.px = 20;
    tip.color = hex(0xd8c0b4);
    tip.shadow = 2;
    drawText(im, regular, "Consejo: pulsa M para ver el mapa de lo que has explorado.", w / 2.0f, h * 0.975f, Align::Center, tip);
    return im;
}

Image gameOverScreen() {
    const int w = 1024, h = 640;
    Image im(w, h);
    // Laid over the last frame: a red veil, heavier at the edges, and the verdict.
    render(im, [=](float x, float y) {
        float u = x / w - 0.5f, v = y / h - 0.5f;
        float d = std::sqrt(u * u + v * v);
        float n = fbm(x / 128, y / 128, 64, 4, 9101) * 0.5f + 0.5f;
        Color c = mix(hex(0x4a0000), hex(0x0a0000), smooth(0.2f, 0.7f, d));
        c.a = 0.45f + 0.45f * smooth(0.15f, 0.7f, d) + 0.08f * n;
        return c;
    });
    fill(im, [=](float x, float y) { return sdBox(x, y, w / 2.0f, h * 0.46f, w / 2.0f + 10, 110, 0); },
         [=](float, float y) {
             float t = std::fabs(y - h * 0.46f) / 110.0f;
             return rgb(0, 0, 0, 0.55f * (1 - t * t));
         });
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic"));
    TextStyle st;
    st.px = 130;
    st.color = hex(0xff3a2a);
    st.glow = 22;
    st.glowColor = hex(0xa00000);
    st.glowStrength = 1.4f;
    st.shadow = 6;
    st.shadowOffset = 4;
    drawText(im, heavy, "HAS MUERTO", w / 2.0f, h * 0.5f, Align::Center, st);
    TextStyle sub;
    sub.px = 34;
    sub.color = hex(0xffd6cc);
    sub.shadow = 3;
    drawText(im, bold, "La fortaleza ha acabado contigo", w / 2.0f, h * 0.6f, Align::Center, sub);
    return im;
}

Image victoryScreen() {
    // Shown at 85 % of the window, over the escape: a framed picture of the ship leaving.
    const int w = 1088, h = 680;
    Image scene(w, h);
    LandscapeOptions o;
    o.seed = 9201;
    o.horizon = 0.9f;
    o.planetX = 0.25f;
    o.planetY = 0.35f;
    o.planetR = 0.22f;
    o.fortressX = 0.75f;
    o.fortressScale = 0.55f;
    o.skyHorizon = hex(0x6a1a10);
    paintLandscape(scene, o);
    // The ship climbing with its engine trail.
    float sx = w * 0.64f, sy = h * 0.34f;
    fill(scene, [=](float x, float y) { return sdSegment(x, y, sx - 10, sy + 14, w * 0.38f, h * 0.98f, 3 + 0.02f * (y - sy)); },
         [=](float x, float y) {
             float t = clamp01((y - sy) / (h * 0.6f));
             (void)x;
             return withAlpha(mix(hex(0xbfe8ff), hex(0x2a4aff), t), 0.75f * (1 - t));
         });
    std::vector<float> hull = {sx + 30, sy - 28, sx - 12, sy + 22, sx - 4, sy + 4, sx - 22, sy + 2};
    fill(scene, [&](float x, float y) { return sdPolygon(x, y, hull) - 2; }, hex(0xe8eef4));
    fill(scene, [=](float x, float y) { return sdCircle(x, y, sx - 12, sy + 16, 14); },
         [=](float x, float y) { return rgb(0.7f, 0.9f, 1.0f, 0.8f * std::exp(-std::pow(std::hypot(x - sx + 12, y - sy - 16) / 7, 2.0f))); });
    Image im(w, h);
    // Rounded frame with a soft edge so it sits on the game below.
    fill(im, [=](float x, float y) { return sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 4, h / 2.0f - 4, 30); },
         [&](float x, float y) { return scene.at(std::min(w - 1, int(x)), std::min(h - 1, int(y))); });
    fill(im, [=](float x, float y) { return std::fabs(sdBox(x, y, w / 2.0f, h / 2.0f, w / 2.0f - 8, h / 2.0f - 8, 26)) - 2.5f; },
         hex(0xffb070));
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic"));
    TextStyle st;
    st.px = 120;
    st.color = hex(0xfff0c8);
    st.glow = 20;
    st.glowColor = hex(0xffa020);
    st.glowStrength = 1.1f;
    st.shadow = 6;
    st.shadowOffset = 4;
    drawText(im, heavy, "¡VICTORIA!", w / 2.0f, h * 0.24f, Align::Center, st);
    TextStyle sub;
    sub.px = 36;
    sub.color = hex(0xffffff);
    sub.shadow = 4;
    sub.shadowOffset = 2;
    drawText(im, bold, "Has escapado del planeta con Hiyura", w / 2.0f, h * 0.85f, Align::Center, sub);
    sub.px = 26;
    sub.color = hex(0xffd0a0);
    drawText(im, bold, "Misión cumplida", w / 2.0f, h * 0.92f, Align::Center, sub);
    return im;
}

Image mapBackground() {
    Image im(kW, kH);
    // The cell icons fill a column from about 21 % to 79 % of the width; the side
    // panels carry the title and the legend.
    const float gx0 = kW * 0.2f, gx1 = kW * 0.8f;
    render(im, [&](float x, float y) {
        float n = fbm(x / 160, y / 160, 64, 4, 9301) * 0.5f + 0.5f;
        bool inGrid = x >= gx0 && x <= gx1;
        Color c = inGrid ? mix(hex(0x071016), hex(0x0c1a22), n) : mix(hex(0x140608), hex(0x220a0c), n);
        if (inGrid) {
            // Faint lines every fourth cell of the map.
            float cellW = kW * 0.33f / 40.0f * 4, cellH = kH * 0.55f / 40.0f * 4;
            float lx = std::fmod(x - (kW * (0.5f + (-11.8f + 0.33f * 0.5f) / 40.0f)) + 100 * cellW, cellW);
            float ly = std::fmod(y - kH * (0.5f - (19.5f - 0.55f * 0.5f) / 40.0f) + 100 * cellH, cellH);
            if (lx < 1.0f || ly < 1.0f) c = mix(c, hex(0x2a5060), 0.35f);
        }
        return c;
    });
    for (float ex : {gx0, gx1})
        fill(im, [=](float x, float y) { return sdBox(x, y, ex, kH / 2.0f, 2, kH / 2.0f); }, hex(0xb04a2a));
    Font heavy(robotoPath("BlackItalic")), bold(robotoPath("BoldItalic")), regular(robotoPath("Regular"));
    TextStyle tt;
    tt.px = 46;
    tt.color = hex(0xffe2c8);
    tt.glow = 8;
    tt.glowColor = hex(0xff3a10);
    drawText(im, heavy, "MAPA", gx0 / 2, 70, Align::Center, tt);
    TextStyle sub;
    sub.px = 19;
    sub.color = hex(0xe8cfc4);
    drawText(im, bold, "de la fortaleza", gx0 / 2, 100, Align::Center, sub);
    struct L {
        const char* key;
        const char* label;
    };
    const L left[] = {{"Player_IconMap", "Tú"},
                      {"Trace_IconMap", "Ruta del escáner"},
                      {"Wall_1_IconMap", "Muro"},
                      {"Teleport_IconMap", "Teletransporte"},
                      {"ItemChest_IconMap", "Nodo del encubridor"},
                      {"EnergyCell_IconMap", "Célula de energía"},
                      {"SlotCell_IconMap", "Plataforma de célula"},
                      {"EngineDevice_IconMap", "Inyector de plasma"},
                      {"Hiyura_IconMap", "Hiyura"},
                      {"Spaceship_IconMap", "Tu nave"}};
    const L right[] = {{"KeyRed_IconMap", "Llave roja"},
                       {"KeyGreen_IconMap", "Llave verde"},
                       {"KeyYellow_IconMap", "Llave amarilla"},
                       {"DoorRed_IconMap", "Puerta roja"},
                       {"DoorGreen_IconMap", "Puerta verde"},
                       {"DoorYellow_IconMap", "Puerta amarilla"},
                       {"RepelenteAzul_IconMap", "Repelente azul"},
                       {"WormAlien_IconMap", "Gusano Sorlock"},
                       {"InductorRojo_IconMap", "Inductor rojo"},
                       {"MonolithAlien_IconMap", "Monolito rúnico"},
                       {"ForceField_IconMap", "Campo de fuerza"},
                       {"Statue_IconMap", "Estatua del ángel"}};
    TextStyle ls;
    ls.px = 20;
    ls.color = hex(0xf0e4dc);
    auto legend = [&](const L* items, int n, float x0, float panelRight, float top, float step) {
        for (int i = 0; i < n; ++i) {
            float y = top + i * step;
            Image icon = resized(mapIcon(items[i].key), 30, 30);
            drawOnto(im, icon, int(x0), int(y - 15));
            float px = fitSize(regular, items[i].label, panelRight - (x0 + 40) - 12, 30, ls.px);
            TextStyle s2 = ls;
            s2.px = px;
            drawText(im, regular, items[i].label, x0 + 40, y + regular.capHeight(px) / 2, Align::Left, s2);
        }
    };
    legend(left, 10, 22, gx0, 160, 52);
    legend(right, 12, gx1 + 22, float(kW), 70, 56);
    TextStyle hint;
    hint.px = 18;
    hint.color = hex(0xffb08a);
    drawText(im, bold, "Pulsa M para volver", gx0 / 2, kH - 40.0f, Align::Center, hint);
    drawText(im, regular, "Lo explorado se aclara", gx0 / 2, kH - 70.0f, Align::Center, ls);
    return im;
}

}  // namespace assetgen::img
