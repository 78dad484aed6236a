#include <gtest/gtest.h>

#include "tests/control/celvane_fixture.h"

namespace {

using namespace celvane;

class MessageObjects : public CelvaneRegistry {};

// A published SMS-DELIVER with its service centre field: from +27838890001, "hellohello".
constexpr char16_t kDeliverPDU[] = u"07917283010010F5040BC87238880900F10000993092516195800AE8329BFD4697D9EC37";

struct InitialType {
    const char* name;
    CLSID clsid;
    uint8_t pduType;
};
constexpr InitialType kInitialTypes[] = {
    {"SMSDeliver", CLSID_SMSDeliver, 0},           {"SMSSubmit", CLSID_SMSSubmit, 1},
    {"SMSStatusReport", CLSID_SMSStatusReport, 2}, {"SMSCommand", CLSID_SMSCommand, 2},
    {"SMSDeliverReport", CLSID_SMSDeliverReport, 0}, {"SMSSubmitReport", CLSID_SMSSubmitReport, 1},
};

TEST_F(MessageObjects, NewObjectsStartWithTheirKindsFirstOctet)
{
    for (const auto& c : kInitialTypes) {
        ComPtr<ISMS2> sms = Create<ISMS2>(c.clsid);
        ASSERT_TRUE(sms) << c.name;
        uint8_t type = 0xFF;
        EXPECT_EQ(sms->get_PDUType(&type), S_OK);
        EXPECT_EQ(type, c.pduType) << c.name;
    }
    ComPtr<ISMS2> report = Create<ISMS2>(CLSID_SMSDeliverReport);
    uint8_t dcs = 0xFF;
    report->get_DCS(&dcs);
    EXPECT_EQ(dcs, 0);
}

TEST_F(MessageObjects, EveryObjectAnswersForItsChainAndNothingElse)
{
    ComPtr<IUnknown> report = Create<IUnknown>(CLSID_SMSSubmitReport);
    for (const IID& iid : {ISMSSubmitReport::kIID, ISMSDeliverReport::kIID, ISMS2::kIID, ISMS::kIID, IDispatch::kIID,
                           ISupportErrorInfo::kIID}) {
        ComPtr<IUnknown> through;
        ASSERT_EQ(report->QueryInterface(iid, reinterpret_cast<void**>(through.Out())), S_OK);
        // Identity: every interface leads back to the same IUnknown.
        EXPECT_EQ(through.Query<IUnknown>(), report);
    }
    for (const IID& iid : {ISMSDeliver::kIID, ISMSSubmit::kIID, ICellBroadcast::kIID, IGlobal::kIID}) {
        void* none = nullptr;
        EXPECT_EQ(report->QueryInterface(iid, &none), E_NOINTERFACE);
    }
    ComPtr<ICellBroadcast> page = Create<ICellBroadcast>(CLSID_CellBroadcast);
    EXPECT_TRUE(page.Query<ISMS>());
    EXPECT_FALSE(page.Query<ISMS2>());
}

TEST_F(MessageObjects, AnyNonZeroBooleanSetsItsBit)
{
    ComPtr<ISMSDeliver> sms = Create<ISMSDeliver>(CLSID_SMSDeliver);
    ASSERT_EQ(sms->put_MMS(VARIANT_TRUE), S_OK);
    uint8_t type = 0;
    sms->get_PDUType(&type);
    EXPECT_EQ(type, 0x04);

    // Late bound, as a script writes it: 5 counts as true, and reads back as -1.
    LateBound late{sms.Get()};
    sms->put_PDUType(0);
    ASSERT_EQ(late.Put(u"MMS", Variant::I4(5)), S_OK);
    EXPECT_EQ(late.Get(u"PDUType").ToInt(), 0x04);
    Variant mms = late.Get(u"MMS");
    EXPECT_EQ(mms.vt, VT_BOOL);
    EXPECT_EQ(mms.boolVal, VARIANT_TRUE);
}

TEST_F(MessageObjects, ReportParameterBitsAreIndependent)
{
    ComPtr<ISMSDeliverReport> report = Create<ISMSDeliverReport>(CLSID_SMSDeliverReport);
    report->put_UDPresent(VARIANT_TRUE);
    VARIANT_BOOL dcs = VARIANT_TRUE, ud = VARIANT_FALSE;
    report->get_DCSPresent(&dcs);
    report->get_UDPresent(&ud);
    EXPECT_EQ(dcs, VARIANT_FALSE);
    EXPECT_EQ(ud, VARIANT_TRUE);
    report->put_DCSPresent(VARIANT_TRUE);
    report->put_UDPresent(VARIANT_FALSE);
    report->get_DCSPresent(&dcs);
    report->get_UDPresent(&ud);
    EXPECT_EQ(dcs, VARIANT_TRUE);
    EXPECT_EQ(ud, VARIANT_FALSE);
}

TEST_F(MessageObjects, ABadPDUFailsWithTheCodecsMessage)
{
    ComPtr<ISMSSubmit> sms = Create<ISMSSubmit>(CLSID_SMSSubmit);
    EXPECT_EQ(sms->put_PDU(Bstr(u"0G").Get()), E_UNEXPECTED);
    EXPECT_FALSE(LastErrorDescription().empty());

    std::string error;
    LateBound late{sms.Get()};
    EXPECT_EQ(late.Call(u"PDU", DISPATCH_PROPERTYPUT, {Variant::Str(u"0011")}, nullptr, &error), DISP_E_EXCEPTION);
    EXPECT_FALSE(error.empty());
}

TEST_F(MessageObjects, ASubmitEncodesWhatItWasGiven)
{
    ComPtr<ISMSSubmit> sms = Create<ISMSSubmit>(CLSID_SMSSubmit);
    sms->put_DA(Bstr(u"+491701234567").Get());
    sms->put_UD(Bstr(u"Hi").Get());
    sms->put_SRR(VARIANT_TRUE);
    Bstr pdu;
    ASSERT_EQ(sms->get_PDU(pdu.Out()), S_OK);
    // Service centre field, first octet with SRR, MR, DA, PID, DCS, UDL 2, "Hi".
    EXPECT_EQ(pdu.Narrow(), "0021000C919471103254760000" "02C834");
}

class GlobalHelper : public CelvaneRegistry {};

TEST_F(GlobalHelper, CreatesTheObjectAMessageCallsFor)
{
    ComPtr<IGlobal> global = Create<IGlobal>(CLSID_Global);
    ComPtr<ISMS2> none;
    ASSERT_EQ(global->ISMS2_CreateSMS(nullptr, Bstr(u"").Get(), VARIANT_TRUE, none.Out()), S_OK);
    EXPECT_FALSE(none);

    ComPtr<ISMS2> sms;
    ASSERT_EQ(global->ISMS2_CreateSMS(nullptr, Bstr(kDeliverPDU).Get(), VARIANT_TRUE, sms.Out()), S_OK);
    ComPtr<ISMSDeliver> deliver = sms.Query<ISMSDeliver>();
    ASSERT_TRUE(deliver);
    Bstr oa, ud, sca;
    deliver->get_OA(oa.Out());
    deliver->get_UD(ud.Out());
    deliver->get_SCA(sca.Out());
    EXPECT_EQ(oa.Narrow(), "27838890001");
    EXPECT_EQ(ud.Narrow(), "hellohello");
    EXPECT_EQ(sca.Narrow(), "+27381000015");
    ComPtr<ICelvane> gsm;
    deliver->get_GSM(gsm.Out());
    EXPECT_FALSE(gsm);
}

TEST_F(GlobalHelper, Int2BaudRateWritesItsOutArgumentOnlyOnAMatch)
{
    ComPtr<IGlobal> global = Create<IGlobal>(CLSID_Global);
    LateBound late{global.Get()};
    int32_t rate = 99;
    Variant found;
    ASSERT_EQ(late.Call(u"Int2BaudRate", DISPATCH_METHOD, {Variant::I4(57600), Variant::ByRef(VT_I4, &rate)}, &found),
              S_OK);
    EXPECT_TRUE(found.ToBool());
    EXPECT_EQ(rate, 11);  // br57600

    rate = 99;
    ASSERT_EQ(late.Call(u"Int2BaudRate", DISPATCH_METHOD, {Variant::I4(1000), Variant::ByRef(VT_I4, &rate)}, &found),
              S_OK);
    EXPECT_FALSE(found.ToBool());
    EXPECT_EQ(rate, 99);

    EXPECT_EQ(late.Call(u"BaudRate2Int", DISPATCH_METHOD, {Variant::I4(11)}, &found), S_OK);
    EXPECT_EQ(found.ToInt(), 57600);
    EXPECT_EQ(late.Call(u"BaudRate2Int", DISPATCH_METHOD, {Variant::I4(256 + 11)}, &found), S_OK);
    EXPECT_EQ(found.ToInt(), 0);
}

TEST_F(GlobalHelper, ModelNamesAndTheirErrors)
{
    ComPtr<IGlobal> global = Create<IGlobal>(CLSID_Global);
    LateBound late{global.Get()};
    Variant name;
    ASSERT_EQ(late.Call(u"GSMEquipmentShortName", DISPATCH_METHOD, {Variant::I4(14)}, &name), S_OK);
    EXPECT_EQ(name.ToNarrow(), "");
    ASSERT_EQ(late.Call(u"Str2GMSEquipment", DISPATCH_METHOD, {Variant::Str(u"TC35")}, &name), S_OK);
    EXPECT_EQ(name.ToInt(), 11);
    std::string error;
    EXPECT_EQ(late.Call(u"Str2GMSEquipment", DISPATCH_METHOD, {Variant::Str(u"nokia")}, &name, &error),
              DISP_E_EXCEPTION);
    EXPECT_EQ(error, "Bad equipment name");
}

TEST_F(GlobalHelper, ExtractParamReadsAndMovesThePosition)
{
    ComPtr<IGlobal> global = Create<IGlobal>(CLSID_Global);
    LateBound late{global.Get()};
    int32_t pos = 1;
    Variant param;
    const Variant text = Variant::Str(u"1,\"SM\",3");
    ASSERT_EQ(late.Call(u"ExtractParam", DISPATCH_METHOD, {text, Variant::ByRef(VT_I4, &pos)}, &param), S_OK);
    EXPECT_EQ(param.ToNarrow(), "1");
    ASSERT_EQ(late.Call(u"ExtractParam", DISPATCH_METHOD, {text, Variant::ByRef(VT_I4, &pos)}, &param), S_OK);
    EXPECT_EQ(param.ToNarrow(), "\"SM\"");
    Bstr trimmed;
    global->TrimQuotes(Bstr(u"\"SM\"").Get(), trimmed.Out());
    EXPECT_EQ(trimmed.Narrow(), "SM");
}

TEST_F(GlobalHelper, AlphabetRoundTrip)
{
    ComPtr<IGlobal> global = Create<IGlobal>(CLSID_Global);
    Bstr codes, back;
    ASSERT_EQ(global->ISOToSMS(Bstr(u"@$abc").Get(), codes.Out()), S_OK);
    EXPECT_EQ(codes.Narrow(), std::string("\x00\x02" "abc", 5));
    global->SMSToISO(codes.Get(), back.Out());
    EXPECT_EQ(back.Narrow(), "@$abc");
}

} // namespace
