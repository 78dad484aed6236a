#include "sim/gsm_alphabet.h"

#include <array>
#include <cstdint>

namespace sim {

namespace {

constexpr int kNone = -1;
constexpr uint8_t kEscape = 0x1B;
constexpr uint8_t kQuestionMark = 0x3F;
constexpr uint8_t kSeptetMask = 0x7F;

// Index: septet value; value: the 8-bit character, kNone for the Greek capitals and the escape.
constexpr std::array<int, 128> kDefaultAlphabet = {
    0x40, 0xA3, 0x24, 0xA5, 0xE8, 0xE9, 0xF9, 0xEC, 0xF2, 0xC7, 0x0A, 0xD8, 0xF8, 0x0D, 0xC5, 0xE5,
    kNone, 0x5F, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, kNone, 0xC6, 0xE6, 0xDF, 0xC9,
    0x20, 0x21, 0x22, 0x23, 0xA4, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B, 0x2C, 0x2D, 0x2E, 0x2F,
    0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B, 0x3C, 0x3D, 0x3E, 0x3F,
    0xA1, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
    0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5A, 0xC4, 0xD6, 0xD1, 0xDC, 0xA7,
    0xBF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
    0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7A, 0xE4, 0xF6, 0xF1, 0xFC, 0xE0,
};

struct TExtension {
    uint8_t septet;
    uint8_t character;
};
constexpr TExtension kExtensionTable[] = {
    {0x0A, 0x0C}, {0x14, '^'}, {0x28, '{'}, {0x29, '}'}, {0x2F, '\\'},
    {0x3C, '['},  {0x3D, '~'}, {0x3E, ']'}, {0x40, '|'}, {0x65, 0x80},
};

// 8-bit character -> septet, or kNone.
const std::array<int, 256>& ReverseAlphabet()
{
    static const std::array<int, 256> reverse = [] {
        std::array<int, 256> table;
        table.fill(kNone);
        for (int septet = 0; septet < 128; ++septet)
            if (kDefaultAlphabet[septet] != kNone)
                table[kDefaultAlphabet[septet]] = septet;
        return table;
    }();
    return reverse;
}

}  // namespace

std::string IsoToGsm(std::string_view text)
{
    std::string septets;
    for (char c : text) {
        const uint8_t ch = static_cast<uint8_t>(c);
        if (int septet = ReverseAlphabet()[ch]; septet != kNone) {
            septets += static_cast<char>(septet);
            continue;
        }
        bool found = false;
        for (const TExtension& ext : kExtensionTable)
            if (ext.character == ch) {
                septets += static_cast<char>(kEscape);
                septets += static_cast<char>(ext.septet);
                found = true;
                break;
            }
        if (!found)
            septets += static_cast<char>(kQuestionMark);
    }
    return septets;
}

std::string GsmToIso(std::string_view septets)
{
    std::string text;
    for (size_t i = 0; i < septets.size(); ++i) {
        const uint8_t septet = static_cast<uint8_t>(septets[i]) & kSeptetMask;
        if (septet == kEscape && i + 1 < septets.size()) {
            const uint8_t code = static_cast<uint8_t>(septets[++i]) & kSeptetMask;
            char ch = static_cast<char>(kQuestionMark);
            for (const TExtension& ext : kExtensionTable)
                if (ext.septet == code)
                    ch = static_cast<char>(ext.character);
            text += ch;
            continue;
        }
        const int ch = kDefaultAlphabet[septet];
        text += static_cast<char>(ch == kNone ? kQuestionMark : ch);
    }
    return text;
}

std::string PackSeptets(std::string_view septets, int fillBits)
{
    const size_t bits = fillBits + 7 * septets.size();
    std::string octets((bits + 7) / 8, '\0');
    for (size_t i = 0; i < septets.size(); ++i) {
        const size_t bit = fillBits + 7 * i;
        const unsigned value = static_cast<uint8_t>(septets[i]) & kSeptetMask;
        octets[bit / 8] = static_cast<char>(static_cast<uint8_t>(octets[bit / 8]) | (value << (bit % 8)));
        if (bit % 8 > 1)
            octets[bit / 8 + 1] = static_cast<char>(value >> (8 - bit % 8));
    }
    return octets;
}

std::string UnpackSeptets(std::string_view octets, size_t count, int fillBits)
{
    std::string septets;
    for (size_t i = 0; i < count; ++i) {
        const size_t bit = fillBits + 7 * i;
        if (bit / 8 >= octets.size())
            break;
        unsigned value = static_cast<uint8_t>(octets[bit / 8]) >> (bit % 8);
        if (bit % 8 > 1 && bit / 8 + 1 < octets.size())
            value |= static_cast<unsigned>(static_cast<uint8_t>(octets[bit / 8 + 1])) << (8 - bit % 8);
        septets += static_cast<char>(value & kSeptetMask);
    }
    return septets;
}

}  // namespace sim
