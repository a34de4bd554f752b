// Skidwell: the scene frame. OpenGL calls: glClearColor, glClear, glEnable,
// glDisable, glMatrixMode, glLoadIdentity, glLoadMatrixf, glPushMatrix,
// glPopMatrix, glTranslatef (plus those of DrawAxes and Visualization::Render).
#include "visualization/scene_view.h"

#include "visualization/opengl.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace Skidwell {

namespace {

// NOTE: the tangent is taken of 35 radians (not degrees): a view of about 50.7 degrees.
const double kFieldOfViewAngle = 35.0;
// The depth terms are defined by their bit patterns, not by decimal values:
// -1.0002 and one unit in the last place below the float nearest -0.10002.
const std::uint32_t kDepthScaleBits = 0xBF80068E;
const std::uint32_t kDepthOffsetBits = 0xBDCCD74A;

float FloatFromBits(std::uint32_t bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void DrawAxesUnlit()
{
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_MATERIAL);
    DrawAxes(1.0f, true);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_MATERIAL);
}

} // namespace

Matrix4 BuildProjectionMatrix()
{
    // Tangent in double, rounded to float, so every C runtime gives the same bits.
    const float tangent = static_cast<float>(std::tan(kFieldOfViewAngle));
    const float f = 1.0f / tangent;

    Matrix4 projection{};
    // NOTE: the quotient is formed in double (the divisor is the float 4/3
    // widened) and rounded to float once.
    projection[0] = static_cast<float>(static_cast<double>(f) / static_cast<double>(kSceneAspectRatio));
    projection[5] = f;
    projection[10] = FloatFromBits(kDepthScaleBits);
    projection[11] = -1.0f;
    projection[14] = FloatFromBits(kDepthOffsetBits);
    return projection;
}

Matrix4 BuildCameraMatrix(const SceneCamera& camera)
{
    const Vector3 forward = (camera.target - camera.eye).Normalized();
    const Vector3 side = forward.Cross(camera.up).Normalized();
    // Not normalised again: side and forward are unit and perpendicular here.
    const Vector3 up = side.Cross(forward);

    Matrix4 view{};
    view[0] = side.x;
    view[1] = up.x;
    view[2] = -forward.x;
    view[4] = side.y;
    view[5] = up.y;
    view[6] = -forward.y;
    view[8] = side.z;
    view[9] = up.z;
    view[10] = -forward.z;
    view[15] = 1.0f;
    return view;
}

void ApplyCamera(const SceneCamera& camera)
{
    const Matrix4 view = BuildCameraMatrix(camera);
    glLoadMatrixf(view.data());
    glTranslatef(-camera.eye.x, -camera.eye.y, -camera.eye.z);
}

void RenderSceneFrame(const SceneCamera& camera, bool drawAxes, Visualization& visualization)
{
    glClearColor(0.13f, 0.13f, 0.14f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);

    glMatrixMode(GL_PROJECTION);
    const Matrix4 projection = BuildProjectionMatrix();
    glLoadMatrixf(projection.data());

    // The camera replaces the pushed identity; the pop below restores it.
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPushMatrix();
    ApplyCamera(camera);

    if (drawAxes) {
        DrawAxesUnlit();
    }
    visualization.Render();

    glPopMatrix();
}

} // namespace Skidwell
