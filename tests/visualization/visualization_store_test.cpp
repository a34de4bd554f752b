// Tests of the debug-drawing store without OpenGL: what the add and clear
// operations keep, and the exact circle geometry, the same in every build.
#include "visualization/visualization.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using Skidwell::Vector3;
using Skidwell::Visualization;

namespace {

float FloatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void ExpectSameBits(float expected, float actual)
{
    std::uint32_t expectedBits;
    std::uint32_t actualBits;
    std::memcpy(&expectedBits, &expected, sizeof(expectedBits));
    std::memcpy(&actualBits, &actual, sizeof(actualBits));
    EXPECT_EQ(expectedBits, actualBits) << expected << " vs " << actual;
}

// Sine and cosine of t = float((i / 25.0) * 6.283184) for i = 0..24, each
// taken in double and rounded to float: the unit circle's x and z bits.
const std::uint32_t kUnitCircleBits[25][2] = {
    {0x00000000, 0x3F800000},
    {0x3E7EA88D, 0x3F77F511},
    {0x3EF6A868, 0x3F6055A3},
    {0x3F2F3E79, 0x3F3A9DB2},
    {0x3F5825DE, 0x3F092BF5},
    {0x3F737870, 0x3E9E3780},
    {0x3F7F7EAE, 0x3D80987E},
    {0x3F7B772E, 0xBE3FE0CC},
    {0x3F67A2C2, 0xBED9FFB3},
    {0x3F454061, 0xBF232E31},
    {0x3F16791E, 0xBF4F1BB9},
    {0x3EBC7AE3, 0xBF6E05D2},
    {0x3E005788, 0xBF7DFB39},
    {0xBE005735, 0xBF7DFB3C},
    {0xBEBC7ABC, 0xBF6E05D9},
    {0xBF16790D, 0xBF4F1BC5},
    {0xBF454053, 0xBF232E42},
    {0xBF67A2BA, 0xBED9FFD2},
    {0xBF7B772A, 0xBE3FE126},
    {0xBF7F7EAF, 0x3D8097D6},
    {0xBF737875, 0x3E9E3760},
    {0xBF5825EB, 0x3F092BE1},
    {0xBF2F3E88, 0x3F3A9DA4},
    {0xBEF6A888, 0x3F60559B},
    {0xBE7EA8E8, 0x3F77F50B},
};

TEST(VisualizationStore, UnitCircleStartsAtPlusZAndStaysInItsPlane)
{
    Visualization visualization;
    visualization.AddCircle(Vector3(0, 0, 0), 1.0f, 0xFF00FF00, true);
    ASSERT_EQ(1u, visualization.GetTemporaryPaths().size());
    const Skidwell::PathPrimitive& circle = visualization.GetTemporaryPaths()[0];
    EXPECT_TRUE(circle.closed);
    EXPECT_EQ(0xFF00FF00u, circle.color);
    ASSERT_EQ(25u, circle.points.size());
    for (size_t i = 0; i < circle.points.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameBits(FloatFromBits(kUnitCircleBits[i][0]), circle.points[i].x);
        ExpectSameBits(0.0f, circle.points[i].y);
        ExpectSameBits(FloatFromBits(kUnitCircleBits[i][1]), circle.points[i].z);
    }
    EXPECT_NEAR(0.2486898, circle.points[1].x, 1e-7);
    EXPECT_NEAR(0.9685832, circle.points[1].z, 1e-7);
    EXPECT_NEAR(-0.2486912, circle.points[24].x, 1e-7);
    EXPECT_NEAR(0.9685828, circle.points[24].z, 1e-7);
}

TEST(VisualizationStore, UprightCircleLiesInThePlaneThroughItsCentre)
{
    Visualization visualization;
    visualization.AddPermanentCircle(Vector3(1, 2, 3), 2.0f, 0xFF00FF00, false);
    ASSERT_EQ(1u, visualization.GetPermanentPaths().size());
    EXPECT_TRUE(visualization.GetTemporaryPaths().empty());
    const std::vector<Vector3>& points = visualization.GetPermanentPaths()[0].points;
    ASSERT_EQ(25u, points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameBits(1.0f + 2.0f * FloatFromBits(kUnitCircleBits[i][0]), points[i].x);
        ExpectSameBits(2.0f + 2.0f * FloatFromBits(kUnitCircleBits[i][1]), points[i].y);
        ExpectSameBits(3.0f, points[i].z);
    }
}

TEST(VisualizationStore, PathsNeedTwoPointsAndAreCopied)
{
    Visualization visualization;
    std::vector<Vector3> points;
    visualization.AddPermanentPath(points, 0xFF000000, true);
    points.push_back(Vector3(1, 2, 3));
    visualization.AddPermanentPath(points, 0xFF000000, true);
    EXPECT_TRUE(visualization.GetPermanentPaths().empty());

    points.push_back(Vector3(4, 5, 6));
    visualization.AddPermanentPath(points, 0xFF808080, false);
    points.clear();
    ASSERT_EQ(1u, visualization.GetPermanentPaths().size());
    const Skidwell::PathPrimitive& path = visualization.GetPermanentPaths()[0];
    ASSERT_EQ(2u, path.points.size());
    EXPECT_EQ(6.0f, path.points[1].z);
    EXPECT_EQ(0xFF808080u, path.color);
    EXPECT_FALSE(path.closed);
}

TEST(VisualizationStore, ClearingEmptiesOnlyTheTemporaryLists)
{
    Visualization visualization;
    const Vector3 o(0, 0, 0);
    const Vector3 x(1, 0, 0);
    visualization.AddLine(o, x, 1);
    visualization.AddCircle(o, 1.0f, 2, true);
    visualization.AddTriangle(o, x, o, 3);
    visualization.AddPermanentLine(o, x, 4);
    visualization.AddPermanentCircle(o, 1.0f, 5, true);
    visualization.AddPermanentTriangle(o, x, o, 6);

    visualization.ClearTemporaryPrimitives();
    EXPECT_TRUE(visualization.GetTemporaryLines().empty());
    EXPECT_TRUE(visualization.GetTemporaryPaths().empty());
    EXPECT_TRUE(visualization.GetTemporaryTriangles().empty());
    ASSERT_EQ(1u, visualization.GetPermanentLines().size());
    ASSERT_EQ(1u, visualization.GetPermanentPaths().size());
    ASSERT_EQ(1u, visualization.GetPermanentTriangles().size());
    EXPECT_EQ(6u, visualization.GetPermanentTriangles()[0].color);
}

} // namespace
