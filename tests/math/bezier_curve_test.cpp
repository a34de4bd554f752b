// Tests of the Bezier curve: chains built from points (open, closed, two
// points, too few points), exact control points, evaluation and derivative
// values, and sampling. Expected bit patterns were worked out independently in
// single precision, one rounding per vector operation.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <vector>

#include <gtest/gtest.h>

using kwTest::HasBits;
using kwTest::SameBits;
using Skidwell::BezierCurve;
using Skidwell::BezierSegment;
using Skidwell::EvaluateBezier;
using Skidwell::EvaluateBezierDerivative;
using Skidwell::Vector3;

namespace {

const std::vector<Vector3> kSixPoints = {
    Vector3(-1.0f, 0.0f, 0.0f), Vector3(-1.0f, 0.0f, 0.5f), Vector3(0.0f, 0.0f, 0.25f),
    Vector3(1.0f, 0.0f, 0.5f),  Vector3(1.0f, 0.0f, 0.0f),  Vector3(0.0f, 0.0f, -1.0f),
};

Vector3 Derivative(const BezierSegment& s, float t) { return EvaluateBezierDerivative(t, s.p0, s.p1, s.p2, s.p3); }

} // namespace

TEST(BezierCurveTest, ClosedSixPointCurveHasExactControlPoints)
{
    BezierCurve curve;
    curve.BuildFromPoints(kSixPoints, true);
    ASSERT_EQ(curve.GetSegmentCount(), 6u);

    const BezierSegment& first = curve.GetSegment(0);
    EXPECT_TRUE(HasBits(first.p0, 0xBF800000, 0, 0));
    EXPECT_TRUE(HasBits(first.p1, 0xBF955555, 0, 0x3E800000)); // (-1.1666666, 0, 0.25)
    EXPECT_TRUE(HasBits(first.p2, 0xBF955555, 0, 0x3EEAAAAB)); // (-1.1666666, 0, 0.45833334)
    EXPECT_TRUE(HasBits(first.p3, 0xBF800000, 0, 0x3F000000));

    const BezierSegment& second = curve.GetSegment(1);
    EXPECT_TRUE(HasBits(second.p1, 0xBF555555, 0, 0x3F0AAAAB));
    EXPECT_TRUE(HasBits(second.p2, 0xBEAAAAAB, 0, 0x3E800000));

    // Segment k runs from P[k] to P[k+1]; the last closes back to P[0].
    for (size_t k = 0; k < 6; ++k) {
        EXPECT_TRUE(SameBits(curve.GetSegment(k).p0, kSixPoints[k])) << "segment " << k;
        EXPECT_TRUE(SameBits(curve.GetSegment(k).p3, kSixPoints[(k + 1) % 6])) << "segment " << k;
    }
}

TEST(BezierCurveTest, DerivativeAtTheEndsOfASegment)
{
    BezierCurve curve;
    curve.BuildFromPoints(kSixPoints, true);
    const BezierSegment& first = curve.GetSegment(0);

    EXPECT_TRUE(HasBits(Derivative(first, 0.0f), 0xBF000000, 0, 0x3F400000)); // (-0.5, 0, 0.75)
    EXPECT_TRUE(HasBits(Derivative(first, 1.0f), 0x3F000000, 0, 0x3E000000)); // (0.5, 0, 0.125)
    EXPECT_TRUE(HasBits(Derivative(first, 0.5f), 0, 0, 0x3F080000));          // (0, 0, 0.53125)
}

TEST(BezierCurveTest, SamplingTheClosedCurve)
{
    BezierCurve curve;
    curve.BuildFromPoints(kSixPoints, true);
    std::vector<Vector3> samples(3, Vector3(9.0f, 9.0f, 9.0f));
    curve.SamplePoints(samples, 25);

    ASSERT_EQ(samples.size(), 150u);
    EXPECT_TRUE(HasBits(samples[0], 0xBF800000, 0, 0));           // (-1, 0, 0)
    EXPECT_TRUE(HasBits(samples[25], 0xBF800000, 0, 0x3F000000)); // (-1, 0, 0.5)
    // t = 1/25 and t = 24/25 on the first and last segments: de Casteljau in order.
    EXPECT_TRUE(HasBits(samples[1], 0xBF827525, 0, 0x3CF40E59));
    EXPECT_TRUE(HasBits(samples[149], 0xBF7A7A85, 0, 0xBD0461F8));
    EXPECT_TRUE(HasBits(samples[12], 0xBF8FF972, 0, 0x3EA27F1B));
}

