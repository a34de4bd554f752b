// End-to-end test support: projection of the curve test's scene, in double precision.
#include "scene_projection.h"

#include <cmath>

namespace kwE2e {

const double kControlPoints[6][2] = {{-1, 0}, {-1, 0.5}, {0, 0.25}, {1, 0.5}, {1, 0}, {0, -1}};

PixelPosition ProjectCurveTestPoint(double worldX, double worldZ, int surfaceWidth, int surfaceHeight)
{
    const double f = 1.0 / std::tan(35.0);
    const double eyeDistance = 5.0;
    // The camera maps world x to screen right and world -z to screen up.
    const double ndcX = (f / (4.0 / 3.0)) * worldX / eyeDistance;
    const double ndcY = f * -worldZ / eyeDistance;
    return PixelPosition{(ndcX + 1.0) / 2.0 * surfaceWidth, (1.0 - ndcY) / 2.0 * surfaceHeight};
}

void CurvePoint(int segment, double t, double& worldX, double& worldZ)
{
    const double* before = kControlPoints[(segment + 5) % 6];
    const double* start = kControlPoints[segment % 6];
    const double* end = kControlPoints[(segment + 1) % 6];
    const double* after = kControlPoints[(segment + 2) % 6];
    double coordinate[2];
    for (int i = 0; i < 2; ++i) {
        const double p0 = start[i];
        const double p1 = start[i] + (end[i] - before[i]) / 6.0;
        const double p2 = end[i] - (after[i] - start[i]) / 6.0;
        const double p3 = end[i];
        const double u = 1.0 - t;
        coordinate[i] = u * u * u * p0 + 3.0 * u * u * t * p1 + 3.0 * u * t * t * p2 + t * t * t * p3;
    }
    worldX = coordinate[0];
    worldZ = coordinate[1];
}

} // namespace kwE2e
