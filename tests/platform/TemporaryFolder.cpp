#include "TemporaryFolder.h"

#include "Handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

namespace brelomat::testing {

namespace {

template <typename Visit>
void ForEachEntry(const std::wstring& folder, Visit visit)
{
    WIN32_FIND_DATAW entry{};
    const UniqueFindSearch search(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!search)
        return;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            visit(name, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (::FindNextFileW(search.get(), &entry));
}

void RemoveTree(const std::wstring& folder)
{
    ForEachEntry(folder, [&](const std::wstring& name, bool isFolder) {
        const auto path = folder + name;
        if (isFolder) {
            RemoveTree(path + L"\\");
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_TRUE(::DeleteFileW(path.c_str())) << "left behind: " << ::testing::PrintToString(path);
        }
    });
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

TemporaryFolder::TemporaryFolder()
{
    static std::atomic<unsigned> made{0};
    wchar_t base[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, base);
    EXPECT_GT(length, 0u);
    path_ = std::wstring(base, length) + L"brelomat-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
            std::to_wstring(++made) + L"\\";
    RemoveTree(path_);  // a folder of the same name left by an earlier process of this id
    MakeFolder(path_);
}

TemporaryFolder::~TemporaryFolder()
{
    RemoveTree(path_);
}

ScopedWorkingDirectory::ScopedWorkingDirectory(const std::wstring& folder)
{
    previous_.resize(::GetCurrentDirectoryW(0, nullptr));
    previous_.resize(::GetCurrentDirectoryW(static_cast<DWORD>(previous_.size()), previous_.data()));
    EXPECT_TRUE(::SetCurrentDirectoryW(folder.c_str())) << folder << " error " << ::GetLastError();
}

ScopedWorkingDirectory::~ScopedWorkingDirectory()
{
    EXPECT_TRUE(::SetCurrentDirectoryW(previous_.c_str()));
}

void MakeFolder(const std::wstring& path)
{
    EXPECT_TRUE(::CreateDirectoryW(path.c_str(), nullptr))
        << ::testing::PrintToString(path) << " error " << ::GetLastError();
}

void WriteWholeFile(const std::wstring& path, const Bytes& content)
{
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << ::testing::PrintToString(path) << " error " << ::GetLastError();
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    ASSERT_EQ(written, content.size());
}

std::optional<Bytes> ReadWholeFile(const std::wstring& path)
{
    const UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    LARGE_INTEGER size{};
    EXPECT_TRUE(::GetFileSizeEx(file.get(), &size));
    Bytes content(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    EXPECT_TRUE(::ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr));
    content.resize(read);
    return content;
}

std::vector<std::wstring> NamesIn(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    ForEachEntry(folder, [&](const std::wstring& name, bool) { names.push_back(name); });
    std::sort(names.begin(), names.end());
    return names;
}

void SetReadOnly(const std::wstring& path, bool readOnly)
{
    EXPECT_TRUE(::SetFileAttributesW(path.c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL))
        << ::testing::PrintToString(path) << " error " << ::GetLastError();
}

std::wstring ExecutableFolder()
{
    std::wstring path(32768, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

}  // namespace brelomat::testing
