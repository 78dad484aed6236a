#include <gtest/gtest.h>

#include "codec/sms_deliver.h"
#include "codec/sms_status_report.h"
#include "codec/sms_submit.h"
#include "simulated_engine.h"

namespace {

constexpr const char* kOwnNumber = "+491701234567";

std::string Failure(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no failure)";
}

// What OnUnsolicitedSMS brought, copied during the event: the engine frees its message after.
struct Arrival {
    int index;
    std::string kind;  // "deliver", "report", "other" or "" for an index only
    std::string ud;
};

class StoreEngine : public SimulatedEngine {
public:
    explicit StoreEngine(const std::string& model) : SimulatedEngine(model)
    {
        gsm.OnUnsolicitedSMS = [this](TObject*, int index, TSMS* message) {
            Arrival a{index, "", ""};
            if (auto* deliver = dynamic_cast<TSMSDeliver*>(message)) {
                a.kind = "deliver";
                a.ud = deliver->UD();
            } else if (dynamic_cast<TSMSStatusReport*>(message)) {
                a.kind = "report";
            } else if (message) {
                a.kind = "other";
            }
            arrivals.push_back(a);
        };
    }

    int Send(const std::string& text, bool statusReport)
    {
        TSMSSubmit submit;
        submit.SetGSM(&gsm);
        submit.SetDA(kOwnNumber);
        submit.SetUD(text);
        submit.SetSRR(statusReport);
        return gsm.SendSMS(submit);
    }

    // Waits for an arrival of the kind ("" for an index) and takes it out.
    std::optional<Arrival> Take(const std::string& kind)
    {
        std::optional<Arrival> found;
        ServeUntil([&] {
            for (auto it = arrivals.begin(); it != arrivals.end(); ++it)
                if (it->kind == kind) {
                    found = *it;
                    arrivals.erase(it);
                    return true;
                }
            return false;
        });
        return found;
    }

    std::vector<Arrival> arrivals;
};

class MessageStore : public testing::TestWithParam<const char*> {};

// Every model sends to its own number and gets the message back stored and routed, with the
// status report of a send that asks for one.
TEST_P(MessageStore, SendsAndReceivesBothWays)
{
    StoreEngine engine(GetParam());
    engine.gsm.SetUnsolicitedIndication(Indication(uindSMSDeliver) | Indication(uindOnlyIndication) |
                                        Indication(uindSMSStatusReport));
    engine.gsm.SetActive(true);

    // Stored: announced by index, read, listed and deleted.
    const int reference = engine.Send("Hello stored", false);
    EXPECT_GE(reference, 0);
    const std::optional<Arrival> stored = engine.Take("");
    ASSERT_TRUE(stored) << "no +CMTI";
    int stat = -1;
    std::unique_ptr<TSMS2> read = engine.gsm.ReadSMS(stored->index, stat);
    ASSERT_TRUE(read);
    auto* deliver = dynamic_cast<TSMSDeliver*>(read.get());
    ASSERT_TRUE(deliver);
    EXPECT_EQ(deliver->UD(), "Hello stored");
    EXPECT_EQ(deliver->OA(), kOwnNumber);
    EXPECT_TRUE(stat == 0 || stat == 1) << stat;
    std::unique_ptr<TStringList> list = engine.gsm.GetSMSList(4);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ(list->Names(0), std::to_string(stored->index));
    if (engine.gsm.SMSFormat() == smsfPDU)
        EXPECT_TRUE(dynamic_cast<TSMSDeliver*>(list->GetObject(0)));
    engine.gsm.DeleteSMS(stored->index);
    EXPECT_EQ(engine.gsm.GetSMSList(4)->Count(), 0);

    // Routed: the message comes with its header, and is acknowledged when the level asks.
    engine.gsm.SetUnsolicitedIndication(Indication(uindSMSDeliver) | Indication(uindSMSStatusReport));
    // The T260 announces status reports by storage index on +CDS: lines, never routed.
    const bool reports = (engine.gsm.UnsolicitedIndication() & Indication(uindSMSStatusReport)) != 0 &&
                         engine.gsm.Equipment() != eqT260;
    engine.Send("Hello routed", reports);
    const std::optional<Arrival> routed = engine.Take("deliver");
    ASSERT_TRUE(routed) << "no +CMT";
    EXPECT_EQ(routed->index, -1);
    EXPECT_EQ(routed->ud, "Hello routed");
    if (reports) {
        const std::optional<Arrival> report = engine.Take("report");
        EXPECT_TRUE(report) << "no status report";
    }
    ServeUntil([&] { return engine.Sim().UnacknowledgedCount() == 0; }, 1000);
    EXPECT_EQ(engine.Sim().UnacknowledgedCount(), 0);
    EXPECT_TRUE(engine.recorder.allOnMainThread);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, MessageStore,
                         testing::Values("A1", "M1", "M20", "GM12", "Nokia6210", "Nokia6650", "Nokia9110", "M35",
                                         "S25", "T260", "WaveCom", "TC35", "Fasttrack", "ZText"),
                         [](const auto& info) { return std::string(info.param); });

