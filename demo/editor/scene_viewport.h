// Skidwell: where the curve editor's picture lies on the drawing surface. The
// scene view's projection has a fixed 4:3 aspect, so the picture goes into the
// largest centred 4:3 rectangle of the surface and keeps its proportions in a
// window of any shape. Scene points map to surface pixels, and pixels back to
// the plane y = 0, with the projection and camera the frame draws with.
#pragma once

#include "math/vector3.h"
#include "visualization/scene_view.h"

#include <cstdint>

namespace Skidwell {

// A rectangle of the drawing surface in pixels, from its top-left corner, y down.
struct Viewport {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

// A position on the drawing surface in pixels from its top-left corner, y
// down: (0.5, 0.5) is the centre of the top-left pixel.
struct SurfacePoint {
    float x;
    float y;
};

// The largest rectangle of the projection's aspect centred on a surface of
// width x height pixels; empty (0 x 0) while the surface is.
Viewport FitViewport(std::int32_t width, std::int32_t height);

// Makes the rectangle OpenGL's viewport on a surface surfaceHeight pixels high
// (OpenGL counts rows from the bottom). Needs a current OpenGL context.
void ApplyViewport(const Viewport& viewport, std::int32_t surfaceHeight);

// Where the frame draws a scene point seen by camera, in a non-empty viewport.
SurfacePoint ProjectToSurface(const SceneCamera& camera, const Viewport& viewport, const Vector3& point);

// The point of the plane y = 0 that the frame draws at a surface position, for
// a camera above the plane and a non-empty viewport.
Vector3 SurfaceToGround(const SceneCamera& camera, const Viewport& viewport, const SurfacePoint& position);

} // namespace Skidwell
