#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace brelomat {

// An open file, read or written in units of one byte. Every failure throws.
class File {
public:
    virtual ~File() = default;  // closes quietly when Close was not called

    virtual std::int64_t Size() = 0;
    virtual bool AtEnd() = 0;
    // Reads up to buffer.size() bytes; returns how many were read (0 only at the end).
    virtual std::size_t Read(std::span<std::byte> buffer) = 0;
    // Writes all of bytes or throws.
    virtual void Write(std::span<const std::byte> bytes) = 0;
    virtual void Close() = 0;
};

// The file operations the update run needs, by path relative to the working directory or
// absolute. Every failure throws, except where a member says otherwise.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Removes the file if it can; the outcome is not reported.
    virtual void Delete(const std::wstring& path) noexcept = 0;
    virtual bool Exists(const std::wstring& path) noexcept = 0;
    virtual std::unique_ptr<File> OpenRead(const std::wstring& path) = 0;
    // Creates the file, or truncates it when it exists.
    virtual std::unique_ptr<File> Create(const std::wstring& path) = 0;
    // Moves from onto to, replacing a file that is there.
    virtual void Rename(const std::wstring& from, const std::wstring& to) = 0;
    // True when both paths name one file, however they are spelled (case, relative or
    // full, short names); false when they do not or that cannot be told.
    virtual bool SameFile(const std::wstring& a, const std::wstring& b) noexcept = 0;
};

}  // namespace brelomat
