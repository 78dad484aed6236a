#pragma once
#include <cstdint>

#include "link/comm_types.h"

// The platform's line-settings record, flag bits included, so the flag arithmetic of the
// device reads as it does there. The port translates it to the operating system's terms.
struct TLineSettings {
    uint32_t BaudRate = 0;
    uint32_t Flags = 0;
    uint16_t XonLim = 0;
    uint16_t XoffLim = 0;
    uint8_t ByteSize = 8;
    uint8_t Parity = 0;    // 0-4: none, odd, even, mark, space
    uint8_t StopBits = 0;  // 0, 1, 2: one, one and a half, two
    char XonChar = 0;
    char XoffChar = 0;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
};

// Bits of TLineSettings::Flags.
constexpr uint32_t kLineBinary = 0x0001;
constexpr uint32_t kLineParityCheck = 0x0002;
constexpr uint32_t kLineOutxCtsFlow = 0x0004;
constexpr uint32_t kLineOutxDsrFlow = 0x0008;
constexpr uint32_t kLineDtrControlMask = 0x0030;
constexpr uint32_t kLineDtrControlEnable = 0x0010;
constexpr uint32_t kLineDtrControlHandshake = 0x0020;
constexpr uint32_t kLineDsrSensitivity = 0x0040;
constexpr uint32_t kLineTxContinueOnXoff = 0x0080;
constexpr uint32_t kLineOutX = 0x0100;
constexpr uint32_t kLineInX = 0x0200;
constexpr uint32_t kLineErrorChar = 0x0400;
constexpr uint32_t kLineNullStrip = 0x0800;
constexpr uint32_t kLineRtsControlMask = 0x3000;
constexpr uint32_t kLineRtsControlEnable = 0x1000;
constexpr uint32_t kLineRtsControlHandshake = 0x2000;

// The device's line properties, as they are stored.
struct TCommSettings {
    TBaudrate Baudrate = br9600;
    TParity Parity = paNone;
    TStopbits Stopbits = sb10;
    TDatabits Databits = da8;
    TFlowControl FlowControl = fcDefault;
    TCommOptions Options = 0;
    // XON, XOFF, error, end-of-file and event character.
    char SpecialChars[5] = {17, 19, 0, 0, 0};
    int32_t ReadBufSize = 4096;
};

// The record to write: current as read from the driver, with the properties applied.
TLineSettings ComposeLineSettings(const TLineSettings& current, const TCommSettings& settings);
