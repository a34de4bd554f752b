// Tests of the scene frame: the projection and camera matrices element by
// element, and the exact OpenGL calls of a frame with and without the axes.
#include "gl_recorder.h"
#include "visualization/scene_view.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace GlRecorder;
using Skidwell::Matrix4;
using Skidwell::SceneCamera;
using Skidwell::Vector3;

namespace {

std::uint32_t Bits(float value)
{
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

std::vector<std::uint32_t> MatrixBits(const Matrix4& matrix)
{
    std::vector<std::uint32_t> bits;
    for (float element : matrix) {
        bits.push_back(Bits(element));
    }
    return bits;
}

const SceneCamera kTopCamera = {Vector3(0, 5, 0), Vector3(0, 0, 0), Vector3(0, 0, -1)};

TEST(SceneViewMatrices, ProjectionIsTheFixedFourByThreePerspective)
{
    const Matrix4 projection = Skidwell::BuildProjectionMatrix();
    // f = 1 / float(tan(35 radians)) = 2.1105297; P[0] = float(double(f) / double(4/3 as float)).
    const std::vector<std::uint32_t> expected = {0x3FCA9C60, 0, 0, 0,          0, 0x400712EB, 0, 0,
                                                 0,          0, 0xBF80068E, 0xBF800000, 0, 0, 0xBDCCD74A, 0};
    EXPECT_EQ(expected, MatrixBits(projection));
    EXPECT_EQ(1.5828972f, projection[0]);
    EXPECT_EQ(2.1105297f, projection[5]);
}

TEST(SceneViewMatrices, CameraLooksDownWithMinusZUp)
{
    const SceneCamera demoCamera = {Vector3(0, 5, -1.625f), Vector3(0, 0, -1.625f), Vector3(0, 0, -1)};
    // Rows S = (1, 0, 0), V = (0, 0, -1) and -F = (-0, 1, -0): F is (0, -1, 0)
    // with positive zeros, and negating them gives negative ones.
    const std::vector<std::uint32_t> expected = {Bits(1), 0, Bits(-0.0f), 0, 0, 0, Bits(1), 0,
                                                 0, Bits(-1), Bits(-0.0f), 0, 0, 0, 0, Bits(1)};
    EXPECT_EQ(expected, MatrixBits(Skidwell::BuildCameraMatrix(kTopCamera)));
    EXPECT_EQ(expected, MatrixBits(Skidwell::BuildCameraMatrix(demoCamera)));
}

TEST(SceneViewMatrices, TiltedCameraPlacesItsAxesInTheRows)
{
    // Forward (0, -0.6, -0.8), side (1, 0, 0), up (0, 0.8, -0.6): a transposed
    // matrix or a swapped cross product would move the 0.6 and 0.8 elements.
    const SceneCamera camera = {Vector3(0, 3, 4), Vector3(0, 0, 0), Vector3(0, 1, 0)};
    const Matrix4 expected = {1, 0, 0, 0, 0, 0.8f, 0.6f, 0, 0, -0.6f, 0.8f, 0, 0, 0, 0, 1};
    EXPECT_EQ(expected, Skidwell::BuildCameraMatrix(camera));
}

class SceneFrame : public testing::Test {
protected:
    void SetUp() override { Clear(); }

    // A frame of an empty store: everything but the optional axes.
    static std::vector<Call> FrameCalls(const SceneCamera& camera, const std::vector<Call>& axisCalls)
    {
        const Matrix4 projection = Skidwell::BuildProjectionMatrix();
        const Matrix4 view = Skidwell::BuildCameraMatrix(camera);
        std::vector<Call> calls = {MakeCall("glClearColor", {}, {0.13f, 0.13f, 0.14f, 1.0f}),
                                   MakeCall("glClear", {GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT}),
                                   Enable(GL_DEPTH_TEST),
                                   MatrixMode(GL_PROJECTION),
                                   LoadMatrix(std::vector<float>(projection.begin(), projection.end())),
                                   MatrixMode(GL_MODELVIEW),
                                   LoadIdentity(),
                                   PushMatrix(),
                                   LoadMatrix(std::vector<float>(view.begin(), view.end())),
                                   Translate(-camera.eye.x, -camera.eye.y, -camera.eye.z)};
        calls.insert(calls.end(), axisCalls.begin(), axisCalls.end());
        const std::vector<Call> render = {PushMatrix(),   Disable(GL_LIGHTING), Begin(GL_LINES), End(),
                                          Begin(GL_TRIANGLES), End(),           Enable(GL_LIGHTING), PopMatrix()};
        calls.insert(calls.end(), render.begin(), render.end());
        calls.push_back(PopMatrix());
        return calls;
    }
};

TEST_F(SceneFrame, WithoutAxesNeverTouchesTexturingOrColourMaterial)
{
    Skidwell::Visualization visualization;
    Skidwell::RenderSceneFrame(kTopCamera, false, visualization);
    EXPECT_EQ(FrameCalls(kTopCamera, {}), GetCalls());
}

TEST_F(SceneFrame, WithAxesDrawsThemUnlitBeforeTheStore)
{
    Skidwell::Visualization visualization;
    Skidwell::DrawAxes(1.0f, true);
    std::vector<Call> axisCalls = {Disable(GL_LIGHTING), Disable(GL_TEXTURE_2D), Disable(GL_COLOR_MATERIAL)};
    axisCalls.insert(axisCalls.end(), GetCalls().begin(), GetCalls().end());
    axisCalls.push_back(Enable(GL_LIGHTING));
    axisCalls.push_back(Enable(GL_TEXTURE_2D));
    axisCalls.push_back(Enable(GL_COLOR_MATERIAL));
    Clear();

    Skidwell::RenderSceneFrame(kTopCamera, true, visualization);
    EXPECT_EQ(FrameCalls(kTopCamera, axisCalls), GetCalls());
    EXPECT_EQ(12u, CallsNamed("glVertex3f").size());
}

TEST_F(SceneFrame, ConsecutiveFramesAreIdentical)
{
    Skidwell::Visualization visualization;
    visualization.AddPermanentCircle(Vector3(1, 0, -1), 0.25f, 0xFFFFFFFF, true);
    visualization.AddLine(Vector3(0, 0, 0), Vector3(1, 0, 0), 0xFF00FF00);
    Skidwell::RenderSceneFrame(kTopCamera, true, visualization);
    const std::vector<Call> first = GetCalls();
    Clear();
    Skidwell::RenderSceneFrame(kTopCamera, true, visualization);
    EXPECT_EQ(first, GetCalls());
}

} // namespace
