#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

// Binds the C++ members of a dual interface to the members its description declares. The
// dispatch table checks each binding against the description, so a C++ signature that does
// not match the declared types is found when the table is built, not by a client.
//
//   constexpr DispatchBinding kBindings[] = {
//       BindGet<&IExample::get_Count>("Count"),
//       BindPut<&IExample::put_Count>("Count"),
//       BindMethod<&IExample::Clear>("Clear"),
//       BindFunction<&IExample::Add>("Add"),      // the last C++ parameter is the result
//   };

// One C++ parameter as the dispatcher sees it.
struct BoundArgument {
    VARTYPE vt;
    bool byReference;
};

struct DispatchBinding {
    const char* name;
    uint16_t kind;  // DISPATCH_METHOD, DISPATCH_PROPERTYGET or DISPATCH_PROPERTYPUT
    bool hasResult;
    // args: the declared parameters in declaration order, each already of its declared type
    // (by reference for out parameters); for a put, the value follows them.
    HRESULT (*call)(IDispatch* self, VARIANT* args, VARIANT* result);
    std::span<const BoundArgument> arguments;  // the C++ parameters, the result last
};

namespace dispatch_detail {

template <class T>
struct Plain : std::false_type {};
#define GW_PLAIN_TYPE(Type, Tag, Field)                               \
    template <>                                                       \
    struct Plain<Type> : std::true_type {                             \
        static constexpr VARTYPE vt = Tag;                            \
        static Type Read(const VARIANT& v) { return v.Field; }        \
        static void Write(VARIANT& v, Type value) { v.vt = Tag; v.Field = value; } \
    };
GW_PLAIN_TYPE(int8_t, VT_I1, cVal)
GW_PLAIN_TYPE(uint8_t, VT_UI1, bVal)
GW_PLAIN_TYPE(int16_t, VT_I2, iVal)
GW_PLAIN_TYPE(uint16_t, VT_UI2, uiVal)
GW_PLAIN_TYPE(int32_t, VT_I4, lVal)
GW_PLAIN_TYPE(VARIANT_BOOL, VT_BOOL, boolVal)
GW_PLAIN_TYPE(DATE, VT_DATE, date)
GW_PLAIN_TYPE(BSTR, VT_BSTR, bstrVal)
GW_PLAIN_TYPE(IDispatch*, VT_DISPATCH, pdispVal)
GW_PLAIN_TYPE(IUnknown*, VT_UNKNOWN, punkVal)
#undef GW_PLAIN_TYPE

// Enumerations cross as 32-bit integers.
template <class E>
    requires(std::is_enum_v<E> && sizeof(E) == sizeof(int32_t))
struct Plain<E> : std::true_type {
    static constexpr VARTYPE vt = VT_I4;
    static E Read(const VARIANT& v) { return static_cast<E>(v.lVal); }
    static void Write(VARIANT& v, E value)
    {
        v.vt = VT_I4;
        v.lVal = static_cast<int32_t>(value);
    }
};

template <>
struct Plain<VARIANT> : std::true_type {
    static constexpr VARTYPE vt = VT_VARIANT;
    static VARIANT Read(const VARIANT& v) { return v; }
    static void Write(VARIANT& v, VARIANT value) { v = value; }
};

// Interfaces that extend IDispatch cross as dispatch references.
template <class I>
concept DerivedDispatch = std::is_base_of_v<IDispatch, I> && !std::is_same_v<I, IDispatch>;

template <class T>
concept PlainType = Plain<T>::value;

// Turns a prepared variant into one C++ argument; Finish hands what the member left in a
// by-reference interface back to the caller's variable.
template <class T>
struct Arg;

template <PlainType T>
struct Arg<T> {
    static constexpr BoundArgument kShape{Plain<T>::vt, false};
    explicit Arg(VARIANT& v) : value(Plain<T>::Read(v)) {}
    HRESULT Status() const { return S_OK; }
    T Get() const { return value; }
    void Finish() {}
    T value;
};

template <PlainType T>
struct Arg<T*> {
    static constexpr BoundArgument kShape{Plain<T>::vt, true};
    explicit Arg(VARIANT& v) : target(static_cast<T*>(v.byref)) {}
    HRESULT Status() const { return S_OK; }
    T* Get() const { return target; }
    void Finish() {}
    T* target;
};

template <DerivedDispatch I>
struct Arg<I*> {
    static constexpr BoundArgument kShape{VT_DISPATCH, false};
    explicit Arg(VARIANT& v)
    {
        if (v.pdispVal && FAILED(v.pdispVal->QueryInterface(I::kIID, reinterpret_cast<void**>(object.Out()))))
            status = DISP_E_TYPEMISMATCH;
    }
    HRESULT Status() const { return status; }
    I* Get() const { return object.Get(); }
    void Finish() {}
    ComPtr<I> object;
    HRESULT status = S_OK;
};

template <DerivedDispatch I>
struct Arg<I**> {
    static constexpr BoundArgument kShape{VT_DISPATCH, true};
    explicit Arg(VARIANT& v) : target(v.ppdispVal)
    {
        ComPtr<I> in;
        if (*target && FAILED((*target)->QueryInterface(I::kIID, reinterpret_cast<void**>(in.Out()))))
            status = DISP_E_TYPEMISMATCH;
        object = in.Detach();
    }
    HRESULT Status() const { return status; }
    I** Get() { return &object; }
    // The member may have released the reference it got and stored another: that one now
    // belongs to the caller's variable.
    void Finish()
    {
        if (*target)
            (*target)->Release();
        *target = object;
        object = nullptr;
    }
    ~Arg()
    {
        if (object)
            object->Release();
    }
    IDispatch** target;
    I* object = nullptr;
    HRESULT status = S_OK;
};

// Receives a member's result and moves it into the caller's result variant.
template <class R>
struct Result {
    R value{};
    R* Ptr() { return &value; }
    void Store(VARIANT& out)
    {
        VariantInit(&out);
        if constexpr (DerivedDispatch<std::remove_pointer_t<R>>) {
            out.vt = VT_DISPATCH;
            out.pdispVal = std::exchange(value, nullptr);
        } else if constexpr (std::is_same_v<R, VARIANT>) {
            out = value;
            VariantInit(&value);
        } else {
            Plain<R>::Write(out, value);
            value = R{};
        }
    }
    ~Result()
    {
        VARIANT left;
        Store(left);
        VariantClear(&left);
    }
};

template <class R>
constexpr BoundArgument ResultShape()
{
    if constexpr (DerivedDispatch<std::remove_pointer_t<R>>)
        return {VT_DISPATCH, true};
    else
        return {Plain<R>::vt, true};
}

template <class Member>
struct MemberTraits;
template <class C, class... A>
struct MemberTraits<HRESULT (C::*)(A...)> {
    using Class = C;
    using Args = std::tuple<A...>;
    static constexpr size_t kArity = sizeof...(A);
};

template <auto M, bool HasResult>
struct Thunk {
    using Traits = MemberTraits<decltype(M)>;
    using Class = typename Traits::Class;
    static constexpr size_t kInputs = Traits::kArity - (HasResult ? 1 : 0);
    template <size_t I>
    using ArgOf = Arg<std::tuple_element_t<I, typename Traits::Args>>;

