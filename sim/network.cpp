#include "sim/network.h"

#include <algorithm>

namespace sim {

void TNetwork::Attach(TSubscriber* subscriber)
{
    std::lock_guard<std::mutex> lock(mutex_);
    subscribers_.push_back(subscriber);
}

void TNetwork::Detach(TSubscriber* subscriber)
{
    std::lock_guard<std::mutex> lock(mutex_);
    subscribers_.erase(std::remove(subscribers_.begin(), subscribers_.end(), subscriber),
                       subscribers_.end());
}

bool TNetwork::Route(const TAddress& destination, const TIncomingSms& sms)
{
    std::lock_guard<std::mutex> lock(mutex_);
    for (TSubscriber* subscriber : subscribers_)
        if (SameNumber(destination, subscriber->Number())) {
            subscriber->Deliver(sms);
            return true;
        }
    return false;
}

bool SameNumber(const TAddress& address, const std::string& number)
{
    const TAddress other = TAddress::FromText(number);
    return !address.digits.empty() && address.digits == other.digits;
}

}  // namespace sim
