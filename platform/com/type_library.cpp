#include "platform/com/type_library.h"

#include <string_view>

#include "platform/sys/format.h"

namespace {

bool SameNameIgnoringCase(const char* name, std::u16string_view other)
{
    std::string_view mine(name);
    if (mine.size() != other.size())
        return false;
    for (size_t i = 0; i < mine.size(); ++i) {
        char16_t a = static_cast<unsigned char>(mine[i]);
        char16_t b = other[i];
        auto fold = [](char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; };
        if (fold(a) != fold(b))
            return false;
    }
    return true;
}

struct TypeName {
    VARTYPE vt;
    const char* name;
};
constexpr TypeName kTypeNames[] = {
    {VT_EMPTY, "void"},          {VT_BOOL, "VARIANT_BOOL"},   {VT_UI1, "unsigned char"},
    {VT_I1, "char"},             {VT_UI2, "unsigned short"},  {VT_I2, "short"},
    {VT_I4, "long"},             {VT_DATE, "DATE"},           {VT_BSTR, "BSTR"},
    {VT_VARIANT, "VARIANT"},     {VT_DISPATCH, "IDispatch*"}, {VT_UNKNOWN, "IUnknown*"},
};

std::string NameOf(const TypeRef& type)
{
    if (type.name)
        return type.vt == VT_DISPATCH ? std::string(type.name) + "*" : type.name;
    for (const auto& entry : kTypeNames)
        if (entry.vt == type.vt)
            return entry.name;
    return Format("VT_%u", type.vt);
}

// IDL writes identifiers without braces.
std::string Uuid(const GUID& guid)
{
    return GuidToString(guid).substr(1, 36);
}

std::string HelpAttribute(const char* help)
{
    return help ? Format(", helpstring(\"%s\")", help) : std::string();
}

std::string Parameters(std::span<const ParamDescription> params)
{
    std::string text;
    for (const auto& p : params) {
        if (!text.empty())
            text += ", ";
        text += "[in";
        if (p.flags & kParamOut)
            text += ", out";
        if (p.flags & kParamOptional)
            text += Format(", optional, defaultvalue(%d)", p.defaultValue);
        text += "] " + NameOf(p.type) + (p.flags & kParamOut ? "* " : " ") + p.name;
    }
    return text;
}

std::string Member(const MemberDescription& m)
{
    std::string attributes = Format("id(%d)", m.id);
    if (m.kind == MemberKind::Property) {
        if (m.access & kAccessGet)
            attributes += ", propget";
        if (m.access & kAccessPut)
            attributes += ", propput";
    }
    attributes += HelpAttribute(m.help);
    std::string line = Format("    [%s] %s %s", attributes.c_str(), NameOf(m.type).c_str(), m.name);
    if (m.kind == MemberKind::Method || !m.params.empty())
        line += "(" + Parameters(m.params) + ")";
    return line + ";\n";
}

std::string Interface(const InterfaceDescription& iface)
{
    bool dual = iface.kind == InterfaceKind::Dual;
    std::string text = Format("  [uuid(%s)%s%s]\n", Uuid(iface.iid).c_str(), dual ? ", dual" : "",
                              HelpAttribute(iface.help).c_str());
    text += Format("  %s %s : %s\n  {\n", dual ? "interface" : "dispinterface", iface.name,
                   iface.base ? iface.base->name : "IDispatch");
    for (const auto& member : iface.members)
        text += Member(member);
    return text + "  };\n\n";
}

std::string Enum(const EnumDescription& e)
{
    std::string text = e.help ? Format("  [helpstring(\"%s\")]\n", e.help) : std::string();
    text += Format("  enum %s\n  {\n", e.name);
    for (const auto& member : e.members)
        text += Format("    %s = %d;\n", member.name, member.value);
    return text + "  };\n\n";
}

std::string Coclass(const CoclassDescription& c)
{
    std::string attributes = Format("uuid(%s)%s", Uuid(c.clsid).c_str(), HelpAttribute(c.help).c_str());
    if (!(c.flags & kCoclassCreatable))
        attributes += ", noncreatable";
    if (c.flags & kCoclassControl)
        attributes += ", control";
    std::string text = Format("  [%s]\n  coclass %s\n  {\n", attributes.c_str(), c.name);
    if (c.defaultInterface)
        text += Format("    [default] interface %s;\n", c.defaultInterface->name);
    if (c.defaultSource)
        text += Format("    [default, source] dispinterface %s;\n", c.defaultSource->name);
    return text + "  };\n\n";
}

} // namespace

const MemberDescription* FindMember(const InterfaceDescription& iface, DISPID id)
{
    for (const InterfaceDescription* i = &iface; i; i = i->base)
        for (const auto& member : i->members)
            if (member.id == id)
                return &member;
    return nullptr;
}

const MemberDescription* FindMemberByName(const InterfaceDescription& iface, std::u16string_view name)
{
    for (const InterfaceDescription* i = &iface; i; i = i->base)
        for (const auto& member : i->members)
            if (SameNameIgnoringCase(member.name, name))
                return &member;
    return nullptr;
}

const InterfaceDescription* FindInterface(const TypeLibraryDescription& library, const IID& iid)
{
    for (const InterfaceDescription* iface : library.interfaces)
        if (iface->iid == iid)
            return iface;
    return nullptr;
}

std::string DumpTypeLibrary(const TypeLibraryDescription& library)
{
    std::string text = Format("[uuid(%s), version(%u.%u), lcid(%u)%s]\nlibrary %s\n{\n",
                              Uuid(library.libid).c_str(), library.major, library.minor, library.lcid,
                              HelpAttribute(library.help).c_str(), library.name);
    for (const auto& e : library.enums)
        text += Enum(e);
    for (const InterfaceDescription* iface : library.interfaces)
        text += Interface(*iface);
    for (const auto& c : library.coclasses)
        text += Coclass(c);
    return text + "};\n";
}
