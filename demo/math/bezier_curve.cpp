// Skidwell: Bezier evaluation, derivative, chain building and sampling. Each
// Vector3 operation rounds to 32-bit floats, so the order of operations below
// is part of the result.
#include "math/bezier_curve.h"

namespace Skidwell {

namespace {

// One segment from a window of four consecutive points: the handles are a
// sixth of the chord between the neighbours (uniform Catmull-Rom tangents).
BezierSegment MakeSegment(const Vector3& previous, const Vector3& current, const Vector3& next,
                          const Vector3& afterNext)
{
    BezierSegment segment;
    segment.p0 = current;
    segment.p3 = next;
    // A true vector division by 6, not a multiplication by its reciprocal.
    segment.p1 = segment.p0 + (segment.p3 - previous) / 6.0f;
    segment.p2 = segment.p3 - (afterNext - segment.p0) / 6.0f;
    return segment;
}

} // namespace

Vector3 EvaluateBezier(float t, const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3)
{
    const Vector3 a = Lerp(t, p0, p1);
    const Vector3 b = Lerp(t, p1, p2);
    const Vector3 c = Lerp(t, p2, p3);
    const Vector3 d = Lerp(t, a, b);
    const Vector3 e = Lerp(t, b, c);
    return Lerp(t, d, e);
}

Vector3 EvaluateBezierDerivative(float t, const Vector3& p0, const Vector3& p1, const Vector3& p2,
                                 const Vector3& p3)
{
    // Power-basis coefficients of 3t^2 A + 2t B + C, grouped as written.
    const Vector3 a = ((p3 - p2 * 3.0f) + p1 * 3.0f) - p0;
    const Vector3 b = p0 * 3.0f + (p2 * 3.0f - p1 * 6.0f);
    const Vector3 c = p1 * 3.0f - p0 * 3.0f;
    const float u = t + t;
    const float w = (3.0f * t) * t;
    return c + (b * u + a * w);
}

void BezierCurve::AddSegment(const BezierSegment& segment) { mSegments.push_back(segment); }

void BezierCurve::BuildFromPoints(const std::vector<Vector3>& points, bool closed)
{
    mSegments.clear();
    const size_t count = points.size();
    if (count < 2) {
        return;
    }
    mSegments.reserve(count - 1);

    Vector3 previous = closed ? points[count - 1] : points[0];
    Vector3 current = points[0];
    Vector3 next = points[1];
    Vector3 afterNext = count > 2 ? points[2] : points[1];

    // All but the last segment advance the window; the last is emitted after.
    const size_t advancingSegments = closed ? count - 1 : count - 2;
    for (size_t k = 0; k < advancingSegments; ++k) {
        AddSegment(MakeSegment(previous, current, next, afterNext));
        previous = points[k];
        current = points[k + 1];
        if (closed) {
            next = points[(k + 2) % count];
            afterNext = points[(k + 3) % count];
        } else {
            next = points[k + 2];
            // Past the end the arriving handle collapses onto the end point.
            afterNext = k + 3 < count ? points[k + 3] : current;
        }
    }
    AddSegment(MakeSegment(previous, current, next, afterNext));
}

void BezierCurve::SamplePoints(std::vector<Vector3>& output, const size_t& pointsPerSegment) const
{
    output.clear();
    output.reserve(mSegments.size() * pointsPerSegment);
    for (const BezierSegment& segment : mSegments) {
        for (size_t i = 0; i < pointsPerSegment; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(pointsPerSegment);
            output.push_back(EvaluateBezier(t, segment.p0, segment.p1, segment.p2, segment.p3));
        }
    }
}

} // namespace Skidwell
