// Which layout and scale each screen gets.

#include <gtest/gtest.h>

#include "forms/ScreenShape.h"

namespace {

struct ShapeCase {
    const char* name;
    int width, height, dpi_x, dpi_y;
    ScreenShape expected;
};

void PrintTo(const ShapeCase& row, std::ostream* out) { *out << row.name; }

class ScreenShapeTest : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(ScreenShapeTest, ScreenGetsItsLayoutAndScale) {
    const auto& row = GetParam();
    EXPECT_EQ(ScreenShape::Of(framework::Screen(row.width, row.height, row.dpi_x, row.dpi_y)), row.expected);
}

constexpr auto P = FormLayout::Portrait;
constexpr auto L = FormLayout::Landscape;
constexpr auto S = FormLayout::Square;

INSTANTIATE_TEST_SUITE_P(
    Screens, ScreenShapeTest,
    ::testing::Values(ShapeCase{"Qvga", 240, 320, 96, 96, {0, P, 1}},
                      ShapeCase{"QvgaAnyDpi", 240, 320, 131, 131, {0, P, 1}},
                      ShapeCase{"QvgaTurned", 320, 240, 96, 96, {1, L, 1}},
                      ShapeCase{"Square", 240, 240, 96, 96, {2, S, 1}},
                      ShapeCase{"VgaAt192", 480, 640, 192, 192, {3, P, 2}},
                      ShapeCase{"VgaTurnedAt192", 640, 480, 192, 192, {4, L, 2}},
                      ShapeCase{"VgaAt96", 480, 640, 96, 96, {5, P, 2}},
                      ShapeCase{"VgaTurnedAt96", 640, 480, 96, 96, {6, L, 2}},
                      // Outside the table: proportions and dots per inch decide.
                      ShapeCase{"VgaAt144", 480, 640, 144, 144, {-1, P, 2}},
                      ShapeCase{"VgaMixedDpi", 480, 640, 192, 96, {-1, P, 1}},
                      ShapeCase{"WideAt96", 800, 480, 96, 96, {-1, L, 1}},
                      ShapeCase{"SquareAt192", 480, 480, 192, 192, {-1, S, 2}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
