// gsmsim: a simulated GSM device on a pseudo-terminal, for demonstrations and manual tests.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <iostream>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/signalfd.h>
#include <sys/time.h>
#include <unistd.h>

#include "sim/control_command.h"
#include "sim/simulator.h"

namespace {

const char kUsage[] =
    "usage: gsmsim [options]\n"
    "  --model <name>     device model by its short name (default TC35): A1 M1 M20 GM12 Nokia6210\n"
    "                     Nokia6650 Nokia9110 M35 S25 T260 WaveCom TC35 Fasttrack ZText\n"
    "  --pin <pin>        the SIM asks for this PIN (default: no PIN)\n"
    "  --puk <puk>        the SIM's PUK (default 12345678)\n"
    "  --number <number>  the device's own number (default +491701234567)\n"
    "  --sca <number>     the service centre (default +491710760000; \"\" for none)\n"
    "  --link <comN>      publish the port as comN in the port directory, so \"ComN\" reaches it\n"
    "  --list-all         +CMGL without a status lists every message, not only unread ones\n"
    "  --quiet            do not log the AT dialogue\n"
    "  --help             this text\n"
    "The port directory is $GATEWAY_PORT_DIR, else $XDG_RUNTIME_DIR/gateway-ports, else\n"
    "$HOME/.gateway/ports. The AT dialogue is logged on standard error.\n\n";

std::mutex logMutex;

void LogLine(sim::TLogDirection direction, std::string_view bytes)
{
    static const char* const kMarks[] = {"<-", "->", "--"};
    timeval now;
    gettimeofday(&now, nullptr);
    tm local;
    localtime_r(&now.tv_sec, &local);
    std::lock_guard<std::mutex> lock(logMutex);
    std::fprintf(stderr, "%02d:%02d:%02d.%03d %s %s\n", local.tm_hour, local.tm_min, local.tm_sec,
                 static_cast<int>(now.tv_usec / 1000), kMarks[static_cast<int>(direction)],
                 direction == sim::TLogDirection::Event
                     ? std::string(bytes).c_str()
                     : sim::PrintableBytes(std::string(bytes)).c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    sim::TSimulatorOptions options;
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "gsmsim: %s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--model")
            options.model = value();
        else if (arg == "--pin")
            options.device.pin = value();
        else if (arg == "--puk")
            options.device.puk = value();
        else if (arg == "--number")
            options.device.ownNumber = value();
        else if (arg == "--sca")
            options.device.serviceCentre = value();
        else if (arg == "--link")
            options.link = value();
        else if (arg == "--list-all")
            options.device.listAllByDefault = true;
        else if (arg == "--quiet")
            quiet = true;
        else if (arg == "--help") {
            std::cout << kUsage << sim::kControlHelp;
            return 0;
        } else {
            std::fprintf(stderr, "gsmsim: unknown option %s (try --help)\n", arg.c_str());
            return 2;
        }
    }

    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigprocmask(SIG_BLOCK, &signals, nullptr);
    const int signalFd = signalfd(-1, &signals, SFD_CLOEXEC);

    try {
        sim::TSimulator simulator(options, quiet ? sim::TSimulator::TLogHandler() : LogLine);
        std::printf("gsmsim: %s on %s", options.model.c_str(), simulator.Path().c_str());
        if (!simulator.LinkPath().empty())
            std::printf(" (link %s)", simulator.LinkPath().c_str());
        std::printf("\n");
        std::fflush(stdout);

        bool inputOpen = true;
        std::string pending;
        for (;;) {
            pollfd fds[2] = {{signalFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
            if (poll(fds, inputOpen ? 2 : 1, -1) < 0 && errno != EINTR)
                break;
            if (fds[0].revents & POLLIN)
                break;
            if (!inputOpen || !(fds[1].revents & (POLLIN | POLLHUP)))
                continue;
            char buffer[1024];
            const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                // Without a control input the device keeps running until it is stopped.
                inputOpen = false;
                continue;
            }
            pending.append(buffer, n);
            for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
                const std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                const std::string answer = sim::ExecuteControl(simulator, line);
                if (!answer.empty()) {
                    std::printf("%s\n", answer.c_str());
                    std::fflush(stdout);
                }
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gsmsim: %s\n", e.what());
        return 1;
    }
    return 0;
}
