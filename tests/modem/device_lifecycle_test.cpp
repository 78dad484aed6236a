#include <gtest/gtest.h>

#include "sim/model_dialogues.h"
#include "simulated_engine.h"

namespace {

std::string Failure(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const Exception& e) {
        return e.Message();
    }
    return "(no failure)";
}

class OpenSequence : public testing::TestWithParam<sim::TModelDialogue> {};

TEST_P(OpenSequence, WritesTheModelsDialogue)
{
    const sim::TModelDialogue& dialogue = GetParam();
    SimulatedEngine engine(dialogue.shortName);
    engine.gsm.SetActive(true);
    std::vector<std::string> expected;
    for (const sim::TDialogueStep& step : sim::DialogueSteps(dialogue))
        if (!step.command.empty())
            expected.push_back(step.command);
    EXPECT_EQ(engine.Commands(), expected);
    EXPECT_EQ(engine.recorder.busy, (std::vector<bool>{true, false, true, false}));
    // The registration reply is read by the receive path once the command has completed.
    if (engine.gsm.Equipment() != eqNokia9110)
        EXPECT_TRUE(ServeUntil([&] { return engine.gsm.NetworkRegistration() == 1; }));
    engine.gsm.SetActive(false);
    EXPECT_EQ(engine.gsm.NetworkRegistration(), 0);
    if (engine.gsm.Equipment() != eqNokia9110)
        EXPECT_EQ(engine.recorder.registrations, (std::vector<int>{1, 0}));
    EXPECT_FALSE(engine.comm.Active());
    EXPECT_TRUE(engine.recorder.allOnMainThread);
}

INSTANTIATE_TEST_SUITE_P(EveryModel, OpenSequence, testing::ValuesIn(sim::ModelDialogues()),
                         [](const auto& info) { return std::string(info.param.shortName); });

TEST(Open, AReadySimGetsNoPinAndNoWait)
{
    SimulatedEngine engine("WaveCom", "");
    engine.gsm.SetActive(true);
    const std::vector<std::string> commands = engine.Commands();
    ASSERT_GE(commands.size(), 4u);
    EXPECT_EQ(commands[2], "AT+CPIN?");
    EXPECT_EQ(commands[3], "AT+CREG?");
}

TEST(Open, FailuresOfThePinStep)
{
    {
        SimulatedEngine engine("TC35");
        engine.gsm.SetPIN("");
        EXPECT_EQ(Failure([&] { engine.gsm.SetActive(true); }), "PIN required");
        EXPECT_FALSE(engine.gsm.Active());
        EXPECT_FALSE(engine.comm.Active());
    }
    {
        // A wrong PIN: the M35's longer time-out is given back afterwards.
        SimulatedEngine engine("M35");
        engine.gsm.SetPIN("9999");
        const std::string failure = Failure([&] { engine.gsm.SetActive(true); });
        EXPECT_TRUE(failure.find("was returned on AT command: AT+CPIN=\"9999\"") != std::string::npos) << failure;
        EXPECT_EQ(engine.gsm.RecTimeout(), 400);
    }
}

TEST(Open, ASimAskingForThePukIsNotExpected)
{
    SimulatedEngine engine("TC35");
    engine.gsm.SetPIN("0000");
    engine.Sim().InjectBytes("");
    // Three wrong entries block the SIM.
    for (int i = 0; i < 3; ++i)
        Failure([&] { engine.gsm.SetActive(true); });
    EXPECT_EQ(Failure([&] { engine.gsm.SetActive(true); }), "PIN is not expected (SIM PUK)");
}

TEST(Open, ASilentDeviceFailsWithNoReplyAndClosesThePort)
{
    SimulatedEngine engine("TC35");
    engine.gsm.SetRepeatCount(1);
    engine.Sim().SetSilent(true);
    EXPECT_EQ(Failure([&] { engine.gsm.SetActive(true); }), "No reply on AT command: ATE1");
    EXPECT_FALSE(engine.comm.Active());
}

