#include "BarScale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace brelomat {
namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

struct ScaleCase {
    std::int64_t max;
    std::int64_t count;
    std::int32_t barMax;
    std::int32_t barPosition;
};

void PrintTo(const ScaleCase& c, std::ostream* os)
{
    *os << "max " << c.max << ", count " << c.count;
}

class BarScaleTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(BarScaleTest, FitsTheCountsToTheBar)
{
    const auto& c = GetParam();
    const BarScale scale(c.max);
    EXPECT_EQ(scale.Max(), c.barMax);
    EXPECT_EQ(scale.Position(c.count), c.barPosition);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, BarScaleTest,
    ::testing::Values(
        // Ranges that fit pass through exactly.
        ScaleCase{2500, 1024, 2500, 1024}, ScaleCase{300000, 300000, 300000, 300000},
        ScaleCase{0, 0, 0, 0}, ScaleCase{Int32Max, Int32Max, std::int32_t{Int32Max}, std::int32_t{Int32Max}},
        // Larger ranges are halved until they fit, positions alike: never negative or wrapped.
        ScaleCase{Int32Max + 1, Int32Max + 1, 1 << 30, 1 << 30},
        ScaleCase{std::int64_t{6} << 30, std::int64_t{3} << 30, 3 << 29, 3 << 28},
        ScaleCase{std::numeric_limits<std::int64_t>::max(), std::numeric_limits<std::int64_t>::max(),
                  std::int32_t{Int32Max}, std::int32_t{Int32Max}},
        // A chunked body has no declared length: positions beyond it saturate.
        ScaleCase{0, std::int64_t{5} << 31, 0, std::int32_t{Int32Max}},
        // Nothing negative reaches the bar.
        ScaleCase{-5, -1, 0, 0}));

TEST(BarScaleDefaultTest, MatchesAFreshBar)
{
    EXPECT_EQ(BarScale().Max(), 100);
    EXPECT_EQ(BarScale().Position(40), 40);
}

}  // namespace
}  // namespace brelomat
