#pragma once
#include <cstdint>
#include <vector>

#include "platform/sys/object.h"

enum class TComponentState : uint8_t {
    csDesigning = 1 << 0,  // in a designer: connections open without touching a device
    csLoading = 1 << 1,    // properties are being read from a stream; Loaded follows
    csDestroying = 1 << 2, // the destructor has begun
};

// A component with an owner: the owner frees what it owns, last created first.
//
// C++ runs a base destructor after the derived part is gone, so the base cannot call back
// into the derived class. A most-derived destructor that needs to act before its members go
// (a connection closing itself) calls Destroying() first.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(index); }

    bool HasState(TComponentState state) const { return (state_ & Bit(state)) != 0; }
    // The designer's switch, applied to the owned components too.
    void SetDesigning(bool designing);

    // A stream reader calls BeginLoading before it sets the properties and EndLoading after;
    // EndLoading calls Loaded.
    void BeginLoading() { state_ |= Bit(TComponentState::csLoading); }
    void EndLoading() { Loaded(); }

protected:
    // Ends loading; an override calls the inherited Loaded first, then acts on what was read.
    virtual void Loaded();
    void Destroying() { state_ |= Bit(TComponentState::csDestroying); }

private:
    static uint8_t Bit(TComponentState state) { return static_cast<uint8_t>(state); }

    TComponent* owner_;
    std::vector<TComponent*> components_;
    uint8_t state_ = 0;
};
