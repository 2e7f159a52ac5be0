#pragma once

#include "FileSystem.h"

#include <memory>
#include <span>
#include <string>

namespace brelomat {

// Writes a file under a temporary name beside its destination and moves it into place only
// when it is complete, so a failure never leaves a truncated file at the destination.
// Destroyed without Commit, it removes the temporary and leaves the destination alone.
class FileReplacement {
public:
    FileReplacement(FileSystem& files, std::wstring destination);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    void Write(std::span<const std::byte> bytes);
    // Closes the temporary and renames it to the destination.
    void Commit();

    static std::wstring TemporaryNameFor(const std::wstring& destination);

private:
    FileSystem& files_;
    std::wstring destination_;
    std::wstring temporary_;
    std::unique_ptr<File> file_;
    bool committed_ = false;
};

}  // namespace brelomat
