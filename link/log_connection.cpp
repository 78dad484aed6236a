#include "link/log_connection.h"

void TLogConnection::Log(uint8_t aChannel, std::string aText)
{
    DoFormatLog(aChannel, aText);
    if (logger_)
        logger_->Log(logName_, aChannel, aText);
}

int TLogConnection::WriteString(const std::string& S)
{
    Log(kLogChannelWritten, S);
    return Write(S.data(), static_cast<int>(S.size()));
}

void TLogConnection::ReadString(int Count, std::string& S)
{
    S.assign(Count > 0 ? size_t(Count) : 0, '\0');
    const int n = Read(S.data(), static_cast<int>(S.size()));
    S.resize(n > 0 ? size_t(n) : 0);
    Log(kLogChannelRead, S);
}

void TLogConnection::DoFormatLog(uint8_t aChannel, std::string& aText)
{
    if (OnFormatLog)
        OnFormatLog(this, aChannel, aText);
}
