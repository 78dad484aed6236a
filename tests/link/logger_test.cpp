#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "link/connect_error.h"
#include "link/log_connection.h"
#include "link/logger.h"
#include "platform/sys/format.h"

namespace {

using Lines = std::vector<std::string>;

// Keeps its lines in memory; "open" and "close" show in the same list.
class MemoryLogger : public TLogger {
public:
    MemoryLogger()
    {
        BeforeOpen = [this](TConnection*) { lines.push_back("open"); };
        AfterClose = [this](TConnection*) { lines.push_back("close"); };
    }
    ~MemoryLogger() override { CloseForDestruction(); }

    Lines lines;
    bool failWrite = false;
    bool failForeign = false;

protected:
    void DoOpen() override {}
    void DoClose() override {}
    void FormatEntry(const std::string& aName, uint8_t aChannel, std::string& line, const std::string& aText) override
    {
        line = Format("%s|%d|%s", aName.c_str(), aChannel, aText.c_str());
    }
    void WriteEntry(const std::string& line) override
    {
        if (failForeign)
            throw std::runtime_error("not ours");
        if (failWrite)
            throw EConnectError("disk full");
        lines.push_back(line);
    }
};

TEST(Logger, AClosedLoggerLogsOnlyWithAutoOpenAndClosesAgain)
{
    MemoryLogger logger;
    logger.Log("Com1", 1, "AT");
    EXPECT_TRUE(logger.lines.empty());

    logger.SetAutoOpen(true);
    logger.Log("Com1", 1, "AT");
    logger.Log("Com1", 2, "OK");
    EXPECT_EQ(logger.lines, (Lines{"open", "Com1|1|AT", "close", "open", "Com1|2|OK", "close"}));
    EXPECT_FALSE(logger.Active());

    logger.lines.clear();
    logger.Open();
    logger.Log("Com1", 1, "ATI");
    EXPECT_EQ(logger.lines, (Lines{"open", "Com1|1|ATI"}));
    EXPECT_TRUE(logger.Active());
    EXPECT_THROW(logger.SetAutoOpen(false), EConnectError);
}

TEST(Logger, AcceptChannelCanDropAnEntry)
{
    MemoryLogger logger;
    logger.Open();
    logger.lines.clear();
    logger.AcceptChannel = [](TComponent*, const std::string& name, uint8_t channel, bool& accept) {
        accept = !(name == "Com1" && channel == 2);
    };
    logger.Log("Com1", 2, "dropped");
    logger.Log("Com1", 1, "kept");
    EXPECT_EQ(logger.lines, (Lines{"Com1|1|kept"}));
}

TEST(Logger, AFailingEntryGoesToOnExceptionNotToTheCaller)
{
    MemoryLogger logger;
    logger.SetAutoOpen(true);
    logger.failWrite = true;
    std::string seen;
    logger.OnException = [&](TComponent* sender, const Exception& e, const std::string& name, uint8_t channel,
                             const std::string& text) {
        EXPECT_EQ(sender, &logger);
        seen = Format("%s/%s/%d/%s", e.Message().c_str(), name.c_str(), channel, text.c_str());
    };
    EXPECT_NO_THROW(logger.Log("Com2", 2, "+CMTI"));
    EXPECT_EQ(seen, "disk full/Com2/2/+CMTI");
    // Opened for the entry, closed again although it failed.
    EXPECT_EQ(logger.lines, (Lines{"open", "close"}));

    // Without a handler the failure simply disappears.
    logger.OnException = nullptr;
    EXPECT_NO_THROW(logger.Log("Com2", 1, "AT"));
}

TEST(Logger, FailuresThatAreNotThePlatformsPropagate)
{
    MemoryLogger logger;
    logger.SetAutoOpen(true);
    logger.failForeign = true;
    EXPECT_THROW(logger.Log("Com1", 1, "AT"), std::runtime_error);
    EXPECT_FALSE(logger.Active());
}

TEST(Logger, EntriesFromManyThreadsAreSerialised)
{
    MemoryLogger logger;
    logger.SetAutoOpen(true);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&logger, t] {
            for (int i = 0; i < 200; ++i)
                logger.Log("T", uint8_t(t), "x");
        });
    for (auto& t : threads)
        t.join();
    // Each entry with its own open and close around it.
    ASSERT_EQ(logger.lines.size(), 3u * 800);
    for (size_t i = 0; i < logger.lines.size(); i += 3) {
        EXPECT_EQ(logger.lines[i], "open");
        EXPECT_EQ(logger.lines[i + 2], "close");
    }
    EXPECT_FALSE(logger.Active());
}

// A line whose Write and Read follow a script.
class ScriptedLine : public TLogConnection {
public:
    ~ScriptedLine() override { CloseForDestruction(); }

    int Write(const char* buffer, int count) override
    {
        written.push_back("write " + std::string(buffer, size_t(count)));
        if (failWrite)
            throw EConnectError("write failed");
        return count;
    }
    int Read(char* buffer, int count) override
    {
        const int n = std::min(count, int(pending.size()));
        pending.copy(buffer, size_t(n));
        pending.erase(0, size_t(n));
        return n;
    }

    std::string pending;
    Lines written;
    bool failWrite = false;

protected:
    void DoOpen() override {}
    void DoClose() override {}
};

TEST(LogConnection, WritesAreLoggedOnChannelOneFirstEvenWhenTheyFail)
{
    MemoryLogger logger;
    logger.Open();
    logger.lines.clear();
    ScriptedLine line;
    line.SetLogger(&logger);
    line.SetLogName("Com2");
    // The entry is there before the write runs.
    line.OnFormatLog = [&](TComponent*, uint8_t, std::string&) { EXPECT_TRUE(line.written.empty()); };
    EXPECT_EQ(line.WriteString("AT\r"), 3);
    EXPECT_EQ(line.written, (Lines{"write AT\r"}));
    line.OnFormatLog = nullptr;
    line.failWrite = true;
    EXPECT_THROW(line.WriteString("ATZ\r"), EConnectError);
    EXPECT_EQ(logger.lines, (Lines{"Com2|1|AT\r", "Com2|1|ATZ\r"}));
}

TEST(LogConnection, ReadsLogOnChannelTwoOnlyWhatArrived)
{
    MemoryLogger logger;
    logger.Open();
    logger.lines.clear();
    ScriptedLine line;
    line.SetLogger(&logger);
    line.SetLogName("Com2");
    line.pending = "OK\r\n";
    std::string s;
    line.ReadString(10, s);
    EXPECT_EQ(s, "OK\r\n");
    line.ReadString(10, s);
    EXPECT_EQ(s, "");
    EXPECT_EQ(logger.lines, (Lines{"Com2|2|OK\r\n", "Com2|2|"}));
}

TEST(LogConnection, FormatLogRewritesTheEntryAndRunsWithoutALogger)
{
    ScriptedLine line;
    Lines formatted;
    line.OnFormatLog = [&](TComponent* sender, uint8_t channel, std::string& text) {
        EXPECT_EQ(sender, &line);
        formatted.push_back(Format("%d:%s", channel, text.c_str()));
        text = "<" + text + ">";
    };
    line.WriteString("AT");
    EXPECT_EQ(formatted, (Lines{"1:AT"}));

    MemoryLogger logger;
    logger.Open();
    logger.lines.clear();
    line.SetLogger(&logger);
    line.Log(2, "OK");
    EXPECT_EQ(logger.lines, (Lines{"|2|<OK>"}));
}

}  // namespace
