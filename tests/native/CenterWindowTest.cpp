#include "ui/CenterWindow.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    int nScreenWidth, nScreenHeight, nWidth, nHeight;
    int x, y;
};

TEST(ScreenPosition, CentresAndKeepsTheWindowOnTheScreen) {
    const Case cases[] = {
        {1024, 768, 400, 200, 312, 284},
        {1024, 768, 401, 201, 312, 284}, // each half truncates towards zero
        {1024, 768, 1024, 768, 0, 0},
        {1024, 768, 1025, 100, 0, 334}, // wider than the screen: x 0
        {1024, 768, 100, 2000, 462, 0}, // taller than the screen: y 0
        {1023, 767, 2, 2, 510, 382},
        {0, 0, 10, 10, 0, 0},
    };
    for (const Case& c : cases) {
        ScreenPoint p = CenteredOrigin(c.nScreenWidth, c.nScreenHeight, c.nWidth, c.nHeight);
        EXPECT_EQ(p.x, c.x) << c.nScreenWidth << "x" << c.nScreenHeight << " " << c.nWidth;
        EXPECT_EQ(p.y, c.y) << c.nScreenWidth << "x" << c.nScreenHeight << " " << c.nHeight;
    }
}

} // namespace
