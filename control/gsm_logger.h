#pragma once
#include <functional>
#include <string>

#include "link/logger.h"

using TLogEntryEvent = std::function<void(TObject* Sender, uint8_t Channel, const std::u16string& Buff)>;

// Hands every entry of the serial device's traffic to OnLogEntry as wide text, with the
// logger's owner as the sender; it writes nothing anywhere itself.
class TGSMLogger : public TLogger {
public:
    explicit TGSMLogger(TComponent* owner = nullptr) : TLogger(owner) {}
    ~TGSMLogger() override;

    TLogEntryEvent OnLogEntry;

protected:
    void DoOpen() override {}
    void DoClose() override {}
    void WriteEntry(const std::string&) override {}
    void FormatEntry(const std::string& aName, uint8_t aChannel, std::string& line, const std::string& aText) override;
};
