#include "gameplay/Interactions.h"

void interact(Player&, Interaction, bool, int32_t, int32_t, RuleContext&) {}
