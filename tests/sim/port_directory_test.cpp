#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/sys/port_directory.h"
#include "sim/simulator.h"

namespace {

// Sets or clears the three variables for one test and puts them back afterwards.
class PortDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
        }
        char dir[] = "/tmp/portdirXXXXXX";
        temp_ = mkdtemp(dir);
    }
    void TearDown() override
    {
        for (size_t i = 0; i < std::size(kNames); ++i) {
            if (saved_[i])
                setenv(kNames[i], saved_[i]->c_str(), 1);
            else
                unsetenv(kNames[i]);
        }
        std::system(("rm -rf " + temp_).c_str());
    }
    static constexpr const char* kNames[] = {"GATEWAY_PORT_DIR", "XDG_RUNTIME_DIR", "HOME"};
    std::vector<std::optional<std::string>> saved_;
    std::string temp_;
};

}  // namespace

TEST_F(PortDirectoryTest, VariablesTakePrecedenceInOrder)
{
    setenv("GATEWAY_PORT_DIR", "/a/ports", 1);
    setenv("XDG_RUNTIME_DIR", "/run/user/7", 1);
    setenv("HOME", "/home/u", 1);
    EXPECT_EQ(PortDirectory(), "/a/ports");
    unsetenv("GATEWAY_PORT_DIR");
    EXPECT_EQ(PortDirectory(), "/run/user/7/gateway-ports");
    unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(PortDirectory(), "/home/u/.gateway/ports");
}

TEST_F(PortDirectoryTest, ComNamesFindThePublishedSimulatorOrFallBack)
{
    setenv("GATEWAY_PORT_DIR", (temp_ + "/ports").c_str(), 1);
    EXPECT_EQ(ResolvePortName("COM2"), "/dev/ttyS1");
    EXPECT_EQ(ResolvePortName("/dev/pts/9"), "/dev/pts/9");
    EXPECT_EQ(ResolvePortName("Com"), "Com");
    EXPECT_EQ(ResolvePortName("Com2x"), "Com2x");
    {
        sim::TSimulatorOptions options;
        options.link = "Com2";
        sim::TSimulator simulator(options);
        EXPECT_EQ(simulator.LinkPath(), temp_ + "/ports/com2");
        EXPECT_EQ(ResolvePortName("Com2"), temp_ + "/ports/com2");
        EXPECT_EQ(ResolvePortName("cOM2"), temp_ + "/ports/com2");
        char target[256] = {};
        ASSERT_GT(readlink((temp_ + "/ports/com2").c_str(), target, sizeof target - 1), 0);
        EXPECT_EQ(simulator.Path(), target);
        EXPECT_EQ(ResolvePortName("Com3"), "/dev/ttyS2");
    }
    // The link goes with the simulator.
    EXPECT_EQ(ResolvePortName("Com2"), "/dev/ttyS1");
}
