#include <gtest/gtest.h>

#include "codec/codec_error.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "platform/sys/exception.h"
#include "tests/codec/codec_test_support.h"

namespace {

// An example deliver: service centre and sender +12345678901, "Hi".
constexpr const char* kDeliver =
    "07 91 21 43 65 87 09 F1 04 0B 91 21 43 65 87 09 F1 00 00 40 50 32 41 50 90 23 02 C8 34";

TEST(Deliver, DecodesTheExample)
{
    TSMSDeliver sms;
    sms.SetPDU(Compact(kDeliver));
    EXPECT_EQ(sms.SCA(), "+12345678901");
    EXPECT_EQ(sms.PDUType(), 0x04);
    EXPECT_TRUE(sms.MMS());
    EXPECT_FALSE(sms.SRI());
    EXPECT_FALSE(sms.UDHI());
    EXPECT_FALSE(sms.RP());
    EXPECT_EQ(sms.MTI(), 0);
    EXPECT_EQ(sms.OA(), "+12345678901");
    EXPECT_EQ(sms.PID(), 0);
    EXPECT_EQ(sms.DCS(), 0);
    EXPECT_DOUBLE_EQ(sms.SCTS(), At(2004, 5, 23, 14, 5, 9));
    EXPECT_EQ(sms.SCTSTZ(), 32);
    EXPECT_EQ(sms.UD(), "\x48\x69");
    // The service centre is never written: the device's stored one is used.
    EXPECT_EQ(sms.PDU(), Compact("00 04 0B 91 21 43 65 87 09 F1 00 00 40 50 32 41 50 90 23 02 C8 34"));
}

TEST(Deliver, DecodesAPublishedVector)
{
    TSMSDeliver sms;
    sms.SetPDU("07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37");
    EXPECT_EQ(sms.SCA(), "+27381000015");
    EXPECT_EQ(sms.OA(), "27838890001");  // type 0xC8 carries no prefix
    EXPECT_DOUBLE_EQ(sms.SCTS(), At(1999, 3, 29, 15, 16, 59));
    EXPECT_EQ(sms.SCTSTZ(), 8);
    EXPECT_EQ(sms.UD(), "hellohello");
}

TEST(Deliver, AnAlphanumericSenderDoesNotEncodeBack)
{
    TSMSDeliver sms;
    sms.SetPDU(Compact("00 04 0A D0 C8 32 9B FD 06 00 00 40 50 32 41 50 90 23 00"));
    EXPECT_EQ(sms.OA(), "Hello");
    // Addresses are written as digits only, and these letters have none.
    EXPECT_THROW(sms.PDU(), EConvertError);
}

TEST(Deliver, FlagsWriteTheirOwnBits)
{
    TSMSDeliver sms;
    sms.SetSRI(true);
    sms.SetUDHI(true);
    sms.SetRP(true);
    EXPECT_EQ(sms.PDUType(), 0xE0);
    sms.SetMTI(3);
    EXPECT_EQ(sms.PDUType(), 0xE3);
    sms.SetMMS(true);
    sms.SetUDHI(false);
    EXPECT_EQ(sms.PDUType(), 0xA7);
}

TEST(Submit, EncodesANewMessage)
{
    TSMSSubmit sms;
    EXPECT_EQ(sms.PDUType(), 1);
    sms.SetDA("12345");
    EXPECT_EQ(sms.PDU(), "00010005812143F5000000");
    sms.SetVPF(kVPFRelative);
    sms.SetVP(1.0);
    EXPECT_EQ(sms.PDUType(), 0x11);
    EXPECT_EQ(sms.PDU(), "00110005812143F50000A700");
}

TEST(Submit, DecodesAPublishedVector)
{
    TSMSSubmit sms;
    sms.SetPDU("0011000B916407281553F80000AA0AE8329BFD4697D9EC37");
    EXPECT_EQ(sms.DA(), "+46708251358");
    EXPECT_EQ(sms.VPF(), kVPFRelative);
    EXPECT_DOUBLE_EQ(sms.VP(), 4.0);
    EXPECT_EQ(sms.UD(), "hellohello");
    EXPECT_EQ(sms.PDU(), "0011000B916407281553F80000AA0AE8329BFD4697D9EC37");
}

TEST(Submit, RoundTripsEveryValidityPeriodFormat)
{
    TSMSSubmit sms;
    sms.SetDA("+491701234567");
    sms.SetMR(0x2A);
    sms.SetSRR(true);
    sms.SetRD(true);
    sms.SetUD("\x48\x69");
    sms.SetVPTZ(-8);
    for (uint8_t vpf : {kVPFNone, kVPFEnhanced, kVPFRelative, kVPFAbsolute}) {
        sms.SetVPF(vpf);
        sms.SetVP(vpf == kVPFAbsolute ? At(2024, 2, 29, 23, 59, 58) : 1.0);
        TSMSSubmit back;
        back.SetPDU(sms.PDU());
        EXPECT_EQ(back.PDU(), sms.PDU()) << int(vpf);
        EXPECT_EQ(back.PDUType(), sms.PDUType());
        EXPECT_EQ(back.DA(), sms.DA());
        EXPECT_EQ(back.MR(), 0x2A);
        EXPECT_EQ(back.UD(), sms.UD());
        if (vpf >= kVPFRelative)
            EXPECT_DOUBLE_EQ(back.VP(), sms.VP()) << int(vpf);
        else
            EXPECT_EQ(back.VP(), 0) << int(vpf);  // no field: the value is kept
    }
}

TEST(Submit, TheEnhancedFormatCarriesNoPeriod)
{
    TSMSSubmit sms;
    sms.SetVP(2.0);
    sms.SetPDU(Compact("00 09 00 05 81 21 43 F5 00 00 02 C8 34"));  // VPF 1
    EXPECT_EQ(sms.VPF(), kVPFEnhanced);
    EXPECT_EQ(sms.UD(), "\x48\x69");
    EXPECT_DOUBLE_EQ(sms.VP(), 2.0);
}

TEST(Submit, AnOwnerWithoutServiceCentreFieldDropsThePrefix)
{
    FakeOwner wavecom(false, "+4917");
    TSMSSubmit sms;
    sms.SetGSM(&wavecom);
    sms.SetSCA("+999");
    sms.SetDA("12345");
    EXPECT_EQ(sms.PDU(), "010005812143F5000000");
    sms.SetPDU("010005812143F5000000");
    EXPECT_EQ(sms.PDUType(), 1);
    EXPECT_EQ(sms.SCA(), "+999");  // no field: kept
    FakeOwner siemens(true, "+4917");
    sms.SetGSM(&siemens);
    EXPECT_EQ(sms.PDU(), "00010005812143F5000000");
    sms.SetPDU("00010005812143F5000000");
    EXPECT_EQ(sms.SCA(), "+4917");  // empty field: the owner's
}

TEST(Submit, ABadHeaderFailsTheEncoding)
{
    TSMSSubmit sms;
    sms.SetUDHI(true);
    sms.SetUD(Octets("05 00 03"));
    try {
        sms.PDU();
        FAIL();
    } catch (const EGSMError& e) {
        EXPECT_EQ(e.Message(), "Bad UDH");
    }
}

TEST(StatusReport, DecodesTheExample)
{
    TSMSStatusReport sms;
    sms.SetPDU(Compact("00 06 2A 0B 91 21 43 65 87 09 F1 40 50 32 41 50 90 23 40 50 32 41 60 90 23 00"));
    EXPECT_EQ(sms.MR(), 42);
    EXPECT_EQ(sms.OA(), "+12345678901");
    EXPECT_DOUBLE_EQ(sms.SCTS(), At(2004, 5, 23, 14, 5, 9));
    EXPECT_DOUBLE_EQ(sms.DT(), At(2004, 5, 23, 14, 6, 9));
    EXPECT_EQ(sms.SCTSTZ(), 32);
    EXPECT_EQ(sms.DTSTZ(), 32);
    EXPECT_EQ(sms.Status(), 0);
    EXPECT_FALSE(sms.SRQ());
    EXPECT_TRUE(sms.MMS());
    EXPECT_EQ(sms.PDU(), Compact("00 06 2A 0B 91 21 43 65 87 09 F1 40 50 32 41 50 90 23 40 50 32 41 60 90 23 00"));
}

TEST(StatusReport, IgnoresTheOptionalParameters)
{
    TSMSStatusReport sms;
    sms.SetDCS(0x08);
    sms.SetUD("kept");
    sms.SetPDU(Compact("00 26 2A 00 81 40 50 32 41 50 90 23 40 50 32 41 60 90 23 41 07 00 00 02 C8 34"));
    EXPECT_TRUE(sms.SRQ());
    EXPECT_EQ(sms.Status(), 0x41);
    EXPECT_EQ(sms.DCS(), 0x08);
    EXPECT_EQ(sms.UD(), "kept");
}

TEST(Command, EncodesAndDecodes)
{
    TSMSCommand sms;
    EXPECT_EQ(sms.PDUType(), 2);
    sms.SetCT(1);
    sms.SetMN(5);
    sms.SetDA("12345");
    EXPECT_EQ(sms.PDU(), Compact("00 02 00 00 01 05 05 81 21 43 F5 00"));
    TSMSCommand back;
    back.SetPDU(Compact("00 22 07 7F 01 05 05 81 21 43 F5 02 C8 34"));
    EXPECT_TRUE(back.SRR());
    EXPECT_EQ(back.MR(), 7);
    EXPECT_EQ(back.PID(), 0x7F);
    EXPECT_EQ(back.CT(), 1);
    EXPECT_EQ(back.MN(), 5);
    EXPECT_EQ(back.DA(), "12345");
    EXPECT_EQ(back.UD(), "\x48\x69");
}

TEST(Command, OctetDataFollowsTheObjectsDCS)
{
    TSMSCommand sms;
    sms.SetDCS(0x04);
    sms.SetUD("\x01\x02\x03");
    EXPECT_EQ(sms.PDU(), Compact("00 02 00 00 00 00 00 81 03 01 02 03"));
}

TEST(DeliverReport, WritesOnlyTheAnnouncedFields)
{
    TSMSDeliverReport sms;
    EXPECT_EQ(sms.PDU(), "000000");
    sms.SetUD("\x48\x69");
    sms.SetPI(0x06);
    EXPECT_EQ(sms.PDU(), Compact("00 00 06 00 02 C8 34"));
    sms.SetPI(0x02);
    EXPECT_EQ(sms.PDU(), Compact("00 00 02 00"));
    sms.SetPIDPresent(true);
    sms.SetPID(0x41);
    sms.SetDCSPresent(false);
    EXPECT_EQ(sms.PI(), 0x01);
    EXPECT_EQ(sms.PDU(), Compact("00 00 01 41"));
}

TEST(DeliverReport, AbsentFieldsKeepTheirValues)
{
    TSMSDeliverReport sms;
    sms.SetPID(9);
    sms.SetDCS(0x04);
    sms.SetUD("kept");
    sms.SetPDU(Compact("00 40 F8"));  // bits 3-7 only
    EXPECT_EQ(sms.PI(), 0xF8);
    EXPECT_FALSE(sms.PIDPresent() || sms.DCSPresent() || sms.UDPresent());
    EXPECT_EQ(sms.PDUType(), 0x40);
    EXPECT_EQ(sms.PID(), 9);
    EXPECT_EQ(sms.DCS(), 0x04);
    EXPECT_EQ(sms.UD(), "kept");
}

TEST(SubmitReport, RoundTripsItsFields)
{
    FakeOwner owner(true, "+4917");
    TSMSSubmitReport sms;
    sms.SetGSM(&owner);
    EXPECT_EQ(sms.PDUType(), 1);
    sms.SetPI(0xF7);
    sms.SetSCTS(At(2010, 12, 31, 8, 30, 0));
    sms.SetSCTSTZ(-12);
    sms.SetPID(0x40);
    sms.SetDCS(0x04);
    sms.SetUD("\x01\x02");
    TSMSSubmitReport back;
    back.SetGSM(&owner);
    back.SetPDU(sms.PDU());
    EXPECT_EQ(back.PI(), 0xF7);
    EXPECT_DOUBLE_EQ(back.SCTS(), sms.SCTS());
    EXPECT_EQ(back.SCTSTZ(), -12);
    EXPECT_EQ(back.PID(), 0x40);
    EXPECT_EQ(back.DCS(), 0x04);
    EXPECT_EQ(back.UD(), "\x01\x02");
    EXPECT_EQ(back.SCA(), "+4917");
}

// A PDU that ends before a field it must carry is refused, naming the field.
TEST(ShortPDU, IsRejectedNamingTheMissingField)
{
    struct Case {
        TSMS2* sms;
        const char* pdu;
        const char* error;
    };
    TSMSDeliver deliver;
    TSMSSubmit submit;
    TSMSStatusReport report;
    TSMSCommand command;
    TSMSDeliverReport deliverReport;
    TSMSSubmitReport submitReport;
    const Case kCases[] = {
        {&deliver, "", "PDU too short for SCA"},
        {&deliver, "07 91 21 43", "PDU too short for SCA"},
        {&deliver, "00", "PDU too short for PDUType"},
        {&deliver, "00 04 0B 91 21 43", "PDU too short for OA"},
        {&deliver, "00 04 00 81 00 00 40 50 32", "PDU too short for SCTS"},
        {&deliver, "00 04 00 81 00 00 40 50 32 41 50 90 23", "PDU too short for UDL"},
        {&submit, "00 11 00 00 81 00 00", "PDU too short for VP"},
        {&submit, "00 19 00 00 81 00 00 40 50 32 41 50 90", "PDU too short for VP"},
        {&report, "00 06 2A 00 81 40 50 32 41 50 90 23 40 50 32 41 60 90 23", "PDU too short for Status"},
        {&command, "00 02 00 00 01", "PDU too short for MN"},
        {&deliverReport, "00 00 07 41", "PDU too short for DCS"},
        {&deliverReport, "00 00 04", "PDU too short for UDL"},
        {&submitReport, "00 01 00 40 50", "PDU too short for SCTS"},
    };
    for (const auto& c : kCases) {
        try {
            c.sms->SetPDU(Compact(c.pdu));
            ADD_FAILURE() << c.pdu;
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.error) << c.pdu;
        }
    }
}

