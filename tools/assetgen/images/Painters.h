#pragma once
// The painters of the image module, one function per picture (or family of pictures).
// Each returns the picture upright, as it should appear; saving applies the mount.
#include <cstdint>
#include <string>

#include "Canvas.h"

namespace assetgen::img {

// Surfaces (tiling textures and sphere skins).
Image bricks(int style);                 // 1..4 wall styles, 5 the teleport wall
Image ceilingPanels(int style);          // 1..4
Image groundSoil();                      // base earth
Image groundMud();                       // cracked mud
Image groundGrass();                     // alien grass
Image groundGrassNormalMap();            // tangent-space normals of the grass
Image groundGravel();                    // stones
Image terrainBlendMap();
Image enemySkin();
Image projectileSkin();
Image blastSkin();
Image traceSkin(int style);              // 1..3

// Pictures in the world.
Image wallPicture(int index);            // 1..12: odd ones tall (1:2), even ones square
Image flag();

// Sky.
Image skyFace(int face);                 // 0..5: +X, -X, +Y, -Y, +Z, -Z

// Overlays and sprites.
Image crosshair(int style);              // 1, 2
Image sniperScope();
Image bloodFrame();
Image muzzleFlash();
Image particleSprite(int kind);          // 0 hit, 1 destroyed, 2 girl rescued, 3 engine
Image indicator();
Image versionBadge();

// HUD icons. The names follow the catalogue keys.
Image hudIcon(const std::string& key);
// Map icons (tiny mosaic tiles), by key.
Image mapIcon(const std::string& key);

// Screens.
Image mainMenu();
Image aboutScreen();
Image creditsScreen();
Image loadingScreen();
Image gameOverScreen();
Image victoryScreen();
Image mapBackground();

// The application icon, size × size pixels.
Image appIcon(int size);

}  // namespace assetgen::img
