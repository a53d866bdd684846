#include "world/ObjectTables.h"

#include <array>

namespace {

constexpr float kPi = 3.14159265358979f;
const glm::vec3 kUp{0.0f, 1.0f, 0.0f};

glm::vec3 uniform(float s) { return glm::vec3(s); }

// The single models; model paths are relative to the model directory here.
std::vector<ItemDef> singleItems() {
    return {
        {.id = item::Health, .modelPath = "Items/Item_health.dae", .scale = uniform(0.015f), .spins = true,
         .interaction = Interaction::HealthPack},
        {.id = item::ExtraHealth, .modelPath = "Items/Item_extra_health.dae", .scale = uniform(5.0f), .spins = true,
         .interaction = Interaction::ExtraHealth},
        {.id = item::Ammo, .modelPath = "Items/Item_ammo.dae", .scale = uniform(8.0f), .spins = true,
         .interaction = Interaction::Ammunition},
        {.id = item::Stalagmites, .modelPath = "Damages/stalagmites.dae", .offset = {18.0f, 0.0f, 5.0f},
         .scale = {6.0f, 4.0f, 6.0f}, .heightOffset = 6.0f, .damage = 12.0f, .interaction = Interaction::Hazard},
        {.id = item::Cactus, .modelPath = "Damages/cactus_1.dae", .scale = {22.0f, 25.0f, 22.0f}, .heightOffset = 0.0f,
         .damage = 12.0f, .interaction = Interaction::Hazard},
        {.id = item::LavaPlant, .modelPath = "Damages/vegetation_lava.dae", .scale = {5.0f, 1.5f, 5.0f},
         .heightOffset = -2.0f, .hazardHeight = 5.0f, .damage = 20.0f, .interaction = Interaction::Hazard,
         .interactionCooldown = 0.5f},
        {.id = item::LavaPlantTall, .modelPath = "Damages/vegetation_lava_2.dae", .scale = {25.0f, 35.0f, 25.0f},
         .heightOffset = 2.0f, .hazardHeight = 5.0f, .damage = 20.0f, .interaction = Interaction::Hazard,
         .interactionCooldown = 0.5f},
        {.id = item::CloakerNode, .modelPath = "Items/TreasureChest.dae", .scale = uniform(0.1f),
         .interaction = Interaction::Collectable, .message = "Has encontrado y desactivado un nodo del encubridor",
         .mapIcon = "ItemChest_IconMap"},
        {.id = item::EnergyCell, .modelPath = "Items/Energy_Cell.dae", .scale = uniform(4.0f), .spins = true,
         .heightOffset = 2.0f, .interaction = Interaction::Collectable, .interactionCooldown = 4.0f,
         .message = "Consigues una celula de energia para tu nave", .mapIcon = "EnergyCell_IconMap"},
        {.id = item::EnergyPlatform, .modelPath = "Scene/Platform_energy_cell.dae", .scale = uniform(0.23f),
         .heightOffset = 4.0f, .blocksMovement = true, .interaction = Interaction::EnergySlot, .interactionCooldown = 2.0f,
         .requiredItem = item::EnergyCell,
         .blockedMessage = "Debes conectar aqui una de las celulas de energia para tu nave",
         .message = "Celula de energia conectada", .mapIcon = "SlotCell_IconMap"},
        {.id = item::ScannerCard, .modelPath = "Items/scanner_map.dae", .scale = uniform(80.0f), .spins = true,
         .heightOffset = 2.0f, .interaction = Interaction::Collectable, .interactionCooldown = 2.0f,
         .message = "Consigues una tarjeta para escaneos de objetivos"},
        {.id = item::Hiyura, .modelPath = "Scene/Girl_rescue/girl_rescue.dae", .scale = uniform(14.0f), .spins = true,
         .heightOffset = 4.0f, .interaction = Interaction::Collectable,
         .message = "Has rescatado a Hiyura. Esta inconsciente pero viva", .mapIcon = "Hiyura_IconMap"},
        {.id = item::PlasmaInjector, .modelPath = "Items/engine_device.dae", .scale = uniform(8.0f), .spins = true,
         .heightOffset = 10.0f, .interaction = Interaction::Collectable, .message = "Consigues el Inyector de Plasma para tu nave",
         .mapIcon = "EngineDevice_IconMap"},
        {.id = item::Spaceship, .modelPath = "Scene/Spaceship/spaceship.dae", .offset = {0.0f, 0.0f, 5.0f},
         .scale = uniform(0.1f), .heightOffset = -4.0f, .blocksMovement = true, .interaction = Interaction::SpaceshipExit,
         .interactionCooldown = 2.0f,
         .message = "Felicidades, has completado la mision con exito. Escapa de este planeta",
         .mapIcon = "Spaceship_IconMap"},
        {.id = item::FlagPole, .modelPath = "FlagPole/Pole.dae", .offset = {18.0f, 0.0f, 5.0f}, .heightOffset = 6.0f},
        {.id = item::Tree, .modelPath = "Scene/tree_1.dae", .scale = {5.0f, 8.0f, 5.0f}, .heightOffset = 0.0f},
        {.id = item::TreeBlocking, .modelPath = "Scene/tree_2.dae", .scale = {5.0f, 7.0f, 5.0f}, .heightOffset = 0.0f,
         .blocksMovement = true},
        {.id = item::Rock, .modelPath = "Scene/rock_1.dae", .offset = {0.0f, 0.0f, -20.0f}, .scale = uniform(18.0f),
         .heightOffset = 16.0f, .blocksMovement = true},
        {.id = item::Plant, .modelPath = "Scene/plant_1.dae", .scale = uniform(12.0f), .heightOffset = 7.0f},
        {.id = item::Reeds, .modelPath = "Scene/juncos_1.dae", .scale = uniform(22.0f), .heightOffset = 30.0f},
        {.id = item::Skull, .modelPath = "Scene/skeleton_head.dae", .rotationAxis = {1.0f, 0.0f, 0.0f},
         .rotationAngle = -kPi / 4.0f, .scale = uniform(4.0f), .heightOffset = 2.0f},
        {.id = item::Skeleton, .modelPath = "Scene/skeleton_1.dae", .scale = uniform(8.0f), .heightOffset = 0.0f},
        {.id = item::BlueRepellent, .modelPath = "Items/repelente_azul.dae", .scale = uniform(8.0f), .spins = true,
         .heightOffset = 8.0f, .interaction = Interaction::Collectable, .message = "Consigues el repelente azul",
         .mapIcon = "RepelenteAzul_IconMap"},
        {.id = item::WormAlien, .modelPath = "Scene/Worm_alien.dae", .scale = uniform(8.0f), .spins = true,
         .heightOffset = 26.0f, .blocksMovement = true, .interaction = Interaction::ObstacleNeedingItem,
         .requiredItem = item::BlueRepellent,
         .blockedMessage = "Un gusano Sorlock te bloquea el paso. Necesitas el repelente azul para ahuyentarlo",
         .message = "Ahuyentas al gusano usando el repelente azul", .mapIcon = "WormAlien_IconMap"},
        {.id = item::RedInductor, .modelPath = "Items/cristal_rojo.dae", .scale = uniform(10.0f), .spins = true,
         .heightOffset = 12.0f, .interaction = Interaction::Collectable, .message = "Consigues el inductor rojo",
         .mapIcon = "InductorRojo_IconMap"},
        {.id = item::RuneMonolith, .modelPath = "Scene/monolith_alien.dae", .offset = {0.0f, -2.0f, 0.0f},
         .rotationAxis = {0.0f, 0.0f, 1.0f}, .rotationAngle = -kPi / 2.0f, .scale = {30.0f, 24.0f, 24.0f},
         .heightOffset = 0.0f, .blocksMovement = true, .interaction = Interaction::ObstacleNeedingItem,
         .requiredItem = item::RedInductor,
         .blockedMessage = "Un monolito runico te bloquea el paso. Necesitas el inductor rojo",
         .message = "Eliminas el monolito usando el inductor rojo", .mapIcon = "MonolithAlien_IconMap"},
    };
}

constexpr std::array<const char*, 5> kForceFieldModels = {
    "Force_field/force_field_1_yellow.dae", "Force_field/force_field_2_blue.dae",
    "Force_field/force_field_3_green.dae", "Force_field/force_field_4_violet.dae", "Force_field/force_field_5_red.dae"};
constexpr std::array<const char*, 5> kStatueModels = {
    "Force_field/Statue_angel_1_yellow.dae", "Force_field/Statue_angel_2_blue.dae",
    "Force_field/Statue_angel_3_green.dae", "Force_field/Statue_angel_4_violet.dae",
    "Force_field/Statue_angel_5_red.dae"};

struct KeyAndGate {
    const char* keyModel;
    const char* keyMessage;
    const char* keyIcon;
    const char* gateModel;
    const char* gateBlocked;
    const char* gateIcon;
};
constexpr std::array<KeyAndGate, 3> kKeysAndGates = {{
    {"Items/Key_red.dae", "Consigues la llave roja", "KeyRed_IconMap", "Scene/JailGateRed.dae",
     "Puerta cerrada. Necesitas la llave roja", "DoorRed_IconMap"},
    {"Items/Key_green.dae", "Consigues la llave verde", "KeyGreen_IconMap", "Scene/JailGateGreen.dae",
     "Puerta cerrada. Necesitas la llave verde", "DoorGreen_IconMap"},
    {"Items/Key_yellow.dae", "Consigues la llave amarilla", "KeyYellow_IconMap", "Scene/JailGateYellow.dae",
     "Puerta cerrada. Necesitas la llave amarilla", "DoorYellow_IconMap"},
}};

void put(std::vector<ItemDef>& table, ItemDef def) {
    def.modelPath = std::string(kModelDirectory) + def.modelPath;
    table[static_cast<size_t>(def.id)] = std::move(def);
}

void putColouredGroups(std::vector<ItemDef>& table) {
    for (int32_t k = 0; k < 5; ++k) {
        put(table, {.id = item::ForceFieldYellow + k, .modelPath = kForceFieldModels[static_cast<size_t>(k)],
                    .scale = uniform(12.0f), .spins = true, .heightOffset = 12.0f, .interaction = Interaction::ForceField,
                    .interactionCooldown = 2.0f, .mapIcon = "ForceField_IconMap"});
        put(table, {.id = item::FirstStatue + k, .modelPath = kStatueModels[static_cast<size_t>(k)],
                    .scale = uniform(22.0f), .heightOffset = 0.0f, .blocksMovement = true, .mapIcon = "Statue_IconMap"});
    }
    for (int32_t k = 0; k < 3; ++k) {
        const KeyAndGate& kg = kKeysAndGates[static_cast<size_t>(k)];
        const int32_t key = item::KeyRed + k;
        put(table, {.id = key, .modelPath = kg.keyModel, .scale = uniform(8.0f), .spins = true, .heightOffset = 8.0f,
                    .interaction = Interaction::Collectable, .message = kg.keyMessage, .mapIcon = kg.keyIcon});
        const ItemDef gate{.id = item::GateRed + 2 * k, .modelPath = kg.gateModel, .offset = {25.0f, 0.0f, 0.0f},
                           .scale = uniform(4.5f), .heightOffset = -3.0f, .blocksMovement = true,
                           .interaction = Interaction::LockedGate, .interactionCooldown = 2.0f, .slidesAlongX = true,
                           .requiredItem = key, .blockedMessage = kg.gateBlocked, .mapIcon = kg.gateIcon};
        put(table, gate);
        // The turned gate closes a doorway in a wall that runs the other way.
        ItemDef turned = gate;
        turned.id = gate.id + 1;
        turned.offset = {0.0f, 0.0f, -25.0f};
        turned.rotationAxis = kUp;
        turned.rotationAngle = kPi / 2.0f;
        turned.slidesAlongX = false;
        put(table, turned);
    }
}

// Frame sides: 0 hangs on the wall to the north, 1 south, 2 west, 3 east.
struct FrameSide {
    glm::vec3 offset;
    glm::vec3 rotationDegrees;
};
const std::array<FrameSide, 4> kFrameSides = {{
    {{0.0f, 0.0f, -24.0f}, {0.0f, 0.0f, 0.0f}},
    {{0.0f, 0.0f, 24.0f}, {0.0f, 180.0f, 0.0f}},
    {{-24.0f, 0.0f, 0.0f}, {0.0f, 90.0f, 0.0f}},
    {{24.0f, 0.0f, 0.0f}, {0.0f, -90.0f, 0.0f}},
}};

constexpr int32_t kFirstTraceObject = 49;
constexpr int32_t kFirstWallObject = 52;
constexpr int32_t kTeleportObject = 56;
constexpr int32_t kFirstFrameObject = 60;
const glm::vec3 kWallScale{50.0f, 100.0f, 50.0f};
constexpr float kWallBaseHeight = 60.0f;

std::vector<BlockDef> makeBlockTable() {
    std::vector<BlockDef> table(block::Count);
    for (int32_t id = 0; id < block::Count; ++id) table[static_cast<size_t>(id)].id = id;

    for (int32_t k = 0; k < 3; ++k) {
        table[static_cast<size_t>(block::FirstTrace + k)] =
            {.id = block::FirstTrace + k, .renderObjectId = kFirstTraceObject + k, .scale = uniform(0.5f),
             .spins = true, .baseHeight = -2.0f, .interaction = Interaction::RouteTrace, .mapIcon = "Trace_IconMap"};
    }
    for (int32_t k = 0; k < 4; ++k) {
        table[static_cast<size_t>(block::FirstWall + k)] =
            {.id = block::FirstWall + k, .renderObjectId = kFirstWallObject + k, .scale = kWallScale,
             .baseHeight = kWallBaseHeight, .mapIcon = "Wall_" + std::to_string(k + 1) + "_IconMap"};
    }
    table[block::Teleport] = {.id = block::Teleport, .renderObjectId = kTeleportObject, .scale = kWallScale,
                                   .baseHeight = kWallBaseHeight, .interaction = Interaction::TeleportWall,
                                   .interactionCooldown = 2.0f, .mapIcon = "Teleport_IconMap"};
    for (int32_t g = 0; g < block::FrameGroups; ++g) {
        const glm::vec3 scale = g % 2 == 0 ? glm::vec3{15.0f, 30.0f, 1.0f} : glm::vec3{15.0f, 15.0f, 1.0f};
        for (int32_t side = 0; side < 4; ++side) {
            const int32_t id = block::FirstFrame + 4 * g + side;
            const FrameSide& fs = kFrameSides[static_cast<size_t>(side)];
            table[static_cast<size_t>(id)] = {.id = id, .renderObjectId = kFirstFrameObject + g,
                                                   .offset = fs.offset, .rotationDegrees = fs.rotationDegrees,
                                                   .scale = scale, .baseHeight = 70.0f};
        }
    }
    return table;
}

std::vector<ItemDef> makeItemTable() {
    std::vector<ItemDef> table(item::Count);
    for (int32_t id = 0; id < item::Count; ++id) table[static_cast<size_t>(id)].id = id;
    for (ItemDef& def : singleItems()) put(table, std::move(def));
    putColouredGroups(table);
    return table;
}

}  // namespace

// Built on first use and never changed after: every game in the process reads the same
// definitions, so two games side by side cannot disturb each other through them.
const std::vector<BlockDef>& blockTable() {
    static const std::vector<BlockDef> table = makeBlockTable();
    return table;
}

const std::vector<ItemDef>& itemTable() {
    static const std::vector<ItemDef> table = makeItemTable();
    return table;
}
