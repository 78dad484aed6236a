#include "text_encoding.h"

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/sys/format.h"

namespace {

constexpr char32_t kEuro = 0x20AC;
constexpr unsigned char kEuroOctet = 0x80;
constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Number of continuation octets a lead octet announces, or -1 for one that leads nothing.
int ContinuationCount(unsigned char lead)
{
    if (lead < 0x80)
        return 0;
    if ((lead & 0xE0) == 0xC0)
        return 1;
    if ((lead & 0xF0) == 0xE0)
        return 2;
    if ((lead & 0xF8) == 0xF0)
        return 3;
    return -1;
}

std::vector<char32_t> DecodeUtf8(std::string_view text)
{
    std::vector<char32_t> points;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const int extra = ContinuationCount(lead);
        if (extra < 0 || text.size() - i <= static_cast<size_t>(extra))
            throw std::invalid_argument("text is not valid UTF-8");
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                throw std::invalid_argument("text is not valid UTF-8");
            c = (c << 6) | (next & 0x3F);
        }
        points.push_back(c);
        i += 1 + extra;
    }
    return points;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        AppendUtf8(out, c == kEuroOctet ? kEuro : c);
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        const bool pair = i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
        if (c >= 0xD800 && c < 0xDC00 && pair)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = kReplacement;  // a lone surrogate has no UTF-8 form
        AppendUtf8(out, c);
    }
    return out;
}

std::string Utf8ToLatin1(std::string_view text)
{
    std::string out;
    for (const char32_t c : DecodeUtf8(text)) {
        if (c == kEuro)
            out.push_back(static_cast<char>(kEuroOctet));
        else if (c <= 0xFF)
            out.push_back(static_cast<char>(c));
        else
            throw std::invalid_argument(
                Format("character U+%04X is not in ISO 8859-1; use --ucs2", static_cast<unsigned>(c)));
    }
    return out;
}

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    for (const char32_t c : DecodeUtf8(text)) {
        if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return out;
}
