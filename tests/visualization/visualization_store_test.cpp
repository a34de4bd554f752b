// Tests of the debug-drawing store without OpenGL: the exact circle geometry,
// the same in every build, and what a permanent path keeps.
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

// Every coordinate's bit pattern, in point order.
std::vector<std::uint32_t> Bits(const std::vector<Vector3>& points)
{
    std::vector<std::uint32_t> bits(3 * points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const float coordinates[3] = {points[i].x, points[i].y, points[i].z};
        std::memcpy(&bits[3 * i], coordinates, sizeof(coordinates));
    }
    return bits;
}

// Sine and cosine of t = float((i / 25.0) * 6.283184) for i = 0..24, each taken
// in double and rounded to float: the unit circle's x and z bits. Point 1 is
// about (0.2486898, 0.9685832), point 24 about (-0.2486912, 0.9685828).
const std::uint32_t kUnitCircleBits[25][2] = {
    {0x00000000, 0x3F800000}, {0x3E7EA88D, 0x3F77F511}, {0x3EF6A868, 0x3F6055A3}, {0x3F2F3E79, 0x3F3A9DB2},
    {0x3F5825DE, 0x3F092BF5}, {0x3F737870, 0x3E9E3780}, {0x3F7F7EAE, 0x3D80987E}, {0x3F7B772E, 0xBE3FE0CC},
    {0x3F67A2C2, 0xBED9FFB3}, {0x3F454061, 0xBF232E31}, {0x3F16791E, 0xBF4F1BB9}, {0x3EBC7AE3, 0xBF6E05D2},
    {0x3E005788, 0xBF7DFB39}, {0xBE005735, 0xBF7DFB3C}, {0xBEBC7ABC, 0xBF6E05D9}, {0xBF16790D, 0xBF4F1BC5},
    {0xBF454053, 0xBF232E42}, {0xBF67A2BA, 0xBED9FFD2}, {0xBF7B772A, 0xBE3FE126}, {0xBF7F7EAF, 0x3D8097D6},
    {0xBF737875, 0x3E9E3760}, {0xBF5825EB, 0x3F092BE1}, {0xBF2F3E88, 0x3F3A9DA4}, {0xBEF6A888, 0x3F60559B},
    {0xBE7EA8E8, 0x3F77F50B},
};

TEST(VisualizationStore, CirclesStartAtPlusZAroundYAndAtPlusYAroundZ)
{
    Visualization visualization;
    visualization.AddCircle(Vector3(0, 0, 0), 1.0f, 0xFF00FF00, true);
    visualization.AddPermanentCircle(Vector3(1, 2, 3), 2.0f, 0xFF0000FF, false);
    ASSERT_EQ(1u, visualization.GetTemporaryPaths().size());
    ASSERT_EQ(1u, visualization.GetPermanentPaths().size());
    const Skidwell::PathPrimitive& flat = visualization.GetTemporaryPaths()[0];
    EXPECT_TRUE(flat.closed);
    EXPECT_EQ(0xFF00FF00u, flat.color);

    std::vector<Vector3> unit;
    std::vector<Vector3> upright;
    for (const auto& bits : kUnitCircleBits) {
        const float sine = FloatFromBits(bits[0]);
        const float cosine = FloatFromBits(bits[1]);
        unit.push_back(Vector3(sine, 0, cosine));
        upright.push_back(Vector3(1.0f + 2.0f * sine, 2.0f + 2.0f * cosine, 3.0f));
    }
    EXPECT_EQ(Bits(unit), Bits(flat.points));
    EXPECT_EQ(Bits(upright), Bits(visualization.GetPermanentPaths()[0].points));
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
    const std::vector<Vector3> added = points;
    points.clear();
    ASSERT_EQ(1u, visualization.GetPermanentPaths().size());
    const Skidwell::PathPrimitive& path = visualization.GetPermanentPaths()[0];
    EXPECT_EQ(Bits(added), Bits(path.points));
    EXPECT_EQ(0xFF808080u, path.color);
    EXPECT_FALSE(path.closed);
}

} // namespace
