// Tests of the curve mathematics, exact to the bit: vector operations round in
// their own order, chains are built through points with true divisions by 6,
// and segments are evaluated and sampled at the parameters the rules give.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

using kwTest::Hex;
using namespace Skidwell;

namespace {

const std::vector<Vector3> kSixPoints = {Vector3(-1, 0, 0), Vector3(-1, 0, 0.5f), Vector3(0, 0, 0.25f),
                                         Vector3(1, 0, 0.5f), Vector3(1, 0, 0), Vector3(0, 0, -1)};

BezierCurve Build(const std::vector<Vector3>& points, bool closed)
{
    BezierCurve curve;
    curve.BuildFromPoints(points, closed);
    return curve;
}

std::string Hex(const BezierSegment& s)
{
    return kwTest::Hex(s.p0) + " | " + kwTest::Hex(s.p1) + " | " + kwTest::Hex(s.p2) + " | " + kwTest::Hex(s.p3);
}

Vector3 Derivative(const BezierSegment& s, float t) { return EvaluateBezierDerivative(t, s.p0, s.p1, s.p2, s.p3); }

} // namespace

TEST(CurveMath, VectorOperationsRoundInTheirOwnOrder)
{
    const Vector3 a(0.1f, -2.5f, 3.3f);
    const Vector3 b(7.7f, 0.3f, -1.1f);
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

TEST(CurveMath, ClosedChainThroughSixPointsEvaluatedAndSampled)
{
    const BezierCurve curve = Build(kSixPoints, true);
    ASSERT_EQ(curve.GetSegmentCount(), 6u);
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(Hex(curve.GetSegment(k).p0) + Hex(curve.GetSegment(k).p3), Hex(kSixPoints[k]) + Hex(kSixPoints[(k + 1) % 6]));
    }
    // (-1.1666666, 0, 0.25), (-1.1666666, 0, 0.45833334), then segment 1's handles.
    EXPECT_EQ(Hex(curve.GetSegment(0).p1) + " " + Hex(curve.GetSegment(0).p2), "bf955555 0 3e800000 bf955555 0 3eeaaaab");
    EXPECT_EQ(Hex(curve.GetSegment(1).p1) + " " + Hex(curve.GetSegment(1).p2), "bf555555 0 3f0aaaab beaaaaab 0 3e800000");
    // (-0.5, 0, 0.75) at the start, (0.5, 0, 0.125) at the end; at 0.03 (3t)t and 3(t t) round apart.
    const BezierSegment& first = curve.GetSegment(0);
    EXPECT_EQ(Hex(Derivative(first, 0)) + " " + Hex(Derivative(first, 1)) + " " + Hex(Derivative(first, 0.03f)),
              "bf000000 0 3f400000 3f000000 0 3e000000 bef0a3d7 0 3f3dfe5d");

    std::vector<Vector3> samples(3);
    curve.SamplePoints(samples, 25);
    ASSERT_EQ(samples.size(), 150u);
    // Each segment starts at its point exactly; t = 1/25, 12/25 and 24/25 by de Casteljau.
    EXPECT_EQ(Hex(samples[0]) + " " + Hex(samples[25]), "bf800000 0 0 bf800000 0 3f000000");
    EXPECT_EQ(Hex(samples[1]) + " " + Hex(samples[12]) + " " + Hex(samples[149]),
              "bf827525 0 3cf40e59 bf8ff972 0 3ea27f1b bf7a7a85 0 bd0461f8");
    curve.SamplePoints(samples, 0);
    EXPECT_TRUE(samples.empty());
    samples.resize(2);
    BezierCurve().SamplePoints(samples, 25);
    EXPECT_TRUE(samples.empty());
}

TEST(CurveMath, OpenChainsTwoPointChainsAndTooFewPoints)
{
    const Vector3 a(1, 2, 3);
    const Vector3 b(7, -4, 15);
    BezierCurve curve = Build(kSixPoints, true);
    // Each build replaces the chain; two open points give handles at 1/6 and 5/6 of the chord.
    curve.BuildFromPoints({a, b}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 1u);
    EXPECT_EQ(Hex(curve.GetSegment(0)), Hex(BezierSegment{a, Vector3(2, 1, 5), Vector3(6, -3, 13), b}));
    // True divisions: 7 * (1/6) would give 3f955556 and 40baaaaa.
    curve.BuildFromPoints({Vector3(), Vector3(7, 0, 0)}, false);
    EXPECT_EQ(Hex(curve.GetSegment(0).p1) + " " + Hex(curve.GetSegment(0).p2), "3f955555 0 0 40baaaab 0 0");
    curve.BuildFromPoints({a, b}, true);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);
    EXPECT_EQ(Hex(curve.GetSegment(0)) + " / " + Hex(curve.GetSegment(1)),
              Hex(BezierSegment{a, a, Vector3(6, -3, 13), b}) + " / " + Hex(BezierSegment{b, b, a, a}));

    // Open, five points: inner handles from both neighbours, the last arriving handle on the end point.
    curve.BuildFromPoints({Vector3(0, 0, 0), Vector3(1, 0, 2), Vector3(3, 0, -1), Vector3(4, 0, 1), Vector3(6, 0, 0)}, false);
    std::string chain;
    for (size_t k = 0; k < curve.GetSegmentCount(); ++k) {
        chain += Hex(curve.GetSegment(k).p1) + " " + Hex(curve.GetSegment(k).p2) + "; ";
    }
    EXPECT_EQ(chain, "3e2aaaab 0 3eaaaaab 3f000000 0 400aaaab; 3fc00000 0 3feaaaab 40200000 0 bf555555; "
                     "40600000 0 bf955555 40600000 0 3f555555; 40900000 0 3f955555 40c00000 0 0; ");
    EXPECT_EQ(Hex(Derivative(curve.GetSegment(3), 1)), "0 0 0");

    // Fewer than two points leave the curve empty (a one-point list: the sanitizer build sees any read past it).
    curve.BuildFromPoints(std::vector<Vector3>(1, a), true);
    EXPECT_EQ(curve.GetSegmentCount(), 0u);
}
