// Skidwell: the curve test's figure: the points' rings and the sampled curve
// as permanent primitives, the marker as temporary ones. No OpenGL calls.
#include "visualization/curve_figure.h"

namespace Skidwell {

namespace {

const Color kWhite = 0xFFFFFFFF;
const Color kGrey = 0xFF808080;
const Color kGreen = 0xFF00FF00;
const Color kDarkGreen = 0xFF008800;
const Color kRed = 0xFFFF0000;
const Color kMagenta = 0xFFFF00FF;
const Color kPurple = 0xFF880088;
const Color kTeal = 0xFF008888;
const Color kCyan = 0xFF00FFFF;

const float kRingRadii[] = {0.024f, 0.025f, 0.026f, kRingOuterRadius};
const size_t kSamplesPerSegment = 25;
const float kParameterStep = 0.01f;
const float kMarkerRadius = 0.05f;
const float kDirectionLength = 0.5f;

} // namespace

const SceneCamera kCurveTestCamera = {Vector3(0.0f, 5.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f),
                                      Vector3(0.0f, 0.0f, -1.0f)};

std::vector<Vector3> CurveTestPoints()
{
    return {Vector3(-1.0f, 0.0f, 0.0f), Vector3(-1.0f, 0.0f, 0.5f), Vector3(0.0f, 0.0f, 0.25f),
            Vector3(1.0f, 0.0f, 0.5f),  Vector3(1.0f, 0.0f, 0.0f),  Vector3(0.0f, 0.0f, -1.0f)};
}

void AddCurveFigure(Visualization& visualization, BezierCurve& curve, const std::vector<Vector3>& points)
{
    // Four close white circles per point show as one thick ring.
    for (const Vector3& point : points) {
        for (float radius : kRingRadii) {
            visualization.AddPermanentCircle(point, radius, kWhite, true);
        }
    }

    curve.BuildFromPoints(points, true);
    std::vector<Vector3> samples;
    curve.SamplePoints(samples, kSamplesPerSegment);
    // Left open on purpose: a gap of one sample step stays before the first point.
    visualization.AddPermanentPath(samples, kGrey, false);
}

float AdvanceCurveParameter(float parameter, std::size_t segmentCount)
{
    // Incremented before the test: the marker never stands at the segment count.
    parameter += kParameterStep;
    if (static_cast<size_t>(parameter) >= segmentCount) {
        parameter = 0.0f;
    }
    return parameter;
}

void AddCurveMarker(Visualization& visualization, const BezierCurve& curve, float parameter)
{
    const size_t segmentIndex = static_cast<size_t>(parameter);
    const float t = parameter - static_cast<float>(segmentIndex);
    const BezierSegment& segment = curve.GetSegment(segmentIndex);

    const Vector3 position = EvaluateBezier(t, segment.p0, segment.p1, segment.p2, segment.p3);
    const Vector3 derivative = EvaluateBezierDerivative(t, segment.p0, segment.p1, segment.p2, segment.p3);
    const Vector3 side = derivative.Normalized().Cross(Vector3(0.0f, 1.0f, 0.0f));

    visualization.AddCircle(position, kMarkerRadius, kGreen, true);
    visualization.AddLine(position, position + derivative.Normalized() * kDirectionLength, kGreen);
    visualization.AddLine(position, position + derivative.Normalized() * -kDirectionLength, kDarkGreen);
    visualization.AddLine(position, position + side.Normalized() * kDirectionLength, kRed);
    visualization.AddCircle(segment.p0, kMarkerRadius, kMagenta, true);
    visualization.AddCircle(segment.p1, kMarkerRadius, kPurple, true);
    visualization.AddCircle(segment.p2, kMarkerRadius, kTeal, true);
    visualization.AddCircle(segment.p3, kMarkerRadius, kCyan, true);
}

} // namespace Skidwell
