#include "link/connection.h"

#include <cstdio>
#include <cstdlib>

#include "link/connect_error.h"

TConnection::~TConnection()
{
    if (active_) {
        std::fputs("TConnection freed while open: the destructor of the class implementing DoClose "
                   "must call CloseForDestruction()\n",
                   stderr);
        std::abort();
    }
}

void TConnection::SetActive(bool value)
{
    if (HasState(TComponentState::csLoading)) {
        if (value)
            streamedActive_ = true;
        return;
    }
    if (value == active_)
        return;
    const bool destroying = HasState(TComponentState::csDestroying);
    if (value) {
        DoBeforeOpen();
        try {
            DoOpen();
        } catch (...) {
            // Undo the partial open; the caller must see why the open failed, not a later
            // failure of the clean-up.
            try {
                DoClose();
            } catch (...) {
            }
            throw;
        }
        active_ = true;
        DoAfterOpen();
    } else {
        if (!destroying)
            DoBeforeClose();
        DoClose();
        active_ = false;
        if (!destroying)
            DoAfterClose();
    }
}

void TConnection::CheckInactive() const
{
    if (active_)
        throw EConnectError("Connection is active");
}

void TConnection::CheckActive() const
{
    if (!active_)
        throw EConnectError("Connection is inactive");
}

void TConnection::DoBeforeOpen()
{
    if (BeforeOpen)
        BeforeOpen(this);
}

void TConnection::DoBeforeClose()
{
    if (BeforeClose)
        BeforeClose(this);
}

void TConnection::DoAfterOpen()
{
    if (AfterOpen)
        AfterOpen(this);
}

void TConnection::DoAfterClose()
{
    if (AfterClose)
        AfterClose(this);
}

void TConnection::Loaded()
{
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

void TConnection::CloseForDestruction()
{
    Destroying();
    try {
        SetActive(false);
    } catch (...) {
        // A destructor has nobody to report to; the members free what DoClose could not.
        active_ = false;
    }
}
