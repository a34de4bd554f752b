// Tests of the debug-drawing store and the axes: the exact OpenGL calls Render
// and DrawAxes make, recorded by the GL recorder.
#include "gl_recorder.h"
#include "visualization/visualization.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GlRecorder;
using Skidwell::Vector3;
using Skidwell::Visualization;

namespace {

// Nothing in the program hides a store; only a derived class can.
class HiddenVisualization : public Visualization {
public:
    HiddenVisualization() { mIsVisible = false; }
};

Call VertexAt(const Vector3& point) { return Vertex(point.x, point.y, point.z); }

// A Render whose line batch holds lines and whose triangle batch holds triangles.
std::vector<Call> RenderCalls(const std::vector<Call>& lines, const std::vector<Call>& triangles)
{
    return Join({{PushMatrix(), Disable(GL_LIGHTING), Begin(GL_LINES)}, lines, {End(), Begin(GL_TRIANGLES)}, triangles,
                 {End(), Enable(GL_LIGHTING), PopMatrix()}});
}

// A closed path of many points: its colour, each segment's two ends, then the closing segment.
std::vector<Call> ClosedPathCalls(const Call& color, const std::vector<Vector3>& points)
{
    std::vector<Call> calls = {color};
    for (size_t k = 1; k < points.size(); ++k) {
        calls.insert(calls.end(), {VertexAt(points[k - 1]), VertexAt(points[k])});
    }
    return Join({calls, {VertexAt(points.back()), VertexAt(points.front())}});
}

TEST(VisualizationRender, NewStoreBracketsTwoEmptyBatchesAndAHiddenStoreMakesNoCall)
{
    Visualization visualization;
    EXPECT_EQ(RenderCalls({}, {}), CallsOf([&] { visualization.Render(); }));

    HiddenVisualization hidden;
    hidden.AddLine(Vector3(0, 0, 0), Vector3(1, 1, 1), 0xFFFFFFFF);
    hidden.AddPermanentCircle(Vector3(0, 0, 0), 1.0f, 0xFFFFFFFF, true);
    EXPECT_TRUE(CallsOf([&] { hidden.Render(); }).empty());
}

TEST(VisualizationRender, PathsSendInnerPointsTwiceAndCloseBackToTheStart)
{
    const Vector3 a(1, 2, 3);
    const Vector3 b(-4, 5, -6);
    const Vector3 c(7, -8, 9);
    Visualization visualization;
    visualization.AddPermanentPath({a, b}, 0xFF112233, true);
    visualization.AddPermanentPath({a, b, c}, 0xFF445566, false);
    EXPECT_EQ(RenderCalls({Color3ub(0x11, 0x22, 0x33), VertexAt(a), VertexAt(b), VertexAt(b), VertexAt(a),
                           Color3ub(0x44, 0x55, 0x66), VertexAt(a), VertexAt(b), VertexAt(b), VertexAt(c)},
                          {}),
              CallsOf([&] { visualization.Render(); }));
}

TEST(VisualizationRender, CircleSendsTwentyFiveSegmentsWithOneColour)
{
    Visualization visualization;
    visualization.AddCircle(Vector3(0, 0, 0), 1.0f, 0xFF00FF00, true);
    const std::vector<Vector3>& points = visualization.GetTemporaryPaths().at(0).points;
    ASSERT_EQ(25u, points.size());
    const std::vector<Call> calls = CallsOf([&] { visualization.Render(); });
    EXPECT_EQ(RenderCalls(ClosedPathCalls(Color3ub(0x00, 0xFF, 0x00), points), {}), calls);
    // The second point and the last (the store tests hold the bits of all 25).
    EXPECT_EQ(Vertex(0.24868985f, 0.0f, 0.96858317f), calls.at(5));
    EXPECT_EQ(Vertex(-0.2486912f, 0.0f, 0.96858281f), calls.at(52));
}

TEST(VisualizationRender, ListsDrawInBatchOrderOnlyTrianglesSendAlphaAndClearingKeepsThePermanentOnes)
{
    const Vector3 o(0, 0, 0);
    const Vector3 x(1, 0, 0);
    const Vector3 z(0, 0, 1);
    Visualization visualization;
    // Added in the reverse of the drawing order, so insertion order cannot pass for it.
    visualization.AddTriangle(o, x, z, 0x80102030);
    visualization.AddLine(o, x, 0x7F010203);
    visualization.AddCircle(o, 1.0f, 0x00040506, true);
    visualization.AddPermanentTriangle(z, x, o, 0x01A0B0C0);
    visualization.AddPermanentLine(x, z, 0x02070809);
    visualization.AddPermanentPath({o, z}, 0x030A0B0C, false);

    const std::vector<Call> permanentLines = {Color3ub(0x0A, 0x0B, 0x0C), VertexAt(o), VertexAt(z),
                                              Color3ub(0x07, 0x08, 0x09), VertexAt(x), VertexAt(z)};
    const std::vector<Call> permanentTriangles = {Color4ub(0xA0, 0xB0, 0xC0, 0x01), VertexAt(z), VertexAt(x), VertexAt(o)};
    const std::vector<Call> temporaryLines =
        Join({ClosedPathCalls(Color3ub(0x04, 0x05, 0x06), visualization.GetTemporaryPaths().at(0).points),
              {Color3ub(0x01, 0x02, 0x03), VertexAt(o), VertexAt(x)}});
    const std::vector<Call> temporaryTriangles = {Color4ub(0x10, 0x20, 0x30, 0x80), VertexAt(o), VertexAt(x), VertexAt(z)};
    EXPECT_EQ(RenderCalls(Join({permanentLines, temporaryLines}), Join({temporaryTriangles, permanentTriangles})),
              CallsOf([&] { visualization.Render(); }));

    visualization.ClearTemporaryPrimitives();
    EXPECT_EQ(RenderCalls(permanentLines, permanentTriangles), CallsOf([&] { visualization.Render(); }));
}

TEST(VisualizationRender, AxesFromTheOriginWithNegativeHalvesAtHalfIntensity)
{
    const std::vector<Call> positive = {Color3f(1, 0, 0), Vertex(0, 0, 0), Vertex(2.5f, 0, 0),
                                        Color3f(0, 1, 0), Vertex(0, 0, 0), Vertex(0, 2.5f, 0),
                                        Color3f(0, 0, 1), Vertex(0, 0, 0), Vertex(0, 0, 2.5f)};
    const std::vector<Call> negative = {Color3f(0.5f, 0, 0), Vertex(0, 0, 0), Vertex(-2.5f, 0, 0),
                                        Color3f(0, 0.5f, 0), Vertex(0, 0, 0), Vertex(0, -2.5f, 0),
                                        Color3f(0, 0, 0.5f), Vertex(0, 0, 0), Vertex(0, 0, -2.5f)};
    EXPECT_EQ(Join({{Begin(GL_LINES)}, positive, {End()}}), CallsOf([] { Skidwell::DrawAxes(2.5f, false); }));
    EXPECT_EQ(Join({{Begin(GL_LINES)}, positive, negative, {End()}}), CallsOf([] { Skidwell::DrawAxes(2.5f, true); }));
}

} // namespace
