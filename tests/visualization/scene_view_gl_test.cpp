// Tests of the scene frame: the projection and camera matrices element by
// element, and the exact OpenGL calls of a frame with and without the axes.
#include "gl_recorder.h"
#include "visualization/scene_view.h"

#include <gtest/gtest.h>

#include <vector>

using namespace GlRecorder;
using Skidwell::Matrix4;
using Skidwell::SceneCamera;
using Skidwell::Vector3;

namespace {

TEST(SceneViewMatrices, ProjectionIsTheFixedFourByThreePerspective)
{
    const Matrix4 projection = Skidwell::BuildProjectionMatrix();
    // f = 1 / float(tan(35 radians)) = 2.1105297; P[0] = float(double(f) / double(4/3 as float)).
    const std::vector<std::uint32_t> expected = {0x3FCA9C60, 0, 0, 0,          0, 0x400712EB, 0, 0,
                                                 0,          0, 0xBF80068E, 0xBF800000, 0, 0, 0xBDCCD74A, 0};
    EXPECT_EQ(expected, LoadMatrix(projection.data()).floatBits);
    EXPECT_EQ(1.5828972f, projection[0]);
    EXPECT_EQ(2.1105297f, projection[5]);
}

// The states' own cameras are checked bit for bit in the state frame tests.
TEST(SceneViewMatrices, TiltedCameraPlacesItsAxesInTheRows)
{
    // Forward (0, -0.6, -0.8), side (1, 0, 0), up (0, 0.8, -0.6): a transposed
    // matrix or a swapped cross product would move the 0.6 and 0.8 elements.
    const SceneCamera camera = {Vector3(0, 3, 4), Vector3(0, 0, 0), Vector3(0, 1, 0)};
    const Matrix4 expected = {1, 0, 0, 0, 0, 0.8f, 0.6f, 0, 0, -0.6f, 0.8f, 0, 0, 0, 0, 1};
    EXPECT_EQ(expected, Skidwell::BuildCameraMatrix(camera));
}

TEST(SceneFrame, ClearsProjectsAppliesTheCameraThenDrawsTheAxesUnlitAndTheStoreIdenticallyEachTime)
{
    const SceneCamera camera = {Vector3(0, 5, 0), Vector3(0, 0, 0), Vector3(0, 0, -1)};
    Skidwell::Visualization visualization;
    visualization.AddPermanentCircle(Vector3(1, 0, -1), 0.25f, 0xFFFFFFFF, true);
    visualization.AddLine(Vector3(0, 0, 0), Vector3(1, 0, 0), 0xFF00FF00);
    const std::vector<Call> store = CallsOf([&] { visualization.Render(); });
    const std::vector<Call> axes = Join({{Disable(GL_LIGHTING), Disable(GL_TEXTURE_2D), Disable(GL_COLOR_MATERIAL)},
                                         CallsOf([] { Skidwell::DrawAxes(1.0f, true); }),
                                         {Enable(GL_LIGHTING), Enable(GL_TEXTURE_2D), Enable(GL_COLOR_MATERIAL)}});
    const Matrix4 projection = Skidwell::BuildProjectionMatrix();
    const Matrix4 view = Skidwell::BuildCameraMatrix(camera);
    const std::vector<Call> setUp = {MakeCall("glClearColor", {}, {0.13f, 0.13f, 0.14f, 1.0f}),
                                     MakeCall("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
                                     Enable(GL_DEPTH_TEST), MatrixMode(GL_PROJECTION), LoadMatrix(projection.data()),
                                     MatrixMode(GL_MODELVIEW), LoadIdentity(), PushMatrix(), LoadMatrix(view.data()),
                                     Translate(-0.0f, -5.0f, -0.0f)};
    for (bool drawAxes : {false, true}) {
        SCOPED_TRACE(drawAxes);
        const auto frame = [&] { Skidwell::RenderSceneFrame(camera, drawAxes, visualization); };
        const std::vector<Call> calls = CallsOf(frame);
        EXPECT_EQ(Join({setUp, drawAxes ? axes : std::vector<Call>(), store, {PopMatrix()}}), calls);
        EXPECT_EQ(calls, CallsOf(frame));
    }
}

} // namespace
