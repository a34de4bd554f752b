// Skidwell: the curve test's figure, drawn by both Skidwell programs: six
// points as thick white rings, the closed curve through them as a grey path,
// and a marker that runs along the curve with its tangent, its side line and
// the four control points of its segment.
#pragma once

#include "math/bezier_curve.h"
#include "math/vector3.h"
#include "visualization/scene_view.h"
#include "visualization/visualization.h"

#include <cstddef>
#include <vector>

namespace Skidwell {

// Looks straight down on y = 0: +x to the right, -z towards the top.
extern const SceneCamera kCurveTestCamera;

// The outermost of the four circles that make up a point's ring.
const float kRingOuterRadius = 0.027f;

// The six points, in order, all in the plane y = 0.
std::vector<Vector3> CurveTestPoints();

// Builds curve as the closed chain through points and adds the figure to the
// store's permanent primitives: four white circles per point, then the curve
// sampled 25 times a segment.
void AddCurveFigure(Visualization& visualization, BezierCurve& curve, const std::vector<Vector3>& points);

// The marker's parameter one simulation step later: 0.01 further, back to 0
// once its whole part reaches segmentCount. The integer part is the segment
// the marker is on, the fraction t within it.
float AdvanceCurveParameter(float parameter, std::size_t segmentCount);

// Adds the marker at parameter to the store's temporary primitives. The curve
// must have a segment at the parameter's integer part.
void AddCurveMarker(Visualization& visualization, const BezierCurve& curve, float parameter);

} // namespace Skidwell
