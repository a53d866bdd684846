#pragma once
// The sounds a rule plays once, in order, for the tests to read; channels are ignored.
#include <algorithm>
#include <string>
#include <vector>

#include "gameplay/GameServices.h"

class OneShotLog : public GameServices {
public:
    std::vector<std::string> played;
    void playOnChannel(const std::string&, uint16_t, float) override {}
    void stopChannel(uint16_t) override {}
    void playOneShot(const std::string& sound) override { played.push_back(sound); }

    int count(const std::string& sound) const {
        return static_cast<int>(std::count(played.begin(), played.end(), sound));
    }
    bool heard(const std::string& sound) const { return count(sound) > 0; }
};
