#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/connect_error.h"
#include "link/connection.h"

namespace {

using Log = std::vector<std::string>;

class ScriptedConnection : public TConnection {
public:
    explicit ScriptedConnection(Log& log, TComponent* owner = nullptr) : TConnection(owner), log_(log)
    {
        auto record = [this](const char* name) {
            return [this, name](TConnection* c) {
                EXPECT_EQ(c, this);
                log_.push_back(name);
            };
        };
        BeforeOpen = record("BeforeOpen");
        AfterOpen = record("AfterOpen");
        BeforeClose = record("BeforeClose");
        AfterClose = record("AfterClose");
    }
    ~ScriptedConnection() override { CloseForDestruction(); }

    bool failOpen = false;
    bool failClose = false;

protected:
    void DoOpen() override
    {
        log_.push_back("DoOpen");
        if (failOpen)
            throw EConnectError("open failed");
    }
    void DoClose() override
    {
        log_.push_back("DoClose");
        if (failClose)
            throw EConnectError("close failed");
    }

private:
    Log& log_;
};

TEST(Connection, OpenAndCloseRunTheirSequenceOnceEach)
{
    Log log;
    ScriptedConnection c(log);
    c.SetActive(true);
    EXPECT_TRUE(c.Active());
    c.Open();
    c.SetActive(false);
    c.Close();
    EXPECT_EQ(log, (Log{"BeforeOpen", "DoOpen", "AfterOpen", "BeforeClose", "DoClose", "AfterClose"}));
}

TEST(Connection, AFailingOpenIsUndoneAndReachesTheCaller)
{
    Log log;
    ScriptedConnection c(log);
    c.failOpen = true;
    // The undo may fail as well; the caller still learns why the open failed.
    c.failClose = true;
    try {
        c.Open();
        FAIL() << "no exception";
    } catch (const EConnectError& e) {
        EXPECT_EQ(e.Message(), "open failed");
    }
    EXPECT_FALSE(c.Active());
    EXPECT_EQ(log, (Log{"BeforeOpen", "DoOpen", "DoClose"}));
    c.failClose = false;
}

TEST(Connection, AFailingCloseLeavesItActive)
{
    Log log;
    ScriptedConnection c(log);
    c.Open();
    c.failClose = true;
    EXPECT_THROW(c.Close(), EConnectError);
    EXPECT_TRUE(c.Active());
    c.failClose = false;
    log.clear();
    c.Close();
    EXPECT_EQ(log, (Log{"BeforeClose", "DoClose", "AfterClose"}));
}

TEST(Connection, FreeingAnOpenConnectionClosesItWithoutEvents)
{
    Log log;
    auto* owner = new TComponent;
    (new ScriptedConnection(log, owner))->Open();
    {
        ScriptedConnection alone(log);
        alone.Open();
        log.clear();
    }
    EXPECT_EQ(log, (Log{"DoClose"}));
    log.clear();
    delete owner;
    EXPECT_EQ(log, (Log{"DoClose"}));
}

// The one failure a C++ base cannot repair: a class implementing DoClose whose destructor does
// not close. It must not pass unnoticed.
class ForgetfulConnection : public TConnection {
protected:
    void DoOpen() override {}
    void DoClose() override {}
};

TEST(ConnectionDeathTest, ADestructorThatForgetsToCloseEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            ForgetfulConnection c;
            c.Open();
        },
        "CloseForDestruction");
}

TEST(Connection, AStreamedActiveOpensOnlyWhenLoadingCompletes)
{
    struct Case {
        const char* what;
        std::vector<bool> streamed;
        Log expected;
    };
    const Case kCases[] = {
        {"true", {true}, {"BeforeOpen", "DoOpen", "AfterOpen"}},
        {"false", {false}, {}},
        {"true then false: false is ignored", {true, false}, {"BeforeOpen", "DoOpen", "AfterOpen"}},
    };
    for (const Case& c : kCases) {
        Log log;
        ScriptedConnection conn(log);
        conn.BeginLoading();
        for (bool value : c.streamed)
            conn.SetActive(value);
        EXPECT_TRUE(log.empty()) << c.what;
        conn.EndLoading();
        EXPECT_EQ(log, c.expected) << c.what;
    }
}

TEST(Connection, ChecksNameTheStateThatWasWrong)
{
    Log log;
    ScriptedConnection c(log);
    EXPECT_NO_THROW(c.CheckInactive());
    try {
        c.CheckActive();
        FAIL();
    } catch (const EConnectError& e) {
        EXPECT_EQ(e.Message(), "Connection is inactive");
    }
    c.Open();
    EXPECT_NO_THROW(c.CheckActive());
    try {
        c.CheckInactive();
        FAIL();
    } catch (const EConnectError& e) {
        EXPECT_EQ(e.Message(), "Connection is active");
    }
}

}  // namespace
