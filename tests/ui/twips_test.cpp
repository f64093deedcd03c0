#include "ui/twips.h"

#include <gtest/gtest.h>

#include <ostream>

namespace zeduzovir {
namespace {

struct TwipsCase {
  int twips;
  int dpi;
  int pixels;
  friend void PrintTo(const TwipsCase& c, std::ostream* os) {
    *os << c.twips << " twips at " << c.dpi << " DPI";
  }
};

class TwipsToPixelsTest : public ::testing::TestWithParam<TwipsCase> {};

TEST_P(TwipsToPixelsTest, RoundsToNearestPixel) {
  EXPECT_EQ(TwipsToPixels(GetParam().twips, GetParam().dpi), GetParam().pixels)
      << GetParam().twips << " twips at " << GetParam().dpi << " DPI";
}

INSTANTIATE_TEST_SUITE_P(Dpis, TwipsToPixelsTest,
                         ::testing::Values(TwipsCase{15, 96, 1}, TwipsCase{5565, 96, 371},
                                           TwipsCase{4290, 96, 286},
                                           TwipsCase{487, 96, 32},     // 32.47
                                           TwipsCase{899, 96, 60},     // 59.93
                                           TwipsCase{7, 96, 0},        // 0.47
                                           TwipsCase{8, 96, 1},        // 0.53
                                           TwipsCase{5565, 144, 557},  // 556.5: halves round up
                                           TwipsCase{487, 144, 49},    // 48.7
                                           TwipsCase{1311, 120, 109},  // 109.25
                                           TwipsCase{1311, 192, 175},  // 174.8
                                           TwipsCase{4290, 288, 858}, TwipsCase{-8, 96, -1},
                                           TwipsCase{0, 144, 0},
                                           // Large enough to overflow a 32-bit product.
                                           TwipsCase{3'000'000, 960, 2'000'000}));

TEST(TwipsRectTest, ConvertsEachValueOnItsOwn) {
  EXPECT_EQ(TwipsToPixels(TwipsRect{3975, 487, 750, 270}), (PixelRect{265, 32, 50, 18}));
  EXPECT_EQ(TwipsToPixels(TwipsRect{3975, 487, 750, 270}, 144), (PixelRect{398, 49, 75, 27}));
}

}  // namespace
}  // namespace zeduzovir
