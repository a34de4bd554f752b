// Test support: a recording implementation of the OpenGL 1.1 entry points the
// drawing code calls. Linked into a test program in place of the system GL
// library, it stores every call with its exact arguments instead of drawing.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace GlRecorder {

struct Call {
    std::string name;
    std::vector<unsigned int> integers; // enums, bit masks and colour bytes
    // Coordinates, colours and matrix elements as bit patterns, so that calls
    // compare exactly: -0 differs from +0.
    std::vector<std::uint32_t> floatBits;
};

inline bool operator==(const Call& left, const Call& right)
{
    return left.name == right.name && left.integers == right.integers && left.floatBits == right.floatBits;
}
std::ostream& operator<<(std::ostream& stream, const Call& call);

// Runs draw and returns the calls it made, in order.
std::vector<Call> CallsOf(const std::function<void()>& draw);
std::vector<Call> Named(const std::vector<Call>& calls, const std::string& name);
std::vector<Call> Join(std::initializer_list<std::vector<Call>> parts);

// Expected calls, written as the code makes them; the recording entry points build theirs the same way.
Call MakeCall(const std::string& name, const std::vector<unsigned int>& integers = {},
              const std::vector<float>& floats = {});
inline Call LoadMatrix(const float* m) { return MakeCall("glLoadMatrixf", {}, std::vector<float>(m, m + 16)); }
inline Call Begin(GLenum mode) { return MakeCall("glBegin", {mode}); }
inline Call End() { return MakeCall("glEnd"); }
inline Call Vertex(float x, float y, float z) { return MakeCall("glVertex3f", {}, {x, y, z}); }
inline Call Color3ub(unsigned int r, unsigned int g, unsigned int b) { return MakeCall("glColor3ub", {r, g, b}); }
inline Call Color4ub(unsigned int r, unsigned int g, unsigned int b, unsigned int a)
{
    return MakeCall("glColor4ub", {r, g, b, a});
}
inline Call Color3f(float red, float green, float blue) { return MakeCall("glColor3f", {}, {red, green, blue}); }
inline Call Enable(GLenum capability) { return MakeCall("glEnable", {capability}); }
inline Call Disable(GLenum capability) { return MakeCall("glDisable", {capability}); }
inline Call PushMatrix() { return MakeCall("glPushMatrix"); }
inline Call PopMatrix() { return MakeCall("glPopMatrix"); }
inline Call MatrixMode(GLenum mode) { return MakeCall("glMatrixMode", {mode}); }
inline Call LoadIdentity() { return MakeCall("glLoadIdentity"); }
inline Call Translate(float x, float y, float z) { return MakeCall("glTranslatef", {}, {x, y, z}); }

} // namespace GlRecorder
