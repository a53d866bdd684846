#pragma once
// Symbols shared by the HUD icons, the map icons and the map legend. Each draws
// its full-colour shape into a box given in pixels; the icon painters derive the
// held and missing looks from it.
#include "Canvas.h"

namespace assetgen::img {

struct Box {
    float x, y, w, h;
    float X(float u) const { return x + u * w; }
    float Y(float v) const { return y + v * h; }
    float S() const { return std::min(w, h); }
    float cx() const { return x + w / 2; }
    float cy() const { return y + h / 2; }
};

void drawKey(Image& im, Box b, Color c);
void drawHealth(Image& im, Box b);
void drawAmmo(Image& im, Box b);
void drawCloakNode(Image& im, Box b, bool struck);
void drawScannerCard(Image& im, Box b);
void drawGirl(Image& im, Box b);
void drawEnergyCell(Image& im, Box b);
void drawInjector(Image& im, Box b);
void drawRepellent(Image& im, Box b);
void drawCrystal(Image& im, Box b);
void drawCompass(Image& im, Box b, int sector);  // 0 neither, 1 north, 2 south
void drawGate(Image& im, Box b, Color c);
void drawShip(Image& im, Box b);
void drawStatue(Image& im, Box b);
void drawWorm(Image& im, Box b);
void drawMonolith(Image& im, Box b);
void drawForceField(Image& im, Box b);
void drawTeleport(Image& im, Box b);
void drawSlot(Image& im, Box b);

// Colours of the three keys and their gates.
Color keyRed();
Color keyGreen();
Color keyYellow();

}  // namespace assetgen::img
