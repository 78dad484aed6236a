#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "link/connection.h"
#include "link/logger.h"

using TFormatLogEvent = std::function<void(TComponent* Sender, uint8_t aChannel, std::string& aText)>;

// Channels of the traffic a connection reports to its logger.
constexpr uint8_t kLogChannelWritten = 1;
constexpr uint8_t kLogChannelRead = 2;

// A connection that reports the bytes it carries to a logger, written on channel 1 and read
// on channel 2.
class TLogConnection : public TConnection {
public:
    explicit TLogConnection(TComponent* owner = nullptr) : TConnection(owner) {}

    // Not owned, and not told when the logger is freed: detach it first.
    TLogger* Logger() const { return logger_; }
    void SetLogger(TLogger* logger) { logger_ = logger; }
    const std::string& LogName() const { return logName_; }
    void SetLogName(const std::string& name) { logName_ = name; }

    // OnFormatLog may rewrite the text; it runs even without a logger.
    void Log(uint8_t aChannel, std::string aText);

    // Logs on channel 1 first, whether or not the write then succeeds.
    int WriteString(const std::string& S);
    // Reads what has arrived, at most Count bytes, and logs exactly that on channel 2.
    void ReadString(int Count, std::string& S);

    virtual int Write(const char* buffer, int count) = 0;
    virtual int Read(char* buffer, int count) = 0;

    TFormatLogEvent OnFormatLog;

protected:
    virtual void DoFormatLog(uint8_t aChannel, std::string& aText);

private:
    TLogger* logger_ = nullptr;
    std::string logName_;
};
