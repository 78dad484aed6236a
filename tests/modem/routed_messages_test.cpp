#include <gtest/gtest.h>

#include "codec/cell_broadcast.h"
#include "codec/sms_deliver.h"
#include "codec/sms_status_report.h"
#include "engine_fixture.h"
#include "platform/sys/exception.h"

namespace {

struct Routed {
    int index = 0;
    std::string kind;
    std::string oa;
    std::string ud;
    int status = -1;
};

// An engine without a device, fed bytes as the receive handler would be.
struct RoutedEngine {
    explicit RoutedEngine(uint8_t format, TGSMEquipment model = eqTC35)
    {
        gsm.SetEquipment(model);
        gsm.SetSMSFormat(format);
        gsm.OnUnsolicitedSMS = [this](TObject*, int index, TSMS* message) {
            Routed r;
            r.index = index;
            if (auto* d = dynamic_cast<TSMSDeliver*>(message)) {
                r.kind = "deliver";
                r.oa = d->OA();
                r.ud = d->UD();
            } else if (auto* s = dynamic_cast<TSMSStatusReport*>(message)) {
                r.kind = "report";
                r.oa = s->OA();
                r.status = s->Status();
            } else if (auto* cb = dynamic_cast<TCellBroadcast*>(message)) {
                r.kind = "page";
                r.ud = cb->UD();
            }
            seen.push_back(r);
        };
        gsm.OnUnsolicitedLine = [this](TObject*, const std::string& line) { lines.push_back(line); };
    }
    void Feed(const std::string& bytes)
    {
        gsm.ReceiveChunk(bytes);
        gsm.ProcessReceived();
    }

    TTestGSM gsm;
    std::vector<Routed> seen;
    std::vector<std::string> lines;
};

// A deliver from +4917012345 saying "Hi", behind the empty service centre field.
constexpr const char* kDeliverPDU = "00040A919471103254000022012121430080" "02C834";

TEST(RoutedMessages, PDUModeDeliverFollowsItsHeader)
{
    RoutedEngine engine(smsfPDU);
    const std::string body = kDeliverPDU;
    engine.Feed("\r\n+CMT: ,20\r\n" + body.substr(0, 10));
    EXPECT_TRUE(engine.seen.empty());
    engine.Feed(body.substr(10) + "\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].index, -1);
    EXPECT_EQ(engine.seen[0].kind, "deliver");
    EXPECT_EQ(engine.seen[0].oa, "+4917012345");
    EXPECT_EQ(engine.seen[0].ud, "Hi");
    EXPECT_TRUE(engine.lines.empty());
}

TEST(RoutedMessages, TextModeHeaderWithEveryParameter)
{
    RoutedEngine engine(smsfText);
    engine.Feed("+CMT: \"4917012345\",,\"22/10/12,12:34:00+08\",145,4,0,0,\"+491710760000\",145,11\r\n"
                "Hello there\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].oa, "+4917012345");
    EXPECT_EQ(engine.seen[0].ud, "Hello there");
}

TEST(RoutedMessages, TextModeShortHeaderTakesTheNextLine)
{
    RoutedEngine engine(smsfText);
    engine.Feed("+CMT: \"123\",,\"22/10/12,12:34:00+08\"\r\nfirst, with \"quotes\"\r\nAFTER\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].ud, "first, with \"quotes\"");
    EXPECT_EQ(engine.lines, (std::vector<std::string>{"AFTER"}));
}

TEST(RoutedMessages, TextModeStatusReportHasNoBody)
{
    RoutedEngine engine(smsfText);
    engine.Feed("+CDS: 6,42,\"+4917012345\",145,\"22/10/12,12:34:00+08\",\"22/10/12,12:35:00+08\",0\r\nNEXT\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].kind, "report");
    EXPECT_EQ(engine.seen[0].oa, "+4917012345");
    EXPECT_EQ(engine.seen[0].status, 0);
    EXPECT_EQ(engine.lines, (std::vector<std::string>{"NEXT"}));
}

TEST(RoutedMessages, CellBroadcastPageIsReportedWithoutAcknowledgement)
{
    RoutedEngine engine(smsfPDU);
    // Serial 0x0011, message id 50, default alphabet, page 1 of 1, "Hello" padded with CR.
    std::string page = "00110032001" "1C8329BFD06";
    while (page.size() < 176)
        page += "341A";
    page.resize(176);
    engine.Feed("+CBM: 88\r\n" + page + "\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].kind, "page");
    EXPECT_EQ(engine.seen[0].index, -1);
}

TEST(RoutedMessages, ALineWhileAMessageIsPendingIsItsBody)
{
    RoutedEngine engine(smsfPDU);
    engine.Feed("+CMT: ,20\r\n");
    EXPECT_THROW(engine.Feed("+CMT: ,20\r\n"), EConvertError);  // taken as the first one's PDU
    EXPECT_TRUE(engine.seen.empty());
    engine.Feed(std::string("+CMT: ,20\r\n") + kDeliverPDU + "\r\n");
    EXPECT_EQ(engine.seen.size(), 1u);
}

TEST(RoutedMessages, AHeaderThatDoesNotParseLeavesNothingPending)
{
    constexpr const char* kHeaders[] = {
        "+CMT: \"B\r\n",  // found by fuzzing: no time stamp
        "+CMT: \"123\",,\"22/10/12,12:34:00+08\",145,4,0,0,\"+491710760000\",145,x\r\n",
        "+CBM: 17,x,0,1,1\r\n",
        "+CDS: 6,42,\"+4917012345\",145,\"22/13/12,12:34:00+08\",\"22/10/12,12:35:00+08\",0\r\n",
    };
    for (const char* header : kHeaders) {
        RoutedEngine engine(smsfText);
        EXPECT_THROW(engine.Feed(header), Exception) << header;
        engine.Feed("RING\r\n");
        EXPECT_EQ(engine.lines, (std::vector<std::string>{"RING"})) << header;
        EXPECT_TRUE(engine.seen.empty()) << header;
    }
}

TEST(RoutedMessages, ModelsWithoutServiceCentreFieldDecodeTheirOwnPDUs)
{
    RoutedEngine engine(smsfPDU, eqWaveCom);
    engine.Feed(std::string("+CMT: ,20\r\n") + (kDeliverPDU + 2) + "\r\n");
    ASSERT_EQ(engine.seen.size(), 1u);
    EXPECT_EQ(engine.seen[0].ud, "Hi");
}

}  // namespace
