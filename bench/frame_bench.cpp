// Benchmarks of the curve test state: one simulation step, one frame drawn by
// the framework (OnRender), and the same frame written out directly as a
// hand-written program would draw it, from plain arrays with no store, no
// scene view and no state machine. Both frames go into the no-op OpenGL.
#include "bench_support.h"

#include "application_globals.h"
#include "game/kw_game_application.h"
#include "test_curve_state.h"
#include "visualization/scene_view.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

using Skidwell::LinePrimitive;
using Skidwell::PathPrimitive;
using Skidwell::Vector3;

namespace {

// A few hundred steps: every list of the store has reached its size.
const int kWarmUpSteps = 300;

// One state for the whole program: the machine holds one state per identifier
// and the process one GameApplication. It has no window, so the title that
// OnOpen sets goes nowhere.
TestCurveState& WarmCurveState()
{
    static Kelpwright::Game::GameApplication application;
    static TestCurveState state;
    static bool opened = false;
    if (!opened) {
        gGameApplication = &application;
        gApplication = &application;
        state.OnOpen();
        for (int step = 0; step < kWarmUpSteps; ++step) {
            state.OnSimulate();
        }
        state.OnRender();
        opened = true;
    }
    return state;
}

// The frame's data as a hand-written program keeps it.
const int kCirclePoints = 25;
const int kRingCount = 24;
const int kSampleCount = 150;
const int kMarkerCircleCount = 5;
const int kMarkerLineCount = 3;

struct Circle {
    float points[kCirclePoints][3];
    GLubyte rgb[3];
};

struct Segment {
    float ends[2][3];
    GLubyte rgb[3];
};

struct HandWrittenScene {
    float projection[16];
    float view[16];
    Circle rings[kRingCount];
    float curve[kSampleCount][3];
    GLubyte curveRgb[3];
    Circle markerCircles[kMarkerCircleCount];
    Segment markerLines[kMarkerLineCount];
};

void CopyPoint(const Vector3& point, float (&to)[3])
{
    to[0] = point.x;
    to[1] = point.y;
    to[2] = point.z;
}

void CopyRgb(Skidwell::Color color, GLubyte (&to)[3])
{
    to[0] = static_cast<GLubyte>(color >> 16);
    to[1] = static_cast<GLubyte>(color >> 8);
    to[2] = static_cast<GLubyte>(color);
}

void CopyCircle(const PathPrimitive& path, Circle& to)
{
    for (int i = 0; i < kCirclePoints; ++i) {
        CopyPoint(path.points[i], to.points[i]);
    }
    CopyRgb(path.color, to.rgb);
}

// Takes the state's current drawing out of its store into plain arrays.
HandWrittenScene SceneOf(const TestCurveState& state)
{
    const Skidwell::Visualization& store = state.GetVisualization();
    const std::vector<PathPrimitive>& permanent = store.GetPermanentPaths();
    const std::vector<PathPrimitive>& temporary = store.GetTemporaryPaths();
    const std::vector<LinePrimitive>& lines = store.GetTemporaryLines();
    if (permanent.size() != kRingCount + 1 || permanent[kRingCount].points.size() != kSampleCount ||
        temporary.size() != kMarkerCircleCount || lines.size() != kMarkerLineCount) {
        std::fprintf(stderr, "The curve test state's drawing is not the one the hand-written frame draws.\n");
        std::exit(1);
    }

    HandWrittenScene scene;
    const Skidwell::Matrix4 projection = Skidwell::BuildProjectionMatrix();
    const Skidwell::Matrix4 view = Skidwell::BuildCameraMatrix(
        {Vector3(0.0f, 5.0f, 0.0f), Vector3(0.0f, 0.0f, 0.0f), Vector3(0.0f, 0.0f, -1.0f)});
    for (int i = 0; i < 16; ++i) {
        scene.projection[i] = projection[i];
        scene.view[i] = view[i];
    }
    for (int ring = 0; ring < kRingCount; ++ring) {
        CopyCircle(permanent[ring], scene.rings[ring]);
    }
    for (int i = 0; i < kSampleCount; ++i) {
        CopyPoint(permanent[kRingCount].points[i], scene.curve[i]);
    }
    CopyRgb(permanent[kRingCount].color, scene.curveRgb);
    for (int circle = 0; circle < kMarkerCircleCount; ++circle) {
        CopyCircle(temporary[circle], scene.markerCircles[circle]);
    }
    for (int line = 0; line < kMarkerLineCount; ++line) {
        CopyPoint(lines[line].start, scene.markerLines[line].ends[0]);
        CopyPoint(lines[line].end, scene.markerLines[line].ends[1]);
        CopyRgb(lines[line].color, scene.markerLines[line].rgb);
    }
    return scene;
}

void Vertex(const float (&point)[3]) { glVertex3f(point[0], point[1], point[2]); }

void Axis(float red, float green, float blue, float x, float y, float z)
{
    glColor3f(red, green, blue);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(x, y, z);
}

void DrawCircle(const Circle& circle)
{
    glColor3ub(circle.rgb[0], circle.rgb[1], circle.rgb[2]);
    for (int i = 1; i < kCirclePoints; ++i) {
        Vertex(circle.points[i - 1]);
        Vertex(circle.points[i]);
    }
    Vertex(circle.points[kCirclePoints - 1]);
    Vertex(circle.points[0]);
}

void HandWrittenFrame(const HandWrittenScene& scene)
{
    glClearColor(0.13f, 0.13f, 0.14f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(scene.projection);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    glLoadMatrixf(scene.view);
    glTranslatef(-0.0f, -5.0f, -0.0f);

    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    glBegin(GL_LINES);
    Axis(1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f);
    Axis(0.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    Axis(0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    Axis(0.5f, 0.0f, 0.0f, -1.0f, 0.0f, 0.0f);
    Axis(0.0f, 0.5f, 0.0f, 0.0f, -1.0f, 0.0f);
    Axis(0.0f, 0.0f, 0.5f, 0.0f, 0.0f, -1.0f);
    glEnd();
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);

    glPushMatrix();
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    for (const Circle& ring : scene.rings) {
        DrawCircle(ring);
    }
    glColor3ub(scene.curveRgb[0], scene.curveRgb[1], scene.curveRgb[2]);
    for (int i = 1; i < kSampleCount; ++i) {
        Vertex(scene.curve[i - 1]);
        Vertex(scene.curve[i]);
    }
    for (const Circle& circle : scene.markerCircles) {
        DrawCircle(circle);
    }
    for (const Segment& line : scene.markerLines) {
        glColor3ub(line.rgb[0], line.rgb[1], line.rgb[2]);
        Vertex(line.ends[0]);
        Vertex(line.ends[1]);
    }
    glEnd();
    glBegin(GL_TRIANGLES);
    glEnd();
    glEnable(GL_LIGHTING);
    glPopMatrix();

    glPopMatrix();
}

void CurveTestStep(benchmark::State& state)
{
    TestCurveState& curveState = WarmCurveState();
    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        curveState.OnSimulate();
    }
    kwBench::ReportHeapCounts(state, before);
}

void CurveTestFrame(benchmark::State& state)
{
    TestCurveState& curveState = WarmCurveState();
    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        curveState.OnRender();
    }
    kwBench::ReportHeapCounts(state, before);
}

void HandWrittenCurveTestFrame(benchmark::State& state)
{
    TestCurveState& curveState = WarmCurveState();
    const HandWrittenScene scene = SceneOf(curveState);

    // Both frames must send exactly the same calls with the same bits.
    kwBench::BeginGlDigest();
    curveState.OnRender();
    const std::uint64_t framework = kwBench::EndGlDigest();
    kwBench::BeginGlDigest();
    HandWrittenFrame(scene);
    if (kwBench::EndGlDigest() != framework) {
        state.SkipWithError("the hand-written frame sends other calls than OnRender");
        return;
    }

    const kwBench::HeapCounts before = kwBench::CurrentHeapCounts();
    for (auto _ : state) {
        HandWrittenFrame(scene);
    }
    kwBench::ReportHeapCounts(state, before);
}

} // namespace

BENCHMARK(CurveTestStep)->Unit(benchmark::kNanosecond);
// The two frames are compared with each other: the best of five runs each, so
// that other work on the machine disturbs the ratio as little as it can.
BENCHMARK(CurveTestFrame)->Apply(kwBench::BestOfFive);
BENCHMARK(HandWrittenCurveTestFrame)->Apply(kwBench::BestOfFive);
