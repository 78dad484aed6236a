#include "platform/com/dispatch_table.h"

#include <algorithm>
#include <cstring>

#include "platform/com/error_info.h"
#include "platform/sys/format.h"

namespace {

const char* KindName(uint16_t kind)
{
    switch (kind) {
    case DISPATCH_PROPERTYGET: return "get";
    case DISPATCH_PROPERTYPUT: return "put";
    default: return "method";
    }
}

bool Expects(const MemberDescription& member, uint16_t kind)
{
    if (member.kind == MemberKind::Method)
        return kind == DISPATCH_METHOD;
    if (kind == DISPATCH_PROPERTYGET)
        return member.access & kAccessGet;
    if (kind == DISPATCH_PROPERTYPUT)
        return member.access & kAccessPut;
    return false;
}

// Declared parameters of a call of that kind: a put adds the value.
std::vector<BoundArgument> DeclaredShape(const MemberDescription& member, uint16_t kind)
{
    std::vector<BoundArgument> shape;
    for (const auto& p : member.params)
        shape.push_back({p.type.vt, (p.flags & kParamOut) != 0});
    if (kind == DISPATCH_PROPERTYPUT)
        shape.push_back({member.type.vt, false});
    else if (kind == DISPATCH_PROPERTYGET || member.type.vt != VT_EMPTY)
        shape.push_back({member.type.vt, true});
    return shape;
}

bool IsMissing(const VARIANT& v)
{
    return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
}

void* ValueSlot(VARIANT& v)
{
    return &v.byref;
}

HRESULT FillException(HRESULT failure, EXCEPINFO* exception)
{
    if (!exception)
        return failure;
    std::memset(exception, 0, sizeof(EXCEPINFO));
    exception->scode = failure;
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.Out()) == S_OK) {
        info->GetSource(&exception->bstrSource);
        info->GetDescription(&exception->bstrDescription);
        info->GetHelpFile(&exception->bstrHelpFile);
        info->GetHelpContext(&exception->dwHelpContext);
    }
    return DISP_E_EXCEPTION;
}

} // namespace

DispatchTable::DispatchTable(const InterfaceDescription& iface,
                             std::initializer_list<std::span<const DispatchBinding>> bindings)
    : iface_(iface)
{
    std::vector<const InterfaceDescription*> chain;
    for (const InterfaceDescription* i = &iface; i; i = i->base)
        chain.insert(chain.begin(), i);
    for (const InterfaceDescription* i : chain)
        for (const auto& member : i->members)
            entries_.push_back({&member});

    for (auto span : bindings) {
        for (const auto& binding : span) {
            auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
                return std::strcmp(e.member->name, binding.name) == 0 && Expects(*e.member, binding.kind);
            });
            if (it == entries_.end()) {
                problems_.push_back(Format("%s: %s %s is not declared", iface.name, KindName(binding.kind), binding.name));
                continue;
            }
            const DispatchBinding*& slot = binding.kind == DISPATCH_PROPERTYGET   ? it->get
                                           : binding.kind == DISPATCH_PROPERTYPUT ? it->put
                                                                                  : it->method;
            if (slot)
                problems_.push_back(Format("%s: %s %s is bound twice", iface.name, KindName(binding.kind), binding.name));
            slot = &binding;
            Check(*it->member, binding);
        }
    }
    for (const auto& e : entries_) {
        for (uint16_t kind : {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT}) {
            const DispatchBinding* slot = kind == DISPATCH_PROPERTYGET ? e.get : kind == DISPATCH_PROPERTYPUT ? e.put : e.method;
            if (Expects(*e.member, kind) && !slot)
                problems_.push_back(Format("%s: %s %s has no binding", iface.name, KindName(kind), e.member->name));
        }
    }
}

void DispatchTable::Check(const MemberDescription& member, const DispatchBinding& binding)
{
    auto declared = DeclaredShape(member, binding.kind);
    bool same = declared.size() == binding.arguments.size();
    for (size_t i = 0; same && i < declared.size(); ++i)
        same = declared[i].vt == binding.arguments[i].vt && declared[i].byReference == binding.arguments[i].byReference;
    if (!same)
        problems_.push_back(Format("%s: %s %s does not match its declaration", iface_.name, KindName(binding.kind),
                                   member.name));
}

