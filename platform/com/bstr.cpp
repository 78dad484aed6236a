#include "platform/com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/sys/code_page.h"

namespace {

// The prefix holds the length in bytes, as the automation string layout has it.
using Prefix = uint32_t;

Prefix* PrefixOf(BSTR text)
{
    return reinterpret_cast<Prefix*>(text) - 1;
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* text, uint32_t length)
{
    size_t bytes = size_t(length) * sizeof(OLECHAR);
    auto* block = static_cast<Prefix*>(std::malloc(sizeof(Prefix) + bytes + sizeof(OLECHAR)));
    if (!block)
        throw std::bad_alloc();
    *block = static_cast<Prefix>(bytes);
    auto* chars = reinterpret_cast<OLECHAR*>(block + 1);
    if (text)
        std::memcpy(chars, text, bytes);
    else
        std::memset(chars, 0, bytes);
    chars[length] = 0;
    return chars;
}

BSTR SysAllocString(const OLECHAR* text)
{
    if (!text)
        return nullptr;
    return SysAllocStringLen(text, static_cast<uint32_t>(std::char_traits<OLECHAR>::length(text)));
}

void SysFreeString(BSTR text)
{
    if (text)
        std::free(PrefixOf(text));
}

uint32_t SysStringLen(BSTR text)
{
    return text ? *PrefixOf(text) / sizeof(OLECHAR) : 0;
}

std::u16string_view BstrView(BSTR text)
{
    return {text ? text : u"", SysStringLen(text)};
}

std::string NarrowBstr(BSTR text)
{
    return NarrowCP1252(BstrView(text));
}

Bstr::Bstr(std::u16string_view text) : s_(SysAllocStringLen(text.data(), static_cast<uint32_t>(text.size()))) {}

Bstr Bstr::FromNarrow(std::string_view text)
{
    return Bstr(WidenCP1252(text));
}
