#pragma once
#include <string>

#include "link/comm_handle.h"

// A serial port opened by name. "ComN" (any case) reaches the port published as comN in the
// port directory, else /dev/ttyS{N-1}; an absolute path opens as it is.
class TComm : public TCommHandle {
public:
    explicit TComm(TComponent* owner = nullptr) : TCommHandle(owner) {}

    const std::string& DeviceName() const { return deviceName_; }
    void SetDeviceName(const std::string& name);

protected:
    // Opens the port, checks that it is a character device, then the port's own open steps.
    void DoOpen() override;

private:
    std::string deviceName_ = "Com2";
};