TEST(Decoding, FailsPartWayLeavingTheLaterFieldsAsTheyWere)
{
    TSMSDeliver sms;
    sms.SetUD("old");
    try {
        sms.SetPDU(Compact("00 24 03 81 21 F3 00 00 40 31 32 41 50 90 23 00"));  // month 13
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
    EXPECT_EQ(sms.PDUType(), 0x24);
    EXPECT_EQ(sms.OA(), "123");
    EXPECT_EQ(sms.UD(), "old");
}

TEST(Decoding, NonHexadecimalTextChangesNothing)
{
    TSMSDeliver sms;
    sms.SetOA("123");
    try {
        sms.SetPDU("0004GG");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "'$GG' is not a valid integer value");
    }
    EXPECT_EQ(sms.OA(), "123");
    EXPECT_EQ(sms.PDUType(), 0);
}

TEST(WideUD, ReadsAndWritesUCS2)
{
    TSMSSubmit sms;
    sms.SetWideUD(u"A\u010D");
    EXPECT_EQ(BytesToHex(sms.UD()), "0041010D");
    EXPECT_EQ(sms.WideUD(), u"A\u010D");
    // With a header the text after it is read, as UCS2 pairs too.
    sms.SetUDHI(true);
    sms.SetUD(Octets("05 00 03 A7 02 01 00 41 01 0D"));
    EXPECT_EQ(sms.WideUD(), u"A\u010D");
    sms.SetUD(Octets("05 00 03 A7 02 01"));
    EXPECT_EQ(sms.WideUD(), u"");
    // Writing replaces the header too.
    sms.SetWideUD(u"B");
    EXPECT_EQ(BytesToHex(sms.UD()), "0042");
}

}  // namespace
