#include "codec/octet_reader.h"

#include "platform/sys/exception.h"
#include "platform/sys/format.h"

namespace {

[[noreturn]] void TooShort(const char* field)
{
    throw EConvertError(Format("PDU too short for %s", field));
}

}  // namespace

uint8_t OctetReader::Octet(const char* field)
{
    if (pos_ >= data_.size())
        TooShort(field);
    return static_cast<uint8_t>(data_[pos_++]);
}

std::string_view OctetReader::Octets(size_t count, const char* field)
{
    if (count > data_.size() - pos_)
        TooShort(field);
    const std::string_view octets = data_.substr(pos_, count);
    pos_ += count;
    return octets;
}

std::string_view OctetReader::Rest()
{
    const std::string_view rest = data_.substr(pos_);
    pos_ = data_.size();
    return rest;
}

std::string_view OctetReader::Rest(const char* field)
{
    if (AtEnd())
        TooShort(field);
    return Rest();
}
