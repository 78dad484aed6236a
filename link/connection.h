#pragma once
#include <atomic>
#include <functional>

#include "platform/sys/component.h"

class TConnection;
using TConnectionNotifyEvent = std::function<void(TConnection* DataSet)>;
using TNotifyEvent = std::function<void(TObject* Sender)>;

// A device connection: setting Active runs a fixed sequence around the two abstract steps.
//   open:  BeforeOpen, DoOpen, Active := true, AfterOpen
//          (a DoOpen that raises is undone by DoClose; the exception reaches the caller with
//          Active still false and no after-event)
//   close: BeforeClose, DoClose, Active := false, AfterClose
//          (no events while destroying; a DoClose that raises leaves Active true)
// While the owner is loading from a stream, Active := true is only remembered; Loaded opens.
//
// Destruction: a C++ base destructor cannot reach the derived DoClose. Every class that
// implements or overrides DoClose therefore calls CloseForDestruction() first thing in its
// own destructor, which closes without events while the members DoClose needs still exist.
// A connection that reaches ~TConnection still open was left open by such a destructor; that
// is a programming error and ends the program with a message rather than leaking the device.
class TConnection : public TComponent {
public:
    explicit TConnection(TComponent* owner = nullptr) : TComponent(owner) {}
    ~TConnection() override;

    bool Active() const { return active_; }
    void SetActive(bool value);
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }

    // EConnectError "Connection is active" / "Connection is inactive".
    void CheckInactive() const;
    void CheckActive() const;

    TConnectionNotifyEvent BeforeOpen;
    TConnectionNotifyEvent BeforeClose;
    TConnectionNotifyEvent AfterOpen;
    TConnectionNotifyEvent AfterClose;

protected:
    virtual void DoOpen() = 0;
    virtual void DoClose() = 0;
    virtual void DoBeforeOpen();
    virtual void DoBeforeClose();
    virtual void DoAfterOpen();
    virtual void DoAfterClose();

    void Loaded() override;
    void CloseForDestruction();

private:
    // Read by other threads (a logger is asked from the event thread whether it is open).
    std::atomic<bool> active_{false};
    bool streamedActive_ = false;
};
