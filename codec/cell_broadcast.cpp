#include "codec/cell_broadcast.h"

#include "codec/data_coding_scheme.h"
#include "codec/octet_reader.h"
#include "codec/septets.h"
#include "codec/ucs2.h"

namespace {

// Bit fields of the serial number and the page parameter.
struct BitField {
    unsigned shift;
    unsigned width;
};
constexpr BitField kGeographicalScope = {14, 2};
constexpr BitField kMessageCode = {4, 10};
constexpr BitField kUpdateNumber = {0, 4};
constexpr BitField kCurrentPage = {4, 4};
constexpr BitField kTotalPage = {0, 4};

constexpr unsigned Mask(BitField f)
{
    return ((1u << f.width) - 1) << f.shift;
}

constexpr unsigned Get(unsigned word, BitField f)
{
    return (word & Mask(f)) >> f.shift;
}

template <class Word>
void Put(Word& word, BitField f, unsigned value)
{
    word = static_cast<Word>((word & ~Mask(f)) | ((value << f.shift) & Mask(f)));
}

constexpr size_t kContentSeptets = 93;
constexpr size_t kContentOctets = 82;
constexpr char kPadding = '\r';

}  // namespace

uint8_t TCellBroadcast::GeographicalScope() const
{
    return static_cast<uint8_t>(Get(serialNumber_, kGeographicalScope));
}

void TCellBroadcast::SetGeographicalScope(uint8_t value)
{
    Put(serialNumber_, kGeographicalScope, value);
}

uint16_t TCellBroadcast::MessageCode() const
{
    return static_cast<uint16_t>(Get(serialNumber_, kMessageCode));
}

void TCellBroadcast::SetMessageCode(uint16_t value)
{
    Put(serialNumber_, kMessageCode, value);
}

uint8_t TCellBroadcast::UpdateNumber() const
{
    return static_cast<uint8_t>(Get(serialNumber_, kUpdateNumber));
}

void TCellBroadcast::SetUpdateNumber(uint8_t value)
{
    Put(serialNumber_, kUpdateNumber, value);
}

uint8_t TCellBroadcast::CurrentPageNumber() const
{
    return static_cast<uint8_t>(Get(pageParameter_, kCurrentPage));
}

void TCellBroadcast::SetCurrentPageNumber(uint8_t value)
{
    Put(pageParameter_, kCurrentPage, value);
}

uint8_t TCellBroadcast::TotalPageNumber() const
{
    return static_cast<uint8_t>(Get(pageParameter_, kTotalPage));
}

void TCellBroadcast::SetTotalPageNumber(uint8_t value)
{
    Put(pageParameter_, kTotalPage, value);
}

std::u16string TCellBroadcast::WideUD() const
{
    return UCS2ToWide(ud_);
}

void TCellBroadcast::SetWideUD(std::u16string_view text)
{
    ud_ = WideToUCS2(text);
}

std::string TCellBroadcast::EncodeTPDU() const
{
    std::string page;
    page.push_back(static_cast<char>(serialNumber_ >> 8));
    page.push_back(static_cast<char>(serialNumber_ & 0xFF));
    page.push_back(static_cast<char>(messageId_ >> 8));
    page.push_back(static_cast<char>(messageId_ & 0xFF));
    page.push_back(static_cast<char>(dcs_));
    page.push_back(static_cast<char>(pageParameter_));
    // Content is padded with carriage returns to the page's size.
    std::string content = ud_;
    if (IsDefaultAlphabet(dcs_)) {
        content.resize(kContentSeptets, kPadding);
        page += PackSeptetBits(content);
    } else {
        content.resize(kContentOctets, kPadding);
        page += content;
    }
    return page;
}

void TCellBroadcast::DecodeTPDU(std::string_view octets)
{
    OctetReader reader(octets);
    const uint8_t serialHigh = reader.Octet("serial number");
    serialNumber_ = static_cast<uint16_t>(serialHigh << 8 | reader.Octet("serial number"));
    const uint8_t idHigh = reader.Octet("MessageId");
    messageId_ = static_cast<uint16_t>(idHigh << 8 | reader.Octet("MessageId"));
    dcs_ = reader.Octet("DCS");
    pageParameter_ = reader.Octet("page parameter");
    const std::string_view content = reader.Rest();
    ud_ = IsDefaultAlphabet(dcs_) ? UnpackSeptetBits(content, kContentSeptets) : std::string(content);
    // The padding is stripped under either alphabet, so a UCS2 page whose last character ends in
    // 0x0D loses that octet: pages carry no length of their own to tell the two apart.
    ud_.erase(ud_.find_last_not_of(kPadding) + 1);
}
