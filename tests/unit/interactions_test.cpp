#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fortress_testing.h"
#include "gameplay/Interactions.h"
#include "gameplay/Player.h"
#include "util/Random.h"
#include "sound_log.h"

namespace {

using Sounds = std::vector<std::string>;

constexpr int kX = 20;
constexpr int kZ = 30;
constexpr uint32_t kSeed = 7;

// A player with full health and full guns standing on cell (kX, kZ) of a fresh world.
struct Touch : ::testing::Test {
    Player player;
    OneShotLog sound;
    RandomEngine random{kSeed};
    WorldRequests requests;
    std::unique_ptr<WorldCells> grid = std::make_unique<WorldCells>();
    RuleContext context{random, sound, requests, *grid};

    void SetUp() override {
        fortress_testing::freshWorld(*grid);
        player.health = 100;
        player.rifle = makeRifle();
        player.sniperRifle = makeSniperRifle();
        player.cellX = kX;
        player.cellZ = kZ;
    }

    WorldCell& cell() { return (*grid)[kX][kZ]; }

    // Puts the object on the player's cell, as furnishing would, and touches it with
    // its template's interaction kind. Returns the sounds of that touch.
    Sounds touch(int32_t objectType, bool isBlock = false) {
        WorldCell& c = cell();
        c.objectType = objectType;
        c.isBlock = isBlock;
        c.visible = true;
        c.interactive = true;
        const Interaction kind = isBlock ? blockTable()[static_cast<size_t>(objectType)].interaction
                                         : itemTable()[static_cast<size_t>(objectType)].interaction;
        c.blocksMovement = !isBlock && itemTable()[static_cast<size_t>(objectType)].blocksMovement;
        return touchAgain(kind, objectType, isBlock);
    }

    // Touches whatever the cell holds now, without putting it back.
    Sounds touchAgain(Interaction kind, int32_t objectType, bool isBlock = false, int32_t correctField = 24) {
        sound.played.clear();
        outcome = interact(player, {kind, isBlock, objectType}, correctField, context);
        return sound.played;
    }

    bool removalFiled() const { return !requests.removals.empty(); }
    // The last touch's text for the message line; empty = none.
    std::string message() const { return outcome.message; }

    TouchOutcome outcome;  // of the last touch
};

TEST_F(Touch, HealthPacksHealUpToFullAndStayAtFullHealth) {
    struct Case {
        int32_t item;
        int32_t before;
        int32_t after;
        bool taken;
    };
    const Case cases[] = {
        {item::Health, 85, 100, true},      {item::Health, 50, 70, true},
        {item::Health, 100, 100, false},    {item::ExtraHealth, 10, 100, true},
        {item::ExtraHealth, 100, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.item << " at " << c.before);
        requests = {};
        player.health = c.before;
        const Sounds s = touch(c.item);
        EXPECT_EQ(player.health, c.after);
        EXPECT_EQ(removalFiled(), c.taken);
        EXPECT_EQ(cell().objectType, c.taken ? 0 : c.item);
        EXPECT_EQ(s, c.taken ? Sounds{"Item_health"} : Sounds{});
        EXPECT_EQ(message(), "");
    }
}

TEST_F(Touch, AmmunitionFillsOnlyTheGunsThatNeedIt) {
    player.rifle.ammo = 70;  // of 80
    EXPECT_EQ(touch(item::Ammo), Sounds{"Reload"});
    EXPECT_EQ(player.rifle.ammo, 80);
    EXPECT_EQ(player.sniperRifle.ammo, 20);
    EXPECT_TRUE(removalFiled());

    requests = {};
    player.sniperRifle.ammo = 3;
    EXPECT_EQ(touch(item::Ammo), Sounds{"Reload"});
    EXPECT_EQ(player.sniperRifle.ammo, 8);

    // Both full: the box stays, silently.
    requests = {};
    player.sniperRifle.ammo = 20;
    EXPECT_EQ(touch(item::Ammo), Sounds{});
    EXPECT_FALSE(removalFiled());
    EXPECT_EQ(cell().objectType, item::Ammo);
}

TEST_F(Touch, HazardsHurtFeetBelowTheirHeight) {
    struct Case {
        int32_t item;
        float eyeY;  // lastPosition.y over ground 3
        int32_t healthAfter;
    };
    const Case cases[] = {
        {item::Stalagmites, 13.0f, 88},   // no height: hurts even in mid-jump
        {item::Stalagmites, 40.0f, 88},
        {item::LavaPlant, 13.0f, 80},     // feet at the ground: under the plant's 5
        {item::LavaPlantTall, 17.9f, 80},  // feet at 7.9 < 8
        {item::LavaPlant, 18.0f, 100},    // feet at 8: jumped over
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "item " << c.item << " eye " << c.eyeY);
        player.health = 100;
        player.groundHeight = 3.0f;
        player.lastPosition.y = c.eyeY;
        const Sounds s = touch(c.item);
        EXPECT_EQ(player.health, c.healthAfter);
        EXPECT_EQ(s.size(), c.healthAfter < 100 ? 1u : 0u);
        if (!s.empty()) {
            EXPECT_EQ(s[0].rfind("PlayerDamage_", 0), 0u) << s[0];
        }
        EXPECT_EQ(cell().objectType, c.item);  // hazards stay
    }
}

