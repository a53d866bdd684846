#pragma once
// The ids of the fixed render objects that start-up creates: the screens, the HUD's
// icons, the sky, the effects' shapes, the fortress's walls and frames, the map's
// marks. The rules name the ones they choose (the HUD's icons, a cell's wall) and the
// drawing looks them up by the same names. The object tables rely on the values, so
// they are fixed.
#include <cstdint>

namespace render_id {

inline constexpr int32_t kSkybox = 3;
inline constexpr int32_t kMuzzleFlash = 4;
inline constexpr int32_t kCrossHair = 5;        // the rifle's aim mark
inline constexpr int32_t kSniperCrossHair = 6;  // the sniper rifle's, unscoped
inline constexpr int32_t kAmmoIcon = 7;
inline constexpr int32_t kHealthIcon = 8;
inline constexpr int32_t kNodesIcon = 9;
inline constexpr int32_t kScannerIcon = 10;
// Each held item's icon comes in two: the empty one, then the held one (id + 1).
inline constexpr int32_t kHiyuraIcon = 11;
inline constexpr int32_t kEnergyCellIcon = 13;
inline constexpr int32_t kConnectedCellsIcon = 15;  // 15 ... 19: none to four connected
inline constexpr int32_t kInjectorIcon = 20;
inline constexpr int32_t kRedKeyIcon = 22;
inline constexpr int32_t kGreenKeyIcon = 24;
inline constexpr int32_t kYellowKeyIcon = 26;
inline constexpr int32_t kRepellentIcon = 28;
inline constexpr int32_t kInductorIcon = 30;
inline constexpr int32_t kCompassIcon = 32;  // 32 ahead, 33 north, 34 south
inline constexpr int32_t kSniperScope = 35;
inline constexpr int32_t kPostProcessingQuad = 36;
inline constexpr int32_t kProjectile = 37;
inline constexpr int32_t kProjectileBlast = 38;
inline constexpr int32_t kMainMenuScreen = 39;
inline constexpr int32_t kMenuIndicator = 40;
inline constexpr int32_t kVersionBadge = 41;
inline constexpr int32_t kAboutScreen = 42;
inline constexpr int32_t kCreditsScreen = 43;
inline constexpr int32_t kLoadingScreen = 44;
inline constexpr int32_t kPlayerDeadPicture = 45;
inline constexpr int32_t kVictoryPicture = 46;
inline constexpr int32_t kBloodFrame = 47;
inline constexpr int32_t kMapBackground = 48;
inline constexpr int32_t kFirstFogged = 49;  // the traces, cubes and frames that take the night fog, 49 ... 71
inline constexpr int32_t kLastFogged = 71;
inline constexpr int32_t kFirstSolidCube = 52;  // the four brick styles and the teleport wall, 52 ... 56
inline constexpr int32_t kLastSolidCube = 56;
inline constexpr int32_t kEnemySphere = 100;
inline constexpr int32_t kMapTrace = 998;
inline constexpr int32_t kMapPlayerMarker = 999;

}  // namespace render_id
