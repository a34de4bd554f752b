// Kelpwright web backend: the WebGL 1 context behind the OpenGL 1.1 subset, and
// the subset's state (matrix stacks, current colour, the vertices of the open
// glBegin). The gl* entry points (kwi_web_gl.cpp) keep this state and hand
// each finished glBegin/glEnd here as one upload and one draw.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace kwImplementation {
namespace WebGl {

struct Matrix4 {
    std::array<float, 16> m; // column-major, as glLoadMatrixf takes it
};

const int kModelview = 0;
const int kProjection = 1;
// Both stacks are as deep as a desktop driver's modelview stack.
const std::size_t kStackDepth = 32;
// A vertex as uploaded: position x y z, then colour r g b a.
const int kVertexFloats = 7;

struct GlState {
    bool contextReady = false; // between CreateContext and DestroyContext
    std::array<std::vector<Matrix4>, 2> stacks; // per matrix mode; back() is the current matrix
    int matrixMode = kModelview;
    bool insideBegin = false;
    unsigned int primitive = 0;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    std::vector<float> vertices; // of the open glBegin, kVertexFloats each
};

GlState& GetGlState();

Matrix4 Identity();

// Makes a WebGL 1 context on the window's canvas, current from here on, and
// gives the subset the state of a new OpenGL context. False when the browser
// offers no WebGL; the gl* calls then do nothing.
bool CreateContext();
void DestroyContext();

// One glBegin/glEnd: the vertices drawn as the WebGL primitive `mode` through
// the current projection and modelview matrices.
void Draw(unsigned int mode, const std::vector<float>& vertices);

// Passed on to WebGL: only what it has (see the definitions).
void SetClearColour(float red, float green, float blue, float alpha);
void Clear(unsigned int mask);
void SetCapability(unsigned int capability, bool enabled);
void SetViewport(int x, int y, int width, int height);

} // namespace WebGl
} // namespace kwImplementation
