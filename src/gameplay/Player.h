#pragma once
// The player: a first-person camera walking over the terrain of the fortress, with
// its held keys, jump, collision against blocked cells, the touch trigger that names
// the cell's object for the interaction rules, footsteps, health and inventory.
// Plain records owned by the game's session, so that several can run side by side.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <glm/glm.hpp>

#include "scene/Camera.h"
#include "gameplay/Enemy.h"
#include "gameplay/GameServices.h"
#include "gameplay/InputEvent.h"
#include "scene/Lights.h"
#include "gameplay/RuleContext.h"
#include "gameplay/Weapon.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

// The object of the player's cell, touched this frame: its template's interaction kind
// and the cell's object, for the interaction rules.
struct Touch {
    Interaction kind = Interaction::NoInteraction;
    bool isBlock = false;
    int32_t objectType = 0;
    friend bool operator==(const Touch&, const Touch&) = default;
};

// The first half of the player's frame: whether the frame goes on (not when the player
// is dead or escaping) and what it touched.
struct PlayerMove {
    bool goesOn = false;
    std::optional<Touch> touch;
};

// What adding an item to the inventory did.
enum class PickUp {
    Taken,
    SecondEnergyCellRefused,  // cells are carried one at a time
    LastCloakingNode,         // the 15th: the cloaking device is down and Hiyura shows
};

// weaponMode numbering: which gun is (or is becoming) the one in hand.
inline constexpr int32_t kSniperRifleMode = 0;
inline constexpr int32_t kRifleMode = 1;

inline constexpr glm::vec3 kPlayerStartPosition{250.0f, 0.0f, 200.0f};
inline constexpr float kEyeHeight = 10.0f;
inline constexpr float kWalkSpeed = 80.0f;
inline constexpr float kRunSpeed = 120.0f;

struct AimController;

struct InventoryItem {
    int32_t id = 0;
    int32_t count = 0;
    friend bool operator==(const InventoryItem&, const InventoryItem&) = default;
};

// Where a scanner target was picked up.
struct CollectedTarget {
    int32_t cellX = 0;
    int32_t itemId = 0;
    int32_t cellZ = 0;
    friend bool operator==(const CollectedTarget&, const CollectedTarget&) = default;
};

// One drawing of a gun's view model requested by this frame's animations, in camera
// space: at (1.7, height, depth), turned by yaw about y.
struct GunDraw {
    int32_t gun = kRifleMode;  // numbered as weaponMode
    float height = 0.0f;
    float depth = 0.0f;
    float yaw = 0.0f;
};

// The muzzle flash of a shot that left this frame: its turn (radians about z) and
// its stretch.
struct MuzzleFlash {
    bool shown = false;
    float angle = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
};

struct Player {
    bool moveForward = false;  // W, S, A, D held
    bool moveBack = false;
    bool moveLeft = false;
    bool moveRight = false;
    std::vector<InventoryItem> inventory;  // in order of first pick-up
    std::vector<CollectedTarget> collectedTargets;
    bool walking = false;  // footstep state
    bool running = false;
    bool jumping = false;
    bool jumpLatch = false;  // Space accepted and not yet landed
    bool firing = false;
    int32_t weaponMode = kRifleMode;
    bool switching = false;
    bool switchDone = false;
    bool scoped = false;
    bool sniperShown = false;
    bool flashlightOn = false;
    bool dead = false;
    int32_t flashlightSetting = 0;
    bool hurt = false;
    float hurtTimer = 0.0f;
    int32_t health = 0;
    float jumpSpeed = 70.0f;
    float verticalSpeed = 0.0f;
    float boundMin = 90.0f;  // allowed range of x and z
    float boundMax = 3512.12f;
    glm::vec3 lastPosition{0.0f};  // after this frame's clamp; y is the eye height of the frame before
    float groundHeight = 0.0f;
    int32_t cellX = 0;
    int32_t cellZ = 0;
    float clock = 0.0f;  // seconds of play
    bool escaping = false;
    Spotlight flashlight;
    int32_t currentWeapon = kRifleMode;  // which gun is drawn and fires, numbered as weaponMode
    Weapon rifle;
    Weapon sniperRifle;
    glm::vec3 teleportTarget{0.0f};  // (0, 0, 0) = none
    // A test aid of the headless game: damage runs as usual but the health stays.
    bool invulnerable = false;

