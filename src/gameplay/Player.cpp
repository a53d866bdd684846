#include "gameplay/Player.h"

#include <algorithm>
#include <cmath>

#include "util/Random.h"
#include "world/ObjectTables.h"
#include "world/WorldGrid.h"

namespace {

// The warm white of flashlight setting 1.
constexpr glm::vec3 kFlashlightDiffuse{0.92f, 0.76f, 0.35f};
constexpr glm::vec3 kFlashlightSpecular{1.0f, 1.0f, 1.0f};

// The interaction kind and cooldown of the template a cell refers to; kind 0 when
// the cell names no entry of its table.
struct Template {
    Interaction kind = Interaction::NoInteraction;
    float cooldown = 0.0f;
};

Template templateOf(const WorldCell& c) {
    const auto id = static_cast<size_t>(c.objectType);
    if (c.objectType < 0) return {};
    if (c.isBlock) {
        if (id >= blockTable().size()) return {};
        return {blockTable()[id].interaction, blockTable()[id].interactionCooldown};
    }
    if (id >= itemTable().size()) return {};
    return {itemTable()[id].interaction, itemTable()[id].interactionCooldown};
}

}  // namespace

void Player::initialise(Camera& camera, glm::vec3 startPosition) {
    camera.position = startPosition;
    rifle = makeRifle();
    sniperRifle = makeSniperRifle();
    currentWeapon = kRifleMode;
    weaponMode = kRifleMode;
    boundMin = 90.0f;
    boundMax = 3512.12f;
    flashlight.setProperties(kFlashlightDiffuse, kFlashlightSpecular, 1.0f, 0.02f, 0.000038f, 35.5f, 45.0f);
    health = 100;
    flashlightOn = true;
    flashlightSetting = 1;
}

void Player::reset(Camera& camera) {
    flashlightOn = true;
    dead = false;
    flashlightSetting = 1;
    // Setting 1 is the warm white; the last game may have left the beam coloured or dark.
    flashlight.diffuse = kFlashlightDiffuse;
    flashlight.specular = kFlashlightSpecular;
    health = 100;
    moveForward = moveBack = moveLeft = moveRight = false;
    walking = false;
    // Releases that happened after death or in the menu never reached the player:
    // without this a new game would start firing, scoped, running or mid-jump.
    running = false;
    firing = false;
    scoped = false;
    switching = false;
    switchDone = false;
    sniperShown = false;
    jumping = false;
    jumpLatch = false;
    verticalSpeed = 0.0f;
    teleportTarget = glm::vec3(0.0f);
    camera.speed = kWalkSpeed;
    camera.position = kPlayerStartPosition;
    camera.lockCamera(false);
    rifle.refill();
    sniperRifle.refill();
    hurt = false;
    hurtTimer = 0.0f;
    clock = 0.0f;
    escaping = false;
    currentWeapon = kRifleMode;
    weaponMode = kRifleMode;
    inventory.clear();
    collectedTargets.clear();
}

void Player::handleEvents(Camera& camera, const InputEvents& events, GameServices& services) {
    for (const InputEvent& e : events) {
        switch (e.type) {
        case InputType::ButtonDown:
            if (e.button == MouseButton::Left) firing = true;
            if (e.button == MouseButton::Right && weaponMode == kSniperRifleMode) scoped = true;
            break;
        case InputType::ButtonUp:
            if (e.button == MouseButton::Left) firing = false;
            if (e.button == MouseButton::Right) scoped = false;
            break;
        case InputType::KeyDown:
            switch (e.key) {
            case Key::W: moveForward = walking = true; break;
            case Key::S: moveBack = walking = true; break;
            case Key::A: moveLeft = walking = true; break;
            case Key::D: moveRight = walking = true; break;
            case Key::Space:
                if (!jumpLatch) {
                    jumping = jumpLatch = true;
                    verticalSpeed = jumpSpeed;
                }
                break;
            case Key::LShift:
                // Shift alone does not run: it takes a movement key held at the press.
                if (anyMovementKey()) {
                    camera.speed = kRunSpeed;
                    running = true;
                }
                walking = false;
                break;
            default: break;
            }
            break;
        case InputType::KeyUp:
            switch (e.key) {
            case Key::W: moveForward = false; break;
            case Key::S: moveBack = false; break;
            case Key::A: moveLeft = false; break;
            case Key::D: moveRight = false; break;
            case Key::LShift:
                running = false;
                if (anyMovementKey()) walking = true;
                // Always the walking speed, even when the scope had slowed it.
                camera.speed = kWalkSpeed;
                break;
            case Key::Q: switchWeapon(); break;
            case Key::F: stepFlashlight(services); break;
            default: break;
            }
            break;
        default: break;
        }
    }
}

