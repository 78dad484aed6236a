#include <gtest/gtest.h>

#include "tests/sim/sim_test_support.h"

namespace {
const std::string kOk = "\r\nOK\r\n";
}

TEST(Faults, SilentDeviceAnswersNothingUntilItSpeaksAgain)
{
    TSimulatedPort port;
    port.simulator.SetSilent(true);
    EXPECT_EQ(port.client.Command("AT", 200), "");
    port.simulator.SetSilent(false);
    EXPECT_EQ(port.client.Command("AT"), kOk);
}

TEST(Faults, DelayedAnswerComesLater)
{
    TSimulatedPort port;
    port.simulator.SetDelay(400);
    EXPECT_EQ(port.client.Command("AT", 50), "");
    EXPECT_EQ(port.client.ReadReply(), kOk);
}

TEST(Faults, SplitAnswerArrivesInPiecesAndWhole)
{
    TSimulatedPort port;
    port.simulator.SetSplit(1, 5);
    EXPECT_EQ(port.client.Command("AT+CGMI"), Framed("SIEMENS") + kOk);
    EXPECT_GT(port.client.Reads(), 3);
}

TEST(Faults, GarbageGoesInFrontOfTheNextAnswerOnly)
{
    TSimulatedPort port;
    port.simulator.InjectGarbage(std::string("\x00\xFF#", 3));
    EXPECT_EQ(port.client.Command("AT"), std::string("\x00\xFF#", 3) + kOk);
    EXPECT_EQ(port.client.Command("AT"), kOk);
}

TEST(Faults, ChosenErrorReplacesACommandForSoManyTimes)
{
    TSimulatedPort port;
    port.simulator.FailCommand("+cmgs", "+CMS ERROR: 330", 2);
    port.simulator.FailCommand("+CPMS", "ERROR");
    EXPECT_EQ(port.client.Command("AT+CMGS=10"), Framed("+CMS ERROR: 330"));
    EXPECT_EQ(port.client.Command("AT+CMGS=10"), Framed("+CMS ERROR: 330"));
    EXPECT_EQ(port.client.Command("AT+CPMS?"), "\r\nERROR\r\n");
    EXPECT_EQ(port.client.Command("AT+CMGS=10"), "\r\n> ");
}

TEST(Faults, HangUpInTheMiddleOfAnAnswer)
{
    TSimulatedPort port;
    port.simulator.HangUpAfter(5);
    EXPECT_EQ(port.client.Command("ATI"), "\r\nSIE");
    EXPECT_TRUE(port.client.HungUp());
    EXPECT_TRUE(port.simulator.HungUp());
}

TEST(Faults, InjectedBytesReachTheClientAtOnce)
{
    TSimulatedPort port;
    port.simulator.InjectBytes("\r\nRING\r\n");
    EXPECT_EQ(port.client.ReadUntilText("RING\r\n"), "\r\nRING\r\n");
}
