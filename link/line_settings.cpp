#include "link/line_settings.h"

#include <algorithm>
#include <iterator>

#include "link/baud_rate.h"

namespace {

constexpr uint8_t kByteSizes[] = {4, 5, 6, 7, 8};  // by TDatabits
static_assert(std::size(kByteSizes) == da8 + 1);

struct FlowBits {
    bool replaceAll;  // the flag word becomes these bits alone
    uint32_t bits;
};
constexpr FlowBits kFlowControl[] = {
    {true, kLineBinary},                                   // fcNone
    {false, kLineOutxCtsFlow | kLineRtsControlHandshake},  // fcCTS
    {false, kLineOutxDsrFlow | kLineDtrControlHandshake},  // fcDTR
    {false, kLineOutX | kLineInX},                         // fcSoftware
    {false, 0},                                            // fcDefault
};
static_assert(std::size(kFlowControl) == fcDefault + 1);

constexpr uint32_t kOptionBits[] = {
    kLineParityCheck,       // coParityCheck
    kLineDsrSensitivity,    // coDsrSensitivity
    kLineTxContinueOnXoff,  // coIgnoreXOff
    kLineErrorChar,         // coErrorChar
    kLineNullStrip,         // coNullStrip
};
static_assert(std::size(kOptionBits) == coNullStrip + 1);

}  // namespace

TLineSettings ComposeLineSettings(const TLineSettings& current, const TCommSettings& settings)
{
    TLineSettings record = current;
    record.BaudRate = uint32_t(BaudRate2Int(settings.Baudrate));
    record.ByteSize = kByteSizes[settings.Databits];
    record.Parity = settings.Parity;
    record.StopBits = settings.Stopbits;

    record.XonChar = settings.SpecialChars[0];
    record.XoffChar = settings.SpecialChars[1];
    record.ErrorChar = settings.SpecialChars[2];
    record.EofChar = settings.SpecialChars[3];
    record.EvtChar = settings.SpecialChars[4];

    // The record's limits are 16 bits wide.
    const auto limit = uint16_t(std::clamp(settings.ReadBufSize / 4, 0, 0xFFFF));
    record.XonLim = limit;
    record.XoffLim = limit;

    const FlowBits& flow = kFlowControl[settings.FlowControl];
    record.Flags = flow.replaceAll ? flow.bits : (record.Flags | flow.bits);

    for (size_t option = 0; option < std::size(kOptionBits); ++option) {
        if (settings.Options & SetOf(option))
            record.Flags |= kOptionBits[option];
        else
            record.Flags &= ~kOptionBits[option];
    }
    return record;
}
