#include <gtest/gtest.h>

#include "sim/device_profile.h"
#include "sim/model_dialogues.h"
#include "sim/scripted_responder.h"
#include "tests/sim/sim_test_support.h"

using namespace sim;

namespace {

std::string FramedReply(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += Framed(line);
    return text;
}

}  // namespace

TEST(ModelDialogues, CoverEveryProfile)
{
    size_t count = 0;
    const TDeviceProfile* profiles = Profiles(count);
    ASSERT_EQ(ModelDialogues().size(), count);
    for (size_t i = 0; i < count; ++i)
        EXPECT_STREQ(ModelDialogues()[i].shortName, profiles[i].shortName);
}

// The engine's open sequence of each model, run against the simulated device of that model.
TEST(ModelDialogues, OpenSequenceSucceedsAgainstTheMatchingProfile)
{
    for (const TModelDialogue& dialogue : ModelDialogues()) {
        TDeviceSettings settings;
        settings.pin = "1234";
        TSimulatedPort port(dialogue.shortName, settings, true);
        for (const TDialogueStep& step : DialogueSteps(dialogue)) {
            const std::string expected = FramedReply(step.reply);
            if (step.command.empty()) {
                EXPECT_EQ(port.client.ReadUntilText(expected), expected) << dialogue.shortName;
                continue;
            }
            EXPECT_EQ(port.client.Command(step.command), step.command + "\r" + expected)
                << dialogue.shortName << ": " << step.command;
        }
    }
}

// The same dialogue as a responder script: an engine test can run against it byte for byte.
TEST(ModelDialogues, ScriptsReplayTheDialogue)
{
    for (const TModelDialogue& dialogue : ModelDialogues()) {
        TScriptedResponder responder(DialogueScript(dialogue));
        TPtyClient client(responder.Path());
        for (const TDialogueStep& step : DialogueSteps(dialogue)) {
            const std::string expected = FramedReply(step.reply);
            if (step.command.empty())
                EXPECT_EQ(client.ReadUntilText(expected), expected) << dialogue.shortName;
            else
                EXPECT_EQ(client.Command(step.command), step.command + "\r" + expected) << dialogue.shortName;
        }
        EXPECT_TRUE(responder.WaitDone(2000)) << dialogue.shortName << ": " << responder.Difference();
    }
}
