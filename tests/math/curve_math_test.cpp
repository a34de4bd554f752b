// Tests of the curve mathematics where the state tests' trajectory and frames cannot reach: lengths
// rounded in their own order, IEEE results, chains through open and two-point lists, to the bit.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <gtest/gtest.h>

using kwTest::Hex;
using namespace Skidwell;

namespace {

// "p1 p2; " of every segment, and whether each runs from its point to the next.
std::string Handles(const std::vector<Vector3>& points, bool closed)
{
    BezierCurve curve;
    curve.BuildFromPoints(points, closed);
    std::string text = std::to_string(curve.GetSegmentCount()) + ": ";
    for (size_t k = 0; k < curve.GetSegmentCount(); ++k) {
        const BezierSegment& s = curve.GetSegment(k);
        const bool joined = Hex(s.p0) == Hex(points[k]) && Hex(s.p3) == Hex(points[(k + 1) % points.size()]);
        text += Hex(s.p1) + " " + Hex(s.p2) + (joined ? "; " : " (not joined); ");
    }
    return text;
}

} // namespace

TEST(CurveMath, VectorsAndChainsToTheBit)
{
    // Regrouping the squared length or multiplying by its reciprocal changes these bits.
    EXPECT_EQ(Hex(Vector3(0.1f, -0.3f, 2.1f).Normalized()), "3d40df86 be10a7a4 3f7d255e");
    EXPECT_EQ(Hex(Vector3().Normalized()),
              "ffc00000 ffc00000 ffc00000"); // no guard: 0 / 0 in every component

    // Open: inner handles from both neighbours, the last arriving handle on the end point.
    EXPECT_EQ(
        Handles({Vector3(0, 0, 0), Vector3(1, 0, 2), Vector3(3, 0, -1), Vector3(4, 0, 1), Vector3(6, 0, 0)},
                false),
        "4: 3e2aaaab 0 3eaaaaab 3f000000 0 400aaaab; 3fc00000 0 3feaaaab 40200000 0 bf555555; "
        "40600000 0 bf955555 40600000 0 3f555555; 40900000 0 3f955555 40c00000 0 0; ");
    // Two points: a sixth of the chord (true divisions: 7 * (1/6) would give 3f955556, 40baaaaa);
    // closed, there and back with each end's outer handle on its end point.
    EXPECT_EQ(Handles({Vector3(), Vector3(7, 0, 0)}, false), "1: 3f955555 0 0 40baaaab 0 0; ");
    EXPECT_EQ(Handles({Vector3(1, 2, 3), Vector3(7, -4, 15)}, true),
              "2: " + Hex(Vector3(1, 2, 3)) + " 40c00000 c0400000 41500000; " + Hex(Vector3(7, -4, 15)) +
                  " " + Hex(Vector3(1, 2, 3)) + "; ");
    // Fewer than two points leave the curve empty (one point: the sanitizer build sees any read past it).
    EXPECT_EQ(Handles(std::vector<Vector3>(1), true), "0: ");
}
