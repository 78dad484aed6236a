#include "link/logger.h"

#include <mutex>

void TLogger::SetAutoOpen(bool value)
{
    CheckInactive();
    autoOpen_ = value;
}

void TLogger::Log(const std::string& aName, uint8_t aChannel, const std::string& aText)
{
    if (!Active() && !autoOpen_)
        return;
    bool accept = true;
    if (AcceptChannel)
        AcceptChannel(this, aName, aChannel, accept);
    if (!accept)
        return;
    std::lock_guard lock(lock_);
    try {
        const bool wasActive = Active();
        Open();
        try {
            LogEntry(aName, aChannel, aText);
        } catch (...) {
            SetActive(wasActive);
            throw;
        }
        SetActive(wasActive);
    } catch (const Exception& e) {
        DoException(e, aName, aChannel, aText);
    }
}

void TLogger::LogEntry(const std::string& aName, uint8_t aChannel, const std::string& aText)
{
    std::string line;
    FormatEntry(aName, aChannel, line, aText);
    WriteEntry(line);
}

void TLogger::DoException(const Exception& E, const std::string& aName, uint8_t aChannel,
                          const std::string& aText)
{
    if (OnException)
        OnException(this, E, aName, aChannel, aText);
}