    template <size_t... I>
    static constexpr auto Shapes(std::index_sequence<I...>)
    {
        if constexpr (HasResult) {
            using Last = std::remove_pointer_t<std::tuple_element_t<kInputs, typename Traits::Args>>;
            return std::array<BoundArgument, kInputs + 1>{ArgOf<I>::kShape..., ResultShape<Last>()};
        } else {
            return std::array<BoundArgument, kInputs>{ArgOf<I>::kShape...};
        }
    }
    static constexpr auto kShapes = Shapes(std::make_index_sequence<kInputs>{});

    template <size_t... I>
    static HRESULT CallWith(Class* object, VARIANT* args, VARIANT* result, std::index_sequence<I...>)
    {
        std::tuple<ArgOf<I>...> holders(args[I]...);
        HRESULT status = S_OK;
        ((status = FAILED(status) ? status : std::get<I>(holders).Status()), ...);
        if (FAILED(status))
            return status;
        if constexpr (HasResult) {
            using Last = std::remove_pointer_t<std::tuple_element_t<kInputs, typename Traits::Args>>;
            Result<Last> value;
            status = (object->*M)(std::get<I>(holders).Get()..., value.Ptr());
            (std::get<I>(holders).Finish(), ...);
            if (SUCCEEDED(status) && result)
                value.Store(*result);
        } else {
            status = (object->*M)(std::get<I>(holders).Get()...);
            (std::get<I>(holders).Finish(), ...);
        }
        return status;
    }

    static HRESULT Call(IDispatch* self, VARIANT* args, VARIANT* result)
    {
        return CallWith(static_cast<Class*>(self), args, result, std::make_index_sequence<kInputs>{});
    }
};

template <auto M, bool HasResult>
constexpr DispatchBinding Bind(const char* name, uint16_t kind)
{
    using T = Thunk<M, HasResult>;
    return {name, kind, HasResult, &T::Call, T::kShapes};
}

} // namespace dispatch_detail

template <auto M>
constexpr DispatchBinding BindGet(const char* name)
{
    return dispatch_detail::Bind<M, true>(name, DISPATCH_PROPERTYGET);
}
template <auto M>
constexpr DispatchBinding BindPut(const char* name)
{
    return dispatch_detail::Bind<M, false>(name, DISPATCH_PROPERTYPUT);
}
template <auto M>
constexpr DispatchBinding BindMethod(const char* name)
{
    return dispatch_detail::Bind<M, false>(name, DISPATCH_METHOD);
}
template <auto M>
constexpr DispatchBinding BindFunction(const char* name)
{
    return dispatch_detail::Bind<M, true>(name, DISPATCH_METHOD);
}
