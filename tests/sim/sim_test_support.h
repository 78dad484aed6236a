#pragma once
#include <memory>
#include <string>

#include "sim/simulator.h"
#include "tests/sim/pty_client.h"

// A simulator of one model and a client on its port, echo switched off unless asked.
struct TSimulatedPort {
    explicit TSimulatedPort(const std::string& model = "TC35", sim::TDeviceSettings settings = {},
                            bool echo = false)
        : simulator(Options(model, std::move(settings))), client(simulator.Path())
    {
        if (!echo)
            client.Command("ATE0");
    }
    static sim::TSimulatorOptions Options(const std::string& model, sim::TDeviceSettings settings)
    {
        sim::TSimulatorOptions options;
        options.model = model;
        options.device = std::move(settings);
        return options;
    }
    sim::TSimulator simulator;
    TPtyClient client;
};

inline std::string Framed(const std::string& line)
{
    return "\r\n" + line + "\r\n";
}
