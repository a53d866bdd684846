#include "gameplay/Bot.h"

#include "gameplay/Session.h"

struct Bot::Plan {};

Bot::Bot() : plan(std::make_unique<Plan>()) {}
Bot::~Bot() = default;

InputEvents Bot::nextFrame(const Session&, float) { return {}; }
