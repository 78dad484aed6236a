#pragma once
#include <cstdint>

// Line settings as published properties; the ordinals cross the control's interface.
enum TBaudrate : uint8_t {
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400,
    br19200, br38400, br56000, br57600, br115200, br128000, br256000,
};
enum TParity : uint8_t { paNone, paOdd, paEven, paMark, paSpace };
enum TStopbits : uint8_t { sb10, sb15, sb20 };
enum TDatabits : uint8_t { da4, da5, da6, da7, da8 };
enum TFlowControl : uint8_t { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };

enum TCommOption : uint8_t { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
enum TCommEventType : uint8_t { evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty };

// Sets of the two enumerations above: bit n stands for the member of ordinal n.
using TCommOptions = uint8_t;
using TCommEventTypes = uint16_t;

template <typename Member>
constexpr unsigned SetOf(Member member)
{
    return 1u << member;
}

constexpr TCommEventTypes kAllCommEvents = (1u << (evTxEmpty + 1)) - 1;
