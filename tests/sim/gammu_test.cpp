#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

#include "sim/simulator.h"

namespace {

// Runs gammu with a configuration for the simulator's port; returns its output and exit code.
struct TGammuRun {
    std::string output;
    int status = -1;
};

class GammuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/usr/bin/gammu", X_OK) != 0)
            GTEST_SKIP() << "gammu is not installed (apt-get install gammu); skipping the third-party client test";
        char dir[] = "/tmp/gammuXXXXXX";
        dir_ = mkdtemp(dir);
        sim::TSimulatorOptions options;
        options.model = "TC35";
        simulator_ = std::make_unique<sim::TSimulator>(options, [this](sim::TLogDirection d, std::string_view b) {
            if (d == sim::TLogDirection::FromClient)
                sent_ += std::string(b);
        });
        std::ofstream(dir_ + "/gammurc") << "[gammu]\ndevice = " << simulator_->Path()
                                         << "\nconnection = at19200\n";
    }
    void TearDown() override
    {
        simulator_.reset();
        if (!dir_.empty())
            std::system(("rm -rf " + dir_).c_str());
    }
    TGammuRun Gammu(const std::string& arguments)
    {
        TGammuRun run;
        // timeout bounds a client that would wait for an answer forever.
        const std::string command = "timeout 60 gammu -c " + dir_ + "/gammurc " + arguments + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            run.output.append(buffer, n);
        run.status = pclose(pipe);
        return run;
    }
    std::string dir_;
    std::string sent_;
    std::unique_ptr<sim::TSimulator> simulator_;
};

}  // namespace

TEST_F(GammuTest, IdentifiesReadsTheServiceCentreSendsToItselfAndListsTheMessage)
{
    TGammuRun identify = Gammu("identify");
    EXPECT_EQ(identify.status, 0) << identify.output;
    EXPECT_NE(identify.output.find("490154203237518"), std::string::npos) << identify.output;
    EXPECT_NE(identify.output.find("TC35"), std::string::npos) << identify.output;

    TGammuRun smsc = Gammu("getsmsc");
    EXPECT_EQ(smsc.status, 0) << smsc.output;
    EXPECT_NE(smsc.output.find("+491710760000"), std::string::npos) << smsc.output;

    TGammuRun empty = Gammu("getallsms");
    EXPECT_EQ(empty.status, 0) << empty.output;
    EXPECT_NE(empty.output.find("0 SMS parts in 0 SMS sequences"), std::string::npos) << empty.output;

    TGammuRun send = Gammu("sendsms TEXT +491701234567 -text \"Hello from gammu\"");
    EXPECT_EQ(send.status, 0) << send.output;
    EXPECT_EQ(simulator_->StoredCount("SM"), 1);

    TGammuRun all = Gammu("getallsms");
    EXPECT_EQ(all.status, 0) << all.output;
    EXPECT_NE(all.output.find("Hello from gammu"), std::string::npos) << all.output;
    EXPECT_NE(all.output.find("+491701234567"), std::string::npos) << all.output;
    // What gammu probed beyond the engine's commands, all answered as a device would.
    for (const char* probe : {"AT+CFUN=1", "AT+CPMS=?", "AT+CIMI", "AT+CSCA?"})
        EXPECT_NE(sent_.find(probe), std::string::npos) << probe;
}
