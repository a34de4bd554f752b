// Tests of the Bezier curve: chains built from points (open, closed, two
// points, too few points), exact control points, evaluation and derivative
// values, and sampling. Expected bit patterns were worked out independently in
// single precision, one rounding per vector operation.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using Skidwell::BezierCurve;
using Skidwell::BezierSegment;
using Skidwell::EvaluateBezierDerivative;
using Skidwell::Vector3;

namespace {

using kwTest::Hex;

const std::vector<Vector3> kSixPoints = {
    Vector3(-1.0f, 0.0f, 0.0f), Vector3(-1.0f, 0.0f, 0.5f), Vector3(0.0f, 0.0f, 0.25f),
    Vector3(1.0f, 0.0f, 0.5f),  Vector3(1.0f, 0.0f, 0.0f),  Vector3(0.0f, 0.0f, -1.0f),
};

BezierCurve Build(const std::vector<Vector3>& points, bool closed)
{
    BezierCurve curve;
    curve.BuildFromPoints(points, closed);
    return curve;
}

Vector3 Derivative(const BezierSegment& s, float t) { return EvaluateBezierDerivative(t, s.p0, s.p1, s.p2, s.p3); }

std::string Hex(const BezierSegment& s) { return Hex(s.p0) + " | " + Hex(s.p1) + " | " + Hex(s.p2) + " | " + Hex(s.p3); }

} // namespace

TEST(BezierCurveTest, ClosedSixPointCurveHasExactControlPointsAndDerivatives)
{
    const BezierCurve curve = Build(kSixPoints, true);
    ASSERT_EQ(curve.GetSegmentCount(), 6u);
    const BezierSegment& first = curve.GetSegment(0);
    EXPECT_EQ(Hex(first.p1), "bf955555 0 3e800000"); // (-1.1666666, 0, 0.25)
    EXPECT_EQ(Hex(first.p2), "bf955555 0 3eeaaaab"); // (-1.1666666, 0, 0.45833334)
    EXPECT_EQ(Hex(curve.GetSegment(1).p1), "bf555555 0 3f0aaaab");
    EXPECT_EQ(Hex(curve.GetSegment(1).p2), "beaaaaab 0 3e800000");
    // Segment k runs from P[k] to P[k+1]; the last closes back to P[0].
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_EQ(Hex(curve.GetSegment(k).p0), Hex(kSixPoints[k])) << "segment " << k;
        EXPECT_EQ(Hex(curve.GetSegment(k).p3), Hex(kSixPoints[(k + 1) % 6])) << "segment " << k;
    }

    EXPECT_EQ(Hex(Derivative(first, 0.0f)), "bf000000 0 3f400000"); // (-0.5, 0, 0.75)
    EXPECT_EQ(Hex(Derivative(first, 1.0f)), "3f000000 0 3e000000"); // (0.5, 0, 0.125)
    EXPECT_EQ(Hex(Derivative(first, 0.5f)), "0 0 3f080000"); // (0, 0, 0.53125)
}

TEST(BezierCurveTest, Sampling)
{
    const BezierCurve curve = Build(kSixPoints, true);
    std::vector<Vector3> samples(3, Vector3(9.0f, 9.0f, 9.0f));
    curve.SamplePoints(samples, 25);
    ASSERT_EQ(samples.size(), 150u);
    EXPECT_EQ(Hex(samples[0]), "bf800000 0 0"); // (-1, 0, 0)
    EXPECT_EQ(Hex(samples[25]), "bf800000 0 3f000000"); // (-1, 0, 0.5)
    // t = 1/25 and t = 24/25 on the first and last segments: de Casteljau in order.
    EXPECT_EQ(Hex(samples[1]), "bf827525 0 3cf40e59");
    EXPECT_EQ(Hex(samples[149]), "bf7a7a85 0 bd0461f8");
    EXPECT_EQ(Hex(samples[12]), "bf8ff972 0 3ea27f1b");

    // No points per segment, or no segments: nothing.
    curve.SamplePoints(samples, 0);
    EXPECT_TRUE(samples.empty());
    samples.resize(4);
    BezierCurve().SamplePoints(samples, 25);
    EXPECT_TRUE(samples.empty());
}

TEST(BezierCurveTest, TwoPointsOrFewerAndRebuilding)
{
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(7.0f, -4.0f, 15.0f);
    const Vector3 fiveSixths(6.0f, -3.0f, 13.0f);
    // Each build replaces the chain before it.
    BezierCurve curve = Build(kSixPoints, true);
    curve.BuildFromPoints({a, b}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 1u);
    EXPECT_EQ(Hex(curve.GetSegment(0)), Hex(BezierSegment{a, Vector3(2.0f, 1.0f, 5.0f), fiveSixths, b}));
    // Handles are true divisions: 7 * (1/6) would give 3f955556 and 40baaaaa.
    curve.BuildFromPoints({Vector3(), Vector3(7.0f, 0.0f, 0.0f)}, false);
    EXPECT_EQ(Hex(curve.GetSegment(0).p1) + " " + Hex(curve.GetSegment(0).p2), "3f955555 0 0 40baaaab 0 0");

    // Closed: there and back, each end's outer handle on its end point.
    curve.BuildFromPoints({a, b}, true);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);
    EXPECT_EQ(Hex(curve.GetSegment(0)), Hex(BezierSegment{a, a, fiveSixths, b}));
    EXPECT_EQ(Hex(curve.GetSegment(1)), Hex(BezierSegment{b, b, a, a}));

    BezierSegment extra;
    extra.p3 = Vector3(4.0f, 5.0f, 6.0f);
    curve.AddSegment(extra);
    ASSERT_EQ(curve.GetSegmentCount(), 3u);
    EXPECT_EQ(Hex(curve.GetSegment(2)), Hex(extra));

    // Fewer than two points leave the curve empty. One point in a list of
    // exactly one: the sanitizer build catches any read past it.
    curve.BuildFromPoints(std::vector<Vector3>(1, a), true);
    EXPECT_EQ(curve.GetSegmentCount(), 0u);
    curve.AddSegment(extra);
    curve.BuildFromPoints(std::vector<Vector3>(), false);
    EXPECT_EQ(curve.GetSegmentCount(), 0u);
}

TEST(BezierCurveTest, OpenCurveEndsWithAZeroLengthHandle)
{
    const Vector3 end(3.0f, 0.0f, -1.0f);
    const BezierCurve curve = Build({Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 0.0f, 2.0f), end}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);
    EXPECT_EQ(Hex(curve.GetSegment(0).p1), "3e2aaaab 0 3eaaaaab"); // a sixth of the first chord
    EXPECT_EQ(Hex(curve.GetSegment(0).p2), "3f000000 0 400aaaab");
    EXPECT_EQ(Hex(curve.GetSegment(1).p1), "3fc00000 0 3feaaaab");
    EXPECT_EQ(Hex(curve.GetSegment(1).p2), Hex(end));
    EXPECT_EQ(Hex(Derivative(curve.GetSegment(1), 1.0f)), "0 0 0");
}
