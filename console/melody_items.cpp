#include "console/melody_items.h"

#include <cstring>
#include <iterator>

const std::array<TMelodyColumnItems, kMelodyColumnCount> kMelodyColumns = {{
    {"MelodyScale", "Scale", {"1", "2", "3", "4"}},
    {"MelodyNote", "Note",
     {"pause", "C", "Cis", "D", "Dis", "E", "F", "Fis", "G", "Gis", "A", "Ais", "H"}},
    {"MelodyDuration", "Dur", {"Full", "1/2", "1/4", "1/8", "1/16", "1/32"}},
    {"MelodyDuration2", "Dur2", {"No special", "Dotted", "Double dotted", "2/3 length"}},
    {"MelodyTempo", "Tempo",
     {"25", "28", "31", "35", "40", "45", "50", "56", "63", "70", "80", "90", "100", "112", "125", "140",
      "160", "180", "200", "225", "250", "285", "320", "355", "400", "450", "500", "565", "635", "715",
      "800", "900"}},
    {"MelodyStyle", "Style", {"Natural", "Continuous", "Staccato"}},
    {"MelodyVolume", "Vol.",
     {"off", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15"}},
}};

bool IsBlackNote(int note)
{
    return std::strstr(kMelodyColumns[mcNote].items.at(note), "is") != nullptr;
}

namespace {

struct THoldLimit {
    uint32_t belowMs;
    int durationIndex;
};

// Shorter holds give shorter notes; from half a second on the note is a full one.
constexpr THoldLimit kHoldLimits[] = {
    {50, 5},    // 1/32
    {100, 4},   // 1/16
    {200, 3},   // 1/8
    {300, 2},   // 1/4
    {500, 1},   // 1/2
};
constexpr int kFullNote = 0;

}  // namespace

int HoldDurationIndex(uint32_t heldMs)
{
    for (const THoldLimit& limit : kHoldLimits)
        if (heldMs < limit.belowMs)
            return limit.durationIndex;
    return kFullNote;
}
