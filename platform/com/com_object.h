#pragma once
#include <atomic>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com/com_ptr.h"
#include "platform/com/unknown.h"

// Objects of the whole process not yet destroyed: DllCanUnloadNow and leak checks read it.
int32_t LiveComObjects();

namespace com_detail {

void CountObject(int delta);

// A part is an interface, or an implementation helper that names the interface it implements.
template <class Part>
struct InterfaceOfPart {
    using type = Part;
};
template <class Part>
    requires requires { typename Part::Interface; }
struct InterfaceOfPart<Part> {
    using type = typename Part::Interface;
};
template <class Part>
using InterfaceOf = typename InterfaceOfPart<Part>::type;

// An interface answers for its own id and for every interface it extends.
template <class I>
bool InChain(const IID& iid)
{
    if (iid == I::kIID)
        return true;
    if constexpr (std::is_same_v<I, IUnknown>)
        return false;
    else
        return InChain<typename I::Base>(iid);
}

template <class I>
void* CastInChain(const IID& iid, I* object)
{
    if (iid == I::kIID)
        return object;
    if constexpr (std::is_same_v<I, IUnknown>)
        return nullptr;
    else
        return CastInChain<typename I::Base>(iid, static_cast<typename I::Base*>(object));
}

} // namespace com_detail

// Reference counting and QueryInterface for a class implementing Parts. Rules kept: every
// interface reached answers IUnknown with the same pointer (identity), and what one interface
// answers every other answers too (symmetry, transitivity), because all answers come from this
// one function. Objects are made with MakeComObject and die with their last reference.
template <class... Parts>
class ComObject : public Parts... {
    using First = com_detail::InterfaceOf<std::tuple_element_t<0, std::tuple<Parts...>>>;

public:
    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (iid == IUnknown::kIID)
            *object = Identity();
        else
            ((*object = com_detail::CastInChain<com_detail::InterfaceOf<Parts>>(
                  iid, static_cast<com_detail::InterfaceOf<Parts>*>(this))) || ...);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    uint32_t AddRef() override { return ++references_; }
    uint32_t Release() override
    {
        uint32_t left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    IUnknown* Identity() { return static_cast<IUnknown*>(static_cast<First*>(this)); }

protected:
    ComObject() { com_detail::CountObject(+1); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;
    virtual ~ComObject() { com_detail::CountObject(-1); }

private:
    std::atomic<uint32_t> references_{0};
};

// The one way to make an object: it starts with the reference the result holds.
template <class T, class... Args>
ComPtr<T> MakeComObject(Args&&... args)
{
    return ComPtr<T>(new T(std::forward<Args>(args)...));
}

// Makes an object and answers for iid: the body of a class factory's CreateInstance.
template <class T, class... Args>
HRESULT CreateComObject(const IID& iid, void** object, Args&&... args)
{
    return MakeComObject<T>(std::forward<Args>(args)...)->QueryInterface(iid, object);
}
