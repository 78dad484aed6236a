#pragma once
#include <utility>

#include "platform/com/unknown.h"

// Owns one reference to an interface, so client code never counts references by hand.
template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference; Attach adopts one the caller already owns.
    explicit ComPtr(I* p) : p_(p)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other)
    {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept
    {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }

    static ComPtr Attach(I* owned)
    {
        ComPtr result;
        result.p_ = owned;
        return result;
    }
    // Hands the reference to the caller, as an out parameter needs.
    I* Detach() { return std::exchange(p_, nullptr); }

    void Reset()
    {
        if (I* old = std::exchange(p_, nullptr))
            old->Release();
    }
    void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    I* Get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out parameters: drops the current reference and lets the callee store a new one.
    I** Out()
    {
        Reset();
        return &p_;
    }

    template <class Other>
    HRESULT As(ComPtr<Other>& other) const
    {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(Other::kIID, reinterpret_cast<void**>(other.Out()));
    }

    // Null when the interface is absent.
    template <class Other>
    ComPtr<Other> Query() const
    {
        ComPtr<Other> other;
        As(other);
        return other;
    }

    friend bool operator==(const ComPtr& a, const ComPtr& b) { return a.p_ == b.p_; }

private:
    I* p_ = nullptr;
};
