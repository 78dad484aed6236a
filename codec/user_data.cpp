#include "codec/user_data.h"

#include <algorithm>

#include "codec/codec_error.h"
#include "codec/data_coding_scheme.h"
#include "codec/septets.h"

namespace {

// Septets that cover a header of the given size in octets, fill bits included.
size_t HeaderSeptets(size_t headerOctets)
{
    return (headerOctets * 8 + 6) / 7;
}

// The header length octet and the header.
size_t HeaderOctets(std::string_view ud)
{
    return static_cast<uint8_t>(ud[0]) + size_t{1};
}

}  // namespace

std::string EncodeUserData(std::string_view ud, uint8_t dcs, bool udhi)
{
    if (udhi && (ud.empty() || ud.size() < HeaderOctets(ud) || HeaderOctets(ud) > kMaxUserDataOctets))
        throw EGSMError("Bad UDH");
    const bool septets = IsDefaultAlphabet(dcs);
    if (!septets) {
        const std::string_view octets = ud.substr(0, kMaxUserDataOctets);
        std::string result;
        result.reserve(1 + octets.size());
        result.push_back(static_cast<char>(octets.size()));
        result.append(octets);
        return result;
    }
    if (!udhi)
        return PackSeptets(ud.substr(0, kMaxUserDataSeptets));
    // The header travels as raw octets in place of the leading zero septets, so the text starts
    // on the first septet boundary after it.
    const size_t headerOctets = HeaderOctets(ud);
    std::string codes(HeaderSeptets(headerOctets), '\0');
    codes.append(ud.substr(headerOctets));
    codes.resize(std::min(codes.size(), kMaxUserDataSeptets));
    std::string packed = PackSeptets(codes);
    packed.replace(1, headerOctets, ud.substr(0, headerOctets));
    return packed;
}

std::string DecodeUserData(std::string_view input, uint8_t dcs, bool udhi)
{
    if (!IsDefaultAlphabet(dcs))
        return std::string(input.substr(std::min<size_t>(1, input.size())));
    std::string codes = UnpackSeptets(input);
    if (!udhi || input.size() < 2)
        return codes;
    const std::string_view afterLength = input.substr(1);
    const size_t headerOctets = HeaderOctets(afterLength);
    std::string ud(afterLength.substr(0, headerOctets));
    ud.append(std::string_view(codes).substr(std::min(codes.size(), HeaderSeptets(headerOctets))));
    return ud;
}

std::string_view UserDataText(std::string_view ud)
{
    if (ud.empty())
        return {};
    return ud.substr(std::min(ud.size(), HeaderOctets(ud)));
}
