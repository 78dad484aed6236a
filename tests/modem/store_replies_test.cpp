#include <gtest/gtest.h>

#include "codec/sms_deliver.h"
#include "codec/sms_submit.h"
#include "engine_fixture.h"
#include "sim/model_dialogues.h"
#include "sim/scripted_responder.h"

namespace {

// An engine opened on a scripted device: the model's open dialogue, then the given steps.
struct OpenedOnScript {
    OpenedOnScript(const char* model, const std::string& steps)
        : responder(sim::DialogueScript(*sim::FindModelDialogue(model)) + steps)
    {
        comm.SetDeviceName(responder.Path());
        gsm.SetCOMDevice(&comm);
        gsm.SetEquipment(Str2GMSEquipment(model));
        gsm.SetPIN("1234");
        UseTestTimeouts(gsm);
        gsm.SetActive(true);
    }
    ~OpenedOnScript() { gsm.SetActive(false); }

    sim::TScriptedResponder responder;
    TComm comm;
    TGSM gsm;
};

// A deliver from +4917012345 saying "Hi", behind the empty service centre field.
constexpr const char* kDeliverPDU = "00040A91947110325400002201212143008002C834";

TEST(StoreReplies, TheReferenceIsTheReplyLineOrMinusOne)
{
    TSMSSubmit submit;
    submit.SetDA("+4917012345");
    submit.SetUD("Hi");
    const std::string pdu = submit.PDU();  // with the empty service centre octet, as the TC35 wants
    const std::string length = std::to_string(pdu.size() / 2 - 1);
    const std::string send = "AT+CMGS=" + length + " -> \\r\\n> \n" + pdu + "\\x1A -> ";
    OpenedOnScript engine("TC35", send + "\\r\\nOK\\r\\n\n" + send + "\\r\\n+CMGS: 7\\r\\n\\r\\nOK\\r\\n\n" + send +
                                      "\\r\\n+CMGS: x\\r\\n\\r\\nOK\\r\\n\n");
    EXPECT_EQ(engine.gsm.SendSMS(submit), -1);
    EXPECT_EQ(engine.gsm.SendSMS(submit), 7);
    EXPECT_EQ(engine.gsm.SendSMS(submit), -1);
    EXPECT_TRUE(engine.responder.WaitDone(2000)) << engine.responder.Difference();
}

TEST(StoreReplies, ListKeepsAnEntryWhosePDUDoesNotDecode)
{
    OpenedOnScript engine("TC35", std::string("AT+CMGL=4 -> \\r\\n+CMGL: 1,0,,5\\r\\nZZZZ\\r\\n+CMGL: 2,1,,20\\r\\n") +
                                      kDeliverPDU + "\\r\\n\\r\\nOK\\r\\n\n");
    std::unique_ptr<TStringList> list = engine.gsm.GetSMSList(4);
    ASSERT_EQ(list->Count(), 2);
    EXPECT_EQ((*list)[0], "1=0");
    EXPECT_EQ(list->GetObject(0), nullptr);
    EXPECT_EQ((*list)[1], "2=1");
    auto* deliver = dynamic_cast<TSMSDeliver*>(list->GetObject(1));
    ASSERT_TRUE(deliver);
    EXPECT_EQ(deliver->UD(), "Hi");
}

TEST(StoreReplies, GarbageInAHeaderFailsAndTheEngineGoesOn)
{
    OpenedOnScript engine("TC35", std::string("AT+CMGL=4 -> \\r\\n+CMGL: x,0,,20\\r\\n") + kDeliverPDU +
                                      "\\r\\n\\r\\nOK\\r\\n\nAT+CMGD=1 -> \\r\\nOK\\r\\n\n");
    EXPECT_THROW(engine.gsm.GetSMSList(4), EConvertError);
    EXPECT_NO_THROW(engine.gsm.DeleteSMS(1));
    EXPECT_TRUE(engine.responder.WaitDone(2000)) << engine.responder.Difference();
}

TEST(StoreReplies, TextModeRecordWithAnUnquotedEmptyAddressIsNone)
{
    OpenedOnScript engine("Nokia9110", "AT+CMGR=1 -> \\r\\n+CMGR: \"REC UNREAD\",,\\r\\nbody\\r\\n\\r\\nOK\\r\\n\n"
                                       "AT+CMGR=2 -> \\r\\n+CMGR: \"REC READ\",\"+4917012345\",,\"22/10/12,12:34:00+08\","
                                       "145,4,0,0,\"+491710760000\",145,11\\r\\nHello\\r\\nWorld\\r\\n\\r\\nOK\\r\\n\n");
    int stat = -1;
    EXPECT_EQ(engine.gsm.ReadSMS(1, stat), nullptr);
    EXPECT_EQ(stat, 0);
    std::unique_ptr<TSMS2> message = engine.gsm.ReadSMS(2, stat);
    auto* deliver = dynamic_cast<TSMSDeliver*>(message.get());
    ASSERT_TRUE(deliver);
    EXPECT_EQ(stat, 1);
    EXPECT_EQ(deliver->OA(), "+4917012345");
    EXPECT_EQ(deliver->UD(), "Hello\nWorld");
}

}  // namespace
