#pragma once

#include "Handles.h"

#include <string>
#include <string_view>

namespace brelomat {

// Reads string values below one root key of the registry.
class RegistryReader {
public:
    explicit RegistryReader(HKEY root = HKEY_CURRENT_USER, REGSAM access = KEY_ALL_ACCESS) noexcept;

    // Opens key below the root (creating it only when canCreate); false when it cannot.
    bool OpenKey(std::wstring_view key, bool canCreate);
    // The text of a REG_SZ or REG_EXPAND_SZ value as stored, up to its first terminating
    // zero and never expanded; empty when the value is missing or holds no data. Any other
    // type throws PlatformError "Invalid data type for '<name>'".
    std::wstring ReadString(std::wstring_view name);
    void CloseKey() noexcept;

private:
    HKEY root_;
    REGSAM access_;
    UniqueRegistryKey key_;
};

}  // namespace brelomat
