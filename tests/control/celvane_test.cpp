#include <gtest/gtest.h>

#include "platform/com/strings_adapter.h"
#include "tests/control/control_fixture.h"

namespace {

using namespace celvane;

constexpr int32_t kStatAll = 4;

bool IsActive(ICelvane* control)
{
    VARIANT_BOOL active = VARIANT_FALSE;
    control->get_Active(&active);
    return active != VARIANT_FALSE;
}

std::string Text(HRESULT (ICelvane::*getter)(BSTR*), ICelvane* control)
{
    Bstr value;
    (control->*getter)(value.Out());
    return value.Narrow();
}

class Control : public ControlOnSimulator {
protected:
    // Messages stay in the store and are announced by their index.
    void StoreIndications()
    {
        ASSERT_EQ(control->put_UnsolicitedIndication(kIndicationSMSDeliver | kIndicationOnlyIndication), S_OK);
        Activate();
    }
};

TEST_F(Control, ConnectsAndDisconnectsThroughActive)
{
    Activate();
    EXPECT_TRUE(IsActive(control.Get()));
    EXPECT_FALSE(Text(&ICelvane::get_ManufacturerId, control.Get()).empty());
    // The traffic of the open sequence reached the host on both channels.
    EXPECT_NE(events.Log(1).find("AT"), std::string::npos);
    EXPECT_NE(events.Log(2).find("OK"), std::string::npos);
    ASSERT_EQ(control->put_Active(VARIANT_FALSE), S_OK);
    EXPECT_FALSE(IsActive(control.Get()));
    EXPECT_EQ(OpenDescriptorsOn(Sim().Path()), SimulatorDescriptors());
}

TEST_F(Control, ASilentDeviceFailsAndLeavesThePortOpenUntilClosed)
{
    Sim().SetSilent(true);
    EXPECT_EQ(control->put_Active(VARIANT_TRUE), E_UNEXPECTED);
    EXPECT_NE(LastErrorDescription().find("No reply"), std::string::npos) << LastErrorDescription();
    EXPECT_FALSE(IsActive(control.Get()));
    EXPECT_EQ(OpenDescriptorsOn(Sim().Path()), SimulatorDescriptors() + 1);
    EXPECT_EQ(control->put_Active(VARIANT_FALSE), S_OK);
    EXPECT_EQ(OpenDescriptorsOn(Sim().Path()), SimulatorDescriptors());
}

TEST_F(Control, FailuresReachALateBoundCallerWithTheirDescription)
{
    Activate();
    LateBound late{control.Get()};
    std::string error;
    EXPECT_EQ(late.Call(u"DeviceName", DISPATCH_PROPERTYPUT, {Variant::Str(u"Com1")}, nullptr, &error),
              DISP_E_EXCEPTION);
    EXPECT_EQ(error, "Connection is active");
    EXPECT_EQ(Text(&ICelvane::get_DeviceName, control.Get()), Sim().Path());
}

TEST_F(Control, SendsASubmitObjectAndReceivesItBackRouted)
{
    ASSERT_EQ(control->put_UnsolicitedIndication(kIndicationSMSDeliver), S_OK);
    Activate();
    ComPtr<ISMSSubmit> sms = Create<ISMSSubmit>(CLSID_SMSSubmit);
    sms->put_DA(Bstr(u"+491701234567").Get());  // the simulator's own number
    sms->put_UD(Bstr(u"Hello me").Get());
    ASSERT_EQ(control->SendSMS(sms.Get()), S_OK) << LastErrorDescription();
    EXPECT_NE(events.Log(1).find("AT+CMGS="), std::string::npos);

    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
    RecordedEvent arrived = events.Of(kOnUnsolicitedSMS)[0];
    EXPECT_EQ(arrived.arguments[0].lVal, -1);
    ASSERT_EQ(arrived.arguments[1].vt, VT_DISPATCH);
    ComPtr<ISMSDeliver> deliver;
    ASSERT_EQ(arrived.arguments[1].pdispVal->QueryInterface(IID_PPV_ARGS(deliver.Out())), S_OK);
    Bstr ud;
    deliver->get_UD(ud.Out());
    EXPECT_EQ(ud.Narrow(), "Hello me");
}

// This model's PDUs carry no service centre field; a message object's PDU does.
class ControlWithoutServiceCentreField : public ControlOnSimulator {
protected:
    const char* Model() const override { return "M1"; }
    int32_t Equipment() const override { return 1; }  // eqM1
};

TEST_F(ControlWithoutServiceCentreField, SendsAnObjectMadeWithoutAControl)
{
    ASSERT_EQ(control->put_UnsolicitedIndication(kIndicationSMSDeliver), S_OK);
    Activate();
    ComPtr<ISMSSubmit> sms = Create<ISMSSubmit>(CLSID_SMSSubmit);
    sms->put_DA(Bstr(u"+491701234567").Get());
    sms->put_UD(Bstr(u"Across models").Get());
    ASSERT_EQ(control->SendSMS(sms.Get()), S_OK) << LastErrorDescription();
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
    ComPtr<ISMSDeliver> deliver;
    ASSERT_EQ(events.Of(kOnUnsolicitedSMS)[0].arguments[1].pdispVal->QueryInterface(IID_PPV_ARGS(deliver.Out())),
              S_OK);
    Bstr ud;
    deliver->get_UD(ud.Out());
    EXPECT_EQ(ud.Narrow(), "Across models");
}

TEST_F(Control, ReadsListsAndDeletesStoredMessages)
{
    StoreIndications();
    Sim().InjectSms("+4930123456", "First");
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
    const int32_t index = events.Of(kOnUnsolicitedSMS)[0].arguments[0].lVal;
    EXPECT_GE(index, 1);

    int32_t stat = -1;
    ComPtr<ISMS> read;
    ASSERT_EQ(control->ReadSMS(index, &stat, read.Out()), S_OK) << LastErrorDescription();
    ComPtr<ISMSDeliver> deliver = read.Query<ISMSDeliver>();
    ASSERT_TRUE(deliver);
    Bstr oa;
    deliver->get_OA(oa.Out());
    EXPECT_EQ(oa.Narrow(), "+4930123456");

    ComPtr<IStrings2> list;
    ASSERT_EQ(control->GetSMSList(kStatAll, list.Out()), S_OK) << LastErrorDescription();
    int32_t count = 0;
    list->Count(&count);
    ASSERT_EQ(count, 1);
    Variant first, second;
    ASSERT_EQ(list->get_Objects(0, &first), S_OK);
    ASSERT_EQ(list->get_Objects(0, &second), S_OK);
    ASSERT_EQ(first.vt, VT_DISPATCH);
    EXPECT_NE(first.pdispVal, second.pdispVal);  // a new object for each read
    // Late bound too, and writing anything but a message removes the entry's message.
    LateBound late{list.Get()};
    EXPECT_EQ(late.Call(u"Objects", DISPATCH_PROPERTYPUT, {Variant::I4(0), Variant()}), S_OK);
    EXPECT_EQ(late.Get(u"Objects", {Variant::I4(0)}).vt, VT_EMPTY);

    ASSERT_EQ(control->DeleteSMS(index), S_OK);
    ASSERT_EQ(control->GetSMSList(kStatAll, list.Out()), S_OK);
    list->Count(&count);
    EXPECT_EQ(count, 0);
}

TEST_F(Control, ListsSurviveTheirControl)
{
    StoreIndications();
    Sim().InjectSms("+4930123456", "Kept");
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
    ComPtr<IStrings2> list;
    ASSERT_EQ(control->GetSMSList(kStatAll, list.Out()), S_OK);
    control->put_Active(VARIANT_FALSE);
    control.Reset();
    Variant object;
    ASSERT_EQ(list->get_Objects(0, &object), S_OK);
    ComPtr<ISMSDeliver> deliver;
    ASSERT_EQ(object.pdispVal->QueryInterface(IID_PPV_ARGS(deliver.Out())), S_OK);
    Bstr ud;
    deliver->get_UD(ud.Out());
    EXPECT_EQ(ud.Narrow(), "Kept");
}

TEST_F(Control, EventsReachTheSinkAndAFailingHandlerDisturbsNothing)
{
    handler = [](DISPID id, const std::vector<Variant>&) {
        if (id == kOnNetworkRegistration)
            throw std::runtime_error("the host's handler failed");
    };
    StoreIndications();
    EXPECT_GT(events.Count(kOnBusyChanged), 0u);
    EXPECT_FALSE(events.RxChars().empty());
    Sim().SetRegistration(5);
    ASSERT_TRUE(ServeUntil([&] {
        auto reported = events.Of(kOnNetworkRegistration);
        return !reported.empty() && reported.back().arguments[0].lVal == 5;
    }));
    int32_t registration = 0;
    control->get_NetworkRegistration(&registration);
    EXPECT_EQ(registration, 5);
    // The next event and the engine itself carry on.
    Sim().InjectSms("+4930123456", "Next");
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
    EXPECT_FALSE(Text(&ICelvane::get_ModelId, control.Get()).empty());
}

TEST_F(Control, ALineTheEngineDoesNotHandleComesAsAnUnsolicitedLine)
{
    Activate();
    Sim().InjectBytes("\r\nRING\r\n");
    auto rang = [&] {
        for (const auto& e : events.Of(kOnUnsolicitedLine))
            if (e.arguments[0].ToNarrow() == "RING")
                return true;
        return false;
    };
    EXPECT_TRUE(ServeUntil(rang));
}

TEST_F(Control, WithoutASinkNothingIsDeliveredAndNothingFails)
{
    ComPtr<ICelvane> alone = Create<ICelvane>(CLSID_Celvane);
    alone->put_DeviceName(Bstr::FromNarrow(Sim().Path()).Get());
    alone->put_Equipment(11);
    alone->put_PIN(Bstr(u"1234").Get());
    ASSERT_EQ(alone->put_Active(VARIANT_TRUE), S_OK) << LastErrorDescription();
    Sim().InjectSms("+4930123456", "Nobody listens");
    CheckSynchronize(200);
    EXPECT_EQ(alone->put_Active(VARIANT_FALSE), S_OK);
}

TEST_F(Control, ThePollReportsFromTheEndOfTheListAndDeletes)
{
    StoreIndications();
    Sim().InjectSms("+4930000001", "one");
    Sim().InjectSms("+4930000002", "two");
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) == 2; }));
    events.Clear();
    ASSERT_EQ(control->put_CheckInterval(1), S_OK);
    ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) == 2; }, 4000));
    auto polled = events.Of(kOnUnsolicitedSMS);
    std::vector<std::string> texts;
    for (const auto& e : polled) {
        EXPECT_EQ(e.arguments[0].lVal, -1);
        ComPtr<ISMSDeliver> deliver;
        ASSERT_EQ(e.arguments[1].pdispVal->QueryInterface(IID_PPV_ARGS(deliver.Out())), S_OK);
        Bstr ud;
        deliver->get_UD(ud.Out());
        texts.push_back(ud.Narrow());
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"two", "one"}));
    EXPECT_EQ(Sim().StoredCount("SM"), 0);
}

