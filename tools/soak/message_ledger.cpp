#include "tools/soak/message_ledger.h"

#include <cstdio>

namespace {

constexpr char kPrefix[] = "SOAK ";
constexpr int kIdDigits = 7;
constexpr int kMaxFiller = 140;   // with the prefix and id, at most 160 characters
constexpr char kFillerAlphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789 .,:;?!+-";

}  // namespace

std::string TMessageLedger::TextOf(int id)
{
    char head[32];
    std::snprintf(head, sizeof head, "%s%0*d ", kPrefix, kIdDigits, id);
    std::string text = head;
    const unsigned length = (static_cast<unsigned>(id) * 37u) % (kMaxFiller + 1);
    for (unsigned i = 0; i < length; ++i)
        text += kFillerAlphabet[(id + i * 7u) % (sizeof kFillerAlphabet - 1)];
    return text;
}

std::optional<int> TMessageLedger::IdOf(const std::string& text)
{
    const size_t prefix = sizeof kPrefix - 1;
    if (text.compare(0, prefix, kPrefix) != 0 || text.size() < prefix + kIdDigits)
        return std::nullopt;
    int id = 0;
    for (int i = 0; i < kIdDigits; ++i) {
        const char c = text[prefix + i];
        if (c < '0' || c > '9')
            return std::nullopt;
        id = id * 10 + (c - '0');
    }
    if (text != TextOf(id))
        return std::nullopt;
    return id;
}

int TMessageLedger::Add(int receiver)
{
    entries_.push_back({receiver});
    return static_cast<int>(entries_.size()) - 1;
}

void TMessageLedger::Received(int receiver, const std::string& text)
{
    const std::optional<int> id = IdOf(text);
    if (!id || *id >= Messages() || entries_[*id].receiver != receiver) {
        ++foreign_;
        return;
    }
    ++entries_[*id].received;
}

int TMessageLedger::Count(TOutcome outcome) const
{
    int count = 0;
    for (const TEntry& e : entries_)
        count += e.outcome == outcome;
    return count;
}

int TMessageLedger::Outstanding() const
{
    int count = 0;
    for (const TEntry& e : entries_)
        count += e.outcome == TOutcome::Sent && e.received == 0;
    return count;
}

int TMessageLedger::FailedButDelivered() const
{
    int count = 0;
    for (const TEntry& e : entries_)
        count += e.outcome == TOutcome::Failed && e.received > 0;
    return count;
}

int TMessageLedger::Duplicates() const
{
    int count = 0;
    for (const TEntry& e : entries_)
        count += e.received > 1 ? e.received - 1 : 0;
    return count;
}
