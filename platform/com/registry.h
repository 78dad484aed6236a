#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/com/guid.h"

// The registration database: one text file per user, $GATEWAY_REGISTRY if set, else
// $XDG_CONFIG_HOME/gateway/registry, else ~/.config/gateway/registry. One section per entry:
//
//   [class {1B7EF3BB-6790-42B0-8B0E-50446EAB45FF}]
//   name = TGSM Object
//   library = /usr/lib/libcelvane.so
//   ...
//   [typelib {B5FA3F5F-D48E-4347-BD05-1F2D58AFEC66} 1.0]
//   path = /usr/lib/libcelvane.so
//
// Lines that cannot be read are skipped, so one damaged entry does not hide the others.

struct ClassEntry {
    CLSID clsid{};
    std::string name;
    std::string library;  // absolute path of the library that serves the class
    std::string progId;
    std::string threadingModel;
    uint32_t miscStatus = 0;
    int toolboxBitmap = 0;  // resource id, 0 for none
    bool control = false;
    GUID typeLibrary{};  // GUID_NULL for none
    uint16_t typeLibraryMajor = 0;
    uint16_t typeLibraryMinor = 0;
};

struct TypeLibraryEntry {
    GUID libid{};
    uint16_t major = 0;
    uint16_t minor = 0;
    uint32_t lcid = 0;
    std::string name;
    std::string help;
    std::string path;  // the library that carries the description
};

class Registry {
public:
    static std::filesystem::path DefaultPath();

    // Reads the file; a missing file is an empty registry.
    explicit Registry(std::filesystem::path file = DefaultPath());

    std::optional<ClassEntry> FindClass(const CLSID& clsid) const;
    void PutClass(const ClassEntry& entry);
    bool RemoveClass(const CLSID& clsid);

    // The exact major version with the highest minor version not below the one asked for.
    std::optional<TypeLibraryEntry> FindTypeLibrary(const GUID& libid, uint16_t major, uint16_t minor) const;
    void PutTypeLibrary(const TypeLibraryEntry& entry);
    bool RemoveTypeLibrary(const GUID& libid, uint16_t major, uint16_t minor);

    // Writes a temporary file beside the registry and renames it over, so a reader sees the
    // old or the new file, never half of one. Raises EOleSysError when it cannot.
    void Save() const;

    // Read, change and write under a lock, so two registration programs do not lose each
    // other's entries.
    static void Update(const std::function<void(Registry&)>& change, std::filesystem::path file = DefaultPath());

private:
    struct Section {
        std::string header;  // "class {...}" or "typelib {...} M.m"
        std::vector<std::pair<std::string, std::string>> values;
        std::string Value(const std::string& key) const;
    };
    Section* FindSection(const std::string& header);
    const Section* FindSection(const std::string& header) const;
    void Put(Section section);
    bool Remove(const std::string& header);

    std::filesystem::path file_;
    std::vector<Section> sections_;
};