TEST_F(Control, SendCharWhileInactiveOpensThePortRaw)
{
    ASSERT_EQ(control->SendChar(Bstr(u"AT\r").Get()), S_OK) << LastErrorDescription();
    EXPECT_FALSE(IsActive(control.Get()));
    EXPECT_EQ(events.Log(1), "AT\r");
    ASSERT_TRUE(ServeUntil([&] { return events.RxChars().find("OK\r\n") != std::string::npos; }));
    EXPECT_EQ(events.RxChars(), events.Log(2));
    // A port setting while inactive ends raw mode and closes the port.
    EXPECT_EQ(control->put_DeviceName(Bstr::FromNarrow(Sim().Path()).Get()), S_OK);
    EXPECT_EQ(OpenDescriptorsOn(Sim().Path()), SimulatorDescriptors());
}

TEST_F(Control, ValuesAreConvertedAtTheInterface)
{
    int32_t value = 0;
    EXPECT_EQ(control->put_UnsolicitedIndication(0x1F), S_OK);
    control->get_UnsolicitedIndication(&value);
    EXPECT_EQ(value, 0x0F);
    EXPECT_EQ(control->put_CheckInterval(1), S_OK);
    control->get_CheckInterval(&value);
    EXPECT_EQ(value, 1);
    control->get_SupportedSMSFormats(&value);
    EXPECT_EQ(value, 3);  // the TC35 has both formats
    EXPECT_EQ(control->put_Parity(7), E_UNEXPECTED);
    EXPECT_EQ(LastErrorDescription(), "7 is not a valid TParity value");
    EXPECT_EQ(control->put_CheckInterval(-1), E_UNEXPECTED);

    LateBound late{control.Get()};
    EXPECT_EQ(late.Put(u"CommandEcho", Variant::I4(5)), S_OK);
    EXPECT_EQ(late.Get(u"CommandEcho").boolVal, VARIANT_TRUE);
}

