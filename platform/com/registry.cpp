#include "platform/com/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/com/ole_error.h"
#include "platform/sys/format.h"
#include "platform/sys/str_to_int.h"

namespace {

constexpr const char* kClassKind = "class";
constexpr const char* kTypeLibraryKind = "typelib";

std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

std::string ClassHeader(const CLSID& clsid)
{
    return Format("%s %s", kClassKind, GuidToString(clsid).c_str());
}

std::string TypeLibraryHeader(const GUID& libid, uint16_t major, uint16_t minor)
{
    return Format("%s %s %u.%u", kTypeLibraryKind, GuidToString(libid).c_str(), major, minor);
}

// "{...} M.m" as written after "typelib" and in a class's typelib value.
bool ParseVersionedId(const std::string& text, GUID& id, uint16_t& major, uint16_t& minor)
{
    std::istringstream in(text);
    std::string guid, version;
    in >> guid >> version;
    unsigned m = 0, n = 0;
    char extra = 0;
    if (!TryParseGuid(guid, id) || std::sscanf(version.c_str(), "%u.%u%c", &m, &n, &extra) != 2 || m > 0xFFFF ||
        n > 0xFFFF)
        return false;
    major = static_cast<uint16_t>(m);
    minor = static_cast<uint16_t>(n);
    return true;
}

int IntegerOr(const std::string& text, int fallback)
{
    int value = fallback;
    return TryStrToInt(text, value) ? value : fallback;
}

[[noreturn]] void RaiseFileError(const char* what, const std::filesystem::path& path)
{
    throw EOleSysError(E_FAIL, Format("Cannot %s the registry %s: %s", what, path.c_str(), std::strerror(errno)));
}

} // namespace

std::filesystem::path Registry::DefaultPath()
{
    if (const char* file = std::getenv("GATEWAY_REGISTRY"); file && *file)
        return file;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::filesystem::path(config) / "gateway" / "registry";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "gateway" / "registry";
}

Registry::Registry(std::filesystem::path file) : file_(std::move(file))
{
    std::ifstream in(file_);
    std::string line;
    Section* current = nullptr;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            sections_.push_back({Trim(line.substr(1, line.size() - 2)), {}});
            current = &sections_.back();
            continue;
        }
        size_t equals = line.find('=');
        if (current && equals != std::string::npos)
            current->values.emplace_back(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }
}

std::string Registry::Section::Value(const std::string& key) const
{
    for (const auto& [k, v] : values)
        if (k == key)
            return v;
    return {};
}

Registry::Section* Registry::FindSection(const std::string& header)
{
    for (auto& s : sections_)
        if (s.header == header)
            return &s;
    return nullptr;
}

const Registry::Section* Registry::FindSection(const std::string& header) const
{
    return const_cast<Registry*>(this)->FindSection(header);
}

void Registry::Put(Section section)
{
    if (Section* existing = FindSection(section.header))
        *existing = std::move(section);
    else
        sections_.push_back(std::move(section));
}

bool Registry::Remove(const std::string& header)
{
    return std::erase_if(sections_, [&](const Section& s) { return s.header == header; }) > 0;
}

std::optional<ClassEntry> Registry::FindClass(const CLSID& clsid) const
{
    const Section* s = FindSection(ClassHeader(clsid));
    if (!s)
        return std::nullopt;
    ClassEntry entry;
    entry.clsid = clsid;
    entry.name = s->Value("name");
    entry.library = s->Value("library");
    entry.progId = s->Value("progid");
    entry.threadingModel = s->Value("threading");
    entry.miscStatus = static_cast<uint32_t>(IntegerOr(s->Value("miscstatus"), 0));
    entry.toolboxBitmap = IntegerOr(s->Value("toolbox"), 0);
    entry.control = s->Value("control") == "yes";
    std::string typeLibrary = s->Value("typelib");
    if (!typeLibrary.empty())
        ParseVersionedId(typeLibrary, entry.typeLibrary, entry.typeLibraryMajor, entry.typeLibraryMinor);
    return entry;
}

void Registry::PutClass(const ClassEntry& e)
{
    Section s{ClassHeader(e.clsid), {}};
    auto add = [&](const char* key, const std::string& value) {
        if (!value.empty())
            s.values.emplace_back(key, value);
    };
    add("name", e.name);
    add("library", e.library);
    add("progid", e.progId);
    add("threading", e.threadingModel);
    if (e.miscStatus)
        add("miscstatus", Format("$%X", e.miscStatus));
    if (e.toolboxBitmap)
        add("toolbox", Format("%d", e.toolboxBitmap));
    if (e.control)
        add("control", "yes");
    if (!(e.typeLibrary == GUID_NULL))
        add("typelib", Format("%s %u.%u", GuidToString(e.typeLibrary).c_str(), e.typeLibraryMajor, e.typeLibraryMinor));
    Put(std::move(s));
}

bool Registry::RemoveClass(const CLSID& clsid)
{
    return Remove(ClassHeader(clsid));
}

std::optional<TypeLibraryEntry> Registry::FindTypeLibrary(const GUID& libid, uint16_t major, uint16_t minor) const
{
    std::optional<TypeLibraryEntry> best;
    for (const auto& s : sections_) {
        std::string kind = s.header.substr(0, s.header.find(' '));
        TypeLibraryEntry e;
        if (kind != kTypeLibraryKind || !ParseVersionedId(s.header.substr(kind.size()), e.libid, e.major, e.minor))
            continue;
        if (!(e.libid == libid) || e.major != major || e.minor < minor || (best && best->minor >= e.minor))
            continue;
        e.lcid = static_cast<uint32_t>(IntegerOr(s.Value("lcid"), 0));
        e.name = s.Value("name");
        e.help = s.Value("help");
        e.path = s.Value("path");
        best = e;
    }
    return best;
}

void Registry::PutTypeLibrary(const TypeLibraryEntry& e)
{
    Put({TypeLibraryHeader(e.libid, e.major, e.minor),
         {{"name", e.name}, {"help", e.help}, {"lcid", Format("%u", e.lcid)}, {"path", e.path}}});
}

bool Registry::RemoveTypeLibrary(const GUID& libid, uint16_t major, uint16_t minor)
{
    return Remove(TypeLibraryHeader(libid, major, minor));
}

void Registry::Save() const
{
    std::error_code ignored;
    if (file_.has_parent_path())
        std::filesystem::create_directories(file_.parent_path(), ignored);
    std::string text = "# Object registry of this user, written by the registration program.\n";
    for (const auto& s : sections_) {
        text += "\n[" + s.header + "]\n";
        for (const auto& [k, v] : s.values)
            text += k + " = " + v + "\n";
    }
    std::filesystem::path temporary = file_;
    temporary += Format(".%d.tmp", static_cast<int>(getpid()));
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        RaiseFileError("write", temporary);
    bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
    int saved = errno;
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), file_.c_str()) != 0) {
        if (written)
            saved = errno;
        ::unlink(temporary.c_str());
        errno = saved;
        RaiseFileError("write", file_);
    }
}

void Registry::Update(const std::function<void(Registry&)>& change, std::filesystem::path file)
{
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    std::filesystem::path lockName = file;
    lockName += ".lock";
    int lock = ::open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0)
        RaiseFileError("lock", lockName);
    struct Unlock {
        int fd;
        ~Unlock() { ::close(fd); }
    } unlock{lock};
    if (::flock(lock, LOCK_EX) != 0)
        RaiseFileError("lock", lockName);
    Registry registry(file);
    change(registry);
    registry.Save();
}
