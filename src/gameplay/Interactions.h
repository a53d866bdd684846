#pragma once
// The interaction rules: what touching a cell's object does, by the interaction kind
// of its template (pick-ups, hazards, gates, obstacles, energy platforms, the
// spaceship, route marks, teleports, force fields).
#include <cstdint>

#include "gameplay/Player.h"
#include "gameplay/RuleContext.h"
#include "world/ObjectTables.h"

// The touched object is the one in the player's current cell. correctForceField is
// the item id of the one force field that lets the player through.
void interact(Player& player, Interaction kind, bool isBlock, int32_t objectType, int32_t correctForceField,
              RuleContext& context);
