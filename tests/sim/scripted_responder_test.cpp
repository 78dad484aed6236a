#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/scripted_responder.h"
#include "tests/sim/pty_client.h"

using sim::TScriptedResponder;

TEST(ScriptedResponder, AnswersInjectsAndRecordsTheDialogue)
{
    TScriptedResponder responder(R"(
# A send with its prompt, then an indication.
AT+CMGS=5        -> \r\n> 
0011000100\x1A   -> \r\n+CMGS: 7\r\n\r\nOK\r\n
!after 20 ms     -> \r\n+CMTI: "SM",3\r\n
)");
    TPtyClient client(responder.Path());
    EXPECT_EQ(client.Command("AT+CMGS=5"), "\r\n> ");
    client.Write("0011000100\x1A");
    EXPECT_EQ(client.ReadUntilText("+CMTI: \"SM\",3\r\n"), "\r\n+CMGS: 7\r\n\r\nOK\r\n\r\n+CMTI: \"SM\",3\r\n");
    EXPECT_TRUE(responder.WaitDone(2000)) << responder.Difference();
    EXPECT_EQ(responder.Written(), "AT+CMGS=5\r0011000100\x1A");
}

TEST(ScriptedResponder, ReportsTheFirstDifferenceAndStops)
{
    TScriptedResponder responder("AT -> \\r\\nOK\\r\\n\nAT+CPIN? -> \\r\\nOK\\r\\n\n");
    TPtyClient client(responder.Path());
    EXPECT_EQ(client.Command("AT"), "\r\nOK\r\n");
    client.Write("AT+CPIN=\"1\"\r\n");
    EXPECT_FALSE(responder.WaitDone(2000));
    EXPECT_EQ(responder.Difference(), "step 2: expected \"AT+CPIN?\", got \"AT+CPIN=\"1\"\"");
    EXPECT_EQ(client.Command("AT+CPIN?", 100), "");
}

TEST(ScriptedResponder, ReportsWhatIsMissingAndWhatIsExtra)
{
    {
        TScriptedResponder responder("AT -> \\r\\nOK\\r\\n\n");
        EXPECT_FALSE(responder.WaitDone(50));
        EXPECT_EQ(responder.Difference(), "time-out at step 1 of 1, waiting for \"AT\"");
    }
    TScriptedResponder responder("AT -> \\r\\nOK\\r\\n\n");
    TPtyClient client(responder.Path());
    client.Command("AT");
    client.Command("ATZ", 200);
    EXPECT_EQ(responder.Difference(), "unexpected line after the script: \"ATZ\"");
    EXPECT_THROW(TScriptedResponder("AT OK"), std::invalid_argument);
}
