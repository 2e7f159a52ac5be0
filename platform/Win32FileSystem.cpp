#include "Win32FileSystem.h"

#include "Handles.h"
#include "PlatformError.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace brelomat {

namespace {

// ReadFile and WriteFile count in DWORDs; larger spans go in pieces.
constexpr std::size_t LargestTransfer = std::numeric_limits<DWORD>::max();

class Win32File final : public File {
public:
    enum class Mode { Read, Write };

    Win32File(UniqueFile handle, std::wstring path, Mode mode)
        : handle_(std::move(handle)), path_(std::move(path)), mode_(mode) {}

    std::int64_t Size() override
    {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(Handle(L"GetFileSizeEx"), &size))
            ThrowLastError(L"GetFileSizeEx " + path_);
        return size.QuadPart;
    }

    bool AtEnd() override
    {
        LARGE_INTEGER position{};
        if (!::SetFilePointerEx(Handle(L"SetFilePointerEx"), LARGE_INTEGER{}, &position, FILE_CURRENT))
            ThrowLastError(L"SetFilePointerEx " + path_);
        return position.QuadPart >= Size();
    }

    std::size_t Read(std::span<std::byte> buffer) override
    {
        DWORD read = 0;
        const auto wanted = static_cast<DWORD>(std::min(buffer.size(), LargestTransfer));
        if (!::ReadFile(Handle(L"ReadFile"), buffer.data(), wanted, &read, nullptr))
            ThrowLastError(L"ReadFile " + path_);
        return read;
    }

    void Write(std::span<const std::byte> bytes) override
    {
        while (!bytes.empty()) {
            DWORD written = 0;
            const auto piece = static_cast<DWORD>(std::min(bytes.size(), LargestTransfer));
            if (!::WriteFile(Handle(L"WriteFile"), bytes.data(), piece, &written, nullptr))
                ThrowLastError(L"WriteFile " + path_);
            if (written == 0)
                ThrowWin32Error(L"WriteFile " + path_, ERROR_WRITE_FAULT);
            bytes = bytes.subspan(written);
        }
    }

    void Close() override
    {
        // A written file is renamed into place right after it is closed; its bytes must be
        // on the disk before the new name is, or a crash could leave a complete-looking
        // name over missing data.
        if (mode_ == Mode::Write && !::FlushFileBuffers(Handle(L"FlushFileBuffers")))
            ThrowLastError(L"FlushFileBuffers " + path_);
        if (!::CloseHandle(handle_.release()))
            ThrowLastError(L"CloseHandle " + path_);
    }

private:
    HANDLE Handle(const wchar_t* operation) const
    {
        if (!handle_)
            ThrowWin32Error(std::wstring(operation) + L" " + path_, ERROR_INVALID_HANDLE);
        return handle_.get();
    }

    UniqueFile handle_;
    std::wstring path_;
    Mode mode_;
};

// Opens anything that exists, a folder included, only to ask who it is.
std::optional<BY_HANDLE_FILE_INFORMATION> IdentityOf(const std::wstring& path) noexcept
{
    const UniqueFile file(::CreateFileW(path.c_str(), 0,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information))
        return std::nullopt;
    return information;
}

std::optional<std::wstring> FullPathOf(const std::wstring& path)
{
    // The working directory can change between the two calls: a few rounds settle that.
    DWORD capacity = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    for (int attempt = 0; attempt < 4 && capacity != 0; ++attempt) {
        std::wstring full(capacity, L'\0');
        const DWORD length = ::GetFullPathNameW(path.c_str(), capacity, full.data(), nullptr);
        if (length == 0)
            return std::nullopt;
        if (length < capacity) {
            full.resize(length);
            return full;
        }
        capacity = length;
    }
    return std::nullopt;
}

// Windows compares names by upper-casing each character on its own, whatever the locale.
bool SameName(const std::wstring& a, const std::wstring& b) noexcept
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace

void Win32FileSystem::Delete(const std::wstring& path) noexcept
{
    ::DeleteFileW(path.c_str());
}

bool Win32FileSystem::Exists(const std::wstring& path) noexcept
{
    // A file that is there but cannot be replaced still fails later, at the rename of the
    // temporary copy, so a doubtful answer here is never the dangerous one.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::unique_ptr<File> Win32FileSystem::OpenRead(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        ThrowLastError(L"CreateFileW (read) " + path);
    return std::make_unique<Win32File>(std::move(file), path, Win32File::Mode::Read);
}

std::unique_ptr<File> Win32FileSystem::Create(const std::wstring& path)
{
    // A file of our own making: normal attributes, times of now, nothing taken from a source.
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        ThrowLastError(L"CreateFileW (write) " + path);
    return std::make_unique<Win32File>(std::move(file), path, Win32File::Mode::Write);
}

void Win32FileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    if (!::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError(L"MoveFileExW " + from + L" -> " + to);
}

bool Win32FileSystem::SameFile(const std::wstring& a, const std::wstring& b) noexcept
{
    try {
        const auto fullA = FullPathOf(a);
        const auto fullB = FullPathOf(b);
        if (fullA && fullB && SameName(*fullA, *fullB))
            return true;

        // Spelled differently (a short name, a link, a second drive letter for one folder),
        // the file itself still knows who it is.
        const auto identityA = IdentityOf(a);
        const auto identityB = IdentityOf(b);
        return identityA && identityB &&
               identityA->dwVolumeSerialNumber == identityB->dwVolumeSerialNumber &&
               identityA->nFileIndexHigh == identityB->nFileIndexHigh &&
               identityA->nFileIndexLow == identityB->nFileIndexLow;
    } catch (...) {
        return false;  // out of memory for a path: this cannot be told
    }
}

}  // namespace brelomat
