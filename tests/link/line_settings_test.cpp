#include <gtest/gtest.h>

#include "link/baud_rate.h"
#include "link/line_events.h"
#include "link/line_settings.h"

namespace {

// What a driver typically reports: binary mode, DTR and RTS raised, DSR sensitivity on.
constexpr uint32_t kDriverFlags = kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable | kLineDsrSensitivity;

TEST(LineSettings, FlowControlAndOptionsFollowTheFlagArithmetic)
{
    struct Case {
        const char* what;
        TFlowControl flow;
        TCommOptions options;
        uint32_t flags;
    };
    const Case kCases[] = {
        {"fcNone keeps binary mode alone", fcNone, 0, kLineBinary},
        {"fcNone then options", fcNone, TCommOptions(SetOf(coParityCheck) | SetOf(coNullStrip)),
         kLineBinary | kLineParityCheck | kLineNullStrip},
        // Options absent are cleared from what the driver reported.
        {"fcDefault changes no flow bit", fcDefault, 0, kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable},
        // ORed onto RTS enable, the handshake value lands on RTS toggle: the record's own arithmetic.
        {"fcCTS", fcCTS, 0,
         kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable | kLineOutxCtsFlow | kLineRtsControlHandshake},
        {"fcDTR", fcDTR, 0,
         kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable | kLineOutxDsrFlow | kLineDtrControlHandshake},
        {"fcSoftware", fcSoftware, 0,
         kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable | kLineOutX | kLineInX},
        {"every option", fcDefault, TCommOptions(0x1F),
         kLineBinary | kLineDtrControlEnable | kLineRtsControlEnable | kLineParityCheck | kLineDsrSensitivity |
             kLineTxContinueOnXoff | kLineErrorChar | kLineNullStrip},
    };
    TLineSettings driver;
    driver.Flags = kDriverFlags;
    for (const Case& c : kCases) {
        TCommSettings settings;
        settings.FlowControl = c.flow;
        settings.Options = c.options;
        EXPECT_EQ(ComposeLineSettings(driver, settings).Flags, c.flags) << c.what;
    }
}

TEST(LineSettings, FieldsComeFromTheProperties)
{
    TCommSettings settings;
    settings.Baudrate = br56000;
    settings.Databits = da5;
    settings.Parity = paSpace;
    settings.Stopbits = sb15;
    const char chars[5] = {1, 2, 3, 4, 5};
    std::copy(chars, chars + 5, settings.SpecialChars);
    const TLineSettings r = ComposeLineSettings(TLineSettings{}, settings);
    EXPECT_EQ(r.BaudRate, 56000u);
    EXPECT_EQ(r.ByteSize, 5);
    EXPECT_EQ(r.Parity, 4);
    EXPECT_EQ(r.StopBits, 1);
    EXPECT_EQ(std::string({r.XonChar, r.XoffChar, r.ErrorChar, r.EofChar, r.EvtChar}), std::string(chars, 5));
}

TEST(LineSettings, XonAndXoffLimitsAreAQuarterOfTheReadBuffer)
{
    TCommSettings settings;
    EXPECT_EQ(ComposeLineSettings(TLineSettings{}, settings).XonLim, 1024);
    EXPECT_EQ(ComposeLineSettings(TLineSettings{}, settings).XoffLim, 1024);
    settings.ReadBufSize = 101;
    EXPECT_EQ(ComposeLineSettings(TLineSettings{}, settings).XoffLim, 25);
    // The record's field is 16 bits: a huge buffer saturates instead of wrapping.
    settings.ReadBufSize = 1 << 20;
    EXPECT_EQ(ComposeLineSettings(TLineSettings{}, settings).XonLim, 0xFFFF);
}

TEST(BaudRate, ConvertsBothWaysThroughTheTable)
{
    TBaudrate index = br300;
    EXPECT_TRUE(Int2BaudRate(9600, index));
    EXPECT_EQ(index, br9600);
    EXPECT_FALSE(Int2BaudRate(9601, index));
    EXPECT_EQ(index, br9600);
    EXPECT_EQ(BaudRate2Int(br115200), 115200);
    EXPECT_EQ(BaudRate2Int(TBaudrate(15)), 0);
    for (int i = br110; i <= br256000; ++i) {
        ASSERT_TRUE(Int2BaudRate(BaudRate2Int(TBaudrate(i)), index));
        EXPECT_EQ(index, i);
    }
}

TEST(LineEvents, MonitoredEventsMapMemberByMember)
{
    EXPECT_EQ(PlatformEventMask(kAllCommEvents), 0x01FFu);
    EXPECT_EQ(PlatformEventMask(SetOf(evRxChar)), kEvRxChar);
    EXPECT_EQ(PlatformEventMask(TCommEventTypes(SetOf(evBreak) | SetOf(evRlsd))), kEvBreak | kEvRlsd);
    EXPECT_EQ(PlatformEventMask(0), 0u);
}

}  // namespace
