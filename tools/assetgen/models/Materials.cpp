#include "Materials.h"

#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

namespace assetgen::models {
namespace {

using Painter = std::function<Image()>;
using glm::vec3;

struct Colour {
    const char* name;
    vec3 rgb;
};
// The five colours of the force fields and statues, and the three key colours.
const Colour kColours[] = {{"red", {0.85f, 0.10f, 0.08f}},   {"green", {0.15f, 0.75f, 0.20f}},
                           {"yellow", {0.95f, 0.78f, 0.12f}}, {"blue", {0.15f, 0.40f, 0.95f}},
                           {"violet", {0.62f, 0.22f, 0.88f}}, {"cyan", {0.15f, 0.85f, 0.95f}},
                           {"orange", {1.00f, 0.45f, 0.08f}}, {"white", {0.92f, 0.95f, 1.00f}},
                           {"pink", {1.00f, 0.35f, 0.65f}}};

std::map<std::string, Painter> buildTable() {
    std::map<std::string, Painter> t;
    std::uint32_t seed = 100;
    auto panel = [&](const std::string& name, int size, vec3 base, PanelStyle st) {
        const std::uint32_t s = ++seed;
        t[name] = [=] { return metalPanels(size, base, st, s); };
    };
    PanelStyle p22;
    panel("hull_grey", 256, {0.55f, 0.57f, 0.60f}, p22);
    panel("hull_dark", 256, {0.20f, 0.21f, 0.24f}, p22);
    PanelStyle bronze = p22;
    bronze.panelsX = 3;
    bronze.stripe = {1.0f, 0.55f, 0.1f};
    bronze.stripeY = 0.5f;
    panel("hull_bronze", 256, {0.55f, 0.38f, 0.16f}, bronze);
    PanelStyle white = p22;
    white.grime = 0.2f;
    white.stripe = {0.95f, 0.35f, 0.05f};
    white.stripeY = 0.3f;
    white.stripeH = 0.05f;
    panel("hull_white", 256, {0.80f, 0.81f, 0.82f}, white);
    PanelStyle ship = p22;
    ship.panelsX = 4;
    ship.panelsY = 4;
    ship.grime = 0.25f;
    ship.scratches = 90;
    panel("ship_hull", 512, {0.78f, 0.79f, 0.80f}, ship);
    PanelStyle shipStripe = ship;
    shipStripe.panelsY = 2;
    shipStripe.stripe = {1.0f, 0.42f, 0.06f};
    shipStripe.stripeY = 0.5f;
    shipStripe.stripeH = 0.16f;
    panel("ship_stripe", 512, {0.78f, 0.79f, 0.80f}, shipStripe);
    panel("ship_dark", 256, {0.16f, 0.17f, 0.19f}, ship);
    PanelStyle gun;
    gun.panelsX = 4;
    gun.panelsY = 2;
    gun.scratches = 120;
    gun.grime = 0.25f;
    gun.stripe = {0.2f, 0.85f, 1.0f};
    gun.stripeY = 0.25f;
    gun.stripeH = 0.035f;
    panel("gun_body", 512, {0.30f, 0.31f, 0.34f}, gun);
    PanelStyle sniper = gun;
    sniper.stripe = {1.0f, 0.22f, 0.12f};
    panel("sniper_body", 512, {0.32f, 0.36f, 0.30f}, sniper);
    PanelStyle plain;
    plain.panelsX = 1;
    plain.panelsY = 1;
    plain.rivets = false;
    plain.scratches = 25;
    plain.grime = 0.15f;
    panel("plastic_white", 256, {0.88f, 0.88f, 0.86f}, plain);
    PanelStyle ammo;
    ammo.panelsX = 1;
    ammo.panelsY = 2;
    ammo.stripe = {0.95f, 0.78f, 0.1f};
    ammo.stripeY = 0.25f;
    ammo.stripeH = 0.08f;
    panel("ammo_olive", 256, {0.30f, 0.34f, 0.18f}, ammo);
    PanelStyle pole = plain;
    pole.panelsY = 4;
    pole.scratches = 60;
    panel("pole_steel", 256, {0.70f, 0.72f, 0.75f}, pole);
    PanelStyle pad;
    pad.panelsX = 4;
    pad.panelsY = 4;
    pad.hazard = true;
    panel("platform_metal", 512, {0.40f, 0.42f, 0.45f}, pad);
    PanelStyle iron;
    iron.panelsX = 1;
    iron.panelsY = 1;
    iron.scratches = 50;
    panel("iron", 256, {0.26f, 0.26f, 0.28f}, iron);

    auto add = [&](const std::string& name, Painter f) { t[name] = std::move(f); };
    for (const Colour& c : kColours) {
        const std::string n = c.name;
        const vec3 rgb = c.rgb;
        const std::uint32_t s = ++seed;
        add("glow_" + n, [=] { return glow(256, rgb, s); });
        add("paint_" + n, [=] { return paintedMetal(256, rgb * 0.85f, {0.62f, 0.63f, 0.66f}, 0.35f, s); });
        add("field_" + n, [=] { return hexField(256, rgb, s); });
        add("marble_" + n, [=] { return marble(256, glm::mix(rgb, vec3(0.8f), 0.25f), rgb * 0.35f, s); });
        add("gate_" + n, [=] { return paintedMetal(512, rgb * 0.75f, {0.55f, 0.56f, 0.58f}, 0.5f, s); });
    }
    add("marble_white", [] { return marble(256, {0.86f, 0.86f, 0.83f}, {0.45f, 0.46f, 0.50f}, 401); });
    add("gun_grip", [] { return grip(256, {0.11f, 0.11f, 0.12f}, 402); });
    add("gun_accent", [] { return paintedMetal(256, {0.80f, 0.42f, 0.10f}, {0.7f, 0.7f, 0.72f}, 0.3f, 403); });
    add("scope_lens", [] { return glass(256, {0.15f, 0.55f, 0.65f}, 404); });
    add("cross_red", [] { return paintedMetal(256, {0.85f, 0.06f, 0.05f}, {0.9f, 0.9f, 0.9f}, 0.1f, 405); });
    add("brass", [] { return paintedMetal(256, {0.78f, 0.60f, 0.26f}, {0.95f, 0.85f, 0.55f}, 0.25f, 406); });
    add("gold", [] { return paintedMetal(256, {0.88f, 0.68f, 0.20f}, {1.0f, 0.92f, 0.6f}, 0.3f, 407); });
    add("wood_chest", [] { return wood(256, {0.45f, 0.27f, 0.12f}, 408); });
    add("circuit_blue", [] { return circuit(256, {0.04f, 0.09f, 0.18f}, {0.2f, 0.8f, 1.0f}, 409); });
    add("hazard", [] { return hazardStripes(256, {0.9f, 0.7f, 0.1f}, {0.08f, 0.08f, 0.08f}, 410); });
    add("glass_blue", [] { return glass(256, {0.18f, 0.42f, 0.95f}, 411); });
    add("glass_red", [] { return glass(256, {0.85f, 0.10f, 0.12f}, 412); });
    add("glass_cyan", [] { return glass(256, {0.25f, 0.60f, 0.75f}, 413); });
    add("crystal_red", [] { return crystal(256, {0.85f, 0.10f, 0.12f}, 414); });
    add("bark", [] { return bark(256, {0.36f, 0.25f, 0.16f}, 415); });
    add("bark_alien", [] { return bark(256, {0.30f, 0.24f, 0.30f}, 416); });
    add("reed", [] { return bark(256, {0.42f, 0.48f, 0.20f}, 417); });
    add("leaves_green", [] { return foliage(256, {0.16f, 0.32f, 0.09f}, {0.45f, 0.62f, 0.15f}, 418); });
    add("leaves_teal", [] { return foliage(256, {0.06f, 0.26f, 0.26f}, {0.25f, 0.62f, 0.50f}, 419); });
    add("leaves_purple", [] { return foliage(256, {0.28f, 0.10f, 0.32f}, {0.62f, 0.30f, 0.70f}, 420); });
    add("leaves_charred", [] { return lava(256, {0.10f, 0.06f, 0.05f}, {0.95f, 0.30f, 0.03f}, 421); });
    add("cactus", [] { return cactusSkin(256, {0.22f, 0.45f, 0.20f}, 422); });
    add("rock_grey", [] { return stone(256, {0.52f, 0.50f, 0.47f}, {0.24f, 0.22f, 0.21f}, 0.6f, 423); });
    add("rock_red", [] { return stone(256, {0.58f, 0.38f, 0.26f}, {0.28f, 0.16f, 0.10f}, 0.5f, 424); });
    add("rock_dark", [] { return stone(256, {0.30f, 0.28f, 0.30f}, {0.10f, 0.09f, 0.10f}, 0.5f, 425); });
    add("concrete", [] { return stone(256, {0.58f, 0.58f, 0.55f}, {0.42f, 0.42f, 0.40f}, 0.25f, 426); });
    add("bone", [] { return bone(256, {0.90f, 0.86f, 0.74f}, 427); });
    add("lava", [] { return lava(256, {0.12f, 0.08f, 0.07f}, {1.0f, 0.35f, 0.05f}, 428); });
    add("worm_skin", [] { return creatureSkin(256, {0.58f, 0.36f, 0.46f}, {0.30f, 0.12f, 0.30f}, 429); });
    add("worm_mouth", [] { return creatureSkin(256, {0.45f, 0.05f, 0.08f}, {0.18f, 0.02f, 0.04f}, 430); });
    add("runes_red", [] { return runeStone(256, {0.24f, 0.22f, 0.27f}, {1.0f, 0.22f, 0.12f}, 431); });
    add("obsidian_red", [] { return runeStone(256, {0.12f, 0.11f, 0.14f}, {1.0f, 0.15f, 0.1f}, 432); });
    add("chrome", [] { return paintedMetal(256, {0.78f, 0.80f, 0.84f}, {0.95f, 0.95f, 0.97f}, 0.3f, 433); });
    add("skin", [] { return skin(128, {0.86f, 0.66f, 0.53f}, 434); });
    add("hair", [] { return hair(256, {0.14f, 0.08f, 0.05f}, 435); });
    add("suit", [] { return fabric(256, {0.20f, 0.34f, 0.55f}, 436); });
    add("rubber", [] { return grip(256, {0.08f, 0.08f, 0.08f}, 437); });
    return t;
}

const std::map<std::string, Painter>& table() {
    static const std::map<std::string, Painter> t = buildTable();
    return t;
}

}  // namespace

bool knownMaterial(const std::string& name) { return table().count(name) != 0; }

const Image& materialImage(const std::string& name) {
    static std::mutex mutex;
    static std::map<std::string, std::unique_ptr<Image>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(name);
    if (it != cache.end()) return *it->second;
    auto img = std::make_unique<Image>(table().at(name)());
    const Image& ref = *img;
    cache.emplace(name, std::move(img));
    return ref;
}

}  // namespace assetgen::models
