#pragma once
#include "modem/gsm.h"

// Raises the engine's busy counter for a scope, however the scope ends.
class BusyScope {
public:
    explicit BusyScope(TGSM& gsm) : gsm_(gsm) { gsm_.Busy(); }
    ~BusyScope() { gsm_.Unbusy(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TGSM& gsm_;
};

// Sets RecTimeout for one command (0 keeps it) and restores it however the command ends.
class RecTimeoutScope {
public:
    RecTimeoutScope(TGSM& gsm, uint32_t timeoutMs) : gsm_(gsm), saved_(gsm.RecTimeout())
    {
        if (timeoutMs != 0)
            gsm_.SetRecTimeout(static_cast<int>(timeoutMs));
    }
    ~RecTimeoutScope() { gsm_.SetRecTimeout(saved_); }
    RecTimeoutScope(const RecTimeoutScope&) = delete;
    RecTimeoutScope& operator=(const RecTimeoutScope&) = delete;

private:
    TGSM& gsm_;
    int saved_;
};