const DispatchTable::Entry* DispatchTable::Find(DISPID id) const
{
    for (const auto& e : entries_)
        if (e.member->id == id)
            return &e;
    return nullptr;
}

HRESULT DispatchTable::GetIDsOfNames(const OLECHAR** names, uint32_t count, DISPID* ids) const
{
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    // Arguments are positional only, so parameter names have no ids.
    for (uint32_t i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    const MemberDescription* member = FindMemberByName(iface_, names[0] ? names[0] : u"");
    if (!member)
        return DISP_E_UNKNOWNNAME;
    ids[0] = member->id;
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT DispatchTable::Invoke(IDispatch* self, DISPID id, uint16_t flags, DISPPARAMS* params, VARIANT* result,
                              EXCEPINFO* exception, uint32_t* argumentError) const
{
    if (!params || (params->cArgs && !params->rgvarg) || params->cNamedArgs > params->cArgs)
        return E_INVALIDARG;
    const Entry* entry = Find(id);
    if (!entry)
        return DISP_E_MEMBERNOTFOUND;
    bool put = flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF);
    const DispatchBinding* binding = put ? entry->put
                                     : (flags & DISPATCH_PROPERTYGET) && entry->get ? entry->get
                                     : (flags & DISPATCH_METHOD) ? entry->method
                                                                 : nullptr;
    if (!binding)
        return DISP_E_MEMBERNOTFOUND;

    const MemberDescription& member = *entry->member;
    uint32_t named = params->cNamedArgs;
    if (put) {
        if (named != 1 || !params->rgdispidNamedArgs || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    } else if (named) {
        return DISP_E_NONAMEDARGS;
    }
    uint32_t positional = params->cArgs - named;
    size_t declared = member.params.size();
    if (positional > declared || (put && positional != declared))
        return DISP_E_BADPARAMCOUNT;

    std::vector<Variant> prepared(declared + (put ? 1 : 0));
    std::vector<Variant> byValue(declared);           // out values for by-reference variants
    std::vector<VARIANT*> writeBack(declared, nullptr);  // where those values go afterwards
    auto fail = [&](HRESULT hr, uint32_t index) {
        if (argumentError)
            *argumentError = index;
        return hr;
    };
    for (size_t i = 0; i < declared; ++i) {
        const ParamDescription& p = member.params[i];
        uint32_t index = params->cArgs - 1 - static_cast<uint32_t>(i);
        bool given = i < positional && !IsMissing(params->rgvarg[index]);
        if (!given && !(p.flags & kParamOptional))
            return fail(DISP_E_PARAMNOTOPTIONAL, index);
        if (p.flags & kParamOut) {
            const VARIANT* src = given ? &params->rgvarg[index] : nullptr;
            if (src && src->vt == (VT_BYREF | p.type.vt)) {
                prepared[i] = Variant::ByRef(p.type.vt, src->byref);
                continue;
            }
            if (src && src->vt != (VT_BYREF | VT_VARIANT))
                return fail(DISP_E_TYPEMISMATCH, index);
            Variant start = src ? Variant(*src->pvarVal) : Variant::I4(p.defaultValue);
            if (HRESULT hr = VariantChangeType(&byValue[i], &start, p.type.vt); FAILED(hr))
                return fail(hr, index);
            prepared[i] = Variant::ByRef(p.type.vt, ValueSlot(byValue[i]));
            writeBack[i] = src ? src->pvarVal : nullptr;
            continue;
        }
        Variant fallback = Variant::I4(p.defaultValue);
        const VARIANT* src = given ? &params->rgvarg[index] : &fallback;
        if (HRESULT hr = VariantChangeType(&prepared[i], src, p.type.vt); FAILED(hr))
            return fail(hr, index);
    }
    if (put) {
        if (HRESULT hr = VariantChangeType(&prepared[declared], &params->rgvarg[0], member.type.vt); FAILED(hr))
            return fail(hr, 0);
    }

    SetErrorInfo(0, nullptr);
    Variant value;
    HRESULT hr = binding->call(self, prepared.data(), &value);
    if (FAILED(hr))
        return FillException(hr, exception);
    for (size_t i = 0; i < declared; ++i)
        if (writeBack[i])
            byValue[i].Detach(writeBack[i]);
    if (result)
        value.Detach(result);
    return S_OK;
}
