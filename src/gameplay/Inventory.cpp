#include "gameplay/Player.h"

int32_t Player::itemCount(int32_t) const { return 0; }
bool Player::takeItem(int32_t) { return false; }
bool Player::addItem(int32_t, int32_t) { return false; }
void Player::setMessage(const std::string&) {}
void Player::damagePlayer(float, bool, RuleContext&) {}
