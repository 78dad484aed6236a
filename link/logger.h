#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "link/connection.h"
#include "platform/sys/critical_section.h"
#include "platform/sys/exception.h"

using TOnExceptionEvent = std::function<void(TComponent* Sender, const Exception& E, const std::string& aName,
                                             uint8_t aChannel, const std::string& aOriginalMessage)>;
using TAcceptChannelEvent =
    std::function<void(TComponent* Sender, const std::string& aLogName, uint8_t aChannel, bool& aAccept)>;

// Records channel entries; a concrete logger decides what opening means and where a line goes.
// Log may be called from any thread and never fails its caller: the platform's exceptions go
// to OnException (or nowhere).
class TLogger : public TConnection {
public:
    explicit TLogger(TComponent* owner = nullptr) : TConnection(owner) {}

    // Lets Log work while closed, opening and closing around every entry.
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool value);

    void Log(const std::string& aName, uint8_t aChannel, const std::string& aText);

    TOnExceptionEvent OnException;
    // Runs before the lock is taken, so possibly for two entries at once.
    TAcceptChannelEvent AcceptChannel;

protected:
    virtual void WriteEntry(const std::string& line) = 0;
    virtual void LogEntry(const std::string& aName, uint8_t aChannel, const std::string& aText);
    virtual void FormatEntry(const std::string& aName, uint8_t aChannel, std::string& line,
                             const std::string& aText) = 0;
    virtual void DoException(const Exception& E, const std::string& aName, uint8_t aChannel,
                             const std::string& aText);

private:
    TCriticalSection lock_;  // serialises the open, the entry and the restore of Active
    bool autoOpen_ = false;
};
