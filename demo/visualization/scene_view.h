// Skidwell: the scene frame both game states render with: clear, a fixed
// perspective projection, a camera looking down on the plane y = 0, the axes
// and the state's debug drawing. The matrix builders are public for tests.
#pragma once

#include "math/vector3.h"
#include "visualization/visualization.h"

#include <array>

namespace Skidwell {

// 16 floats in OpenGL's column-major order (element 4 * column + row).
typedef std::array<float, 16> Matrix4;

struct SceneCamera {
    Vector3 eye;
    Vector3 target;
    Vector3 up;
};

// The projection's width to height, the float 4/3; the window's real size
// plays no part in it.
const float kSceneAspectRatio = 4.0f / 3.0f;

// The fixed 4:3 projection.
Matrix4 BuildProjectionMatrix();

// The camera's rotation: rows S, V and -F for forward F, side S and up V.
Matrix4 BuildCameraMatrix(const SceneCamera& camera);

// Loads the camera's view into the current (modelview) matrix.
void ApplyCamera(const SceneCamera& camera);

// One whole frame; needs a current OpenGL context. Leaves the modelview
// identity on top and the projection loaded.
void RenderSceneFrame(const SceneCamera& camera, bool drawAxes, Visualization& visualization);

} // namespace Skidwell
