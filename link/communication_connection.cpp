#include "link/communication_connection.h"

void TCommunicationConnection::DoRxChar(int count)
{
    if (OnRxChar)
        OnRxChar(this, count);
}