PlayerMove Player::move(Camera& camera, float dt, const InputEvents& events, RuleContext& context) {
    gunDraws.clear();
    muzzleFlash.shown = false;
    if (health < 1) {
        die(camera);
        return {};
    }
    clock += dt;
    if (escaping) {
        camera.escapeView();
        return {};
    }
    if (!anyMovementKey()) walking = running = false;
    takeTeleport(camera);
    const glm::vec2 from{camera.position.x, camera.position.z};
    handleEvents(camera, events, context.services);
    walk(camera, dt);
    keepInBounds(camera);
    if (!insideWorld(cellX, cellZ)) return {true, std::nullopt};
    WorldCell& c = context.grid[static_cast<size_t>(cellX)][static_cast<size_t>(cellZ)];
    if (c.blocksMovement) bounceBack(camera, from);
    // A blocked cell can still be touched: walking into a closed door bounces and opens it.
    return {true, touch(c)};
}

void Player::finishFrame(Camera& camera, const GroundHeight& ground, float dt, AimController& aim,
                         RuleContext& context) {
    updateWeapons(camera, dt, aim, context);
    playFootsteps(context.services);
    standOrFall(camera, ground, dt, aim.gravity);
    if (flashlightOn) {
        flashlight.position = camera.position;
        flashlight.direction = camera.front;
    }
    tickHurtTimer(dt);
}

void Player::die(Camera& camera) {
    dead = true;
    moveForward = moveBack = moveLeft = moveRight = false;
    camera.lockCamera(true);
}

void Player::takeTeleport(Camera& camera) {
    if (teleportTarget == glm::vec3(0.0f)) return;
    camera.position = teleportTarget;
    teleportTarget = glm::vec3(0.0f);
}

void Player::walk(Camera& camera, float dt) {
    if (moveForward) camera.walkForward(dt);
    if (moveBack) camera.walkBack(dt);
    if (moveLeft) camera.strafeLeft(dt);
    if (moveRight) camera.strafeRight(dt);
}

void Player::keepInBounds(Camera& camera) {
    glm::vec3& p = camera.position;
    p.z = std::clamp(p.z, boundMin, boundMax);
    p.x = std::clamp(p.x, boundMin, boundMax);
    lastPosition = p;
    cellX = cellOf(p.x);
    cellZ = cellOf(p.z);
}

void Player::bounceBack(Camera& camera, glm::vec2 from) {
    // Thrown back by twice the attempted step, away from the wall.
    glm::vec3& p = camera.position;
    p.x = from.x + 2.0f * (from.x - p.x);
    p.z = from.y + 2.0f * (from.y - p.z);
    lastPosition.x = from.x;
    lastPosition.z = from.y;
}

std::optional<Touch> Player::touch(WorldCell& c) {
    if (c.objectType == 0 || !c.interactive || !c.visible) return std::nullopt;
    const Template t = templateOf(c);
    if (t.kind == Interaction::NoInteraction || !(clock > c.nextInteractionTime)) return std::nullopt;
    c.nextInteractionTime = clock + t.cooldown;
    return Touch{t.kind, c.isBlock, c.objectType};
}