TEST(BezierCurveTest, EmptySampling)
{
    BezierCurve curve;
    std::vector<Vector3> samples(4);
    curve.SamplePoints(samples, 25);
    EXPECT_TRUE(samples.empty());

    curve.BuildFromPoints(kSixPoints, true);
    samples.resize(4);
    curve.SamplePoints(samples, 0);
    EXPECT_TRUE(samples.empty());
}

TEST(BezierCurveTest, TwoPointOpenCurveIsOneStraightSegment)
{
    BezierCurve curve;
    curve.BuildFromPoints({Vector3(1.0f, 2.0f, 3.0f), Vector3(7.0f, -4.0f, 15.0f)}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 1u);
    const BezierSegment& s = curve.GetSegment(0);
    EXPECT_TRUE(SameBits(s.p0, Vector3(1.0f, 2.0f, 3.0f)));
    EXPECT_TRUE(SameBits(s.p1, Vector3(2.0f, 1.0f, 5.0f)));   // one sixth of the chord
    EXPECT_TRUE(SameBits(s.p2, Vector3(6.0f, -3.0f, 13.0f))); // five sixths
    EXPECT_TRUE(SameBits(s.p3, Vector3(7.0f, -4.0f, 15.0f)));
}

TEST(BezierCurveTest, TwoPointClosedCurveGoesThereAndBack)
{
    const Vector3 a(1.0f, 2.0f, 3.0f);
    const Vector3 b(7.0f, -4.0f, 15.0f);
    BezierCurve curve;
    curve.BuildFromPoints({a, b}, true);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);

    const BezierSegment& there = curve.GetSegment(0);
    EXPECT_TRUE(SameBits(there.p0, a));
    EXPECT_TRUE(SameBits(there.p1, a));
    EXPECT_TRUE(SameBits(there.p2, Vector3(6.0f, -3.0f, 13.0f)));
    EXPECT_TRUE(SameBits(there.p3, b));

    const BezierSegment& back = curve.GetSegment(1);
    EXPECT_TRUE(SameBits(back.p0, b));
    EXPECT_TRUE(SameBits(back.p1, b));
    EXPECT_TRUE(SameBits(back.p2, a));
    EXPECT_TRUE(SameBits(back.p3, a));
}

TEST(BezierCurveTest, OpenCurveEndsWithAZeroLengthHandle)
{
    BezierCurve curve;
    curve.BuildFromPoints({Vector3(0.0f, 0.0f, 0.0f), Vector3(1.0f, 0.0f, 2.0f), Vector3(3.0f, 0.0f, -1.0f)}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);

    const BezierSegment& first = curve.GetSegment(0);
    EXPECT_TRUE(HasBits(first.p1, 0x3E2AAAAB, 0, 0x3EAAAAAB)); // start handle: a sixth of the first chord
    EXPECT_TRUE(HasBits(first.p2, 0x3F000000, 0, 0x400AAAAB));

    const BezierSegment& last = curve.GetSegment(1);
    EXPECT_TRUE(HasBits(last.p1, 0x3FC00000, 0, 0x3FEAAAAB));
    EXPECT_TRUE(SameBits(last.p2, Vector3(3.0f, 0.0f, -1.0f)));
    EXPECT_TRUE(HasBits(Derivative(last, 1.0f), 0, 0, 0));
}

TEST(BezierCurveTest, RebuildingReplacesTheChain)
{
    BezierCurve curve;
    curve.AddSegment(BezierSegment());
    curve.BuildFromPoints(kSixPoints, true);
    curve.BuildFromPoints({Vector3(1.0f, 2.0f, 3.0f), Vector3(7.0f, -4.0f, 15.0f)}, false);
    ASSERT_EQ(curve.GetSegmentCount(), 1u);
    EXPECT_TRUE(SameBits(curve.GetSegment(0).p1, Vector3(2.0f, 1.0f, 5.0f)));

    BezierSegment extra;
    extra.p3 = Vector3(4.0f, 5.0f, 6.0f);
    curve.AddSegment(extra);
    ASSERT_EQ(curve.GetSegmentCount(), 2u);
    EXPECT_TRUE(SameBits(curve.GetSegment(1).p3, extra.p3));
}

TEST(BezierCurveTest, FewerThanTwoPointsLeaveTheCurveEmpty)
{
    BezierCurve curve;
    curve.BuildFromPoints(kSixPoints, false);
    // One point in a list of exactly one: the sanitizer build catches any read past it.
    curve.BuildFromPoints(std::vector<Vector3>(1, Vector3(1.0f, 1.0f, 1.0f)), true);
    EXPECT_EQ(curve.GetSegmentCount(), 0u);

    curve.BuildFromPoints(kSixPoints, false);
    curve.BuildFromPoints(std::vector<Vector3>(), false);
    EXPECT_EQ(curve.GetSegmentCount(), 0u);
}
