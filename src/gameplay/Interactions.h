#pragma once
// The interaction rules: what touching a cell's object does, by the interaction kind
// of its template (pick-ups, hazards, gates, obstacles, energy platforms, the
// spaceship, route marks, teleports, force fields).
#include <cstdint>
#include <string>

#include "gameplay/Player.h"
#include "gameplay/RuleContext.h"
#include "world/ObjectTables.h"

// What a touch leaves for the session to apply after the player's update, in the
// update's order: the message line's text, then (once the world changes of the update
// are served) Hiyura shown.
struct TouchOutcome {
    std::string message;        // the message line's next text; empty = none
    bool revealHiyura = false;  // the 15th cloaking node was taken
};

// The touched object is the one in the player's current cell. correctForceField is
// the item id of the one force field that lets the player through.
TouchOutcome interact(Player& player, const Touch& touch, int32_t correctForceField, RuleContext& context);

// The player's whole frame: its movement, the touch of the cell it ends in handed to
// the interaction rules, then its guns, steps and jump.
TouchOutcome runPlayerFrame(Player& player, Camera& camera, const GroundHeight& ground, float dt,
                            const InputEvents& events, AimController& aim, int32_t correctForceField,
                            RuleContext& context);
