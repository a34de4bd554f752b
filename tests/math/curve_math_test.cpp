// Tests of the curve mathematics, exact to the bit: vector operations round in
// their own order, chains are built through points with true divisions by 6,
// and segments are evaluated and sampled at the parameters the rules give.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <cmath>

#include <gtest/gtest.h>

using kwTest::Hex;
using namespace Skidwell;

namespace {

const std::vector<Vector3> kSixPoints = {Vector3(-1, 0, 0), Vector3(-1, 0, 0.5f), Vector3(0, 0, 0.25f),
                                         Vector3(1, 0, 0.5f), Vector3(1, 0, 0), Vector3(0, 0, -1)};

// "p1 p2; " of every segment, and whether each starts and ends where its points say.
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

TEST(CurveMath, VectorOperationsRoundInTheirOwnOrder)
{
    const Vector3 a(0.1f, -2.5f, 3.3f), b(7.7f, 0.3f, -1.1f);
    const std::pair<Vector3, const char*> cases[] = {
        {Lerp(0.0f, a, b), "3dcccccd c0200000 40533333"}, // a itself
        {Lerp(1.0f, a, b), "40f66666 3e999998 bf8cccce"}, // a + (b - a) misses b in the last bit
        {Lerp(2.0f, a, b), "4174cccd 40466666 c0b00000"}, // not clamped
        {Vector3(3, 0, 4).Normalized(), "3f19999a 0 3f4ccccd"},
        // Regrouping the squared length or multiplying by its reciprocal changes these bits.
        {Vector3(0.1f, -0.3f, 2.1f).Normalized(), "3d40df86 be10a7a4 3f7d255e"},
        {Vector3(7, 0, 0) / 3.0f, "40155555 0 0"}, // 7 * (1/3) would be 40155556
        {Vector3(1, -1, 2) / 0.0f, "7f800000 ff800000 7f800000"},
        {-Vector3(), "80000000 80000000 80000000"},
        {Vector3(1, 0, 0).Cross(Vector3(0, 1, 0)), "0 0 3f800000"},
        {Vector3(1.5f, -2, 0.25f).Cross(Vector3(-3, 0.5f, 4)), "c1020000 c0d80000 c0a80000"},
        {-Vector3(-3, 0.5f, 4).Cross(Vector3(1.5f, -2, 0.25f)), "c1020000 c0d80000 c0a80000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Hex(c.first), c.second);
    }
    Vector3 zero;
    zero.Normalize();
    EXPECT_TRUE(std::isnan(zero.x) && std::isnan(zero.y) && std::isnan(zero.z) && std::isnan((Vector3() / 0.0f).x));
}

TEST(CurveMath, ChainsThroughPointsHaveTheirHandlesToTheBit)
{
    // Closed six: (-1.1666666, 0, 0.25), (-1.1666666, 0, 0.45833334), ...
    EXPECT_EQ(Handles(kSixPoints, true),
              "6: bf955555 0 3e800000 bf955555 0 3eeaaaab; bf555555 0 3f0aaaab beaaaaab 0 3e800000; "
              "3eaaaaab 0 3e800000 3f555555 0 3f0aaaab; 3f955555 0 3eeaaaab 3f955555 0 3e800000; "
              "3f555555 0 be800000 3eaaaaab 0 bf800000; beaaaaab 0 bf800000 bf555555 0 be800000; ");
    // Open: inner handles from both neighbours, the last arriving handle on the end point.
    EXPECT_EQ(Handles({Vector3(0, 0, 0), Vector3(1, 0, 2), Vector3(3, 0, -1), Vector3(4, 0, 1), Vector3(6, 0, 0)}, false),
              "4: 3e2aaaab 0 3eaaaaab 3f000000 0 400aaaab; 3fc00000 0 3feaaaab 40200000 0 bf555555; "
              "40600000 0 bf955555 40600000 0 3f555555; 40900000 0 3f955555 40c00000 0 0; ");
    // Two points: a sixth of the chord (true divisions: 7 * (1/6) would give 3f955556, 40baaaaa);
    // closed, there and back with each end's outer handle on its end point.
    EXPECT_EQ(Handles({Vector3(), Vector3(7, 0, 0)}, false), "1: 3f955555 0 0 40baaaab 0 0; ");
    EXPECT_EQ(Handles({Vector3(1, 2, 3), Vector3(7, -4, 15)}, true),
              "2: " + Hex(Vector3(1, 2, 3)) + " 40c00000 c0400000 41500000; " + Hex(Vector3(7, -4, 15)) + " " + Hex(Vector3(1, 2, 3)) + "; ");
    // Fewer than two points leave the curve empty (one point: the sanitizer build sees any read past it).
    EXPECT_EQ(Handles(std::vector<Vector3>(1), true), "0: ");
}

TEST(CurveMath, SegmentsEvaluatedAndSampled)
{
    BezierCurve curve;
    curve.BuildFromPoints(kSixPoints, false);
    curve.BuildFromPoints(kSixPoints, true); // a rebuild replaces the chain
    const BezierSegment& s = curve.GetSegment(0);
    // (-0.5, 0, 0.75) at the start, (0.5, 0, 0.125) at the end; at 0.03, (3t)t and 3(t t) round apart.
    EXPECT_EQ(Hex(EvaluateBezierDerivative(0, s.p0, s.p1, s.p2, s.p3)) + " " + Hex(EvaluateBezierDerivative(1, s.p0, s.p1, s.p2, s.p3)) +
                  " " + Hex(EvaluateBezierDerivative(0.03f, s.p0, s.p1, s.p2, s.p3)),
              "bf000000 0 3f400000 3f000000 0 3e000000 bef0a3d7 0 3f3dfe5d");
    BezierCurve open;
    open.BuildFromPoints({Vector3(), Vector3(1, 0, 2), Vector3(3, 0, -1)}, false);
    const BezierSegment& last = open.GetSegment(1);
    EXPECT_EQ(Hex(EvaluateBezierDerivative(1, last.p0, last.p1, last.p2, last.p3)), "0 0 0"); // zero-length end handle

    std::vector<Vector3> samples(3);
    curve.SamplePoints(samples, 25);
    ASSERT_EQ(samples.size(), 150u);
    // Each segment starts at its point exactly; t = 1/25, 12/25 and 24/25 by de Casteljau.
    EXPECT_EQ(Hex(samples[0]) + " " + Hex(samples[25]) + " " + Hex(samples[1]) + " " + Hex(samples[12]) + " " + Hex(samples[149]),
              "bf800000 0 0 bf800000 0 3f000000 bf827525 0 3cf40e59 bf8ff972 0 3ea27f1b bf7a7a85 0 bd0461f8");
    curve.SamplePoints(samples, 0);
    EXPECT_TRUE(samples.empty());
    samples.resize(2);
    BezierCurve().SamplePoints(samples, 25);
    EXPECT_TRUE(samples.empty());
}
