#pragma once
#include <array>
#include <cstdint>
#include <vector>

// The seven properties of a melody note, in the order of the melody grid's columns; a grid
// cell stores the index of the chosen item.
enum TMelodyColumn { mcScale, mcNote, mcDuration, mcDuration2, mcTempo, mcStyle, mcVolume };
constexpr int kMelodyColumnCount = 7;

struct TMelodyColumnItems {
    const char* comboName;
    const char* header;
    std::vector<const char*> items;
};

extern const std::array<TMelodyColumnItems, kMelodyColumnCount> kMelodyColumns;

// Item 0 of the note column is the pause; 1 to 12 are the notes of one octave, C to H.
constexpr int kFirstNote = 1;
constexpr int kLastNote = 12;
// A note is played on a black key when its name is a raised one (Cis, Dis, ...).
bool IsBlackNote(int note);

// The duration item a key held down this long on the keyboard stands for.
int HoldDurationIndex(uint32_t heldMs);
