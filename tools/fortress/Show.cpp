// A readable text map of a fortress for players who want a preview.
#include <array>
#include <iomanip>
#include <span>

#include "FortressTool.h"
#include "world/ObjectTables.h"

namespace {

struct Glyph {
    int32_t firstId, lastId;
    char symbol;
};

// Item objects by id range.
constexpr std::array<Glyph, 24> kItemGlyphs = {{
    {item::Health, item::ExtraHealth, 'h'},
    {item::Ammo, item::Ammo, 'a'},
    {item::Stalagmites, item::Cactus, '^'},
    {item::LavaPlant, item::LavaPlantTall, '~'},
    {item::CloakerNode, item::CloakerNode, 'N'},
    {item::EnergyCell, item::EnergyCell, 'E'},
    {item::EnergyPlatform, item::EnergyPlatform, 'P'},
    {item::ScannerCard, item::ScannerCard, 'c'},
    {item::Hiyura, item::Hiyura, 'H'},
    {item::PlasmaInjector, item::PlasmaInjector, 'I'},
    {item::Spaceship, item::Spaceship, 'S'},
    {item::FlagPole, item::FlagPole, '@'},
    {item::Tree, item::Tree, '*'},
    {item::TreeBlocking, item::Rock, 'o'},
    {item::Plant, item::Skeleton, '*'},
    {item::ForceFieldYellow, item::ForceFieldRed, 'F'},
    {item::FirstStatue, item::FirstStatue + 4, 'A'},
    {item::BlueRepellent, item::BlueRepellent, 'w'},
    {item::WormAlien, item::WormAlien, 'W'},
    {item::RedInductor, item::RedInductor, 'm'},
    {item::RuneMonolith, item::RuneMonolith, 'M'},
    {item::KeyRed, item::KeyRed, 'R'},
    {item::KeyGreen, item::KeyGreen, 'G'},
    {item::KeyYellow, item::KeyYellow, 'Y'},
}};

constexpr std::array<Glyph, 3> kGateGlyphs = {{
    {item::GateRed, item::GateRed + 1, 'r'},
    {item::GateGreen, item::GateGreen + 1, 'g'},
    {item::GateYellow, item::GateYellow + 1, 'y'},
}};

constexpr std::array<const char*, 5> kColourNames = {"yellow", "blue", "green", "violet", "red"};

char groundGlyph(const WorldCell& c) {
    if (c.isDoorway) return ':';
    if (c.isRoomFloor) return '.';
    return ' ';
}

char glyphOf(const WorldCell& c) {
    if (c.objectType == 0) return groundGlyph(c);
    if (c.isBlock) {
        if (c.objectType >= block::FirstWall && c.objectType <= block::LastWall) return '#';
        if (c.objectType == block::Teleport) return 'T';
        return groundGlyph(c);  // picture frames hang on the wall beside a floor cell
    }
    for (const auto& table : {std::span<const Glyph>(kItemGlyphs), std::span<const Glyph>(kGateGlyphs)}) {
        for (const Glyph& g : table) {
            if (c.objectType >= g.firstId && c.objectType <= g.lastId) return g.symbol;
        }
    }
    return '?';
}

void writeColumnRuler(std::ostream& out) {
    out << "    ";
    for (int32_t i = 0; i < kWorldSize; ++i) out << (i % 10 == 0 ? char('0' + i / 10) : ' ');
    out << "\n    ";
    for (int32_t i = 0; i < kWorldSize; ++i) out << char('0' + i % 10);
    out << '\n';
}

}  // namespace

void writeShow(std::ostream& out, uint32_t seed, const FortressSetup& setup) {
    const int32_t colour = setup.correctForceField - item::ForceFieldYellow;
    out << "Fortress seed " << seed << " (generator seed " << generatorSeedFor(seed) << ")\n";
    out << "Safe force field: " << (colour >= 0 && colour < 5 ? kColourNames[static_cast<size_t>(colour)] : "?")
        << "; Hiyura at (" << setup.hiyuraCell.i << ", " << setup.hiyuraCell.j << "); "
        << setup.scannerTargets.size() << " scanner targets\n\n";
    writeColumnRuler(out);
    for (int32_t j = 0; j < kWorldSize; ++j) {
        out << std::setw(3) << j << ' ';
        for (int32_t i = 0; i < kWorldSize; ++i) out << glyphOf(setup.initialWorld[i][j]);
        out << '\n';
    }
    out << "\n"
           "  # wall  T teleport  . room floor  : open doorway  (blank) open ground  @ start (flag pole)\n"
           "  r g y jail gates (red, green, yellow)   R G Y their keys\n"
           "  W worm  w blue repellent   M rune monolith  m red inductor\n"
           "  N cloaking node  E energy cell  H Hiyura (hidden at first)  I plasma injector  F force field\n"
           "  A angel statue  S spaceship  P energy-cell platform\n"
           "  ^ spikes  ~ lava plants  h health  a ammunition  c scanner card  * scenery  o blocking scenery\n";
}
