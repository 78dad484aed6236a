#pragma once
// A control created by class id, driving a simulated modem, with every event it fires recorded.
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "control/celvane_events.h"
#include "platform/sys/main_thread.h"
#include "platform/sys/tick_count.h"
#include "sim/simulator.h"
#include "tests/control/celvane_fixture.h"

// Serves the main thread's queue until pred holds or the deadline passes.
inline bool ServeUntil(const std::function<bool()>& pred, uint32_t deadlineMs = 5000)
{
    const uint32_t start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > deadlineMs)
            return false;
        CheckSynchronize(5);
    }
    return true;
}

// Descriptors of this process open on the file.
inline int OpenDescriptorsOn(const std::string& path)
{
    int count = 0;
    std::error_code error;
    const auto target = std::filesystem::canonical(path, error);
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        std::error_code ignored;
        if (std::filesystem::read_symlink(entry.path(), ignored) == target)
            ++count;
    }
    return count;
}

struct RecordedEvent {
    DISPID id;
    std::vector<Variant> arguments;
};

// What the sink saw, from whatever thread an event arrived on.
class EventRecord {
public:
    void Add(DISPID id, const std::vector<Variant>& arguments)
    {
        std::lock_guard lock(mutex_);
        events_.push_back({id, arguments});
    }
    std::vector<RecordedEvent> Of(DISPID id)
    {
        std::lock_guard lock(mutex_);
        std::vector<RecordedEvent> found;
        for (const auto& e : events_)
            if (e.id == id)
                found.push_back(e);
        return found;
    }
    size_t Count(DISPID id) { return Of(id).size(); }
    // The bytes of OnRxChar, or of OnLog on one channel, joined.
    std::string RxChars()
    {
        std::string text;
        for (const auto& e : Of(celvane::kOnRxChar))
            text += static_cast<char>(e.arguments[0].bVal);
        return text;
    }
    std::string Log(uint8_t channel)
    {
        std::string text;
        for (const auto& e : Of(celvane::kOnLog))
            if (e.arguments[0].bVal == channel)
                text += e.arguments[1].ToNarrow();
        return text;
    }
    void Clear()
    {
        std::lock_guard lock(mutex_);
        events_.clear();
    }

private:
    std::mutex mutex_;
    std::vector<RecordedEvent> events_;  // guarded by mutex_
};

class ControlOnSimulator : public CelvaneRegistry {
protected:
    void SetUp() override
    {
        CelvaneRegistry::SetUp();
        objectsBefore_ = LiveComObjects();
        sim::TSimulatorOptions options;
        options.model = Model();
        options.device.pin = "1234";
        options.device.readyDelayMs = 50;
        sim_ = std::make_unique<sim::TSimulator>(options);
        simulatorDescriptors_ = OpenDescriptorsOn(sim_->Path());
        control = Create<ICelvane>(celvane::CLSID_Celvane);
        ASSERT_TRUE(control);
        ASSERT_EQ(control->put_DeviceName(Bstr::FromNarrow(sim_->Path()).Get()), S_OK);
        ASSERT_EQ(control->put_Equipment(Equipment()), S_OK);
        ASSERT_EQ(control->put_PIN(Bstr(u"1234").Get()), S_OK);
        // Short waits for tests; the engine's own pauses stay as they are.
        control->put_RecTimeout(400);
        control->put_RepeatTimeout(10);
        control->put_RepeatCount(2);
        sink = MakeComObject<CelvaneEventSink>([this](DISPID id, const std::vector<Variant>& arguments) {
            events.Add(id, arguments);
            if (handler)
                handler(id, arguments);
        });
        ASSERT_EQ(ConnectEvents(control.Get(), sink.Get(), &cookie_), S_OK);
    }
    void TearDown() override
    {
        if (control)
            control->put_Active(VARIANT_FALSE);
        control.Reset();
        sink.Reset();
        events.Clear();
        SetErrorInfo(0, nullptr);  // a failure's description is an object too
        // Every object the test made or was handed is gone with its last reference.
        EXPECT_EQ(LiveComObjects(), objectsBefore_);
        sim_.reset();
        CelvaneRegistry::TearDown();
    }

    // The device model of the simulator and the control.
    virtual const char* Model() const { return "TC35"; }
    virtual int32_t Equipment() const { return 11; }  // eqTC35

    void Activate() { ASSERT_EQ(control->put_Active(VARIANT_TRUE), S_OK) << LastErrorDescription(); }

    sim::TSimulator& Sim() { return *sim_; }
    // What the simulator itself keeps open on its terminal.
    int SimulatorDescriptors() const { return simulatorDescriptors_; }

    ComPtr<ICelvane> control;
    ComPtr<CelvaneEventSink> sink;
    EventRecord events;
    // Runs after an event is recorded; may raise, as a host's handler can.
    std::function<void(DISPID, const std::vector<Variant>&)> handler;

private:
    std::unique_ptr<sim::TSimulator> sim_;
    uint32_t cookie_ = 0;
    int simulatorDescriptors_ = 0;
    int32_t objectsBefore_ = 0;
};