TEST(SendSMS, AnnouncesTheModelsLength)
{
    struct Case {
        const char* model;
        int length;
    };
    // The same TPDU: 24 octets without the service centre field, 25 with it.
    const Case kCases[] = {{"WaveCom", 24}, {"M35", 24}, {"A1", 165}, {"M1", 164}};
    for (const auto& c : kCases) {
        TGSM gsm;
        gsm.SetEquipment(Str2GMSEquipment(c.model));
        TSMSSubmit submit;
        submit.SetGSM(&gsm);
        submit.SetDA("+4917012345");
        submit.SetUD("Hello world!!");  // 13 septets in 12 octets
        class LengthProbe : public TGSM {
        public:
            using TGSM::GetSubmitLength;
        };
        auto& probe = static_cast<LengthProbe&>(gsm);
        EXPECT_EQ(probe.GetSubmitLength(submit), c.length) << c.model;
    }
}

TEST(SendSMS, TextModeRefusesWhatWouldEscapeTheCommand)
{
    StoreEngine engine("TC35");
    engine.gsm.SetSMSFormat(smsfText);
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    TSMSSubmit submit;
    submit.SetDA("+49\"170");
    submit.SetUD("x");
    EXPECT_THROW(engine.gsm.SendSMS(submit), EGSMError);
    submit.SetDA("+49170");
    submit.SetUD("x\x1A" "AT+CMGD=1\r");
    EXPECT_EQ(Failure([&] { engine.gsm.SendSMS(submit); }), "Message text must not contain Ctrl-Z or ESC");
    EXPECT_TRUE(engine.Commands().empty());
}

TEST(SendSMS, TextModeSendsTheAddressTypeAndForcedValidityFormat)
{
    StoreEngine engine("TC35");
    engine.gsm.SetSMSFormat(smsfText);
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    TSMSSubmit submit;
    submit.SetDA("+12345");
    submit.SetUD("Hi");
    engine.gsm.SendSMS(submit);
    submit.SetDA("#123");
    engine.gsm.SendSMS(submit);
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"AT+CSMP=17,,0,0", "AT+CMGS=\"+12345\",145", "Hi",
                                                           "AT+CSMP=17,,0,0", "AT+CMGS=\"123\",161", "Hi"}));
}

TEST(SendSMS, OnlySubmitsAndCommands)
{
    TGSM gsm;
    TSMSDeliver deliver;
    EXPECT_EQ(Failure([&] { gsm.SendSMS(deliver); }), "SMS type not supported");
}

TEST(MessageStore, NeedsAnOpenEngine)
{
    TGSM gsm;
    int stat;
    EXPECT_EQ(Failure([&] { gsm.ReadSMS(1, stat); }), "Connection is inactive");
    EXPECT_EQ(Failure([&] { gsm.DeleteSMS(1); }), "Connection is inactive");
    EXPECT_EQ(Failure([&] { gsm.GetSMSList(4); }), "Connection is inactive");
}

TEST(GetSMSList, ListsUnreadForAModelThatNeedsAStatus)
{
    StoreEngine engine("GM12");
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    engine.gsm.GetSMSList(-1);
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"AT+CMGL=0"}));
}

TEST(GetSMSList, ADeviceThatHangsUpMidListFailsAndDeletesNothing)
{
    StoreEngine engine("TC35");
    engine.gsm.SetUnsolicitedIndication(Indication(uindSMSDeliver) | Indication(uindOnlyIndication));
    engine.gsm.SetActive(true);
    engine.Send("keep me", false);
    ASSERT_TRUE(engine.Take(""));
    engine.gsm.SetRepeatCount(1);
    engine.Sim().SetSilent(true);
    EXPECT_EQ(Failure([&] { engine.gsm.GetSMSList(4); }), "No reply on AT command: AT+CMGL=4");
    engine.Sim().SetSilent(false);
    EXPECT_EQ(engine.gsm.GetSMSList(4)->Count(), 1);
    EXPECT_EQ(engine.Sim().StoredCount("SM"), 1);
}

}  // namespace

namespace {

TEST(ReadSMS, TextModeJoinsBodyLinesUpToTheAnnouncedLength)
{
    StoreEngine engine("TC35");
    engine.gsm.SetSMSFormat(smsfText);
    engine.gsm.SetUnsolicitedIndication(Indication(uindSMSDeliver) | Indication(uindOnlyIndication));
    engine.gsm.SetActive(true);
    engine.Sim().InjectSms("+4930123456", "Hello\nWorld");
    const std::optional<Arrival> stored = engine.Take("");
    ASSERT_TRUE(stored);
    int stat = -1;
    std::unique_ptr<TSMS2> message = engine.gsm.ReadSMS(stored->index, stat);
    auto* deliver = dynamic_cast<TSMSDeliver*>(message.get());
    ASSERT_TRUE(deliver);
    EXPECT_EQ(deliver->UD(), "Hello\nWorld");
    EXPECT_EQ(deliver->OA(), "+4930123456");
    EXPECT_EQ(stat, 0);
    std::unique_ptr<TStringList> list = engine.gsm.GetSMSList(4);
    ASSERT_EQ(list->Count(), 1);
    EXPECT_EQ((*list)[0], std::to_string(stored->index) + "=1");  // read by now
    auto* listed = dynamic_cast<TSMSDeliver*>(list->GetObject(0));
    ASSERT_TRUE(listed);
    EXPECT_EQ(listed->UD(), "Hello\nWorld");
}

}  // namespace