TEST_F(Control, SendATCommandHandsTheReplyBackInANewList)
{
    Activate();
    LateBound late{control.Get()};
    // A client's own list, as a script host makes one.
    TStringList items;
    ComPtr<IStrings> lines;
    ASSERT_EQ(CreateStringsAdapter(items, lines.Out()), S_OK);
    IDispatch* reply = lines.Get();
    reply->AddRef();
    Variant result;
    std::string error;
    ASSERT_EQ(late.Call(u"SendATCommand", DISPATCH_METHOD,
                        {Variant::Str(u"AT+CGMI"), Variant::UI1(3), Variant::ByRef(VT_DISPATCH, &reply)}, &result,
                        &error),
              S_OK)
        << error;
    EXPECT_EQ(result.ToInt(), 0);
    ComPtr<IStrings> handedBack = ComPtr<IStrings>::Attach(static_cast<IStrings*>(reply));
    int32_t count = 0;
    handedBack->Count(&count);
    EXPECT_GE(count, 1);
    EXPECT_NE(handedBack.Get(), lines.Get());

    int32_t ignored = 0;
    IStrings* none = nullptr;
    EXPECT_EQ(control->SendATCommand(Bstr(u"AT").Get(), 1, &none, 0, &ignored), E_UNEXPECTED);
    EXPECT_EQ(LastErrorDescription(), "SendATCommand needs a string list in ResultS");
}

