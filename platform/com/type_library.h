#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "platform/com/dispatch.h"

// A type library written once as data: the dispatch tables, the registration and the readable
// listing are all derived from it, so no dispatch id is written twice.

// The automation type of a value, and for interface references and enumerations the name of
// what it stands for (the listing shows it; the value crosses as vt).
struct TypeRef {
    VARTYPE vt;
    const char* name = nullptr;
};

inline constexpr TypeRef kNoValue{VT_EMPTY};
inline constexpr TypeRef kBoolType{VT_BOOL};
inline constexpr TypeRef kByteType{VT_UI1};
inline constexpr TypeRef kSignedByteType{VT_I1};
inline constexpr TypeRef kWordType{VT_UI2};
inline constexpr TypeRef kShortType{VT_I2};
inline constexpr TypeRef kLongType{VT_I4};
inline constexpr TypeRef kDateType{VT_DATE};
inline constexpr TypeRef kStringType{VT_BSTR};
inline constexpr TypeRef kVariantType{VT_VARIANT};
inline constexpr TypeRef kUnknownType{VT_UNKNOWN};
constexpr TypeRef InterfaceType(const char* name) { return {VT_DISPATCH, name}; }
constexpr TypeRef EnumType(const char* name) { return {VT_I4, name}; }

// Parameter flags.
inline constexpr uint8_t kParamIn = 0x1;
inline constexpr uint8_t kParamOut = 0x2;       // passed by reference
inline constexpr uint8_t kParamOptional = 0x4;  // may be left out; defaultValue stands in

struct ParamDescription {
    const char* name;
    TypeRef type;
    uint8_t flags = kParamIn;
    int32_t defaultValue = 0;
};

enum class MemberKind : uint8_t { Method, Property };

// Property access.
inline constexpr uint8_t kAccessGet = 0x1;
inline constexpr uint8_t kAccessPut = 0x2;
inline constexpr uint8_t kAccessGetPut = kAccessGet | kAccessPut;

// A method's type is its result (kNoValue for none); a property's is its value, and its
// parameters are indexes (Item(Index)).
struct MemberDescription {
    DISPID id;
    const char* name;
    MemberKind kind;
    TypeRef type = kNoValue;
    std::span<const ParamDescription> params = {};
    uint8_t access = kAccessGetPut;
    const char* help = nullptr;
};

enum class InterfaceKind : uint8_t {
    Dual,          // vtable members and IDispatch
    DispatchOnly,  // IDispatch alone: event interfaces
};

struct InterfaceDescription {
    const char* name;
    IID iid;
    const InterfaceDescription* base;  // null: extends IDispatch
    InterfaceKind kind;
    const char* help;
    std::span<const MemberDescription> members;
};

struct Enumerator {
    const char* name;
    int32_t value;
};

struct EnumDescription {
    const char* name;
    std::span<const Enumerator> members;
    const char* help = nullptr;
};

// Coclass flags.
inline constexpr uint8_t kCoclassCreatable = 0x1;
inline constexpr uint8_t kCoclassControl = 0x2;

struct CoclassDescription {
    const char* name;
    CLSID clsid;
    const char* help;
    uint8_t flags;
    const InterfaceDescription* defaultInterface;
    const InterfaceDescription* defaultSource = nullptr;
};

struct TypeLibraryDescription {
    const char* name;
    GUID libid;
    uint16_t major;
    uint16_t minor;
    LCID lcid;
    const char* help;
    std::span<const EnumDescription> enums;
    std::span<const InterfaceDescription* const> interfaces;
    std::span<const CoclassDescription> coclasses = {};
};

// Searches the interface and the interfaces it extends; names match without regard to case.
const MemberDescription* FindMember(const InterfaceDescription& iface, DISPID id);
const MemberDescription* FindMemberByName(const InterfaceDescription& iface, std::u16string_view name);
const InterfaceDescription* FindInterface(const TypeLibraryDescription& library, const IID& iid);

// The library as an IDL-like listing, in declaration order.
std::string DumpTypeLibrary(const TypeLibraryDescription& library);
