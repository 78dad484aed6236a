#pragma once
#include <map>
#include <string>
#include <vector>

namespace sim {

// Message status as TS 27.005 numbers it.
enum TMessageStatus { kRecUnread = 0, kRecRead = 1, kStoUnsent = 2, kStoSent = 3, kStatusAll = 4 };

enum class TStoredKind { Deliver, StatusReport, CellBroadcast };

struct TStoredMessage {
    TMessageStatus status = kRecUnread;
    TStoredKind kind = TStoredKind::Deliver;
    std::string tpdu;            // octets, without a service centre field
    std::string serviceCentre;   // the service centre that delivered it ("+49...")
};

// One storage of the device ("SM", "ME", "BM") with a fixed number of 1-based slots.
class TMessageStore {
public:
    TMessageStore(std::string name, int capacity) : name_(std::move(name)), capacity_(capacity) {}

    const std::string& Name() const { return name_; }
    int Capacity() const { return capacity_; }
    int Used() const { return static_cast<int>(entries_.size()); }
    bool Full() const { return Used() >= capacity_; }

    // The lowest free index, or 0 when the storage is full.
    int Add(TStoredMessage message);
    TStoredMessage* Find(int index);
    bool Remove(int index);
    std::vector<int> Indices() const;

private:
    std::string name_;
    int capacity_;
    std::map<int, TStoredMessage> entries_;
};

}  // namespace sim
