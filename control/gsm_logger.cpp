#include "control/gsm_logger.h"

#include "platform/sys/code_page.h"

TGSMLogger::~TGSMLogger()
{
    CloseForDestruction();
}

void TGSMLogger::FormatEntry(const std::string&, uint8_t aChannel, std::string& line, const std::string& aText)
{
    line = aText;
    if (OnLogEntry)
        OnLogEntry(Owner(), aChannel, WidenCP1252(aText));
}
