#include "control/library_bitmap.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {

// The 16 colours of the bitmap, as 0xRRGGBB, indexed by the hexadecimal digits below.
constexpr uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr int kSide = 24;

// A handset with a message on its screen, on the toolbox's silver. Top row first.
constexpr std::string_view kIcon[kSide] = {
    "777777777777777777777777",
    "777777777777777777707777",
    "777777777777777777707777",
    "777777777777777777707777",
    "777777700000000000007777",
    "777777088888888888880777",
    "777777080000000000080777",
    "7777770802AAAAAAAA280777",
    "777777080A2AAAAAA2A80777",
    "777777080AA2AAAA2AA80777",
    "777777080AAA2AA2AAA80777",
    "777777080AAAA22AAAA80777",
    "7777770802AAAAAAAA280777",
    "777777080000000000080777",
    "777777088888888888880777",
    "7777770889F89F89F8880777",
    "777777088888888888880777",
    "7777770889F89F89F8880777",
    "777777088888888888880777",
    "7777770889F89F89F8880777",
    "777777088888888888880777",
    "777777708888888888807777",
    "777777770000000000077777",
    "777777777777777777777777",
};
constexpr bool AllRowsFull()
{
    for (auto row : kIcon)
        if (row.size() != kSide)
            return false;
    return true;
}
static_assert(AllRowsFull());

constexpr int Nibble(char digit)
{
    return digit <= '9' ? digit - '0' : digit - 'A' + 10;
}

void Put16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// A 4-bit BMP: file header, info header, palette, rows bottom-up (12 bytes each, already a
// multiple of four).
std::string EncodeIcon()
{
    constexpr uint32_t kFileHeader = 14, kInfoHeader = 40, kPaletteBytes = 16 * 4;
    constexpr uint32_t kRowBytes = kSide / 2;
    constexpr uint32_t kOffset = kFileHeader + kInfoHeader + kPaletteBytes;
    std::string bmp = "BM";
    Put32(bmp, kOffset + kRowBytes * kSide);
    Put32(bmp, 0);
    Put32(bmp, kOffset);
    Put32(bmp, kInfoHeader);
    Put32(bmp, kSide);
    Put32(bmp, kSide);
    Put16(bmp, 1);   // planes
    Put16(bmp, 4);   // bits per pixel
    Put32(bmp, 0);   // no compression
    Put32(bmp, kRowBytes * kSide);
    Put32(bmp, 2835);  // 72 dpi
    Put32(bmp, 2835);
    Put32(bmp, 16);
    Put32(bmp, 0);
    for (uint32_t rgb : kPalette) {
        bmp += static_cast<char>(rgb & 0xFF);          // blue
        bmp += static_cast<char>((rgb >> 8) & 0xFF);   // green
        bmp += static_cast<char>((rgb >> 16) & 0xFF);  // red
        bmp += '\0';
    }
    for (int y = kSide - 1; y >= 0; --y)
        for (int x = 0; x < kSide; x += 2)
            bmp += static_cast<char>(Nibble(kIcon[y][x]) << 4 | Nibble(kIcon[y][x + 1]));
    return bmp;
}

} // namespace

const std::string& LibraryBitmap(int id)
{
    static const std::string icon = EncodeIcon();
    static const std::string none;
    return id == kControlBitmapId ? icon : none;
}
