#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "platform/sys/exception.h"

namespace {

// Feeds text to the receive path split in two at every position, processing after each part,
// and returns what the host saw for each split; all splits must agree.
template <typename Setup>
TEngineRecorder FeedSplitEverywhere(const std::string& bytes, Setup setup)
{
    TEngineRecorder first;
    for (size_t split = 0; split <= bytes.size(); ++split) {
        TTestGSM gsm;
        setup(gsm);
        TEngineRecorder recorder;
        recorder.Watch(gsm);
        gsm.ReceiveChunk(bytes.substr(0, split));
        gsm.ProcessReceived();
        gsm.ReceiveChunk(bytes.substr(split));
        gsm.ProcessReceived();
        EXPECT_EQ(recorder.rxChars, bytes) << "split at " << split;
        if (split == 0) {
            first = recorder;
            continue;
        }
        EXPECT_EQ(recorder.lines, first.lines) << "split at " << split;
        EXPECT_EQ(recorder.sms, first.sms) << "split at " << split;
        EXPECT_EQ(recorder.registrations, first.registrations) << "split at " << split;
    }
    return first;
}

const auto kAnyModel = [](TGSM&) {};

TEST(ReceivePath, CutsLinesAtCRWhateverTheChunks)
{
    const TEngineRecorder seen = FeedSplitEverywhere("\r\nRING\r\n\r\n+CUSD: 0\r\nOK\r\n", kAnyModel);
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"RING", "+CUSD: 0", "OK"}));
}

TEST(ReceivePath, KeepsTheFirstByteOfALineAfterALoneCR)
{
    const TEngineRecorder seen = FeedSplitEverywhere("OK\rRING\r", kAnyModel);
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"OK", "RING"}));
}

TEST(ReceivePath, NeverDispatchesTextEndedByAnotherControlByte)
{
    // LF alone, the prompt and an echoed PDU ended by Ctrl-Z: reported byte by byte, never as lines.
    const TEngineRecorder seen = FeedSplitEverywhere("only lf\n> 0011\x1A\r\nOK\r\n", kAnyModel);
    EXPECT_EQ(seen.lines, (std::vector<std::string>{"OK"}));
}

TEST(ReceivePath, FollowsRegistrationInEveryForm)
{
    struct Case {
        const char* bytes;
        std::vector<int> registrations;
    };
    const Case kCases[] = {
        {"+CREG: 0,1\r\n", {1}},
        {"+CREG: 0,1\r\n+CREG: 1\r\n", {1}},
        {"+CREG: 5\r\n", {5}},
        {"+CREG: 1,\"1A2B\",\"3C4D\"\r\n", {1}},
        {"+CREG: 2,1,\"1A2B\",\"3C4D\"\r\n", {1}},
        {"+CREG: (0-2)\r\n", {}},
        {"+CREG: 1\r\n+CREG: 0\r\n", {1, 0}},
    };
    for (const auto& c : kCases) {
        const TEngineRecorder seen = FeedSplitEverywhere(c.bytes, kAnyModel);
        EXPECT_EQ(seen.registrations, c.registrations) << c.bytes;
        EXPECT_TRUE(seen.lines.empty()) << c.bytes;
    }
}

TEST(ReceivePath, TakesRegistrationFromTheSignalOnT260Only)
{
    const auto t260 = [](TGSM& gsm) { gsm.SetEquipment(eqT260); };
    EXPECT_EQ(FeedSplitEverywhere("+CSQ: 15,99\r\n+CSQ: 99,99\r\n", t260).registrations, (std::vector<int>{1, 0}));
    EXPECT_EQ(FeedSplitEverywhere("+CSQ: 15,99\r\n", kAnyModel).lines, (std::vector<std::string>{"+CSQ: 15,99"}));
}

