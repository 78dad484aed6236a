#include "codec/septets.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr uint32_t kSeptetMask = 0x7F;
constexpr size_t kMaxCount = 255;

void AppendSeptetBits(std::string& octets, std::string_view codes)
{
    uint32_t bits = 0;
    int held = 0;
    for (const char c : codes) {
        bits |= (static_cast<uint8_t>(c) & kSeptetMask) << held;
        held += 7;
        if (held >= 8) {
            octets.push_back(static_cast<char>(bits & 0xFF));
            bits >>= 8;
            held -= 8;
        }
    }
    if (held > 0)
        octets.push_back(static_cast<char>(bits & 0xFF));
}

size_t PackedSize(size_t count)
{
    return (count * 7 + 7) / 8;
}

}  // namespace

std::string PackSeptetBits(std::string_view codes)
{
    std::string octets;
    octets.reserve(PackedSize(codes.size()));
    AppendSeptetBits(octets, codes);
    return octets;
}

std::string UnpackSeptetBits(std::string_view octets, size_t count)
{
    count = std::min(count, octets.size() * 8 / 7);
    std::string codes;
    codes.resize(count);
    uint32_t bits = 0;
    int held = 0;
    size_t next = 0;
    for (size_t k = 0; k < count; ++k) {
        if (held < 7) {
            bits |= static_cast<uint32_t>(static_cast<uint8_t>(octets[next++])) << held;
            held += 8;
        }
        codes[k] = static_cast<char>(bits & kSeptetMask);
        bits >>= 7;
        held -= 7;
    }
    return codes;
}

std::string PackSeptets(std::string_view codes)
{
    codes = codes.substr(0, kMaxCount);
    std::string packed;
    packed.reserve(1 + PackedSize(codes.size()));
    packed.push_back(static_cast<char>(codes.size()));
    AppendSeptetBits(packed, codes);
    return packed;
}

std::string UnpackSeptets(std::string_view countAndOctets)
{
    if (countAndOctets.empty())
        return {};
    return UnpackSeptetBits(countAndOctets.substr(1), static_cast<uint8_t>(countAndOctets[0]));
}
