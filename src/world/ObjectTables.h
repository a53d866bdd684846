#pragma once
// The definitions of everything that can stand on a world cell: models (the
// item table) and cube-like blocks drawn from registry render objects (the
// block table). A cell refers to one entry through isBlock and objectType.
#include <cstdint>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

// Interaction kinds handed to the interaction rules.
enum class Interaction : int32_t {
    NoInteraction = 0,
    HealthPack = 1,
    ExtraHealth = 2,
    Ammunition = 3,
    Hazard = 4,
    Collectable = 5,
    LockedGate = 6,
    ObstacleNeedingItem = 7,
    EnergySlot = 8,
    SpaceshipExit = 9,
    RouteTrace = 10,
    TeleportWall = 11,
    ForceField = 12,
};

// Item table ids.
namespace item {
inline constexpr int32_t Health = 1;
inline constexpr int32_t ExtraHealth = 2;
inline constexpr int32_t Ammo = 3;
inline constexpr int32_t Stalagmites = 4;
inline constexpr int32_t Cactus = 5;
inline constexpr int32_t LavaPlant = 6;
inline constexpr int32_t LavaPlantTall = 7;
inline constexpr int32_t CloakerNode = 8;
inline constexpr int32_t EnergyCell = 9;
inline constexpr int32_t EnergyPlatform = 10;
inline constexpr int32_t ConnectedCells = 11;  // an inventory counter, no object
inline constexpr int32_t ScannerCard = 12;
inline constexpr int32_t Hiyura = 13;
inline constexpr int32_t PlasmaInjector = 14;
inline constexpr int32_t Spaceship = 15;
inline constexpr int32_t FlagPole = 16;
inline constexpr int32_t Tree = 17;
inline constexpr int32_t TreeBlocking = 18;
inline constexpr int32_t Rock = 19;
inline constexpr int32_t Plant = 20;
inline constexpr int32_t Reeds = 21;
inline constexpr int32_t Skull = 22;
inline constexpr int32_t Skeleton = 23;
inline constexpr int32_t ForceFieldYellow = 24;  // 24 ... 28: yellow, blue, green, violet, red
inline constexpr int32_t ForceFieldBlue = 25;
inline constexpr int32_t ForceFieldGreen = 26;
inline constexpr int32_t ForceFieldViolet = 27;
inline constexpr int32_t ForceFieldRed = 28;
inline constexpr int32_t FirstStatue = 29;  // 29 ... 33, same colour order as the force fields
inline constexpr int32_t BlueRepellent = 34;
inline constexpr int32_t WormAlien = 35;
inline constexpr int32_t RedInductor = 36;
inline constexpr int32_t RuneMonolith = 37;
inline constexpr int32_t KeyRed = 38;
inline constexpr int32_t KeyGreen = 39;
inline constexpr int32_t KeyYellow = 40;
inline constexpr int32_t GateRed = 41;  // 41/42 red, 43/44 green, 45/46 yellow; the even id is turned
inline constexpr int32_t GateGreen = 43;
inline constexpr int32_t GateYellow = 45;
inline constexpr int32_t FirstGate = 41;
inline constexpr int32_t LastGate = 46;
inline constexpr int32_t Count = 47;
}  // namespace item

// Block table ids.
namespace block {
inline constexpr int32_t FirstTrace = 1;  // 1 ... 3 route trace marks
inline constexpr int32_t FirstWall = 4;   // 4 ... 7 wall styles
inline constexpr int32_t LastWall = 7;
inline constexpr int32_t Teleport = 8;
inline constexpr int32_t FirstFrame = 9;  // 9 + 4 g + side, g = 0 ... 11
inline constexpr int32_t FrameGroups = 12;
inline constexpr int32_t Count = 57;
}  // namespace block

inline bool isGate(int32_t itemId) { return itemId >= item::FirstGate && itemId <= item::LastGate; }

struct ItemDef {
    int32_t id = 0;
    std::string modelPath;  // empty = nothing to draw
    glm::vec3 offset{0.0f};
    glm::vec3 rotationAxis{0.0f, 1.0f, 0.0f};
    float rotationAngle = 0.0f;  // radians
    glm::vec3 secondAxis{0.0f};
    float secondAngle = 0.0f;
    glm::vec3 scale{1.0f};
    bool spins = false;
    float heightOffset = 5.0f;
    bool blocksMovement = false;
    float hazardHeight = 0.0f;  // 0 = hurts at any height
    float damage = 0.0f;
    Interaction interaction = Interaction::NoInteraction;
    float interactionCooldown = 1.0f;
    bool slidesAlongX = true;
    int32_t requiredItem = 0;
    std::string blockedMessage;
    std::string message;
    std::string mapIcon;  // empty = no map icon
};

struct BlockDef {
    int32_t id = 0;
    int32_t renderObjectId = 0;  // 0 = nothing to draw
    glm::vec3 offset{0.0f};
    glm::vec3 rotationDegrees{0.0f};
    glm::vec3 scale{1.0f};
    bool spins = false;
    float baseHeight = -1.0f;  // negative: that far above the terrain; otherwise absolute
    Interaction interaction = Interaction::NoInteraction;
    float interactionCooldown = 1.0f;
    std::string mapIcon;
};

inline constexpr const char* kModelDirectory = "../Data/Models3D/";

// The two tables, indexed by id: constant data, the same for every fortress.
const std::vector<ItemDef>& itemTable();
const std::vector<BlockDef>& blockTable();