void Player::playFootsteps(GameServices& services) {
    if (walking) {
        services.stopChannel(kRunChannel);
        services.playOnChannel("WalkFootsteps", kWalkChannel, 1.0f);
    } else if (running) {
        services.stopChannel(kWalkChannel);
        services.playOnChannel("RunFootsteps", kRunChannel, 1.0f);
    } else {
        services.stopChannel(kWalkChannel);
        services.stopChannel(kRunChannel);
    }
    if (jumping) {
        // No footsteps in the air.
        services.stopChannel(kWalkChannel);
        services.stopChannel(kRunChannel);
    }
}

void Player::standOrFall(Camera& camera, const GroundHeight& ground, float dt, float gravity) {
    glm::vec3& p = camera.position;
    groundHeight = ground ? ground(p.x, p.z) : 0.0f;
    const float eye = groundHeight + kEyeHeight;
    if (!jumping) {
        p.y = eye;
        jumpLatch = false;
        return;
    }
    verticalSpeed += gravity * dt;
    p.y += verticalSpeed * dt;
    if (p.y < eye) {
        verticalSpeed = 0.0f;
        p.y = eye;
        jumping = false;
    }
}

void Player::tickHurtTimer(float dt) {
    if (hurtTimer > 0.0f) {
        hurtTimer -= dt;
        if (hurtTimer <= 0.0f) {
            hurtTimer = 0.0f;
            hurt = false;
        }
    }
}

void Player::setTeleportTarget(int32_t targetCellX, int32_t targetCellZ) {
    teleportTarget = glm::vec3(static_cast<float>(targetCellX) * 50.0f, 0.0f, static_cast<float>(targetCellZ) * 50.0f);
}

