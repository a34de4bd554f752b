// Curves from raw bytes: a sample count, a closed flag, then any floats as points (and as t).
#include "math/bezier_curve.h"

#include <cstring>

using namespace Skidwell;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const std::size_t samplesPerSegment = data[0];
    const bool closed = (data[1] & 1) != 0;
    const std::size_t n = (size - 2) / sizeof(Vector3);
    std::vector<Vector3> points(n);
    if (n != 0) {
        std::memcpy(points.data(), data + 2, n * sizeof(Vector3));
    }
    std::size_t segments = 0; // fewer than two points make no curve
    if (n >= 2) {
        segments = closed ? n : n - 1;
    }

    BezierCurve curve;
    curve.BuildFromPoints(points, closed);
    std::vector<Vector3> samples(3); // what sampling replaces
    curve.SamplePoints(samples, samplesPerSegment);
    if (curve.GetSegmentCount() != segments || samples.size() != segments * samplesPerSegment) {
        __builtin_trap();
    }
    // Four points as a segment, evaluated at the fifth's x and y.
    for (std::size_t k = 0; k + 4 < n; ++k) {
        EvaluateBezierDerivative(points[k + 4].x, points[k], points[k + 1], points[k + 2], points[k + 3]);
        EvaluateBezier(points[k + 4].y, points[k], points[k + 1], points[k + 2], points[k + 3]);
    }
    return 0;
}
