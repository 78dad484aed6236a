#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "control/celvane_events.h"
#include "control/celvane_tlb.h"
#include "sim/simulator.h"
#include "tools/soak/message_ledger.h"

struct TStationSettings {
    std::string name;         // for the log: "A"
    std::string model;        // the simulator's short name
    int32_t equipment;        // the control's TGSMEquipment of that model
    std::string pin;          // empty: the SIM asks for none
    std::string link;         // published in the port directory as this, opened as DeviceName
    std::string number;       // the station's own number
    int32_t indications;      // the control's UnsolicitedIndication
    int32_t recTimeoutMs;
    int32_t repeatCount;
};

// One simulated modem and the control that drives it, used as a script host uses the control:
// created by class id, called through ICelvane, its events taken by a sink. Received messages,
// routed or stored, go to the ledger. Main thread only.
class TStation {
public:
    TStation(TStationSettings settings, int index, TMessageLedger& ledger);
    ~TStation();

    // Creates the simulator and the control and activates it; raises std::runtime_error.
    void Open();
    // The port hung up and comes back as a new terminal under the same name: the control is
    // closed and opened again. The new device joins the peer's network.
    void Reappear(TStation& peer);

    // Sends soak message `id` to `to`; false with the control's error description on failure.
    bool Send(int id, const std::string& to, bool statusReport, std::string& error);
    // One plain command; false with the error description when it fails.
    bool Probe(std::string& error);
    // Reads and deletes the stored messages the device announced. A read that fails or gives
    // nothing leaves the message stored for a later try: deleting it unread would lose it.
    void Collect();
    // Lists the store and takes every message in it, also those whose indication was lost.
    void Sweep();

    sim::TSimulator& Sim() { return *sim_; }
    const TStationSettings& Settings() const { return settings_; }
    int Index() const { return index_; }
    int StatusReports() const { return statusReports_; }
    int FailedReads() const { return failedReads_; }
    int FailedDeletes() const { return failedDeletes_; }
    bool HasUncollected() const { return !announced_.empty() || !undeleted_.empty(); }

private:
    void OnEvent(DISPID id, const std::vector<Variant>& arguments);
    void Take(ISMS* message);
    bool Delete(int index);
    void CreateSimulator();
    void Activate();

    TStationSettings settings_;
    int index_;
    TMessageLedger& ledger_;
    std::unique_ptr<sim::TSimulator> sim_;
    ComPtr<ICelvane> control_;
    ComPtr<CelvaneEventSink> sink_;
    uint32_t cookie_ = 0;
    std::deque<int> announced_;   // storage indexes announced and not yet read
    std::set<int> undeleted_;     // read, but the delete failed: taken already, still stored
    int statusReports_ = 0;
    int failedReads_ = 0;
    int failedDeletes_ = 0;
};
