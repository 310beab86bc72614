#pragma once
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/RegistryApi.h"

namespace halvern {

// The registry helpers. Each call is one complete operation on the key basePath + subKey under
// root: it opens the key, acts and closes the key again, on every path. The two parts are joined
// as they are, with no separator added, so a base path ends with a backslash
// ("Software\Zandrix\" + "Programma"); an empty sub-key names the base key itself, and
// backslashes at the end of the joined path are ignored ("Programma\" and "Programma" are one
// key). Key and value names are matched without regard to case, as the registry does. Texts are
// 8-bit texts in the system's ANSI code page. No helper reports a registry failure or lets an
// exception out; a path or name holding a NUL byte names no key and no value.
//
// The constructors take the registry to work on; tests hand in one that fails on purpose.

class TRegWrite {
public:
    explicit TRegWrite(const RegistryApi& registry = SystemRegistry()) noexcept : registry_(&registry) {}

    // Stores value as REG_SZ (its bytes and one terminating NUL) under valueName, creating the key
    // and every missing key above it. When the key cannot be opened or created, or the registry
    // refuses the value, nothing is written.
    void WriteValue(HKEY root, std::string_view basePath, std::string_view subKey, std::string_view valueName,
                    std::string_view value) const noexcept;

private:
    const RegistryApi* registry_;
};

class TRegRead {
public:
    explicit TRegRead(const RegistryApi& registry = SystemRegistry()) noexcept : registry_(&registry) {}

    // Sets value to the text stored under valueName: the data of a REG_SZ or REG_EXPAND_SZ value
    // (not expanded) up to its first NUL byte. A missing key or value, a value of another type or
    // a failed read give the empty text. Never creates a key.
    void ReadValue(HKEY root, std::string_view basePath, std::string_view subKey, std::string_view valueName,
                   std::string& value) const noexcept;

private:
    const RegistryApi* registry_;
};

class TRegDeleteBool {
public:
    explicit TRegDeleteBool(const RegistryApi& registry = SystemRegistry()) noexcept : registry_(&registry) {}

    // Deletes the key with every key below it; true when the key itself was deleted. A missing
    // key gives false. An empty key path would name root itself: nothing is deleted, false.
    bool DeleteKey(HKEY root, std::string_view basePath, std::string_view subKey) const noexcept;

private:
    const RegistryApi* registry_;
};

}  // namespace halvern