TEST_F(Touch, PickUpsEnterTheInventoryWithTheirMessage) {
    struct Case {
        int32_t item;
        const char* message;
        bool remembered;  // a scanner target
    };
    const Case cases[] = {
        {item::CloakerNode, "Has encontrado y desactivado un nodo del encubridor", true},
        {item::EnergyCell, "Consigues una celula de energia para tu nave", true},
        {item::ScannerCard, "Consigues una tarjeta para escaneos de objetivos", false},
        {item::Hiyura, "Has rescatado a Hiyura. Esta inconsciente pero viva", true},
        {item::PlasmaInjector, "Consigues el Inyector de Plasma para tu nave", false},
        {item::KeyRed, "Consigues la llave roja", false},
        {item::BlueRepellent, "Consigues el repelente azul", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        player.collectedTargets.clear();
        requests = {};
        EXPECT_EQ(touch(c.item), Sounds{"PickUpInv"});
        EXPECT_EQ(player.itemCount(c.item), 1);
        EXPECT_EQ(message(), c.message);
        EXPECT_EQ(cell().objectType, 0);
        ASSERT_EQ(requests.removals.size(), 1u);
        EXPECT_EQ(requests.removals[0].i, kX);
        EXPECT_EQ(requests.removals[0].j, kZ);
        EXPECT_FALSE(requests.removals[0].slide);
        const std::vector<CollectedTarget> remembered{{kX, c.item, kZ}};
        EXPECT_EQ(player.collectedTargets, c.remembered ? remembered : std::vector<CollectedTarget>{});
    }
}

TEST_F(Touch, OneEnergyCellAtATimeUntilItIsConnected) {
    touch(item::EnergyCell);
    ASSERT_EQ(player.itemCount(item::EnergyCell), 1);

    // The second is refused with its message and stays where it is.
    requests = {};
    EXPECT_EQ(touch(item::EnergyCell), Sounds{});
    EXPECT_EQ(message(), "No puedes transportar mas de una celula de energia");
    EXPECT_EQ(player.itemCount(item::EnergyCell), 1);
    EXPECT_EQ(cell().objectType, item::EnergyCell);
    EXPECT_FALSE(removalFiled());
    EXPECT_EQ(player.collectedTargets.size(), 1u);

    // Connecting it at a platform: the platform keeps its cell and shows the cell on it.
    requests = {};
    EXPECT_EQ(touch(item::EnergyPlatform), Sounds{"EnergyCellConnected"});
    EXPECT_EQ(message(), "Celula de energia conectada");
    EXPECT_EQ(player.itemCount(item::EnergyCell), 0);
    EXPECT_EQ(player.itemCount(item::ConnectedCells), 1);
    EXPECT_EQ(cell().objectType, item::EnergyPlatform);
    EXPECT_TRUE(cell().blocksMovement);
    EXPECT_FALSE(cell().interactive);
    EXPECT_FALSE(removalFiled());
    ASSERT_EQ(requests.placements.size(), 1u);
    const ObjectPlacement& p = requests.placements[0];
    EXPECT_EQ(p.i, kX);
    EXPECT_EQ(p.j, kZ);
    EXPECT_EQ(p.objectId, item::EnergyCell);
    EXPECT_FALSE(p.isBlock);
    EXPECT_TRUE(p.visible);
    EXPECT_EQ(player.collectedTargets.size(), 1u);  // the counter is no target

    // Now the second can be taken, and a second platform counts on.
    EXPECT_EQ(touch(item::EnergyCell), Sounds{"PickUpInv"});
    EXPECT_EQ(player.itemCount(item::EnergyCell), 1);
    touch(item::EnergyPlatform);
    EXPECT_EQ(player.itemCount(item::ConnectedCells), 2);

    // A platform touched with nothing to connect.
    requests = {};
    EXPECT_EQ(touch(item::EnergyPlatform), Sounds{"NoItemInv"});
    EXPECT_EQ(message(), "Debes conectar aqui una de las celulas de energia para tu nave");
    EXPECT_TRUE(cell().interactive);
    EXPECT_TRUE(requests.placements.empty());
}

TEST_F(Touch, TheFifteenthNodeRevealsHiyuraInsteadOfItsOwnMessage) {
    for (int n = 1; n <= 14; ++n) {
        touch(item::CloakerNode);
        ASSERT_FALSE(outcome.revealHiyura) << n;
    }
    EXPECT_EQ(message(), "Has encontrado y desactivado un nodo del encubridor");
    EXPECT_EQ(touch(item::CloakerNode), Sounds{"PickUpInv"});
    EXPECT_EQ(player.itemCount(item::CloakerNode), 15);
    EXPECT_TRUE(outcome.revealHiyura);
    EXPECT_EQ(message(), "Encubridor desactivado. Busca y rescata a Hiyura");
    EXPECT_EQ(player.collectedTargets.size(), 15u);
}

TEST_F(Touch, AKeyOpensEveryGateOfItsColourAndIsKept) {
    player.addItem(item::KeyRed, 1);
    struct Case {
        int32_t gate;
        bool alongX;
    };
    for (const Case c : {Case{item::GateRed, true}, Case{item::GateRed + 1, false}, Case{item::GateRed, true}}) {
        SCOPED_TRACE(c.gate);
        requests = {};
        EXPECT_EQ(touch(c.gate), Sounds{"OpenDoor"});
        ASSERT_EQ(requests.removals.size(), 1u);
        EXPECT_TRUE(requests.removals[0].slide);
        EXPECT_EQ(requests.removals[0].slideAlongX, c.alongX);
        EXPECT_FALSE(cell().blocksMovement);
        EXPECT_EQ(player.itemCount(item::KeyRed), 1);
    }

    requests = {};
    EXPECT_EQ(touch(item::GateGreen + 1), Sounds{"NoItemInv"});
    EXPECT_EQ(message(), "Puerta cerrada. Necesitas la llave verde");
    EXPECT_FALSE(removalFiled());
    EXPECT_TRUE(cell().blocksMovement);
}

TEST_F(Touch, ObstaclesNeedTheirItemWhichIsKept) {
    struct Case {
        int32_t obstacle;
        int32_t heldItem;  // 0: nothing
        const char* message;
        const char* sound;
    };
    const Case cases[] = {
        {item::WormAlien, item::BlueRepellent, "Ahuyentas al gusano usando el repelente azul", "RemoveItem"},
        {item::WormAlien, item::RedInductor,
         "Un gusano Sorlock te bloquea el paso. Necesitas el repelente azul para ahuyentarlo", "NoItemInv"},
        {item::RuneMonolith, item::RedInductor, "Eliminas el monolito usando el inductor rojo", "RemoveItem"},
        {item::RuneMonolith, 0, "Un monolito runico te bloquea el paso. Necesitas el inductor rojo", "NoItemInv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        player.inventory.clear();
        if (c.heldItem != 0) player.addItem(c.heldItem, 1);
        requests = {};
        const bool opens = std::string(c.sound) == "RemoveItem";
        EXPECT_EQ(touch(c.obstacle), Sounds{c.sound});
        EXPECT_EQ(message(), c.message);
        EXPECT_EQ(removalFiled(), opens);
        if (opens) {
            EXPECT_FALSE(requests.removals[0].slide);
        }
        EXPECT_EQ(cell().objectType, opens ? 0 : c.obstacle);
        if (c.heldItem != 0) {
            EXPECT_EQ(player.itemCount(c.heldItem), 1);
        }
    }
}

TEST_F(Touch, TheSpaceshipReportsTheLastMissingPieceOrStartsTheEscape) {
    constexpr const char* kNoHiyura = "Debes rescatar a Hiyura antes de escapar del planeta";
    constexpr const char* kNoInjector = "El Inyector de Plasma de tu nave esta roto, necesitas uno nuevo";
    constexpr const char* kNoEnergy = "Tu nave no tiene energia. Debes conectar las 4 celulas de energia";
    struct Case {
        bool hiyura;
        bool injector;
        int32_t cells;
        const char* message;
    };
    const Case cases[] = {
        {false, false, 0, kNoEnergy},  {false, true, 4, kNoHiyura}, {true, false, 4, kNoInjector},
        {false, false, 4, kNoInjector}, {true, true, 3, kNoEnergy}, {true, true, 5, kNoEnergy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        player.inventory.clear();
        if (c.hiyura) player.addItem(item::Hiyura, 1);
        if (c.injector) player.addItem(item::PlasmaInjector, 1);
        if (c.cells > 0) player.addItem(item::ConnectedCells, c.cells);
        player.moveForward = true;
        EXPECT_EQ(touch(item::Spaceship), Sounds{"NoItemInv"});
        EXPECT_EQ(message(), c.message);
        EXPECT_FALSE(player.escaping);
        EXPECT_TRUE(player.moveForward);
        EXPECT_TRUE(cell().interactive);
    }

    player.inventory.clear();
    player.addItem(item::Hiyura, 1);
    player.addItem(item::PlasmaInjector, 1);
    player.addItem(item::ConnectedCells, 4);
    player.moveForward = player.moveBack = player.moveLeft = player.moveRight = true;
    EXPECT_EQ(touch(item::Spaceship), Sounds{});
    EXPECT_EQ(message(), "Felicidades, has completado la mision con exito. Escapa de este planeta");
    EXPECT_TRUE(player.escaping);
    EXPECT_FALSE(player.anyMovementKey());
    EXPECT_FALSE(cell().interactive);
    EXPECT_EQ(cell().objectType, item::Spaceship);
}

TEST_F(Touch, RouteMarksVanishAndTeleportsStay) {
    cell().routeMark = 2;
    EXPECT_EQ(touch(block::FirstTrace + 1, true), Sounds{"Follow_trace_path"});
    EXPECT_EQ(cell().objectType, 0);
    EXPECT_EQ(cell().routeMark, 0);
    ASSERT_EQ(requests.removals.size(), 1u);
    EXPECT_FALSE(requests.removals[0].slide);
    EXPECT_EQ(message(), "");

    requests = {};
    EXPECT_EQ(touch(block::Teleport, true), Sounds{"Teleport"});
    EXPECT_TRUE(requests.teleport);
    EXPECT_EQ(message(), "Usas un teletransporte");
    EXPECT_EQ(cell().objectType, block::Teleport);
    EXPECT_FALSE(removalFiled());
}

TEST_F(Touch, OnlyTheRightForceFieldLetsThePlayerThrough) {
    const int32_t correct = item::ForceFieldGreen;
    cell().objectType = correct;
    EXPECT_EQ(touchAgain(Interaction::ForceField, correct, false, correct), Sounds{"force_field_correct"});
    EXPECT_EQ(player.health, 100);
    EXPECT_EQ(message(), "");

    RandomEngine expected{kSeed};
    const int32_t v = expected.uniformInt(1, 3);
    const Sounds s = touchAgain(Interaction::ForceField, item::ForceFieldRed, false, correct);
    EXPECT_EQ(s, Sounds{"PlayerDead_" + std::to_string(v)});
    EXPECT_EQ(player.health, 0);
    EXPECT_EQ(message(), "Campo de fuerza incorrecto");
}

TEST_F(Touch, KindsWithoutARuleDoNothing) {
    const Player before = player;
    EXPECT_EQ(touch(item::Tree), Sounds{});
    // A model kind handed a block is no model at all.
    EXPECT_EQ(touchAgain(Interaction::Collectable, item::EnergyCell, true), Sounds{});
    EXPECT_EQ(player.inventory, before.inventory);
    EXPECT_EQ(message(), "");
    EXPECT_FALSE(removalFiled());
    EXPECT_EQ(random.drawsSinceSeed(), 0u);
}

// ---- damage ----

struct Damage : Touch {
    // The sound the next damage should play: its draw taken from a twin of the engine.
    std::string expectedSound(const char* prefix) {
        RandomEngine twin = random;
        return prefix + std::to_string(twin.uniformInt(1, 3));
    }
};

TEST_F(Damage, SoundsByCauseAndDeathBelowOne) {
    struct Case {
        float amount;
        bool byEnemy;
        int32_t before;
        int32_t after;
        const char* sound;
    };
    const Case cases[] = {
        {12.0f, false, 100, 88, "PlayerDamage_"}, {15.0f, true, 100, 85, "PlayerHit_"},
        {4.9f, true, 5, 1, "PlayerHit_"},          // truncated to 4
        {5.0f, false, 5, 0, "PlayerDead_"},       {100.0f, true, 30, 0, "PlayerDead_"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amount << " at " << c.before);
        player.health = c.before;
        player.hurt = false;
        player.hurtTimer = 0.0f;
        const std::string expected = expectedSound(c.sound);
        const uint64_t draws = random.drawsSinceSeed();
        sound.played.clear();
        player.damagePlayer(c.amount, c.byEnemy, context);
        EXPECT_EQ(player.health, c.after);
        EXPECT_TRUE(player.hurt);
        EXPECT_FLOAT_EQ(player.hurtTimer, 2.0f);
        EXPECT_EQ(sound.played, Sounds{expected});
        EXPECT_GT(random.drawsSinceSeed(), draws);
    }
}

TEST_F(Damage, InvulnerableKeepsHealthButFeelsTheHit) {
    player.invulnerable = true;
    const std::string expected = expectedSound("PlayerDamage_");
    player.damagePlayer(100.0f, false, context);
    EXPECT_EQ(player.health, 100);
    EXPECT_TRUE(player.hurt);
    EXPECT_EQ(sound.played, Sounds{expected});
}

TEST_F(Damage, NoneOnceDeadOrEscaping) {
    for (const bool escaping : {false, true}) {
        SCOPED_TRACE(escaping);
        player.dead = !escaping;
        player.escaping = escaping;
        player.health = 40;
        player.damagePlayer(100.0f, true, context);
        EXPECT_EQ(player.health, 40);
        EXPECT_FALSE(player.hurt);
        EXPECT_TRUE(sound.played.empty());
        EXPECT_EQ(random.drawsSinceSeed(), 0u);
    }
}

// ---- inventory ----

TEST(Inventory, CountsTakesAndKeepsFirstPickUpOrder) {
    Player player;
    EXPECT_EQ(player.itemCount(item::KeyRed), 0);
    EXPECT_FALSE(player.takeItem(item::KeyRed));
    EXPECT_EQ(player.addItem(item::ScannerCard, 1), PickUp::Taken);
    EXPECT_EQ(player.addItem(item::KeyRed, 1), PickUp::Taken);
    EXPECT_EQ(player.addItem(item::ScannerCard, 2), PickUp::Taken);
    EXPECT_EQ(player.inventory, (std::vector<InventoryItem>{{item::ScannerCard, 3}, {item::KeyRed, 1}}));
    EXPECT_TRUE(player.takeItem(item::KeyRed));
    EXPECT_FALSE(player.takeItem(item::KeyRed));  // the pair stays, at 0
    EXPECT_EQ(player.inventory.size(), 2u);
    EXPECT_EQ(player.itemCount(item::KeyRed), 0);

    EXPECT_EQ(player.addItem(item::EnergyCell, 1), PickUp::Taken);
    EXPECT_EQ(player.addItem(item::EnergyCell, 1), PickUp::SecondEnergyCellRefused);
    EXPECT_EQ(player.itemCount(item::EnergyCell), 1);
    EXPECT_EQ(player.addItem(item::CloakerNode, 14), PickUp::Taken);
    EXPECT_EQ(player.addItem(item::CloakerNode, 1), PickUp::LastCloakingNode) << "the 15th";
}

}  // namespace
