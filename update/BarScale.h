#pragma once

#include <cstdint>

namespace brelomat {

// A progress bar holds 32-bit signed values while byte counts are 64-bit. Ranges that fit
// are passed through unchanged; a larger range and every position in it are divided by the
// same power of two, so the bar never wraps to a negative or wrong value.
class BarScale {
public:
    BarScale() = default;
    explicit BarScale(std::int64_t max) noexcept;

    std::int32_t Max() const noexcept { return max_; }
    std::int32_t Position(std::int64_t count) const noexcept;

private:
    int shift_ = 0;
    std::int32_t max_ = 100;
};

}  // namespace brelomat
