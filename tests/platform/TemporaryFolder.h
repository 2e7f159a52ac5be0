#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brelomat::testing {

using Bytes = std::vector<std::byte>;

// A fresh folder below the user's temporary folder, removed with everything in it (read-only
// files included) when the test is done.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // The full path, ending in "\\".
    const std::wstring& Path() const noexcept { return path_; }

private:
    std::wstring path_;
};

// Makes folder the working directory for as long as it lives, then restores the one before.
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::wstring& folder);
    ~ScopedWorkingDirectory();
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

private:
    std::wstring previous_;
};

// Small file helpers for setting up and looking at real files; they fail the test, not throw.
void MakeFolder(const std::wstring& path);
void WriteWholeFile(const std::wstring& path, const Bytes& content);
std::optional<Bytes> ReadWholeFile(const std::wstring& path);
// The names in a folder, sorted; empty for a folder that does not exist.
std::vector<std::wstring> NamesIn(const std::wstring& folder);
void SetReadOnly(const std::wstring& path, bool readOnly);
// The folder this test executable lives in, ending in "\\".
std::wstring ExecutableFolder();

}  // namespace brelomat::testing
