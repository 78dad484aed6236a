#include <gtest/gtest.h>

#include "engine_fixture.h"
#include "sim/scripted_responder.h"

namespace {

// One engine attached to a scripted device.
struct ScriptedEngine {
    explicit ScriptedEngine(const std::string& script) : responder(script)
    {
        comm.SetDeviceName(responder.Path());
        gsm.SetCOMDevice(&comm);
        UseTestTimeouts(gsm);
        recorder.Watch(gsm);
        gsm.Attach();
        recorder.busy.clear();
    }
    ~ScriptedEngine() { gsm.Detach(true); }

    sim::TScriptedResponder responder;
    TComm comm;
    TTestGSM gsm;
    TEngineRecorder recorder;
};

std::string Failure(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const EGSMError& e) {
        return e.Message();
    }
    return "(no failure)";
}

struct TransactionCase {
    const char* what;
    const char* script;
    const char* command;
    uint8_t waitFor;
    int result;              // returned code, or -1 when the transaction must fail
    const char* failure;     // the failure text
    const char* response;    // collected lines joined by "|"
};

const TransactionCase kTransactions[] = {
    {"lower case is written unchanged", "at+cgmi -> \\r\\nWAVECOM MODEM\\r\\n\\r\\nOK\\r\\n", "at+cgmi",
     atrCode | atrParams, 0, "", "WAVECOM MODEM"},
    {"echo is not collected; own-prefix lines lose their prefix",
     "AT+CPMS? -> AT+CPMS?\\r\\r\\n+CPMS: \"SM\",1,10,\"SM\",1,10\\r\\n\\r\\nOK\\r\\n", "AT+CPMS?",
     atrCode | atrParams | atrATResponse, 0, "", "\"SM\",1,10,\"SM\",1,10"},
    {"other indications are left to the receive path",
     "AT+CSQ -> \\r\\n+CREG: 1\\r\\n+CSQ: 17,99\\r\\n\\r\\nOK\\r\\n", "AT+CSQ", atrCode | atrParams, 0, "",
     "+CSQ: 17,99"},
    {"CME ERROR fails every attempt with its detail", "AT+CPIN? -> \\r\\n+CME ERROR: 10\\r\\n\nAT+CPIN? -> \\r\\n+CME ERROR: 10\\r\\n",
     "AT+CPIN?", atrCode, -1, "+CME ERROR: 10 \"SIM not inserted\" was returned on AT command: AT+CPIN?", ""},
    {"a vendor COMMAND ERROR is accepted as ERROR with flags 67", "AT+CMGL -> \\r\\nCOMMAND ERROR\\r\\n", "AT+CMGL",
     atrCode | atrParams | atrErrorCode, 4, "", ""},
    {"ERROR with flags 67 returns 4", "AT+CMGL=4 -> \\r\\nERROR\\r\\n", "AT+CMGL=4", 67, 4, "", ""},
    {"BUSY ends nothing without its params entry", "ATD123 -> \\r\\nBUSY\\r\\n\nATD123 -> \\r\\nBUSY\\r\\n", "ATD123",
     atrCode, -1, "No reply on AT command: ATD123", ""},
    {"two-phase send waits for the prompt, then the reference",
     "AT+CMGS=3 -> \\r\\n> \n0A0B0C\\x1A -> \\r\\n+CMGS: 7\\r\\n\\r\\nOK\\r\\n", "AT+CMGS=3>0A0B0C", 31, 0, "", "7"},
    {"ERROR instead of the prompt writes ESC",
     "AT+CMGS=3 -> \\r\\nERROR\\r\\n\n\\x1B -> \nAT+CMGS=3 -> \\r\\nERROR\\r\\n\n\\x1B -> ", "AT+CMGS=3>0A0B0C", 31, -1,
     "ERROR was returned on AT command: AT+CMGS=3>0A0B0C", ""},
    {"only a prompt and OK: the send was cancelled",
     "AT+CMGS=1 -> \\r\\nOK\\r\\n\n\\x1B -> \nAT+CMGS=1 -> \\r\\nOK\\r\\n\n\\x1B -> ", "AT+CMGS=1>00", 31, -1,
     "Cannot send SMS: canceled", ""},
    {"a silent device", "AT -> \nAT -> ", "AT", atrCode, -1, "No reply on AT command: AT", ""},
    {"flags 18 succeed at the first own line, whatever follows", "AT+CPIN? -> \\r\\n+CPIN: READY\\r\\n",
     "AT+CPIN?", atrParams | atrATResponse, 0, "", "READY"},
    {"WaitFor 0 waits for nothing", "ATZ -> ", "ATZ", 0, 0, "", ""},
};

