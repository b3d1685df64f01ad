#include "shell/window_placement.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, CentresWithHalvesTruncatedTowardZero) {
    EXPECT_EQ(CentredPosition(1024, 768, 894, 369), (ScreenPoint{65, 199}));
    EXPECT_EQ(CentredPosition(1025, 769, 894, 369), (ScreenPoint{65, 200}));
    // Larger than the screen: negative, halved toward zero (-3 / 2 = -1).
    EXPECT_EQ(CentredPosition(800, 600, 803, 605), (ScreenPoint{-1, -2}));
}

TEST(WindowPlacement, OffScreenWhenLessThanFivePixelsReachIn) {
    const int w = 1000, h = 800;
    EXPECT_FALSE(IsOffScreen({0, 0, 100, 100}, w, h));
    EXPECT_TRUE(IsOffScreen({-95, 0, 5, 100}, w, h));
    EXPECT_FALSE(IsOffScreen({-94, 0, 6, 100}, w, h));
    EXPECT_TRUE(IsOffScreen({995, 0, 1095, 100}, w, h));
    EXPECT_FALSE(IsOffScreen({994, 0, 1094, 100}, w, h));
    EXPECT_TRUE(IsOffScreen({0, -95, 100, 5}, w, h));
    EXPECT_FALSE(IsOffScreen({0, -94, 100, 6}, w, h));
    EXPECT_TRUE(IsOffScreen({0, 795, 100, 895}, w, h));
    EXPECT_FALSE(IsOffScreen({0, 794, 100, 894}, w, h));
}

TEST(WindowPlacement, ChooserKeepsTheCornerUnlessCentringIsAskedOrNeeded) {
    EXPECT_EQ(ChooserPlacement({40, 30, 500, 400}, 1000, 800, 600, 300, false), (ScreenPoint{40, 30}));
    EXPECT_EQ(ChooserPlacement({40, 30, 500, 400}, 1000, 800, 600, 300, true), (ScreenPoint{200, 250}));
    EXPECT_EQ(ChooserPlacement({2000, 30, 2500, 400}, 1000, 800, 600, 300, false), (ScreenPoint{200, 250}));
}

}  // namespace
