#pragma once
#include <string>
#include <vector>

#include "platform/com/type_library.h"

// A library that carries a type library publishes its description when it is loaded, by a
// static PublishedTypeLibrary. LoadRegTypeLib finds the registered entry, loads the library
// the entry names and returns the description it published; descriptions are static data and
// live as long as the process, since libraries are never unloaded.
void PublishTypeLibrary(const TypeLibraryDescription& library);

// Every description published so far, in the order of publication.
std::vector<const TypeLibraryDescription*> PublishedTypeLibraries();

struct PublishedTypeLibrary {
    explicit PublishedTypeLibrary(const TypeLibraryDescription& library) { PublishTypeLibrary(library); }
};

// Records the library with the path of the file that carries it.
HRESULT RegisterTypeLib(const TypeLibraryDescription& library, const std::string& path);
HRESULT UnRegisterTypeLib(const GUID& libid, uint16_t major, uint16_t minor);

// TYPE_E_LIBNOTREGISTERED when the registry has no such library, TYPE_E_CANTLOADLIBRARY when
// the file it names cannot be loaded or does not carry it.
HRESULT LoadRegTypeLib(const GUID& libid, uint16_t major, uint16_t minor, const TypeLibraryDescription** library);

// Absolute path of the loaded file (library or program) that contains the address.
std::string ModulePath(const void* address);