TEST(SendATCommand, CompletesAsTheFlagsSay)
{
    for (const auto& c : kTransactions) {
        SCOPED_TRACE(c.what);
        ScriptedEngine engine(c.script);
        TStringList response;
        std::string failure;
        int result = -1;
        try {
            result = engine.gsm.SendATCommand(c.command, c.waitFor, 0, &response);
        } catch (const EGSMError& e) {
            failure = e.Message();
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(failure, c.failure);
        std::string joined;
        for (int i = 0; i < response.Count(); ++i)
            joined += (i ? "|" : "") + response[i];
        EXPECT_EQ(joined, c.response);
        EXPECT_TRUE(engine.responder.WaitDone(2000)) << engine.responder.Difference();
        EXPECT_EQ(engine.recorder.busy, (std::vector<bool>{true, false}));
    }
}

TEST(SendATCommand, BadCommandWritesNothingButIsBusy)
{
    ScriptedEngine engine("");
    EXPECT_EQ(Failure([&] { engine.gsm.SendATCommand("XAT", atrCode); }), "Bad AT command");
    EXPECT_EQ(engine.responder.Written(), "");
    EXPECT_EQ(engine.recorder.busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(Failure([&] { engine.gsm.SendATCommand("AT+CMGS=1", atrPDU); }), "Bad PDU format");
}

TEST(SendATCommand, ParamsEntryMakesBusyAFailingResult)
{
    ScriptedEngine engine("ATD123 -> \\r\\nBUSY\\r\\n");
    engine.gsm.ErrorCodes().Add("BUSY.Params=RES,ERR");
    engine.gsm.SetRepeatCount(1);
    EXPECT_EQ(Failure([&] { engine.gsm.SendATCommand("ATD123", atrCode); }),
              "BUSY was returned on AT command: ATD123");
    EXPECT_EQ(engine.gsm.LastError(), 7);
    EXPECT_EQ(engine.gsm.LastErrorMsg(), "BUSY");
}

TEST(SendATCommand, ANonPositiveCountMakesOneAttempt)
{
    ScriptedEngine engine("AT -> \\r\\nERROR\\r\\n\nAT -> \\r\\nERROR\\r\\n");
    engine.gsm.SetRepeatCount(0);
    EXPECT_EQ(Failure([&] { engine.gsm.SendATCommand("AT", atrCode); }), "ERROR was returned on AT command: AT");
    EXPECT_EQ(Failure([&] { engine.gsm.SendATCommand("AT", atrCode, -3); }), "ERROR was returned on AT command: AT");
    EXPECT_EQ(engine.responder.Written(), "AT\rAT\r");
}

TEST(CheckResult, RaisesWithTheLastResultLine)
{
    ScriptedEngine engine("AT+CMGL -> \\r\\nERROR\\r\\n");
    const int code = engine.gsm.SendATCommand("AT+CMGL", 67);
    EXPECT_EQ(Failure([&] { engine.gsm.CheckResult(code); }), "Error was returned: ERROR");
    EXPECT_NO_THROW(engine.gsm.CheckResult(0));
}

TEST(Busy, FiresOnTheOutermostChangesOnly)
{
    TGSM gsm;
    std::vector<bool> changes;
    gsm.OnBusyChanged = [&](TObject*, bool on) { changes.push_back(on); };
    gsm.Unbusy();
    gsm.Busy();
    gsm.Busy();
    EXPECT_TRUE(gsm.IsBusy());
    gsm.Unbusy();
    gsm.Unbusy();
    gsm.Unbusy();
    EXPECT_FALSE(gsm.IsBusy());
    EXPECT_EQ(changes, (std::vector<bool>{true, false}));
}

}  // namespace

namespace {

// The reply to AT+CPMS? while the command waits on the main thread: every byte reaches the
// host during the wait, the lines only once the command has completed.
TEST(SendATCommand, ReportsBytesDuringTheWaitAndLinesAfter)
{
    ScriptedEngine engine("AT+CPMS? -> AT+CPMS?\\r\\r\\n+CPMS: \"SM\",1,10\\r\\n\\r\\nOK\\r\\n");
    std::string bytesWhenDone;
    size_t linesWhenDone = 0;
    engine.gsm.SendATCommand("AT+CPMS?", atrCode | atrParams | atrATResponse);
    bytesWhenDone = engine.recorder.rxChars;
    linesWhenDone = engine.recorder.lines.size();
    EXPECT_EQ(bytesWhenDone, "AT+CPMS?\r\r\n+CPMS: \"SM\",1,10\r\n\r\nOK\r\n");
    EXPECT_EQ(linesWhenDone, 0u);
    ASSERT_TRUE(ServeUntil([&] { return engine.recorder.lines.size() == 3; }));
    EXPECT_EQ(engine.recorder.lines, (std::vector<std::string>{"AT+CPMS?", "+CPMS: \"SM\",1,10", "OK"}));
    EXPECT_TRUE(engine.recorder.allOnMainThread);
}

}  // namespace
