#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

// Automation strings: UTF-16, length-prefixed, zero-terminated, allocated and freed by the
// platform library only, so a string made in one library can be freed in another. A null BSTR
// is the empty string.
using OLECHAR = char16_t;
using BSTR = OLECHAR*;

BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length);
void SysFreeString(BSTR text);
uint32_t SysStringLen(BSTR text);

std::u16string_view BstrView(BSTR text);
// Narrowed through the system's 8-bit code page.
std::string NarrowBstr(BSTR text);

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text);
    Bstr(const Bstr& other) : Bstr(other.View()) {}
    Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
    ~Bstr() { SysFreeString(s_); }
    Bstr& operator=(Bstr other) noexcept
    {
        std::swap(s_, other.s_);
        return *this;
    }

    // Widened through the system's 8-bit code page.
    static Bstr FromNarrow(std::string_view text);
    static Bstr Attach(BSTR owned)
    {
        Bstr result;
        result.s_ = owned;
        return result;
    }

    BSTR Get() const { return s_; }
    BSTR Detach() { return std::exchange(s_, nullptr); }
    // For out parameters: frees the current string and lets the callee store a new one.
    BSTR* Out()
    {
        SysFreeString(std::exchange(s_, nullptr));
        return &s_;
    }

    std::u16string_view View() const { return BstrView(s_); }
    std::string Narrow() const { return NarrowBstr(s_); }
    uint32_t Length() const { return SysStringLen(s_); }

private:
    BSTR s_ = nullptr;
};
