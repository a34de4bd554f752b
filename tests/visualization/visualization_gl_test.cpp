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

// The calls of a Render whose line batch holds lineCalls and whose triangle
// batch holds triangleCalls.
std::vector<Call> RenderCalls(const std::vector<Call>& lineCalls, const std::vector<Call>& triangleCalls)
{
    std::vector<Call> calls = {PushMatrix(), Disable(GL_LIGHTING), Begin(GL_LINES)};
    calls.insert(calls.end(), lineCalls.begin(), lineCalls.end());
    calls.push_back(End());
    calls.push_back(Begin(GL_TRIANGLES));
    calls.insert(calls.end(), triangleCalls.begin(), triangleCalls.end());
    calls.push_back(End());
    calls.push_back(Enable(GL_LIGHTING));
    calls.push_back(PopMatrix());
    return calls;
}

class VisualizationRender : public testing::Test {
protected:
    void SetUp() override { Clear(); }
};

TEST_F(VisualizationRender, NewStoreBracketsTwoEmptyBatches)
{
    Visualization visualization;
    visualization.Render();
    EXPECT_EQ(RenderCalls({}, {}), GetCalls());
}

TEST_F(VisualizationRender, InvisibleStoreMakesNoCall)
{
    HiddenVisualization visualization;
    visualization.AddLine(Vector3(0, 0, 0), Vector3(1, 1, 1), 0xFFFFFFFF);
    visualization.AddPermanentCircle(Vector3(0, 0, 0), 1.0f, 0xFFFFFFFF, true);
    visualization.Render();
    EXPECT_TRUE(GetCalls().empty());
}

TEST_F(VisualizationRender, PathsSendInnerPointsTwiceAndCloseBackToTheStart)
{
    const Vector3 a(1, 2, 3);
    const Vector3 b(-4, 5, -6);
    const Vector3 c(7, -8, 9);
    Visualization visualization;
    visualization.AddPermanentPath({a, b}, 0xFF112233, true);
    visualization.AddPermanentPath({a, b, c}, 0xFF445566, false);
    visualization.Render();
    EXPECT_EQ(RenderCalls({Color3ub(0x11, 0x22, 0x33), VertexAt(a), VertexAt(b), VertexAt(b), VertexAt(a),
                           Color3ub(0x44, 0x55, 0x66), VertexAt(a), VertexAt(b), VertexAt(b), VertexAt(c)},
                          {}),
              GetCalls());
}

TEST_F(VisualizationRender, CircleSendsTwentyFiveSegmentsWithOneColour)
{
    Visualization visualization;
    visualization.AddCircle(Vector3(0, 0, 0), 1.0f, 0xFF00FF00, true);
    const std::vector<Vector3>& points = visualization.GetTemporaryPaths().at(0).points;
    ASSERT_EQ(25u, points.size());
    visualization.Render();

    std::vector<Call> segments = {Color3ub(0x00, 0xFF, 0x00)};
    for (size_t k = 1; k < points.size(); ++k) {
        segments.push_back(VertexAt(points[k - 1]));
        segments.push_back(VertexAt(points[k]));
    }
    segments.push_back(VertexAt(points[24]));
    segments.push_back(VertexAt(points[0]));
    EXPECT_EQ(RenderCalls(segments, {}), GetCalls());
    EXPECT_EQ(50u, CallsNamed("glVertex3f").size());
    // The second point and the last, as the store holds them (exact bits in the store tests).
    EXPECT_EQ(Vertex(0.24868985f, 0.0f, 0.96858317f), GetCalls()[5]);
    EXPECT_EQ(Vertex(-0.2486912f, 0.0f, 0.96858281f), GetCalls()[52]);
}

