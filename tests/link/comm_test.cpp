#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <pthread.h>
#include <sys/stat.h>
#include <string>
#include <termios.h>
#include <thread>
#include <vector>

#include "link/baud_rate.h"
#include "link/comm.h"
#include "link/comm_error.h"
#include "link/connect_error.h"
#include "link/serial_port.h"
#include "platform/sys/main_thread.h"
#include "tests/link/pty_pair.h"
#include "tests/link/waiting.h"

namespace {

struct RxEvent {
    int count;
    bool onMainThread;
    std::string bytes;  // what the handler read
};

class CommOnPty : public ::testing::Test {
protected:
    CommOnPty()
    {
        comm.SetDeviceName(pty.SlavePath());
    }

    // Reads exactly what was announced, as the engine does.
    void ReadOnRxChar()
    {
        comm.OnRxChar = [this](TObject*, int count) {
            std::string bytes;
            comm.ReadString(count, bytes);
            rx.Add({count, IsMainThread(), bytes});
        };
    }

    std::string ReceivedSoFar()
    {
        std::string all;
        for (const RxEvent& e : rx.Snapshot())
            all += e.bytes;
        return all;
    }

    bool WaitForReceived(size_t size)
    {
        return rx.WaitFor([&](const std::vector<RxEvent>& events) {
            size_t n = 0;
            for (const RxEvent& e : events)
                n += e.bytes.size();
            return n >= size;
        });
    }

