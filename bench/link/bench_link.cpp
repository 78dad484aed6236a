// Serial device figures on a pseudo-terminal:
//  - how long Active := false takes while the peer floods the line, with received-data events
//    on the event thread and on the main thread;
//  - how much CPU an open, idle port costs.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "link/comm.h"
#include "link/comm_event_thread.h"
#include "platform/sys/main_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Pty {
    Pty()
    {
        int slave;
        char name[128];
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            std::exit(1);
        }
        close(slave);
        path = name;
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~Pty() { close(master); }
    int master = -1;
    std::string path;
};

double CloseWhileFlooding(bool onEventThread)
{
    Pty pty;
    TComm comm;
    comm.SetDeviceName(pty.path);
    comm.SetBaudrate(br115200);
    comm.SetDontSynchronize(onEventThread);
    std::atomic<long> received{0};
    comm.OnRxChar = [&](TObject*, int count) {
        std::string bytes;
        comm.ReadString(count, bytes);
        received += long(bytes.size());
    };
    comm.Open();
    std::atomic<bool> flooding{true};
    std::thread flood([&] {
        const std::string chunk(1024, 'U');
        while (flooding) {
            pollfd p{pty.master, POLLOUT, 0};
            if (poll(&p, 1, 50) > 0)
                [[maybe_unused]] ssize_t n = write(pty.master, chunk.data(), chunk.size());
        }
    });
    const auto until = Clock::now() + std::chrono::milliseconds(200);
    while (Clock::now() < until)
        CheckSynchronize(10);
    const auto start = Clock::now();
    comm.Close();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    flooding = false;
    flood.join();
    if (received == 0)
        std::fprintf(stderr, "no data reached the handler\n");
    return ms;
}

void ReportClose(bool onEventThread)
{
    constexpr int kRounds = 20;
    std::vector<double> times;
    for (int i = 0; i < kRounds; ++i)
        times.push_back(CloseWhileFlooding(onEventThread));
    std::sort(times.begin(), times.end());
    std::printf("close while flooded, events on %-12s: median %.2f ms, max %.2f ms over %d rounds\n",
                onEventThread ? "event thread" : "main thread", times[kRounds / 2], times.back(), kRounds);
}

double CpuMs(const rusage& u)
{
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

void ReportIdle()
{
    constexpr int kSeconds = 3;
    Pty pty;
    TComm comm;
    comm.SetDeviceName(pty.path);
    comm.Open();
    rusage before, after;
    getrusage(RUSAGE_SELF, &before);
    std::this_thread::sleep_for(std::chrono::seconds(kSeconds));
    getrusage(RUSAGE_SELF, &after);
    std::printf("open idle port: %.3f ms CPU and %ld wake-ups in %d s (line status period where the driver "
                "has one: %d ms)\n",
                CpuMs(after) - CpuMs(before), after.ru_nvcsw - before.ru_nvcsw, kSeconds, kLineCheckPeriodMs);
}

}  // namespace

int main()
{
    ReportClose(true);
    ReportClose(false);
    ReportIdle();
    return 0;
}