TEST_F(VisualizationRender, ListsDrawInBatchOrderAndOnlyTrianglesSendAlpha)
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
    visualization.Render();

    const std::vector<Call> colors = CallsNamed("glColor3ub");
    EXPECT_EQ((std::vector<Call>{Color3ub(0x0A, 0x0B, 0x0C), Color3ub(0x07, 0x08, 0x09), Color3ub(0x04, 0x05, 0x06),
                                 Color3ub(0x01, 0x02, 0x03)}),
              colors);
    const std::vector<Call> triangleColors = CallsNamed("glColor4ub");
    EXPECT_EQ((std::vector<Call>{Color4ub(0x10, 0x20, 0x30, 0x80), Color4ub(0xA0, 0xB0, 0xC0, 0x01)}), triangleColors);

    const std::vector<Call>& calls = GetCalls();
    const std::vector<Call> triangleBatch(calls.end() - 12, calls.end() - 3);
    EXPECT_EQ((std::vector<Call>{Color4ub(0x10, 0x20, 0x30, 0x80), VertexAt(o), VertexAt(x), VertexAt(z),
                                 Color4ub(0xA0, 0xB0, 0xC0, 0x01), VertexAt(z), VertexAt(x), VertexAt(o)}),
              std::vector<Call>(triangleBatch.begin() + 1, triangleBatch.end()));
    EXPECT_EQ(Begin(GL_TRIANGLES), triangleBatch.front());
}

TEST_F(VisualizationRender, ClearingKeepsThePermanentPrimitivesAndRendersRepeatIdentically)
{
    Visualization visualization;
    visualization.AddPermanentPath({Vector3(0, 0, 0), Vector3(1, 0, 0)}, 0xFFFFFFFF, false);
    visualization.AddCircle(Vector3(0, 0, 0), 0.5f, 0xFF00FF00, true);
    visualization.AddLine(Vector3(0, 0, 0), Vector3(0, 1, 0), 0xFFFF0000);
    visualization.AddTriangle(Vector3(0, 0, 0), Vector3(0, 1, 0), Vector3(1, 0, 0), 0xFF0000FF);

    visualization.Render();
    const std::vector<Call> first = GetCalls();
    Clear();
    visualization.Render();
    EXPECT_EQ(first, GetCalls());

    visualization.ClearTemporaryPrimitives();
    Clear();
    visualization.Render();
    EXPECT_EQ(RenderCalls({Color3ub(0xFF, 0xFF, 0xFF), Vertex(0, 0, 0), Vertex(1, 0, 0)}, {}), GetCalls());
}

TEST_F(VisualizationRender, AxesWithoutNegativeHalves)
{
    Skidwell::DrawAxes(1.0f, false);
    EXPECT_EQ((std::vector<Call>{Begin(GL_LINES), Color3f(1, 0, 0), Vertex(0, 0, 0), Vertex(1, 0, 0), Color3f(0, 1, 0),
                                 Vertex(0, 0, 0), Vertex(0, 1, 0), Color3f(0, 0, 1), Vertex(0, 0, 0), Vertex(0, 0, 1),
                                 End()}),
              GetCalls());
}

TEST_F(VisualizationRender, AxesWithNegativeHalvesAtHalfIntensity)
{
    Skidwell::DrawAxes(2.5f, true);
    EXPECT_EQ((std::vector<Call>{Begin(GL_LINES),   Color3f(1, 0, 0),   Vertex(0, 0, 0),   Vertex(2.5f, 0, 0),
                                 Color3f(0, 1, 0),  Vertex(0, 0, 0),    Vertex(0, 2.5f, 0), Color3f(0, 0, 1),
                                 Vertex(0, 0, 0),   Vertex(0, 0, 2.5f), Color3f(0.5f, 0, 0), Vertex(0, 0, 0),
                                 Vertex(-2.5f, 0, 0), Color3f(0, 0.5f, 0), Vertex(0, 0, 0), Vertex(0, -2.5f, 0),
                                 Color3f(0, 0, 0.5f), Vertex(0, 0, 0),  Vertex(0, 0, -2.5f), End()}),
              GetCalls());
}

} // namespace
