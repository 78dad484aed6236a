// Figures of the engine against the simulated modem:
//   - unsolicited lines per second through the receive path, from a flood on the pty;
//   - latency from the device's write of a line to OnUnsolicitedLine (median, 99th percentile);
//   - CPU used by an open, idle engine;
//   - sends per second against the floor set by the fixed pauses.
// Usage: bench_modem [--lines N] [--latency N] [--idle SECONDS] [--sends N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "codec/sms_submit.h"
#include "link/comm.h"
#include "modem/gsm.h"
#include "platform/sys/main_thread.h"
#include "sim/simulator.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

template <typename Pred>
void ServeUntil(Pred pred)
{
    while (!pred())
        CheckSynchronize(1);
}

struct Bench {
    sim::TSimulator sim{Options()};
    TComm comm;
    TGSM gsm;

    static sim::TSimulatorOptions Options()
    {
        sim::TSimulatorOptions options;
        options.model = "TC35";
        return options;
    }
    Bench()
    {
        comm.SetDeviceName(sim.Path());
        gsm.SetCOMDevice(&comm);
        gsm.SetEquipment(eqTC35);
        gsm.SetActive(true);
        CheckSynchronize(50);
    }
    ~Bench() { gsm.SetActive(false); }
};

void Throughput(Bench& bench, int lines)
{
    int seen = 0;
    bench.gsm.OnUnsolicitedSMS = [&](TObject*, int, TSMS*) { ++seen; };
    std::string flood;
    for (int i = 0; i < lines; ++i)
        flood += "+CMTI: \"SM\"," + std::to_string(i % 20 + 1) + "\r\n";
    const auto start = Clock::now();
    bench.sim.InjectBytes(flood);
    ServeUntil([&] { return seen >= lines; });
    const double s = Seconds(Clock::now() - start);
    std::printf("receive path: %d +CMTI lines in %.3f s = %.0f lines/s\n", lines, s, lines / s);
    bench.gsm.OnUnsolicitedSMS = nullptr;
}

void Latency(Bench& bench, int samples)
{
    std::vector<double> ms;
    Clock::time_point sent;
    bool arrived = false;
    bench.gsm.OnUnsolicitedLine = [&](TObject*, const std::string&) {
        ms.push_back(Seconds(Clock::now() - sent) * 1000);
        arrived = true;
    };
    for (int i = 0; i < samples; ++i) {
        arrived = false;
        sent = Clock::now();
        bench.sim.InjectBytes("RING\r\n");
        ServeUntil([&] { return arrived; });
    }
    std::sort(ms.begin(), ms.end());
    std::printf("line latency (device write to OnUnsolicitedLine, %d lines): median %.3f ms, p99 %.3f ms\n",
                samples, ms[ms.size() / 2], ms[ms.size() * 99 / 100]);
    bench.gsm.OnUnsolicitedLine = nullptr;
}

void Idle(Bench&, int seconds)
{
    const double cpu = CpuSeconds();
    const auto start = Clock::now();
    // The main thread waits on the queue like a host's event loop would.
    while (Seconds(Clock::now() - start) < seconds)
        CheckSynchronize(1000);
    std::printf("idle open engine: %.3f ms CPU in %d s (simulator thread included)\n", (CpuSeconds() - cpu) * 1000,
                seconds);
}

void Sends(Bench& bench, int count)
{
    TSMSSubmit submit;
    submit.SetGSM(&bench.gsm);
    submit.SetDA("+4930123456");
    submit.SetUD("benchmark");
    const auto start = Clock::now();
    for (int i = 0; i < count; ++i)
        bench.gsm.SendSMS(submit);
    const double per = Seconds(Clock::now() - start) / count * 1000;
    const double floor = 150 + 100;  // one attempt's pause plus the TC35's pause after a send
    std::printf("sends: %d in PDU mode, %.1f ms each = %.2f/s; floor of the fixed pauses %.0f ms; ratio %.3f; "
                "engine and device overhead %.2f ms per send\n",
                count, per, 1000 / per, floor, per / floor, per - floor);
}

}  // namespace

int main(int argc, char** argv)
{
    int lines = 50000, samples = 500, idle = 10, sends = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (!std::strcmp(argv[i], "--lines"))
            lines = value;
        else if (!std::strcmp(argv[i], "--latency"))
            samples = value;
        else if (!std::strcmp(argv[i], "--idle"))
            idle = value;
        else if (!std::strcmp(argv[i], "--sends"))
            sends = value;
    }
    Bench bench;
    Throughput(bench, lines);
    Latency(bench, samples);
    Idle(bench, idle);
    Sends(bench, sends);
    return 0;
}
