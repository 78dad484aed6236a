#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "engine_fixture.h"
#include "sim/simulator.h"

// An engine on a simulated device of the given model, with the commands it wrote recorded.
class SimulatedEngine {
public:
    explicit SimulatedEngine(const std::string& model, const std::string& simPin = "1234")
        : sim_(Options(model, simPin), [this](sim::TLogDirection direction, std::string_view bytes) {
              if (direction == sim::TLogDirection::FromClient) {
                  std::lock_guard lock(mutex_);
                  written_.append(bytes);
              }
          })
    {
        comm.SetDeviceName(sim_.Path());
        gsm.SetCOMDevice(&comm);
        gsm.SetEquipment(Str2GMSEquipment(model));
        gsm.SetPIN("1234");
        UseTestTimeouts(gsm);
        recorder.Watch(gsm);
    }
    ~SimulatedEngine()
    {
        try {
            gsm.SetActive(false);
        } catch (...) {
        }
    }

    sim::TSimulator& Sim() { return sim_; }

    // The command lines written so far (CR-terminated; the text after a prompt ends at Ctrl-Z).
    std::vector<std::string> Commands()
    {
        std::lock_guard lock(mutex_);
        std::vector<std::string> commands;
        std::string line;
        for (const char c : written_) {
            if (c == '\r' || c == '\x1A' || c == '\x1B') {
                commands.push_back(line);
                line.clear();
            } else if (c != '\n') {
                line += c;
            }
        }
        return commands;
    }
    void ClearCommands()
    {
        std::lock_guard lock(mutex_);
        written_.clear();
    }

    TComm comm;
    TTestGSM gsm;
    TEngineRecorder recorder;

private:
    static sim::TSimulatorOptions Options(const std::string& model, const std::string& simPin)
    {
        sim::TSimulatorOptions options;
        options.model = model;
        options.device.pin = simPin;
        options.device.readyDelayMs = 50;
        return options;
    }

    std::mutex mutex_;
    std::string written_;  // guarded by mutex_
    sim::TSimulator sim_;  // last: its thread stops before the rest goes
};