namespace {

constexpr float kEnemyHitRadius = 6.0f;
constexpr float kSniperRestDepth = -4.0f;
constexpr float kRifleRestDepth = -2.5f;
constexpr float kRunDepth = -2.5f;

int32_t otherGun(int32_t mode) { return mode == kRifleMode ? kSniperRifleMode : kRifleMode; }

void drawGun(Player& player, int32_t gun, const PosePlacement& at) {
    player.gunDraws.push_back({gun, at.height, at.depth, at.yaw});
}

// Where a colour setting leaves the beam; 0 is off.
struct FlashlightSetting {
    bool on;
    glm::vec3 diffuse;
    glm::vec3 specular;
};

constexpr FlashlightSetting kFlashlightSettings[] = {
    {false, {0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
    {true, kFlashlightDiffuse, kFlashlightSpecular},
    {true, {1.95f, 0.0f, 0.0f}, kFlashlightSpecular},
    {true, {0.0f, 0.0f, 1.95f}, kFlashlightSpecular},
    {true, {0.0f, 1.95f, 0.0f}, kFlashlightSpecular},
};
constexpr int32_t kFlashlightSettingCount = 5;

}  // namespace

void Player::updateWeapons(Camera& camera, float dt, AimController& aim, RuleContext& context) {
    Weapon& held = currentGun();
    if (held.fireTimer <= held.fireInterval) {
        held.fireTimer += dt * kFireTimerRate;
    } else {
        held.fireTimer = held.fireInterval;
    }

    if (switching) {
        // weaponMode already names the incoming gun. The first frame moves the
        // outgoing gun's pose, every later one the incoming gun's.
        const int32_t incoming = weaponMode;
        const SwitchStep step = switchPose(currentGun().pose, dt);
        if (step.drawn) drawGun(*this, step.incomingDrawn ? incoming : otherGun(incoming), step.placement);
        Weapon& next = incoming == kSniperRifleMode ? sniperRifle : rifle;
        next.pose.restDepth = incoming == kSniperRifleMode ? kSniperRestDepth : kRifleRestDepth;
        next.pose.depth = next.pose.restDepth;
        next.pose.runDepth = kRunDepth;
        currentWeapon = incoming;
        sniperShown = incoming == kSniperRifleMode;
        if (step.done) {
            switchDone = true;
            switching = false;
        }
        return;
    }

    if (firing) {
        fire(camera, dt, aim, context);
    } else if (running && !walking) {
        drawGun(*this, currentWeapon, runPose(currentGun().pose, dt));
    } else if (walking) {
        drawGun(*this, currentWeapon, walkPose(currentGun().pose, dt));
    } else {
        drawGun(*this, currentWeapon, idlePose(currentGun().pose, dt));
    }
}

void Player::fire(Camera&, float dt, AimController& aim, RuleContext& context) {
    Weapon& gun = currentGun();
    drawGun(*this, currentWeapon, idlePose(gun.pose, dt));
    if (gun.fireTimer <= gun.fireInterval) return;

    if (gun.ammo <= 0) {
        context.services.playOneShot("Shot_no_ammo");
    } else {
        aim.fireRequest = true;
        drawGun(*this, currentWeapon, recoilPose(gun.pose, dt));
        context.services.playOneShot(gun.fireSound);
        gun.ammo -= 1;
        if (gun.ammo < 1) {
            // The trigger must be pressed again before the empty click is heard.
            gun.ammo = 0;
            firing = false;
        }
        muzzleFlash.shown = true;
        muzzleFlash.angle = static_cast<float>(context.random.uniformReal(1.0f, 360.0f));
        muzzleFlash.scaleX = static_cast<float>(context.random.uniformReal(1.5f, 2.5f));
        muzzleFlash.scaleY = static_cast<float>(context.random.uniformReal(1.5f, 2.5f));
    }
    gun.fireTimer = 0.0f;
}

void Player::switchWeapon() {
    switching = true;
    switchDone = false;
    weaponMode = otherGun(weaponMode);
    // The scope belongs to the sniper rifle: a right button held through the change
    // to the rifle would otherwise leave the rifle looking through it.
    if (weaponMode == kRifleMode) scoped = false;
}

void Player::stepFlashlight(GameServices& services) {
    flashlightSetting = (flashlightSetting + 1) % kFlashlightSettingCount;
    if (flashlightSetting < 0) flashlightSetting += kFlashlightSettingCount;
    const FlashlightSetting& s = kFlashlightSettings[flashlightSetting];
    flashlightOn = s.on;
    flashlight.diffuse = s.diffuse;
    flashlight.specular = s.specular;
    services.playOneShot(s.on ? "FlashOn" : "FlashOff");
}

void AimController::update(Camera& camera, float dt, const InputEvents& events, std::vector<Enemy>& enemies,
                            int32_t damage, RuleContext& context) {
    for (const InputEvent& e : events) {
        if (e.type != InputType::MouseMotion) continue;
        mouseX = static_cast<float>(e.x);
        mouseY = static_cast<float>(e.y);
        // The exact position, not the float copy: far beyond the window a float
        // would round the step between two events.
        camera.look(e.x, e.y, dt);
    }
    testShot(camera, enemies, damage, context);
}

void AimController::testShot(const Camera& camera, std::vector<Enemy>& enemies, int32_t damage,
                              RuleContext& context) {
    if (!fireRequest) return;
    fireRequest = false;
    rayOrigin = camera.position;
    rayDirection = camera.front;

    // Double precision: far across the fortress a float quadratic loses the graze.
    const glm::dvec3 o(rayOrigin);
    const glm::dvec3 d(rayDirection);
    const double a = glm::dot(d, d);
    if (!(a > 0.0)) return;  // no line of sight to follow
    const double r = kEnemyHitRadius;
    for (Enemy& enemy : enemies) {
        // A wreck is no target: it must not take more hits nor play the hit sound.
        if (enemy.dead) continue;
        const glm::dvec3 oc = o - glm::dvec3(enemy.position);
        const double b = 2.0 * glm::dot(d, oc);
        const double k = glm::dot(oc, oc) - r * r;
        const double discriminant = b * b - 4.0 * a * k;
        if (discriminant < 0.0) continue;
        // The farther crossing in front of the camera (or the camera inside the
        // sphere) is a hit; only a sphere wholly behind is missed.
        const double farRoot = (-b + std::sqrt(discriminant)) / (2.0 * a);
        if (farRoot < 0.0) continue;
        enemy.takeDamage(damage, context);
        context.services.playOneShot("EnemyHit");
    }
}
