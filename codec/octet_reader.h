#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A bounded cursor over a TPDU's octets. A PDU shorter than its fields demand is rejected with
// EConvertError "PDU too short for <field>" rather than read past its end or padded with zeros:
// a truncated message is damaged, and inventing octets would hand out fields the sender never
// wrote.
class OctetReader {
public:
    explicit OctetReader(std::string_view octets) : data_(octets) {}
    // The reader only views its octets: a temporary string would be gone before the first read.
    explicit OctetReader(std::string&&) = delete;

    uint8_t Octet(const char* field);
    std::string_view Octets(size_t count, const char* field);
    // Everything after the cursor, possibly empty; the cursor moves to the end.
    std::string_view Rest();
    // The same for a field that runs to the end and must hold at least its first octet.
    std::string_view Rest(const char* field);

    bool AtEnd() const { return pos_ == data_.size(); }
    size_t Position() const { return pos_; }

private:
    std::string_view data_;
    size_t pos_ = 0;
};
