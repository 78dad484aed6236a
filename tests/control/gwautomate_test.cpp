// gwautomate tried as a new user would: against a simulated modem, through the registry.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/control/control_fixture.h"

extern char** environ;

namespace {

// A run of the program with its output read through pipes.
class ProgramRun {
public:
    explicit ProgramRun(std::vector<std::string> arguments)
    {
        int out[2], err[2];
        EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
        EXPECT_EQ(pipe2(err, O_CLOEXEC), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
        arguments.insert(arguments.begin(), GW_AUTOMATE);
        std::vector<char*> argv;
        for (auto& a : arguments)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        EXPECT_EQ(posix_spawn(&pid_, GW_AUTOMATE, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~ProgramRun()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        close(err_);
    }

    // Reads standard output until it holds the text or the deadline passes.
    bool WaitForOutput(const std::string& text, int deadlineMs = 10000)
    {
        const uint32_t start = GetTickCount();
        while (stdout_.find(text) == std::string::npos) {
            const int left = deadlineMs - static_cast<int>(GetTickCount() - start);
            if (left <= 0 || !ReadSome(left))
                return stdout_.find(text) != std::string::npos;
        }
        return true;
    }
    void Signal(int number) { kill(pid_, number); }
    // Waits for the end; the exit code.
    int Finish()
    {
        while (ReadSome(10000)) {
        }
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    const std::string& Out() const { return stdout_; }
    const std::string& Err() const { return stderr_; }

private:
    // False once both pipes are closed or nothing came in time.
    bool ReadSome(int timeoutMs)
    {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (poll(fds, 2, timeoutMs) <= 0)
            return false;
        bool open = false;
        for (int i = 0; i < 2; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                (i == 0 ? stdout_ : stderr_).append(buffer, n);
                open = true;
            }
        }
        return open || !((fds[0].revents | fds[1].revents) & POLLHUP);
    }

    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string stdout_;
    std::string stderr_;
};

class Automate : public ControlOnSimulator {
protected:
    std::vector<std::string> With(std::vector<std::string> command)
    {
        std::vector<std::string> arguments = {"--port", Sim().Path(), "--model", "TC35", "--pin", "1234"};
        arguments.insert(arguments.end(), command.begin(), command.end());
        return arguments;
    }
};

TEST_F(Automate, SendsToItsOwnNumberAndMonitorShowsItArriving)
{
    ProgramRun send(With({"send", "+491701234567", "Hello from gwautomate", "--report"}));
    ASSERT_EQ(send.Finish(), 0) << send.Err();
    EXPECT_EQ(send.Out(), "sent to +491701234567, delivery report requested\n");

    ProgramRun monitor(With({"monitor", "--poll", "1"}));
    ASSERT_TRUE(monitor.WaitForOutput("Hello from gwautomate")) << monitor.Out() << monitor.Err();
    EXPECT_NE(monitor.Out().find("message from +491701234567"), std::string::npos) << monitor.Out();
    EXPECT_NE(monitor.Out().find("registration: 1 (registered, home network)"), std::string::npos);
    // A message arriving while it watches comes at once, routed.
    Sim().InjectSms("+4930123456", "Live");
    ASSERT_TRUE(monitor.WaitForOutput("from +4930123456")) << monitor.Out();
    monitor.Signal(SIGINT);
    EXPECT_EQ(monitor.Finish(), 0) << monitor.Err();
    EXPECT_NE(monitor.Out().find("stopped"), std::string::npos);
}

TEST_F(Automate, ListsReadsAndDeletes)
{
    Sim().InjectSms("+4930123456", "Stored");
    ASSERT_TRUE(ServeUntil([&] { return Sim().StoredCount("SM") == 1; }));
    ProgramRun list(With({"list"}));
    ASSERT_EQ(list.Finish(), 0) << list.Err();
    EXPECT_NE(list.Out().find("[1] from +4930123456"), std::string::npos) << list.Out();
    EXPECT_NE(list.Out().find(": Stored\n1 message\n"), std::string::npos) << list.Out();

    ProgramRun read(With({"read", "1"}));
    ASSERT_EQ(read.Finish(), 0) << read.Err();
    EXPECT_NE(read.Out().find("Stored"), std::string::npos);

    ProgramRun remove(With({"delete", "1"}));
    ASSERT_EQ(remove.Finish(), 0) << remove.Err();
    EXPECT_EQ(Sim().StoredCount("SM"), 0);
}

TEST_F(Automate, RunsARawCommand)
{
    ProgramRun at(With({"at", "AT+CGMI"}));
    ASSERT_EQ(at.Finish(), 0) << at.Err();
    EXPECT_EQ(at.Out(), "SIEMENS\nOK\n");
}

TEST_F(Automate, FailsClearlyWithTheControlsDescription)
{
    ProgramRun model({"--port", Sim().Path(), "--model", "Nokia", "list"});
    EXPECT_EQ(model.Finish(), 1);
    EXPECT_EQ(model.Err(), "gwautomate: model Nokia: Bad equipment name\n");

    ProgramRun missing({"--port", "/nonexistent/port", "list"});
    EXPECT_EQ(missing.Finish(), 1);
    EXPECT_NE(missing.Err().find("cannot connect to /nonexistent/port: "), std::string::npos) << missing.Err();

    ProgramRun usage(With({"send", "+49"}));
    EXPECT_EQ(usage.Finish(), 1);
    EXPECT_NE(usage.Err().find("usage:"), std::string::npos);

    ASSERT_EQ(CallCelvane("DllUnregisterServer"), S_OK);
    ProgramRun unregistered(With({"list"}));
    EXPECT_EQ(unregistered.Finish(), 1);
    EXPECT_NE(unregistered.Err().find("not registered"), std::string::npos);
}

} // namespace
