#pragma once
#include <vector>

#include "platform/com/com_object.h"

// The Next/Skip/Reset/Clone shape shared by the enumeration interfaces, over a snapshot of
// items. Copy hands the caller its own reference or copy of one item.
template <class IEnum, class Item, void (*Copy)(Item& to, const Item& from), void (*Free)(Item&)>
class SnapshotEnumerator : public ComObject<IEnum> {
public:
    explicit SnapshotEnumerator(std::vector<Item> items, size_t position = 0) : items_(std::move(items)), position_(position) {}
    ~SnapshotEnumerator() override
    {
        for (Item& item : items_)
            Free(item);
    }

    HRESULT Next(uint32_t count, Item* out, uint32_t* fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        uint32_t n = 0;
        for (; n < count && position_ < items_.size(); ++n)
            Copy(out[n], items_[position_++]);
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT Skip(uint32_t count) override
    {
        size_t left = items_.size() - position_;
        position_ += std::min<size_t>(count, left);
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT Reset() override
    {
        position_ = 0;
        return S_OK;
    }
    HRESULT Clone(IEnum** clone) override
    {
        if (!clone)
            return E_POINTER;
        std::vector<Item> copy(items_.size());
        for (size_t i = 0; i < items_.size(); ++i)
            Copy(copy[i], items_[i]);
        *clone = MakeComObject<SnapshotEnumerator>(std::move(copy), position_).Detach();
        return S_OK;
    }

private:
    std::vector<Item> items_;
    size_t position_;
};
