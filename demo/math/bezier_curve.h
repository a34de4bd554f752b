// Skidwell: cubic Bezier segments and curves made of them: evaluation of a
// point and of the first derivative, a Catmull-Rom style chain through a list
// of points, and sampling for drawing. All arithmetic is Vector3 arithmetic.
#pragma once

#include "math/vector3.h"

#include <cstddef>
#include <vector>

namespace Skidwell {

// Starts at p0 (t = 0) and ends at p3 (t = 1); p1 leaves p0, p2 arrives at p3.
struct BezierSegment {
    Vector3 p0;
    Vector3 p1;
    Vector3 p2;
    Vector3 p3;
};

// De Casteljau's construction; t is not clamped.
Vector3 EvaluateBezier(float t, const Vector3& p0, const Vector3& p1, const Vector3& p2, const Vector3& p3);

// dP/dt, not normalised.
Vector3 EvaluateBezierDerivative(float t, const Vector3& p0, const Vector3& p1, const Vector3& p2,
                                 const Vector3& p3);

class BezierCurve {
public:
    BezierCurve() {}

    void AddSegment(const BezierSegment& segment);

    // Replaces the chain by one through every point in order, closing back to
    // the first point when closed is set. Fewer than two points leave it empty.
    void BuildFromPoints(const std::vector<Vector3>& points, bool closed);

    // Replaces output with pointsPerSegment samples of every segment, t from 0
    // up to but not including 1.
    void SamplePoints(std::vector<Vector3>& output, const size_t& pointsPerSegment) const;

    size_t GetSegmentCount() const { return mSegments.size(); }
    // index must be below GetSegmentCount().
    const BezierSegment& GetSegment(size_t index) const { return mSegments[index]; }

private:
    std::vector<BezierSegment> mSegments;
};

} // namespace Skidwell