    PtyPair pty;
    // Before the device: its event thread records until the device is destroyed.
    Recorder<RxEvent> rx;
    TComm comm;
};

TEST_F(CommOnPty, OpenAndCloseRunTheEventsInOrder)
{
    std::vector<std::string> events;
    auto record = [&](const char* name) {
        return [&events, name, this](TConnection* c) {
            EXPECT_EQ(c, &comm);
            events.push_back(std::string(name) + (comm.Active() ? " active" : " inactive"));
        };
    };
    comm.BeforeOpen = record("BeforeOpen");
    comm.AfterOpen = record("AfterOpen");
    comm.BeforeClose = record("BeforeClose");
    comm.AfterClose = record("AfterClose");
    comm.SetActive(true);
    comm.SetActive(true);
    comm.SetActive(false);
    comm.SetActive(false);
    EXPECT_EQ(events, (std::vector<std::string>{"BeforeOpen inactive", "AfterOpen active", "BeforeClose active",
                                                "AfterClose inactive"}));
    // Reopening works: the exclusive flag did not outlive the close.
    comm.Open();
    EXPECT_TRUE(comm.Active());
}

TEST(Comm, FreeingAnOpenDeviceClosesItWithoutEvents)
{
    PtyPair pty;
    int events = 0;
    {
        TComm comm;
        comm.SetDeviceName(pty.SlavePath());
        comm.Open();
        comm.BeforeClose = [&](TConnection*) { ++events; };
        comm.AfterClose = [&](TConnection*) { ++events; };
    }
    EXPECT_EQ(events, 0);
    // Closed for real: another device can have the port.
    TComm again;
    again.SetDeviceName(pty.SlavePath());
    EXPECT_NO_THROW(again.Open());
}

TEST(Comm, OpenFailuresNameTheFailedCallAndLeaveTheDeviceClosed)
{
    PtyPair pty;
    TComm holder;
    holder.SetDeviceName(pty.SlavePath());
    holder.Open();

    const std::string regularFile = ::testing::TempDir() + "comm_regular_file";
    std::ofstream(regularFile) << "not a port";

    struct Case {
        std::string device;
        const char* message;
    };
    const Case kCases[] = {
        {"/nonexistent/ttyX", "Error 2 No such file or directory in function: CreateFile"},
        {pty.SlavePath(), "Error 16 Device or resource busy in function: CreateFile"},
        {regularFile, "Error 25 Inappropriate ioctl for device in function: GetFileType"},
        // A character device but no terminal: fails after the event thread has started.
        {"/dev/null", "Error 25 Inappropriate ioctl for device in function: SetCommTimeouts"},
    };
    for (const Case& c : kCases) {
        TComm comm;
        comm.SetDeviceName(c.device);
        bool afterOpen = false;
        comm.AfterOpen = [&](TConnection*) { afterOpen = true; };
        try {
            comm.Open();
            ADD_FAILURE() << c.device << ": opened";
        } catch (const EComError& e) {
            EXPECT_EQ(e.Message(), c.message) << c.device;
        }
        EXPECT_FALSE(comm.Active()) << c.device;
        EXPECT_FALSE(afterOpen) << c.device;
        EXPECT_EQ(comm.InQueCount(), -1) << c.device;
    }
}

TEST_F(CommOnPty, LineSettingsReapplyWhileOpen)
{
    comm.Open();
    struct Case {
        const char* what;
        std::function<void()> change;
        std::function<bool(const termios&)> holds;
    };
    const Case kCases[] = {
        {"opened raw at 9600",
         [] {},
         [](const termios& t) {
             return cfgetospeed(&t) == B9600 && (t.c_cflag & CSIZE) == CS8 && !(t.c_lflag & (ICANON | ECHO)) &&
                    !(t.c_oflag & OPOST);
         }},
        {"115200", [&] { comm.SetBaudrate(br115200); }, [](const termios& t) { return cfgetospeed(&t) == B115200; }},
        // The pty driver forces 8 data bits and clears the parity enable bit whatever is asked;
        // the parity kind still shows in the bits it keeps.
        {"odd parity", [&] { comm.SetParity(paOdd); },
         [](const termios& t) { return (t.c_cflag & PARODD) && !(t.c_cflag & CMSPAR); }},
        {"mark parity", [&] { comm.SetParity(paMark); },
         [](const termios& t) { return (t.c_cflag & (PARODD | CMSPAR)) == (PARODD | CMSPAR); }},
        {"space parity", [&] { comm.SetParity(paSpace); },
         [](const termios& t) { return (t.c_cflag & (PARODD | CMSPAR)) == CMSPAR; }},
        {"even parity", [&] { comm.SetParity(paEven); },
         [](const termios& t) { return !(t.c_cflag & (PARODD | CMSPAR)); }},
        {"two stop bits", [&] { comm.SetStopbits(sb20); }, [](const termios& t) { return (t.c_cflag & CSTOPB) != 0; }},
        {"7 data bits accepted", [&] { comm.SetDatabits(da7); }, [](const termios&) { return true; }},
        {"CTS flow", [&] { comm.SetFlowControl(fcCTS); }, [](const termios& t) { return (t.c_cflag & CRTSCTS) != 0; }},
        {"software flow",
         [&] {
             comm.SetFlowControl(fcNone);
             comm.SetXonChar(0x11);
             comm.SetFlowControl(fcSoftware);
         },
         [](const termios& t) {
             return !(t.c_cflag & CRTSCTS) && (t.c_iflag & IXON) && (t.c_iflag & IXOFF) && t.c_cc[VSTART] == 0x11;
         }},
        {"no flow", [&] { comm.SetFlowControl(fcNone); },
         [](const termios& t) { return !(t.c_cflag & CRTSCTS) && !(t.c_iflag & (IXON | IXOFF)); }},
        {"parity check option", [&] { comm.SetOptions(SetOf(coParityCheck)); },
         [](const termios& t) { return (t.c_iflag & INPCK) != 0; }},
    };
    for (const Case& c : kCases) {
        c.change();
        termios t{};
        ASSERT_EQ(tcgetattr(pty.Master(), &t), 0);
        EXPECT_TRUE(c.holds(t)) << c.what;
    }
}

TEST_F(CommOnPty, RatesTheTerminalInterfaceDoesNotNameAreSetExactly)
{
    comm.Open();
    for (TBaudrate rate : {br14400, br56000, br128000, br256000, br110}) {
        comm.SetBaudrate(rate);
        TLineSettings back;
        ASSERT_TRUE(GetLineSettings(pty.Master(), back));
        EXPECT_EQ(back.BaudRate, uint32_t(BaudRate2Int(rate))) << int(rate);
    }
}

TEST_F(CommOnPty, AnImpossibleSettingFailsInSetCommState)
{
    comm.Open();
    try {
        comm.SetDatabits(da4);
        FAIL() << "no exception";
    } catch (const EComError& e) {
        EXPECT_EQ(e.Message(), "Error 22 Invalid argument in function: SetCommState");
    }
    EXPECT_TRUE(comm.Active());
}

TEST_F(CommOnPty, SettingsThatNeedAClosedPortRefuseWhileOpen)
{
    comm.Open();
    const std::function<void()> kChanges[] = {
        [&] { comm.SetReadBufSize(1024); },
        [&] { comm.SetWriteBufSize(1024); },
        [&] { comm.SetMonitorEvents(SetOf(evRxChar)); },
        [&] { comm.SetDeviceName("Com1"); },
    };
    for (const auto& change : kChanges) {
        try {
            change();
            ADD_FAILURE() << "no exception";
        } catch (const EConnectError& e) {
            EXPECT_EQ(e.Message(), "Connection is active");
        }
    }
    EXPECT_EQ(comm.ReadBufSize(), 4096);
    EXPECT_EQ(comm.DeviceName(), pty.SlavePath());
}

TEST_F(CommOnPty, RxCharRunsOnTheEventThreadWithDontSynchronize)
{
    ReadOnRxChar();
    comm.SetDontSynchronize(true);
    comm.Open();
    pty.Send("hello");
    ASSERT_TRUE(WaitForReceived(5));
    EXPECT_EQ(ReceivedSoFar(), "hello");
    for (const RxEvent& e : rx.Snapshot()) {
        EXPECT_FALSE(e.onMainThread);
        EXPECT_EQ(e.count, int(e.bytes.size()));
    }
}

TEST_F(CommOnPty, RxCharRunsOnTheMainThreadThroughSynchronize)
{
    ReadOnRxChar();
    comm.Open();
    pty.Send("AT\r\n");
    ASSERT_TRUE(WaitForReceived(4));
    EXPECT_EQ(ReceivedSoFar(), "AT\r\n");
    for (const RxEvent& e : rx.Snapshot())
        EXPECT_TRUE(e.onMainThread);
}

TEST_F(CommOnPty, UnreadBytesAreCountedUntilPurged)
{
    Recorder<int> counts;
    comm.OnRxChar = [&](TObject*, int count) { counts.Add(count); };
    comm.SetDontSynchronize(true);
    EXPECT_EQ(comm.InQueCount(), -1);
    comm.PurgeIn();
    comm.PurgeOut();
    comm.Open();
    pty.Send("12345");
    // Each event counts everything queued, the bytes left unread included.
    ASSERT_TRUE(counts.WaitFor([](const std::vector<int>& c) { return !c.empty() && c.back() == 5; }));
    EXPECT_EQ(comm.InQueCount(), 5);
    // Bytes left unread raise no event of their own, but new ones do.
    pty.Send("67");
    ASSERT_TRUE(counts.WaitFor([](const std::vector<int>& c) { return c.back() == 7; }));
    comm.PurgeIn();
    EXPECT_EQ(comm.InQueCount(), 0);
    comm.Close();  // the event thread stops before counts goes
}

TEST_F(CommOnPty, ReadNeverWaitsForBytesThatHaveNotArrived)
{
    comm.SetReadTimeout(5000);
    comm.Open();
    std::string s = "stale";
    const auto start = std::chrono::steady_clock::now();
    comm.ReadString(10, s);
    EXPECT_EQ(s, "");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(CommOnPty, AWriteTheLineCannotTakeReturnsWhatWasTaken)
{
    comm.SetWriteTimeout(50);
    comm.Open();
    // Nobody reads the master: the queues fill and stay full.
    const std::string big(1 << 20, 'x');
    const int taken = comm.Write(big.data(), int(big.size()));
    EXPECT_GT(taken, 0);
    EXPECT_LT(taken, int(big.size()));
    EXPECT_EQ(comm.Write("y", 1), 0);
}

TEST_F(CommOnPty, TxEmptyFollowsAWrite)
{
    Recorder<bool> empty;
    comm.OnTxEmpty = [&](TObject*) { empty.Add(true); };
    comm.SetDontSynchronize(true);
    comm.Open();
    EXPECT_EQ(comm.WriteString("AT\r"), 3);
    EXPECT_EQ(pty.Receive(3), "AT\r");
    EXPECT_TRUE(empty.WaitFor([](const std::vector<bool>& e) { return !e.empty(); }));
    comm.Close();  // the event thread stops before empty goes
}

TEST_F(CommOnPty, AFailingHandlerDoesNotStopTheEvents)
{
    Recorder<int> seen;
    comm.OnRxChar = [&](TObject*, int) {
        std::string bytes;
        comm.ReadString(64, bytes);
        seen.Add(int(bytes.size()));
        throw EConnectError("handler failed");
    };
    comm.Open();
    pty.Send("a");
    ASSERT_TRUE(seen.WaitFor([](const std::vector<int>& s) { return s.size() == 1; }));
    pty.Send("b");
    EXPECT_TRUE(seen.WaitFor([](const std::vector<int>& s) { return s.size() == 2; }));
    comm.Close();  // the event thread stops before seen goes
}

// The event thread must stop promptly even while bytes keep coming and handlers keep reading;
// the sanitizer run shows that nothing touches the device after it is gone.
TEST(Comm, ClosingWhileBytesStreamInStopsTheThread)
{
    for (bool direct : {true, false}) {
        PtyPair pty;
        auto comm = std::make_unique<TComm>();
        comm->SetDeviceName(pty.SlavePath());
        comm->SetDontSynchronize(direct);
        std::atomic<long> received{0};
        comm->OnRxChar = [&](TObject* sender, int count) {
            std::string bytes;
            static_cast<TComm*>(sender)->ReadString(count, bytes);
            received += long(bytes.size());
        };
        comm->Open();
        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            const std::string chunk(256, 'z');
            while (flooding) {
                pollfd p{pty.Master(), POLLOUT, 0};
                if (poll(&p, 1, 100) > 0)
                    [[maybe_unused]] ssize_t n = write(pty.Master(), chunk.data(), chunk.size());
            }
        });
        Recorder<bool> nothing;
        // Let some traffic through first, serving the hand-over when there is one.
        nothing.WaitFor([&](const std::vector<bool>&) { return received > 4096; });
        comm->Close();
        EXPECT_FALSE(comm->Active());
        comm.reset();
        flooding = false;
        flood.join();
        EXPECT_GT(received.load(), 0) << (direct ? "direct" : "synchronized");
    }
}

TEST(Comm, AComNameReachesThePortPublishedInThePortDirectory)
{
    PtyPair pty;
    const std::string dir = ::testing::TempDir() + "comm_port_dir";
    mkdir(dir.c_str(), 0700);
    unlink((dir + "/com7").c_str());
    ASSERT_EQ(symlink(pty.SlavePath().c_str(), (dir + "/com7").c_str()), 0);
    setenv("GATEWAY_PORT_DIR", dir.c_str(), 1);
    TComm comm;
    comm.SetDeviceName("COM7");
    comm.Open();
    comm.WriteString("ATI\r");
    EXPECT_EQ(pty.Receive(4), "ATI\r");
    comm.Close();
    unsetenv("GATEWAY_PORT_DIR");
}

TEST(Comm, AtDesignTimeOpenAndCloseTouchNoPort)
{
    TComm comm;
    comm.SetDesigning(true);
    comm.SetDeviceName("/nonexistent/ttyX");
    comm.Open();
    EXPECT_TRUE(comm.Active());
    comm.SetBaudrate(br115200);
    comm.Close();
    EXPECT_FALSE(comm.Active());
}

}  // namespace