TEST_F(Control, ErrorCodesIsALiveViewOfTheEnginesTable)
{
    ComPtr<IStrings> codes;
    ASSERT_EQ(control->get_ErrorCodes(codes.Out()), S_OK);
    int32_t before = 0;
    codes->Count(&before);
    int32_t index = 0;
    codes->Add(Bstr(u"EXTRA=99").Get(), &index);
    ComPtr<IStrings> again;
    control->get_ErrorCodes(again.Out());
    int32_t after = 0;
    again->Count(&after);
    EXPECT_EQ(after, before + 1);
    ASSERT_EQ(control->put_ErrorCodes(again.Get()), S_OK);  // a view of itself
    again->Count(&after);
    EXPECT_EQ(after, before + 1);
    EXPECT_EQ(control->put_ErrorCodes(nullptr), E_UNEXPECTED);
    EXPECT_EQ(LastErrorDescription(), "ErrorCodes needs a string list");
}

TEST_F(Control, StringListsNeedTheStandardTypeLibrary)
{
    ASSERT_EQ(UnregisterStdTypeLibrary(), S_OK);
    ComPtr<IStrings> codes;
    EXPECT_EQ(control->get_ErrorCodes(codes.Out()), TYPE_E_LIBNOTREGISTERED);
}

TEST_F(Control, AMessageWithAControlEncodesForThatControlsDevice)
{
    ASSERT_EQ(control->put_Equipment(1), S_OK);  // eqM1: PDUs without the service centre field
    ComPtr<ISMSSubmit> sms = Create<ISMSSubmit>(CLSID_SMSSubmit);
    sms->put_DA(Bstr(u"12345").Get());
    Bstr withField, without, again;
    sms->get_PDU(withField.Out());
    ASSERT_EQ(sms->put_GSM(control.Get()), S_OK);
    sms->get_PDU(without.Out());
    EXPECT_EQ("00" + without.Narrow(), withField.Narrow());
    ComPtr<ICelvane> gsm;
    sms->get_GSM(gsm.Out());
    EXPECT_EQ(gsm, control);

    ASSERT_EQ(sms->put_GSM(nullptr), S_OK);
    sms->get_GSM(gsm.Out());
    EXPECT_FALSE(gsm);
    sms->get_PDU(again.Out());
    EXPECT_EQ(again.Narrow(), withField.Narrow());
}

} // namespace
