#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sys/exception.h"

namespace sim {

// A PDU the simulated device cannot take apart; the text names the field that was short or bad.
class EPduError : public Exception {
public:
    using Exception::Exception;
};

// Reads a PDU field by field and never past its end.
class TOctetCursor {
public:
    explicit TOctetCursor(std::string_view octets) : data_(octets) {}

    uint8_t Octet(const char* field)
    {
        return static_cast<uint8_t>(Octets(1, field)[0]);
    }
    std::string_view Octets(size_t count, const char* field)
    {
        if (count > data_.size() - pos_)
            throw EPduError(std::string("PDU too short for ") + field);
        std::string_view part = data_.substr(pos_, count);
        pos_ += count;
        return part;
    }
    bool AtEnd() const { return pos_ == data_.size(); }

private:
    std::string_view data_;
    size_t pos_ = 0;
};

}  // namespace sim
