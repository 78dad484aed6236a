#include "sim/message_store.h"

namespace sim {

int TMessageStore::Add(TStoredMessage message)
{
    for (int index = 1; index <= capacity_; ++index)
        if (!entries_.count(index)) {
            entries_.emplace(index, std::move(message));
            return index;
        }
    return 0;
}

TStoredMessage* TMessageStore::Find(int index)
{
    auto it = entries_.find(index);
    return it == entries_.end() ? nullptr : &it->second;
}

bool TMessageStore::Remove(int index)
{
    return entries_.erase(index) > 0;
}

std::vector<int> TMessageStore::Indices() const
{
    std::vector<int> indices;
    for (const auto& [index, message] : entries_)
        indices.push_back(index);
    return indices;
}

}  // namespace sim
