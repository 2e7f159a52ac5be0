#pragma once

#include "FileSystem.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace brelomat::testing {

// An in-memory file system that can fail any single step. Relative paths are taken in
// WorkingDirectory; paths compare without regard to case, as Windows compares them.
class FakeFileSystem : public FileSystem {
public:
    enum class Step { OpenRead, Create, Size, Read, Write, CloseRead, CloseWritten, Rename };
    using Bytes = std::vector<std::byte>;

    std::wstring WorkingDirectory = L"C:\\Arbejde\\";

    // Fails the given step on paths that end in pathSuffix (any path when empty).
    void FailAt(Step step, std::wstring pathSuffix = L"");
    // A file that cannot be deleted, as a running or read-only program.
    void Lock(const std::wstring& path);

    void Put(const std::wstring& path, Bytes content);
    void MakeFolder(const std::wstring& folder);  // an empty folder, given with its final "\\"
    std::optional<Bytes> Content(const std::wstring& path) const;
    std::vector<std::wstring> Paths() const;  // full paths of every file, sorted

    void Delete(const std::wstring& path) noexcept override;
    bool Exists(const std::wstring& path) noexcept override;
    std::unique_ptr<File> OpenRead(const std::wstring& path) override;
    std::unique_ptr<File> Create(const std::wstring& path) override;
    void Rename(const std::wstring& from, const std::wstring& to) override;
    bool SameFile(const std::wstring& a, const std::wstring& b) noexcept override;

    std::wstring Full(const std::wstring& path) const;
    void ThrowIfFailing(Step step, const std::wstring& fullPath) const;

    std::map<std::wstring, Bytes> Files;  // by upper-cased full path
    std::set<std::wstring> Folders;       // upper-cased, ending in "\\": folders that exist

private:
    struct Fault {
        Step step;
        std::wstring suffix;
    };
    std::vector<Fault> faults_;
    std::set<std::wstring> locked_;
};

// Bytes 0, 1, 2, ... of the given length, for files whose content must survive a copy.
FakeFileSystem::Bytes Pattern(std::size_t length, unsigned seed = 0);

}  // namespace brelomat::testing
