#include <gtest/gtest.h>

#include <functional>

#include "platform/com/strings_adapter.h"
#include "tests/control/control_fixture.h"

namespace {

using namespace celvane;

class BadInput : public ControlOnSimulator {
protected:
    // A stored message that every refusal below must leave in place.
    void SetUp() override
    {
        ControlOnSimulator::SetUp();
        ASSERT_EQ(control->put_UnsolicitedIndication(kIndicationSMSDeliver | kIndicationOnlyIndication), S_OK);
        Activate();
        Sim().InjectSms("+4930123456", "keep me");
        ASSERT_TRUE(ServeUntil([&] { return events.Count(kOnUnsolicitedSMS) > 0; }));
        index_ = events.Of(kOnUnsolicitedSMS)[0].arguments[0].lVal;
    }

    std::string StoredText()
    {
        int32_t stat = -1;
        ComPtr<ISMS> message;
        if (control->ReadSMS(index_, &stat, message.Out()) != S_OK || !message)
            return "";
        Bstr ud;
        message.Query<ISMSDeliver>()->get_UD(ud.Out());
        return ud.Narrow();
    }

    int32_t index_ = 0;
};

struct BadCall {
    const char* what;
    std::function<HRESULT(ICelvane*, int32_t index)> call;
    HRESULT expected;
    const char* description;  // nullptr: none is checked
};

HRESULT PutErrorCodes(ICelvane* control, const char* entry)
{
    TStringList items;
    items.Add(entry);
    items.Add("OK.Params=RES,OK");
    ComPtr<IStrings> list;
    if (HRESULT hr = CreateStringsAdapter(items, list.Out()); FAILED(hr))
        return hr;
    return control->put_ErrorCodes(list.Get());
}

const BadCall kBadCalls[] = {
    {"ReadSMS without Stat", [](ICelvane* c, int32_t i) { ComPtr<ISMS> m; return c->ReadSMS(i, nullptr, m.Out()); },
     E_POINTER, nullptr},
    {"ReadSMS without result", [](ICelvane* c, int32_t i) { int32_t s; return c->ReadSMS(i, &s, nullptr); }, E_POINTER,
     nullptr},
    {"SendATCommand without result",
     [](ICelvane* c, int32_t) {
         IStrings* none = nullptr;
         return c->SendATCommand(Bstr(u"AT+CMGD=1").Get(), 1, &none, 0, nullptr);
     },
     E_POINTER, nullptr},
    {"ErrorCodes with a code that is no integer", [](ICelvane* c, int32_t) { return PutErrorCodes(c, "OK=abc"); },
     E_UNEXPECTED, "ErrorCodes: 'abc' is not a valid integer value for OK"},
    {"ReadSMS of index 0", [](ICelvane* c, int32_t) { int32_t s; ComPtr<ISMS> m; return c->ReadSMS(0, &s, m.Out()); },
     E_UNEXPECTED, nullptr},
    {"DeleteSMS of index -1", [](ICelvane* c, int32_t) { return c->DeleteSMS(-1); }, E_UNEXPECTED, nullptr},
    {"GetSMSList of status 99", [](ICelvane* c, int32_t) { ComPtr<IStrings2> l; return c->GetSMSList(99, l.Out()); },
     E_UNEXPECTED, nullptr},
    {"SCA with a line end", [](ICelvane* c, int32_t) { return c->put_SCA(Bstr(u"\"\r\nAT+CMGD=1\r").Get()); },
     E_UNEXPECTED, nullptr},
    {"Mem1 the device does not have", [](ICelvane* c, int32_t) { return c->put_Mem1(Bstr(u"XX").Get()); },
     E_UNEXPECTED, nullptr},
};

TEST_F(BadInput, EachCallIsRefusedClearlyAndTheStoredMessageStays)
{
    ASSERT_EQ(StoredText(), "keep me");
    for (const BadCall& bad : kBadCalls) {
        EXPECT_EQ(bad.call(control.Get(), index_), bad.expected) << bad.what;
        if (bad.description)
            EXPECT_EQ(LastErrorDescription(), bad.description) << bad.what;
        EXPECT_EQ(Sim().StoredCount("SM"), 1) << bad.what;
    }
    ASSERT_EQ(control->put_Mem1(Bstr(u"\"SM\"").Get()), S_OK);
    EXPECT_EQ(StoredText(), "keep me");
}

} // namespace
