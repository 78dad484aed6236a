#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What became of every soak message: each carries a unique id in its text, so a message that
// arrives twice, arrives garbled or never arrives is seen.
class TMessageLedger {
public:
    enum class TOutcome { Pending, Sent, Failed };

    // The text of message `id`: its id, then filler of a length and pattern derived from it, so
    // that PDU lengths vary and a garbled body is recognised.
    static std::string TextOf(int id);
    // The id a received text names, or nothing for a text no soak message has.
    static std::optional<int> IdOf(const std::string& text);

    int Add(int receiver);   // a new message for station `receiver`; its id
    void Sent(int id) { entries_[id].outcome = TOutcome::Sent; }
    void Failed(int id) { entries_[id].outcome = TOutcome::Failed; }
    // A text that arrived at station `receiver`.
    void Received(int receiver, const std::string& text);

    int Messages() const { return static_cast<int>(entries_.size()); }
    int Count(TOutcome outcome) const;
    // Sent and not (yet) received.
    int Outstanding() const;
    // Failed with an error to the caller, and yet received once: the device had sent it.
    int FailedButDelivered() const;
    int Duplicates() const;
    int Foreign() const { return foreign_; }       // not a soak text, a garbled one, or at the wrong station

private:
    struct TEntry {
        int receiver;
        TOutcome outcome = TOutcome::Pending;
        int received = 0;
    };
    std::vector<TEntry> entries_;
    int foreign_ = 0;
};