TEST(Identity, AskedOncePerOpenAndEveryTimeWhileClosed)
{
    SimulatedEngine engine("TC35");
    const std::string closedAnswer = engine.gsm.ModelId();
    engine.gsm.ModelId();
    EXPECT_FALSE(engine.comm.Active());
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"AT+CGMM", "AT+CGMM"}));
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    EXPECT_EQ(engine.gsm.ModelId(), closedAnswer);
    engine.gsm.ModelId();
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"AT+CGMM"}));
    EXPECT_FALSE(engine.gsm.ManufacturerId().empty());
}

TEST(Identity, TheNokia6650RevisionIsTheFourthLine)
{
    SimulatedEngine engine("Nokia6650");
    const std::string revision = engine.gsm.RevisionId();
    EXPECT_FALSE(revision.empty());
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"AT+CGMR"}));
}

TEST(Settings, RulesWhileOpen)
{
    SimulatedEngine engine("TC35");
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    engine.gsm.SetSCA(engine.gsm.SCA());
    engine.gsm.SetMem1("\"SM\"");
    engine.gsm.SetCommandEcho(false);
    engine.gsm.SetMem1("\"ME\"");
    EXPECT_EQ(engine.Commands(), (std::vector<std::string>{"ATE0", "AT+CPMS=\"ME\""}));
    EXPECT_EQ(Failure([&] { engine.gsm.SetPIN("1"); }), "Connection is active");
    EXPECT_EQ(Failure([&] { engine.gsm.SetSMSFormat(1); }), "Connection is active");
    EXPECT_EQ(Failure([&] { engine.gsm.SetDefaults(); }), "Connection is active");
}

TEST(Settings, FormatsFollowTheModel)
{
    TGSM gsm;
    gsm.SetEquipment(eqGM12);
    EXPECT_EQ(Failure([&] { gsm.SetSMSFormat(1); }), "SMS format (1) is not supported");
    gsm.SetEquipment(eqNokia9110);
    EXPECT_EQ(gsm.SMSFormat(), 1);
    EXPECT_FALSE(gsm.PDUHasSCA());
    gsm.SetEquipment(eqTC35);
    EXPECT_TRUE(gsm.PDUHasSCA());
    EXPECT_EQ(gsm.SMSFormat(), 1);
}

TEST(Settings, ValuesThatWouldEscapeTheirCommandAreRefused)
{
    TGSM gsm;
    for (const char* bad : {"12\"34", "1234\r", "1234\nAT+CFUN=0", "12\x1A", "12\x1B"}) {
        EXPECT_THROW(gsm.SetPIN(bad), EGSMError) << bad;
        EXPECT_THROW(gsm.SetSCA(bad), EGSMError) << bad;
    }
    EXPECT_THROW(gsm.SetMem1("\"SM\";+CMGD=1"), EGSMError);
    EXPECT_EQ(gsm.PIN(), "");
    gsm.SetPIN("1234");
    gsm.SetSCA("+491710760000");
    EXPECT_EQ(gsm.SCA(), "+491710760000");
}

TEST(SwitchOff, SendsTheModelsCommandOrNothing)
{
    SimulatedEngine engine("Nokia6210");
    engine.gsm.SetActive(true);
    engine.ClearCommands();
    engine.gsm.SwitchOff();
    EXPECT_TRUE(engine.Commands().empty());
    SimulatedEngine tc35("TC35");
    tc35.gsm.SetActive(true);
    tc35.ClearCommands();
    tc35.gsm.SwitchOff();
    EXPECT_EQ(tc35.Commands(), (std::vector<std::string>{"AT^SMSO"}));
    EXPECT_TRUE(tc35.Sim().PoweredOff());
}

}  // namespace

namespace {

// Opened from another thread, the +WIND: 4 indication is dispatched by the main thread, which
// may do so before the opening thread starts waiting for it.
TEST(Open, WavecomOpenedFromAnotherThreadSeesItsReadyIndication)
{
    SimulatedEngine engine("WaveCom");
    std::atomic<bool> done{false};
    std::string failure;
    std::thread opener([&] {
        try {
            engine.gsm.SetActive(true);
        } catch (const Exception& e) {
            failure = e.Message();
        }
        done = true;
    });
    EXPECT_TRUE(ServeUntil([&] { return done.load(); }, 20000));
    opener.join();
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(engine.gsm.Active());
}

}  // namespace
