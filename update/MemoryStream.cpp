#include "MemoryStream.h"

#include "FileReplacement.h"

#include <algorithm>

namespace brelomat {

void MemoryStream::Reserve(std::int64_t expected)
{
    const auto wanted = std::clamp<std::int64_t>(expected, 0, ReserveCap);
    bytes_.reserve(static_cast<std::size_t>(wanted));
}

void MemoryStream::Write(std::span<const std::byte> bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
}

void MemoryStream::SaveToFile(FileSystem& files, const std::wstring& path) const
{
    FileReplacement file(files, path);
    file.Write(bytes_);
    file.Commit();
}

}  // namespace brelomat
