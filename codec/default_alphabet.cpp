#include "codec/default_alphabet.h"

#include <array>
#include <cstdint>

namespace {

struct Mapping {
    uint8_t code;
    uint8_t character;
};

constexpr uint8_t kMiddleDot = 0xB7;  // stands for the Greek capitals, which ISO 8859-1 lacks

// Codes 0-127 whose character differs from the code's own value.
constexpr Mapping kDefaultDifferences[] = {
    {0x00, 0x40}, {0x01, 0xA3}, {0x02, 0x24}, {0x03, 0xA5}, {0x04, 0xE8}, {0x05, 0xE9},
    {0x06, 0xF9}, {0x07, 0xEC}, {0x08, 0xF2}, {0x09, 0xC7}, {0x0B, 0xD8}, {0x0C, 0xF8},
    {0x0E, 0xC5}, {0x0F, 0xE5}, {0x10, kMiddleDot}, {0x11, 0x5F},
    {0x12, kMiddleDot}, {0x13, kMiddleDot}, {0x14, kMiddleDot}, {0x15, kMiddleDot},
    {0x16, kMiddleDot}, {0x17, kMiddleDot}, {0x18, kMiddleDot}, {0x19, kMiddleDot},
    {0x1A, kMiddleDot}, {0x1C, 0xC6}, {0x1D, 0xE6}, {0x1E, 0xDF}, {0x1F, 0xC9},
    {0x24, 0xA4}, {0x40, 0xA1}, {0x5B, 0xC4}, {0x5C, 0xD6}, {0x5D, 0xD1}, {0x5E, 0xDC},
    {0x5F, 0xA7}, {0x60, 0xBF}, {0x7B, 0xE4}, {0x7C, 0xF6}, {0x7D, 0xF1}, {0x7E, 0xFC},
    {0x7F, 0xE0},
};

// The code after an escape; every other code after an escape stands for a space.
constexpr Mapping kExtension[] = {
    {0x0A, 0x0C}, {0x14, 0x5E}, {0x28, 0x7B}, {0x29, 0x7D}, {0x2F, 0x5C},
    {0x3C, 0x5B}, {0x3D, 0x7E}, {0x3E, 0x5D}, {0x40, 0x7C}, {0x65, 0x80},
};

constexpr int kExtensionBase = 128;
constexpr uint8_t kSpace = 0x20;
constexpr uint8_t kSeptetMask = 0x7F;

// Entries 0-127 are the alphabet, entry 128 + c the character that escape, c stands for.
constexpr std::array<uint8_t, 256> MakeTable()
{
    std::array<uint8_t, 256> table{};
    for (int code = 0; code < kExtensionBase; ++code) {
        table[code] = static_cast<uint8_t>(code);
        table[kExtensionBase + code] = kSpace;
    }
    for (const Mapping& m : kDefaultDifferences)
        table[m.code] = m.character;
    for (const Mapping& m : kExtension)
        table[kExtensionBase + m.code] = m.character;
    return table;
}

constexpr std::array<uint8_t, 256> kTable = MakeTable();

constexpr int kNoEntry = -1;

// For each character, the first table index holding it, as a scan from 0 to 255 finds it.
constexpr std::array<int16_t, 256> MakeReverse()
{
    std::array<int16_t, 256> reverse{};
    reverse.fill(kNoEntry);
    for (int index = 255; index >= 0; --index)
        reverse[kTable[index]] = static_cast<int16_t>(index);
    return reverse;
}

constexpr std::array<int16_t, 256> kReverse = MakeReverse();

}  // namespace

std::string ISOToSMS(std::string_view text)
{
    std::string codes;
    codes.reserve(text.size());
    for (const char c : text) {
        const int index = kReverse[static_cast<uint8_t>(c)];
        if (index == kNoEntry)
            continue;
        if (index >= kExtensionBase) {
            codes.push_back(kSeptetEscape);
            codes.push_back(static_cast<char>(index - kExtensionBase));
        } else {
            codes.push_back(static_cast<char>(index));
        }
    }
    return codes;
}

std::string SMSToISO(std::string_view codes)
{
    std::string text;
    text.reserve(codes.size());
    bool escaped = false;
    for (const char c : codes) {
        const auto code = static_cast<uint8_t>(c);
        if (c == kSeptetEscape) {
            escaped = true;
            continue;
        }
        // An escaped code of 128 or more has no entry of its own; like an unescaped one, it
        // is read through the extension column 128 lower.
        const int index = escaped ? kExtensionBase + (code & kSeptetMask) : code;
        text.push_back(static_cast<char>(kTable[index]));
        escaped = false;
    }
    return text;
}
