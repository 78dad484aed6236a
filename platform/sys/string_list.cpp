#include "platform/sys/string_list.h"

#include <utility>

#include "platform/sys/exception.h"
#include "platform/sys/format.h"

namespace {

bool SameTextAscii(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

}  // namespace

void TStrings::IndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}

int TStrings::AddObject(const std::string& s, TObject* object)
{
    const int index = Count();
    InsertObject(index, s, object);
    return index;
}

void TStrings::AddStrings(const TStrings& other)
{
    // Counted first: other may be this very list.
    const int n = other.Count();
    for (int i = 0; i < n; ++i)
        AddObject(other.Get(i), other.GetObject(i));
}

void TStrings::Assign(const TStrings& other)
{
    if (&other == this)
        return;
    Clear();
    AddStrings(other);
}

int TStrings::IndexOf(std::string_view s) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(Get(i), s))
            return i;
    return -1;
}

int TStrings::IndexOfName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i) {
        const std::string entry = Get(i);
        const size_t eq = entry.find('=');
        if (eq != std::string::npos && SameTextAscii(std::string_view(entry).substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStrings::Names(int index) const
{
    const std::string entry = Get(index);
    const size_t eq = entry.find('=');
    return eq == std::string::npos ? std::string() : entry.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const
{
    const std::string entry = Get(index);
    const size_t eq = entry.find('=');
    return eq == std::string::npos ? std::string() : entry.substr(eq + 1);
}

std::string TStrings::Values(std::string_view name) const
{
    const int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, std::string_view value)
{
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    std::string entry(name);
    entry += '=';
    entry += value;
    if (index >= 0)
        Put(index, entry);
    else
        Add(entry);
}

std::string TStrings::Text() const
{
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text)
{
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            Add(std::string(text.substr(start)));
            break;
        }
        Add(std::string(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

TStringList::~TStringList()
{
    Clear();
}

void TStringList::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

std::string TStringList::Get(int index) const
{
    CheckIndex(index);
    return items_[index].text;
}

void TStringList::Put(int index, const std::string& s)
{
    CheckIndex(index);
    items_[index].text = s;
}

TObject* TStringList::GetObject(int index) const
{
    CheckIndex(index);
    return items_[index].object;
}

void TStringList::PutObject(int index, TObject* object)
{
    CheckIndex(index);
    TObject* old = std::exchange(items_[index].object, object);
    if (ownsObjects_ && old != object)
        delete old;
}

void TStringList::InsertObject(int index, const std::string& s, TObject* object)
{
    if (index < 0 || index > Count())
        IndexError(index);
    items_.insert(items_.begin() + index, Item{s, object});
}

void TStringList::Delete(int index)
{
    CheckIndex(index);
    TObject* object = items_[index].object;
    items_.erase(items_.begin() + index);
    if (ownsObjects_)
        delete object;
}

void TStringList::Clear()
{
    // Detached first, so an object's destructor that looks at the list finds it empty.
    std::vector<Item> items = std::move(items_);
    items_.clear();
    if (ownsObjects_)
        for (const Item& item : items)
            delete item.object;
}
