#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace brelomat {

// The one error type of the platform layer: a message for people and, where the system
// gave one, its Win32 error code.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(std::wstring message, std::uint32_t code = 0);

    const std::wstring& Message() const noexcept { return message_; }
    std::uint32_t Code() const noexcept { return code_; }

private:
    std::wstring message_;
    std::uint32_t code_;
};

// Throws a PlatformError for operation with the calling thread's last Win32 error.
[[noreturn]] void ThrowLastError(std::wstring_view operation);
// Throws a PlatformError for operation with the given Win32 error code.
[[noreturn]] void ThrowWin32Error(std::wstring_view operation, std::uint32_t code);

// The system's text for a Win32 error code, or an empty string when it has none.
std::wstring SystemMessage(std::uint32_t code);

// The wide text of any exception, for the few places that show one.
std::wstring DescribeException(const std::exception& error);

}  // namespace brelomat
