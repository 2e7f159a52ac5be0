#include "BarScale.h"

#include <algorithm>
#include <limits>

namespace brelomat {

namespace {
constexpr std::int64_t BarLimit = std::numeric_limits<std::int32_t>::max();
}

BarScale::BarScale(std::int64_t max) noexcept
{
    max = std::max<std::int64_t>(max, 0);
    while ((max >> shift_) > BarLimit)
        ++shift_;
    max_ = static_cast<std::int32_t>(max >> shift_);
}

std::int32_t BarScale::Position(std::int64_t count) const noexcept
{
    count = std::max<std::int64_t>(count, 0);
    return static_cast<std::int32_t>(std::min(count >> shift_, BarLimit));
}

}  // namespace brelomat
