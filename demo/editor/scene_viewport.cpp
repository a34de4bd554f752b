// Skidwell: the curve editor's viewport and the mapping between scene points
// and surface pixels. OpenGL calls: glViewport. The mapping is worked in
// double and rounded once: it places a pointer, not a simulated value.
#include "editor/scene_viewport.h"

#include "visualization/opengl.h"

#include <cmath>

namespace Skidwell {

Viewport FitViewport(std::int32_t width, std::int32_t height)
{
    if (width <= 0 || height <= 0) {
        return Viewport{0, 0, 0, 0};
    }
    const double aspect = static_cast<double>(kSceneAspectRatio);
    Viewport viewport{0, 0, width, height};
    // Wider than the picture: bars left and right; taller: bars above and below.
    if (width > height * aspect) {
        viewport.width = static_cast<std::int32_t>(std::lround(height * aspect));
    } else {
        viewport.height = static_cast<std::int32_t>(std::lround(width / aspect));
    }
    viewport.x = (width - viewport.width) / 2;
    viewport.y = (height - viewport.height) / 2;
    return viewport;
}

void ApplyViewport(const Viewport& viewport, std::int32_t surfaceHeight)
{
    glViewport(viewport.x, surfaceHeight - (viewport.y + viewport.height), viewport.width, viewport.height);
}

SurfacePoint ProjectToSurface(const SceneCamera& camera, const Viewport& viewport, const Vector3& point)
{
    const Matrix4 projection = BuildProjectionMatrix();
    const Matrix4 view = BuildCameraMatrix(camera);
    // The frame's modelview: the camera's rotation after moving the eye to the origin.
    const double relative[3] = {static_cast<double>(point.x) - camera.eye.x,
                                static_cast<double>(point.y) - camera.eye.y,
                                static_cast<double>(point.z) - camera.eye.z};
    double seen[4] = {0.0, 0.0, 0.0, 1.0};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            seen[row] += view[4 * column + row] * relative[column];
        }
    }
    double clip[4] = {0.0, 0.0, 0.0, 0.0};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            clip[row] += projection[4 * column + row] * seen[column];
        }
    }
    // Normalised device coordinates run from -1 to 1 with y up; the surface's y runs down.
    const double x = clip[0] / clip[3];
    const double y = clip[1] / clip[3];
    return SurfacePoint{static_cast<float>(viewport.x + (x + 1.0) / 2.0 * viewport.width),
                        static_cast<float>(viewport.y + (1.0 - y) / 2.0 * viewport.height)};
}

Vector3 SurfaceToGround(const SceneCamera& camera, const Viewport& viewport, const SurfacePoint& position)
{
    const Matrix4 projection = BuildProjectionMatrix();
    const Matrix4 view = BuildCameraMatrix(camera);
    const double x = 2.0 * (static_cast<double>(position.x) - viewport.x) / viewport.width - 1.0;
    const double y = 1.0 - 2.0 * (static_cast<double>(position.y) - viewport.y) / viewport.height;
    // The ray from the eye through that position, in the camera's space: the
    // projection is a symmetric perspective that divides by the depth -z.
    const double seen[3] = {x / projection[0], y / projection[5], -1.0};
    // The camera's rotation is orthonormal: its transpose turns the ray back into the scene.
    double ray[3] = {0.0, 0.0, 0.0};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            ray[row] += view[4 * row + column] * seen[column];
        }
    }
    const double along = -static_cast<double>(camera.eye.y) / ray[1];
    return Vector3(static_cast<float>(camera.eye.x + ray[0] * along), 0.0f,
                   static_cast<float>(camera.eye.z + ray[2] * along));
}

} // namespace Skidwell
