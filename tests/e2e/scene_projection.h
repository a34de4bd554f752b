// End-to-end test support: where the curve test's view puts a point of the
// plane y = 0 on the drawing surface, worked out independently of the program
// (perspective with f = 1/tan(35 rad) and a 4:3 aspect, camera 5 units above
// the origin looking down with -z up), and points of the closed test curve.
#pragma once

namespace kwE2e {

struct PixelPosition {
    double x; // from the surface's left edge
    double y; // from the surface's top edge
};

PixelPosition ProjectCurveTestPoint(double worldX, double worldZ, int surfaceWidth, int surfaceHeight);

// The six control points of the test curve, (x, z) in the plane y = 0.
extern const double kControlPoints[6][2];

// A point of segment `segment` of the closed curve through the control points
// (uniform Catmull-Rom handles), at parameter t.
void CurvePoint(int segment, double t, double& worldX, double& worldZ);

} // namespace kwE2e
