#include <gtest/gtest.h>

#include "codec/codec_error.h"
#include "codec/gsm_equipment.h"
#include "codec/sms_command.h"
#include "codec/sms_deliver.h"
#include "codec/sms_deliver_report.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "codec/sms_submit_report.h"
#include "platform/sys/exception.h"
#include "tests/codec/codec_test_support.h"

namespace {

template <class Kind>
bool Is(const std::unique_ptr<TSMS2>& sms)
{
    return sms && typeid(*sms) == typeid(Kind);
}

TEST(CreateSMS, ChoosesTheKindByTypeAndDirection)
{
    // One PDU per message type whose fields decode as every kind of that type.
    struct Case {
        const char* pdu;
        bool mt;
        bool (*is)(const std::unique_ptr<TSMS2>&);
    };
    const Case kCases[] = {
        {"00 00 00 00 00 00 00 40 50 32 41 50 90 23 00", true, Is<TSMSDeliver>},
        {"00 00 00 00 00 00 00 40 50 32 41 50 90 23 00", false, Is<TSMSDeliverReport>},
        {"00 01 00 00 10 10 00 00 00 00", true, Is<TSMSSubmitReport>},
        {"00 01 00 00 10 10 00 00 00 00", false, Is<TSMSSubmit>},
        {"00 02 00 00 81 00 10 10 00 00 00 00 00 10 10 00 00 00 00 00", true, Is<TSMSStatusReport>},
        {"00 02 00 00 81 00 10 10 00 00 00 00 00 10 10 00 00 00 00 00", false, Is<TSMSCommand>},
    };
    for (const auto& c : kCases)
        EXPECT_TRUE(c.is(TSMS2::CreateSMS(nullptr, Compact(c.pdu), c.mt))) << c.pdu << " " << c.mt;
}

TEST(CreateSMS, DecodesTheMessage)
{
    const auto sms = TSMS2::CreateSMS(nullptr, "00010005812143F5000000", false);
    ASSERT_TRUE(Is<TSMSSubmit>(sms));
    EXPECT_EQ(static_cast<TSMSSubmit&>(*sms).DA(), "12345");
    EXPECT_EQ(sms->GSM(), nullptr);
}

TEST(CreateSMS, TheSubmitExampleTowardsTheMobileFailsInItsTimeStamp)
{
    // As a submit report, the address octets 05 81 21 43 F5 00 are read as a time stamp.
    try {
        TSMS2::CreateSMS(nullptr, "00010005812143F5000000", true);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid argument to date encode");
    }
}

TEST(CreateSMS, TakesTheOwnersFieldRuleAndServiceCentre)
{
    FakeOwner wavecom(false, "+4917");
    const auto sms = TSMS2::CreateSMS(&wavecom, "010005812143F5000000", false);
    ASSERT_TRUE(Is<TSMSSubmit>(sms));
    EXPECT_EQ(sms->GSM(), &wavecom);
    EXPECT_EQ(sms->SCA(), "+4917");
    EXPECT_EQ(static_cast<TSMSSubmit&>(*sms).DA(), "12345");
    // With a field, the PDU's own service centre wins over the owner's.
    FakeOwner siemens(true, "+4917");
    const auto deliver = TSMS2::CreateSMS(
        &siemens, Compact("07 91 21 43 65 87 09 F1 04 0B 91 21 43 65 87 09 F1 00 00 40 50 32 41 50 90 23 02 C8 34"),
        true);
    ASSERT_TRUE(Is<TSMSDeliver>(deliver));
    EXPECT_EQ(deliver->SCA(), "+12345678901");
}

TEST(CreateSMS, GivesNoMessageForEmptyShortOrReserved)
{
    FakeOwner wavecom(false, "");
    EXPECT_EQ(TSMS2::CreateSMS(nullptr, "", true), nullptr);
    EXPECT_EQ(TSMS2::CreateSMS(nullptr, "07", true), nullptr);  // the field claims seven octets
    EXPECT_EQ(TSMS2::CreateSMS(nullptr, "0791214365", true), nullptr);
    EXPECT_EQ(TSMS2::CreateSMS(nullptr, "0003", false), nullptr);  // type 3
    EXPECT_EQ(TSMS2::CreateSMS(&wavecom, "FF", true), nullptr);
    EXPECT_THROW(TSMS2::CreateSMS(nullptr, "0G", true), EConvertError);
}

TEST(ModelNames, TablesByModel)
{
    EXPECT_EQ(GSMEquipmentShortName(eqA1), "A1");
    EXPECT_EQ(GSMEquipmentLongName(eqGM12), "Ericsson GM12");
    EXPECT_EQ(GSMEquipmentShortName(eqWaveCom), "WaveCom");
    EXPECT_EQ(GSMEquipmentLongName(eqFasttrack), "Wavecom Fasttrack");
    EXPECT_EQ(GSMEquipmentLongName(eqZText), "Z-Text");
    EXPECT_EQ(GSMEquipmentLongName(14), "");
    EXPECT_EQ(GSMEquipmentShortName(-1), "");
}

TEST(ModelNames, ShortNamesReadBackIgnoringCase)
{
    for (int model = eqA1; model <= eqZText; ++model)
        EXPECT_EQ(Str2GMSEquipment(GSMEquipmentShortName(model)), model);
    EXPECT_EQ(Str2GMSEquipment("nokia6210"), eqNokia6210);
    EXPECT_EQ(Str2GMSEquipment("WAVECOM"), eqWaveCom);
    for (const char* bad : {"Nokia 6210", "", "M"}) {
        try {
            Str2GMSEquipment(bad);
            ADD_FAILURE() << bad;
        } catch (const EGSMError& e) {
            EXPECT_EQ(e.Message(), "Bad equipment name");
        }
    }
}

}  // namespace
