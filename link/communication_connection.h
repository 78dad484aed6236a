#pragma once
#include <atomic>
#include <functional>

#include "link/log_connection.h"

using TCommRxCharEvent = std::function<void(TObject* Sender, int Count)>;

// A byte-stream connection that announces received data by count.
class TCommunicationConnection : public TLogConnection {
public:
    explicit TCommunicationConnection(TComponent* owner = nullptr) : TLogConnection(owner) {}

    // Bytes waiting in the input queue.
    virtual int InQueCount() = 0;
    virtual void PurgeIn() = 0;
    virtual void PurgeOut() = 0;

    // Where received-data events run: false hands them to the main thread, true runs them on
    // the device's own event thread. Read at each event.
    bool DontSynchronize() const { return dontSynchronize_; }
    void SetDontSynchronize(bool value) { dontSynchronize_ = value; }

    TCommRxCharEvent OnRxChar;

protected:
    virtual void DoRxChar(int count);

private:
    std::atomic<bool> dontSynchronize_{false};
};
