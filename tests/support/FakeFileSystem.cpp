#include "FakeFileSystem.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>

namespace brelomat::testing {

namespace {

std::wstring Upper(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towupper(c)); });
    return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

class FakeReadFile : public File {
public:
    FakeReadFile(const FakeFileSystem& files, std::wstring path, FakeFileSystem::Bytes content)
        : files_(files), path_(std::move(path)), content_(std::move(content)) {}

    std::int64_t Size() override
    {
        files_.ThrowIfFailing(FakeFileSystem::Step::Size, path_);
        return static_cast<std::int64_t>(content_.size());
    }
    bool AtEnd() override { return position_ >= content_.size(); }
    std::size_t Read(std::span<std::byte> buffer) override
    {
        files_.ThrowIfFailing(FakeFileSystem::Step::Read, path_);
        const auto n = std::min(buffer.size(), content_.size() - position_);
        std::copy_n(content_.begin() + static_cast<std::ptrdiff_t>(position_), n, buffer.begin());
        position_ += n;
        return n;
    }
    void Write(std::span<const std::byte>) override { throw std::runtime_error("read-only"); }
    void Close() override { files_.ThrowIfFailing(FakeFileSystem::Step::CloseRead, path_); }

private:
    const FakeFileSystem& files_;
    std::wstring path_;
    FakeFileSystem::Bytes content_;
    std::size_t position_ = 0;
};

class FakeWrittenFile : public File {
public:
    FakeWrittenFile(FakeFileSystem& files, std::wstring path) : files_(files), path_(std::move(path)) {}

    std::int64_t Size() override { return static_cast<std::int64_t>(Target().size()); }
    bool AtEnd() override { return true; }
    std::size_t Read(std::span<std::byte>) override { throw std::runtime_error("write-only"); }
    void Write(std::span<const std::byte> bytes) override
    {
        files_.ThrowIfFailing(FakeFileSystem::Step::Write, path_);
        auto& target = Target();
        target.insert(target.end(), bytes.begin(), bytes.end());
    }
    void Close() override { files_.ThrowIfFailing(FakeFileSystem::Step::CloseWritten, path_); }

private:
    FakeFileSystem::Bytes& Target() { return files_.Files.at(Upper(path_)); }

    FakeFileSystem& files_;
    std::wstring path_;
};

}  // namespace

void FakeFileSystem::FailAt(Step step, std::wstring pathSuffix)
{
    faults_.push_back({step, Upper(std::move(pathSuffix))});
}

void FakeFileSystem::Lock(const std::wstring& path)
{
    locked_.insert(Upper(Full(path)));
}

void FakeFileSystem::Put(const std::wstring& path, Bytes content)
{
    const auto key = Upper(Full(path));
    Folders.insert(key.substr(0, key.find_last_of(L'\\') + 1));
    Files[key] = std::move(content);
}

void FakeFileSystem::MakeFolder(const std::wstring& folder)
{
    Folders.insert(Upper(Full(folder)));
}

std::optional<FakeFileSystem::Bytes> FakeFileSystem::Content(const std::wstring& path) const
{
    const auto found = Files.find(Upper(Full(path)));
    if (found == Files.end())
        return std::nullopt;
    return found->second;
}

std::vector<std::wstring> FakeFileSystem::Paths() const
{
    std::vector<std::wstring> paths;
    for (const auto& [path, content] : Files)
        paths.push_back(path);
    return paths;
}

void FakeFileSystem::Delete(const std::wstring& path) noexcept
{
    const auto full = Upper(Full(path));
    if (!locked_.contains(full))
        Files.erase(full);
}

bool FakeFileSystem::Exists(const std::wstring& path) noexcept
{
    return Files.contains(Upper(Full(path)));
}

std::unique_ptr<File> FakeFileSystem::OpenRead(const std::wstring& path)
{
    const auto full = Full(path);
    ThrowIfFailing(Step::OpenRead, full);
    const auto found = Files.find(Upper(full));
    if (found == Files.end())
        throw std::runtime_error("no such file");
    return std::make_unique<FakeReadFile>(*this, full, found->second);
}

std::unique_ptr<File> FakeFileSystem::Create(const std::wstring& path)
{
    const auto full = Full(path);
    ThrowIfFailing(Step::Create, full);
    const auto key = Upper(full);
    if (locked_.contains(key))
        throw std::runtime_error("locked");
    const auto folder = key.substr(0, key.find_last_of(L'\\') + 1);
    if (folder != Upper(WorkingDirectory) && !Folders.contains(folder))
        throw std::runtime_error("no such folder");
    Files[key].clear();
    return std::make_unique<FakeWrittenFile>(*this, full);
}

void FakeFileSystem::Rename(const std::wstring& from, const std::wstring& to)
{
    const auto source = Upper(Full(from));
    const auto target = Upper(Full(to));
    ThrowIfFailing(Step::Rename, Full(to));
    if (!Files.contains(source) || locked_.contains(target))
        throw std::runtime_error("cannot rename");
    auto content = std::move(Files.at(source));
    Files.erase(source);
    Files[target] = std::move(content);
}

bool FakeFileSystem::SameFile(const std::wstring& a, const std::wstring& b) noexcept
{
    return Upper(Full(a)) == Upper(Full(b));
}

std::wstring FakeFileSystem::Full(const std::wstring& path) const
{
    const bool absolute = path.size() >= 2 && path[1] == L':';
    return absolute ? path : WorkingDirectory + path;
}

void FakeFileSystem::ThrowIfFailing(Step step, const std::wstring& fullPath) const
{
    const auto key = Upper(fullPath);
    for (const auto& fault : faults_)
        if (fault.step == step && EndsWith(key, fault.suffix))
            throw std::runtime_error("injected fault");
}

FakeFileSystem::Bytes Pattern(std::size_t length, unsigned seed)
{
    FakeFileSystem::Bytes bytes(length);
    for (std::size_t i = 0; i < length; ++i)
        bytes[i] = static_cast<std::byte>((i * 7 + seed) % 251);
    return bytes;
}

}  // namespace brelomat::testing
