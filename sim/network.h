#pragma once
#include <mutex>
#include <string>
#include <vector>

#include "sim/at_device.h"

namespace sim {

// A device the network can deliver to. Deliver may be called from any thread.
class TSubscriber {
public:
    virtual ~TSubscriber() = default;
    virtual const std::string& Number() const = 0;
    virtual void Deliver(const TIncomingSms& sms) = 0;
};

// The radio network between simulated devices: a message to a subscriber's number reaches it.
class TNetwork {
public:
    void Attach(TSubscriber* subscriber);
    void Detach(TSubscriber* subscriber);
    // False when no attached subscriber has the number; the message then leaves the simulation.
    bool Route(const TAddress& destination, const TIncomingSms& sms);

private:
    std::mutex mutex_;   // guards subscribers_
    std::vector<TSubscriber*> subscribers_;
};

// "+4917..." and an international 4917... name the same subscriber; so do equal plain digits.
bool SameNumber(const TAddress& address, const std::string& number);

}  // namespace sim