TEST(ReceivePath, ReportsStoredMessagesByIndex)
{
    struct Case {
        TGSMEquipment model;
        const char* bytes;
        const char* mem1;
        std::vector<std::string> sms;
    };
    const Case kCases[] = {
        {eqM1, "+CMTI: \"SM\",3\r\n", "\"SM\"", {"3"}},
        {eqM1, "+CDSI: \"ME\",4\r\n", "\"ME\"", {"4"}},
        {eqM1, "+CBMI: \"BM\",1\r\n", "\"BM\"", {"1"}},
        {eqNokia6650, "+CMTI: \"MT\",12\r\n", "\"ME\"", {"2"}},
        {eqNokia6650, "+CMTI: \"MT\",10\r\n", "\"SM\"", {"10"}},
        {eqT260, "+CDS: \"SM\",7\r\n", "\"SM\"", {"7"}},
    };
    for (const auto& c : kCases) {
        TTestGSM gsm;
        gsm.SetEquipment(c.model);
        gsm.SetMem1("\"XX\"");
        TEngineRecorder recorder;
        recorder.Watch(gsm);
        gsm.ReceiveChunk(c.bytes);
        gsm.ProcessReceived();
        EXPECT_EQ(recorder.sms, c.sms) << c.bytes;
        EXPECT_EQ(gsm.Mem1(), c.mem1) << c.bytes;
    }
}

TEST(ReceivePath, ConsumesWindIndicationsOnWavecomOnly)
{
    const auto wavecom = [](TGSM& gsm) { gsm.SetEquipment(eqWaveCom); };
    EXPECT_TRUE(FeedSplitEverywhere("+WIND: 4\r\n+WIND: 7\r\n", wavecom).lines.empty());
    EXPECT_EQ(FeedSplitEverywhere("+WIND: 4\r\n", kAnyModel).lines, (std::vector<std::string>{"+WIND: 4"}));
}

TEST(ReceivePath, AHostFailureEndsThePassButLosesNoLaterLine)
{
    TTestGSM gsm;
    std::vector<std::string> lines;
    gsm.OnUnsolicitedLine = [&](TObject*, const std::string& line) {
        lines.push_back(line);
        if (line == "FIRST")
            throw Exception("host failure");
    };
    gsm.ReceiveChunk("FIRST\r\nSECOND\r\nTHIRD\r\n");
    EXPECT_THROW(gsm.ProcessReceived(), Exception);
    EXPECT_EQ(lines, (std::vector<std::string>{"FIRST"}));
    gsm.ProcessReceived();
    EXPECT_EQ(lines, (std::vector<std::string>{"FIRST", "SECOND", "THIRD"}));
}

TEST(ReceivePath, AParameterThatIsNotANumberEndsThePassOnly)
{
    TTestGSM gsm;
    TEngineRecorder recorder;
    recorder.Watch(gsm);
    gsm.ReceiveChunk("+CMTI: \"SM\",x\r\n+CMTI: \"SM\",2\r\n");
    EXPECT_THROW(gsm.ProcessReceived(), EConvertError);
    gsm.ProcessReceived();
    EXPECT_EQ(recorder.sms, (std::vector<std::string>{"2"}));
}

TEST(ReceivePath, TheBackgroundThreadHandsEveryEventToTheMainThread)
{
    TTestGSM gsm;
    TEngineRecorder recorder;
    recorder.Watch(gsm);
    std::thread eventThread([&] { gsm.ReceiveChunk("+CREG: 1\r\n+CMTI: \"SM\",1\r\nHELLO\r\n"); });
    eventThread.join();
    ASSERT_TRUE(ServeUntil([&] { return !recorder.lines.empty(); }));
    EXPECT_TRUE(recorder.allOnMainThread);
    EXPECT_EQ(recorder.registrations, (std::vector<int>{1}));
    EXPECT_EQ(recorder.sms, (std::vector<std::string>{"1"}));
    EXPECT_EQ(recorder.lines, (std::vector<std::string>{"HELLO"}));
}

}  // namespace
