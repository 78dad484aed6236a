#pragma once
#include <string>

// What a message needs to know of the engine it belongs to. The engine implements this; the
// codec never reaches the engine any other way.
class TSMSOwner {
public:
    // Whether PDUs exchanged with the device start with a service centre address field.
    virtual bool PDUHasSCA() const = 0;
    // The service centre address currently configured for the device.
    virtual std::string SCA() const = 0;

protected:
    ~TSMSOwner() = default;
};
