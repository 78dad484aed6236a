#include "link/comm.h"

#include <cerrno>

#include "link/comm_error.h"
#include "link/serial_port.h"
#include "platform/sys/port_directory.h"

void TComm::SetDeviceName(const std::string& name)
{
    CheckInactive();
    deviceName_ = name;
}

void TComm::DoOpen()
{
    if (HasState(TComponentState::csDesigning))
        return;
    const int fd = OpenSerialPort(ResolvePortName(deviceName_));
    if (fd < 0)
        RaiseLastCommError("CreateFile");
    if (!IsCharacterDevice(fd)) {
        const int reason = errno;
        CloseSerialPort(fd);
        RaiseCommError(reason, "GetFileType");
    }
    SetPort(fd);
    TCommHandle::DoOpen();
}
