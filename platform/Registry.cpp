#include "Registry.h"

#include "PlatformError.h"

#include <algorithm>

namespace brelomat {

namespace {

// Another writer may grow the value between asking for its size and reading it; a few
// rounds settle that, and a value that never holds still is an error, not a hang.
constexpr int ReadAttempts = 8;

std::wstring TextUpToFirstZero(const std::wstring& stored, DWORD bytes)
{
    // An odd final byte is half a character: it is dropped, as is everything from the
    // first terminating zero on. A value need not carry a terminating zero at all.
    const auto characters = std::min<std::size_t>(bytes / sizeof(wchar_t), stored.size());
    const auto end = stored.begin() + static_cast<std::ptrdiff_t>(characters);
    return std::wstring(stored.begin(), std::find(stored.begin(), end, L'\0'));
}

void ThrowUnlessText(DWORD type, const std::wstring& valueName)
{
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw PlatformError(L"Invalid data type for '" + valueName + L"'");
}

}  // namespace

RegistryReader::RegistryReader(HKEY root, REGSAM access) noexcept : root_(root), access_(access) {}

bool RegistryReader::OpenKey(std::wstring_view key, bool canCreate)
{
    CloseKey();
    const std::wstring path(key);
    HKEY opened = nullptr;
    const LSTATUS status =
        canCreate ? ::RegCreateKeyExW(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                      access_, nullptr, &opened, nullptr)
                  : ::RegOpenKeyExW(root_, path.c_str(), 0, access_, &opened);
    if (status != ERROR_SUCCESS)
        return false;
    key_.reset(opened);
    return true;
}

std::wstring RegistryReader::ReadString(std::wstring_view name)
{
    const HKEY key = key_ ? key_.get() : root_;
    const std::wstring valueName(name);

    for (int attempt = 0; attempt < ReadAttempts; ++attempt) {
        DWORD type = REG_NONE;
        DWORD bytes = 0;
        LSTATUS status = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &bytes);
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS)
            ThrowWin32Error(L"RegQueryValueExW '" + valueName + L"'", static_cast<DWORD>(status));
        if (bytes == 0)
            return {};
        ThrowUnlessText(type, valueName);

        // Room for every byte (an odd count rounds up) and a zero of our own behind them.
        std::wstring stored(bytes / sizeof(wchar_t) + 2, L'\0');
        DWORD read = bytes;
        status = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(stored.data()), &read);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status == ERROR_FILE_NOT_FOUND)
            return {};
        if (status != ERROR_SUCCESS)
            ThrowWin32Error(L"RegQueryValueExW '" + valueName + L"'", static_cast<DWORD>(status));
        if (read == 0)
            return {};
        ThrowUnlessText(type, valueName);
        return TextUpToFirstZero(stored, read);
    }
    ThrowWin32Error(L"RegQueryValueExW '" + valueName + L"'", ERROR_MORE_DATA);
}

void RegistryReader::CloseKey() noexcept
{
    key_.reset();
}

}  // namespace brelomat
