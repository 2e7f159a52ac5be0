#pragma once

#include "FileSystem.h"

namespace brelomat {

// The update run's file operations over kernel32.
class Win32FileSystem final : public FileSystem {
public:
    void Delete(const std::wstring& path) noexcept override;
    bool Exists(const std::wstring& path) noexcept override;
    std::unique_ptr<File> OpenRead(const std::wstring& path) override;
    std::unique_ptr<File> Create(const std::wstring& path) override;
    void Rename(const std::wstring& from, const std::wstring& to) override;
    bool SameFile(const std::wstring& a, const std::wstring& b) noexcept override;
};

}  // namespace brelomat