    // What this frame's update asked the drawing side to show; cleared at its start.
    std::vector<GunDraw> gunDraws;
    MuzzleFlash muzzleFlash;

    Weapon& currentGun() { return currentWeapon == kSniperRifleMode ? sniperRifle : rifle; }
    const Weapon& currentGun() const { return currentWeapon == kSniperRifleMode ? sniperRifle : rifle; }
    bool anyMovementKey() const { return moveForward || moveBack || moveLeft || moveRight; }

    // Start-up, before the first update (a zero-filled player has no health): places
    // the camera, creates both guns and the flashlight.
    void initialise(Camera& camera, glm::vec3 startPosition = kPlayerStartPosition);
    // A new game: alive, full guns, empty pockets, at the start position.
    void reset(Camera& camera);

    void handleEvents(Camera& camera, const InputEvents& events, GameServices& services);
    // One frame of play comes in two halves, with the touch handed to the interaction
    // rules in between (a pick-up counts for a shot of the same frame; see
    // runPlayerFrame). The first: death, the clock, the escape's view, a teleport, the
    // frame's keys, the step and its bounce off a blocked cell, and the touch of the
    // cell's object once its cooldown has run out.
    PlayerMove move(Camera& camera, float dt, const InputEvents& events, RuleContext& context);
    // The second: the guns, the footsteps, the ground or the jump (gravity is the aim
    // controller's, negative: down), the flashlight and the hurt timer.
    void finishFrame(Camera& camera, const GroundHeight& ground, float dt, AimController& aim, RuleContext& context);

    void setTeleportTarget(int32_t targetCellX, int32_t targetCellZ);

    // After the touch step: the fire-timer tick of the gun in hand, then the switch
    // animation, or else firing or the run, walk or idle pose.
    void updateWeapons(Camera& camera, float dt, AimController& aim, RuleContext& context);
    // A shot or the empty click, when the gun's timer allows.
    void fire(Camera& camera, float dt, AimController& aim, RuleContext& context);
    void switchWeapon();                       // Q released
    void stepFlashlight(GameServices& services);  // F released

    // ---- Inventory and damage ----
    // The count of the first pair with that id; 0 when absent.
    int32_t itemCount(int32_t id) const;
    // Takes one of that item when there is one.
    bool takeItem(int32_t id);
    // Adds n of the item, or refuses a second energy cell.
    PickUp addItem(int32_t id, int32_t n);
    // Health lost to a drone (byEnemy) or to the world; at 0 the next update turns it
    // into death. Nothing once dead or escaping.
    void damagePlayer(float amount, bool byEnemy, RuleContext& context);

private:
    // The steps of the frame, in their order.
    void die(Camera& camera);
    void takeTeleport(Camera& camera);
    void walk(Camera& camera, float dt);
    void keepInBounds(Camera& camera);
    void bounceBack(Camera& camera, glm::vec2 from);
    std::optional<Touch> touch(WorldCell& cell);
    void playFootsteps(GameServices& services);
    void standOrFall(Camera& camera, const GroundHeight& ground, float dt, float gravity);
    void tickHurtTimer(float dt);
};

// Mouse look and the shot ray. Owned by the session beside its Player.
struct AimController {
    glm::vec3 rayOrigin{0.0f};
    glm::vec3 rayDirection{0.0f};
    float mouseX = 0.0f;
    float mouseY = 0.0f;
    bool fireRequest = false;  // a shot left this frame; the ray test serves it
    float gravity = -90.0f;    // the player's fall, units per second squared

    // Turns the camera by each pointer motion of the frame, in order, then tests the shot.
    void update(Camera& camera, float dt, const InputEvents& events, std::vector<Enemy>& enemies,
                int32_t damage, RuleContext& context);
    // Only when a shot left this frame: the ray from the camera along its front hurts
    // every living drone whose sphere it crosses in front of the camera.
    void testShot(const Camera& camera, std::vector<Enemy>& enemies, int32_t damage, RuleContext& context);
};
