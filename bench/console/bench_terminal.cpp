// Terminal figures: one megabyte of modem traffic fed to a terminal from a producer thread,
// once a character per call (as the modem log receives it) and once in 64-byte reads.
//  - GUI-thread time spent applying queued text, in total and per pass;
//  - the longest time a producer call was blocked.
// Then two seconds at a real line's pace, where every read gets a pass of its own.
// The GUI thread does nothing but serve the hand-overs, so each drain of the main thread's
// queue is exactly one pass of the terminal.
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <thread>
#include <vector>

#include "console/qt_text.h"
#include "console/terminal.h"
#include "platform/sys/main_thread.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// What a modem sends while the console drains and polls it: echoes, listings, PDUs, results.
std::string ModemTraffic(size_t size)
{
    const std::string dialogue =
        "AT+CMGL=4\r\r\n"
        "+CMGL: 1,0,,24\r\n"
        "07911326040000F0040B911346610089F60000208062917314080CC8F71D14969741F977FD07\r\n"
        "\r\nOK\r\n"
        "AT+CSQ\r\r\n+CSQ: 17,99\r\n\r\nOK\r\n"
        "\r\n+CMTI: \"SM\",3\r\n";
    std::string traffic;
    traffic.reserve(size + dialogue.size());
    while (traffic.size() < size)
        traffic += dialogue;
    traffic.resize(size);
    return traffic;
}

struct Figures {
    int passes = 0;
    double guiMs = 0;
    double longestPassMs = 0;
    double longestBlockMs = 0;
    int blocksOver1ms = 0;
    double wallMs = 0;
};

Figures Feed(const std::string& traffic, size_t chunk, std::chrono::microseconds gap = {})
{
    TTerminal terminal;
    terminal.MaxLines = 30;  // as the console's modem log
    terminal.show();
    Figures figures;
    // Raw text, so it lands after the traffic: a pass puts queued whole lines before text.
    const std::string marker = "\r\n-- end of traffic --";
    bool producing = true;
    const Clock::time_point start = Clock::now();
    std::thread producer([&] {
        double longest = 0;
        for (size_t at = 0; at < traffic.size(); at += chunk) {
            const std::string piece = traffic.substr(at, chunk);
            const Clock::time_point before = Clock::now();
            terminal.AddText(piece);
            const double blocked = Ms(Clock::now() - before);
            longest = std::max(longest, blocked);
            if (blocked > 1.0)
                ++figures.blocksOver1ms;
            if (gap.count() > 0)
                std::this_thread::sleep_for(gap);
        }
        terminal.AddText(marker);
        figures.longestBlockMs = longest;
    });
    pollfd wake{SynchronizeWakeFd(), POLLIN, 0};
    for (;;) {
        if (poll(&wake, 1, 100) == 1) {
            const Clock::time_point before = Clock::now();
            CheckSynchronize();
            const double pass = Ms(Clock::now() - before);
            ++figures.passes;
            figures.guiMs += pass;
            figures.longestPassMs = std::max(figures.longestPassMs, pass);
            QCoreApplication::processEvents();  // painting, outside the figures
        }
        if (producing && figures.longestBlockMs == 0)
            continue;
        producing = false;
        if (FromQString(terminal.toPlainText()).ends_with(marker.substr(2)))
            break;
    }
    producer.join();
    figures.wallMs = Ms(Clock::now() - start);
    return figures;
}

void Report(const char* name, const Figures& f)
{
    std::printf("%-28s passes %6d  GUI total %8.1f ms  per pass %7.3f ms (longest %6.2f ms)  "
                "longest producer block %6.3f ms (%d calls over 1 ms)  wall %8.1f ms\n",
                name, f.passes, f.guiMs, f.passes ? f.guiMs / f.passes : 0.0, f.longestPassMs, f.longestBlockMs,
                f.blocksOver1ms, f.wallMs);
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    const std::string traffic = ModemTraffic(1 << 20);
    std::printf("1 MiB of modem traffic into a terminal of 30 lines\n");
    Report("one character per call", Feed(traffic, 1));
    Report("64-byte reads", Feed(traffic, 64));
    // A modem at 115200 bit/s delivers about 11.5 kB a second: 16-byte reads 1.39 ms apart.
    std::printf("2 s of traffic at the pace of 115200 bit/s\n");
    Report("16-byte reads, paced", Feed(ModemTraffic(23040), 16, std::chrono::microseconds(1389)));
    return 0;
}
