#include "PlatformError.h"

#include <windows.h>

namespace brelomat {

namespace {

std::string Narrow(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                            size, nullptr, nullptr);
    return narrow;
}

std::wstring Widen(std::string_view text)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            size);
    return wide;
}

}  // namespace

PlatformError::PlatformError(std::wstring message, std::uint32_t code)
    : std::runtime_error(Narrow(message)), message_(std::move(message)), code_(code)
{
}

std::wstring SystemMessage(std::uint32_t code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    if (buffer)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
}

void ThrowWin32Error(std::wstring_view operation, std::uint32_t code)
{
    std::wstring message(operation);
    message += L" failed (" + std::to_wstring(code) + L")";
    if (const auto text = SystemMessage(code); !text.empty())
        message += L": " + text;
    throw PlatformError(std::move(message), code);
}

void ThrowLastError(std::wstring_view operation)
{
    ThrowWin32Error(operation, GetLastError());
}

std::wstring DescribeException(const std::exception& error)
{
    if (const auto* platform = dynamic_cast<const PlatformError*>(&error))
        return platform->Message();
    return Widen(error.what());
}

}  // namespace brelomat
