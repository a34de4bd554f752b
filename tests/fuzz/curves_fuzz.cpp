// Curves from raw bytes: a sample count, a closed flag, then any floats as points (and as t).
#include "math/bezier_curve.h"
#include <cstring>
using namespace Skidwell;

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t n = (size - 2) / sizeof(Vector3), segments = n < 2 ? 0 : n - !(data[1] & 1);
    std::vector<Vector3> points(n), samples(3); // what sampling replaces
    if (n != 0)
        std::memcpy(points.data(), data + 2, n * sizeof(Vector3));
    BezierCurve curve;
    curve.BuildFromPoints(points, data[1] & 1);
    curve.SamplePoints(samples, data[0]);
    if (curve.GetSegmentCount() != segments || samples.size() != segments * data[0])
        __builtin_trap();
    for (std::size_t k = 0; k + 4 < n; ++k) // four points as a segment, evaluated at the fifth's x and y
        EvaluateBezierDerivative(points[k + 4].x, points[k], points[k + 1], points[k + 2], points[k + 3]),
            EvaluateBezier(points[k + 4].y, points[k], points[k + 1], points[k + 2], points[k + 3]);
    return 0;
}
