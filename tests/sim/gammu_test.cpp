#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
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
            std::lock_guard<std::mutex> lock(sentMutex_);
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
    std::mutex sentMutex_;   // the simulator's thread writes sent_
    std::string sent_;
    std::unique_ptr<sim::TSimulator> simulator_;
};

}  // namespace

// One gammu session runs the commands one after another, as a user would type them.
TEST_F(GammuTest, IdentifiesReadsTheServiceCentreSendsToItselfAndListsTheMessage)
{
    std::ofstream(dir_ + "/batch") << "identify\ngetsmsc\ngetallsms\n"
                                      "sendsms TEXT +491701234567 -text \"Hello from gammu\"\ngetallsms\n";
    const TGammuRun run = Gammu("batch " + dir_ + "/batch");
    ASSERT_EQ(run.status, 0) << run.output;
    auto section = [&](int command) {
        const std::string mark = "command " + std::to_string(command) + ":";
        const size_t start = run.output.find(mark);
        const size_t end = run.output.find("command " + std::to_string(command + 1) + ":");
        return start == std::string::npos ? std::string() : run.output.substr(start, end - start);
    };
    EXPECT_NE(section(1).find("IMEI                 : 490154203237518"), std::string::npos) << run.output;
    EXPECT_NE(section(1).find("TC35"), std::string::npos) << run.output;
    EXPECT_NE(section(2).find("\"+491710760000\""), std::string::npos) << run.output;
    EXPECT_NE(section(3).find("0 SMS parts in 0 SMS sequences"), std::string::npos) << run.output;
    EXPECT_NE(section(4).find("OK, message reference=0"), std::string::npos) << run.output;
    EXPECT_NE(section(5).find("Hello from gammu"), std::string::npos) << run.output;
    EXPECT_NE(section(5).find("Remote number        : \"+491701234567\""), std::string::npos) << run.output;
    // What gammu probes beyond the engine's commands, all answered as a device would.
    std::lock_guard<std::mutex> lock(sentMutex_);
    for (const char* probe : {"AT+CFUN=1", "AT+CPMS=?", "AT+CIMI", "AT+CSCA?", "AT+CMGS="})
        EXPECT_NE(sent_.find(probe), std::string::npos) << probe;
}
