#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace brelomat {

class FileSystem;

// A growable in-memory buffer that receives a download whole before anything is written.
class MemoryStream {
public:
    // Room for a body of the expected length, up to a cap: a hostile declared length must
    // not make the reservation itself fail. The buffer still grows past it on demand.
    void Reserve(std::int64_t expected);
    void Write(std::span<const std::byte> bytes);

    std::span<const std::byte> Data() const noexcept { return bytes_; }
    std::int64_t Size() const noexcept { return static_cast<std::int64_t>(bytes_.size()); }

    // Writes the whole buffer to path, which holds either its old content or all of the new.
    void SaveToFile(FileSystem& files, const std::wstring& path) const;

    static constexpr std::int64_t ReserveCap = std::int64_t{64} << 20;

private:
    std::vector<std::byte> bytes_;
};

}  // namespace brelomat
