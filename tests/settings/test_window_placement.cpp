#include "settings/WindowPlacement.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct Placement {
    const char* name;
    qint64 left, top, width, height;
    QRect expected;
};

const QList<QRect> twoScreens = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 984)};

class WindowPlacement : public testing::TestWithParam<Placement> {};

TEST_P(WindowPlacement, KeepsTheWindowOnAScreenItFits) {
    const Placement& p = GetParam();
    EXPECT_EQ(placementOnScreens(p.left, p.top, p.width, p.height, twoScreens), p.expected);
}

constexpr qint64 huge = std::numeric_limits<qint32>::max();

INSTANTIATE_TEST_SUITE_P(
    Placements, WindowPlacement,
    testing::Values(
        Placement{"onTheFirstScreen", 40, 60, 1000, 600, {40, 60, 1000, 600}},
        Placement{"onTheSecondScreen", 2000, 100, 800, 600, {2000, 100, 800, 600}},
        Placement{"tooWide", 40, 60, huge, 600, {0, 60, 1920, 600}},
        Placement{"tooTall", 40, 60, 1000, huge, {40, 0, 1000, 1040}},
        Placement{"offEveryScreen", 90000, -50000, 800, 600, {1120, 0, 800, 600}},
        Placement{"mostlyOnTheSecond", 1800, 100, 1000, 500, {1920, 100, 1000, 500}},
        Placement{"beyondTheSecond", 3000, 900, 800, 600, {2400, 384, 800, 600}},
        Placement{"nothingLeft", 0, 0, 0, -5, {0, 0, 1, 1}},
        Placement{"widest", -huge* huge, huge* huge, huge* huge, huge* huge, {0, 0, 1920, 1040}}),
    [](const testing::TestParamInfo<Placement>& info) { return std::string(info.param.name); });

TEST(WindowPlacementWithoutScreens, GivesNothing) {
    EXPECT_TRUE(placementOnScreens(0, 0, 800, 600, {}).isNull());
}

} // namespace
