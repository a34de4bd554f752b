// Test support: a recording implementation of the OpenGL 1.1 entry points the
// drawing code calls. Linked into a test program in place of the system GL
// library, it stores every call with its exact arguments instead of drawing.
#pragma once

#include <GL/gl.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace GlRecorder {

struct Call {
    std::string name;
    std::vector<unsigned int> integers; // enums, bit masks and colour bytes
    std::vector<float> floats;          // coordinates, colours and matrix elements
};

// Floats compare by bit pattern: -0 differs from +0 and NaN equals itself.
bool operator==(const Call& left, const Call& right);
bool operator!=(const Call& left, const Call& right);
std::ostream& operator<<(std::ostream& stream, const Call& call);

const std::vector<Call>& GetCalls();
void Clear();

// The recorded calls named name, in order.
std::vector<Call> CallsNamed(const std::string& name);

// Expected calls, written as the code makes them.
Call MakeCall(const std::string& name, std::initializer_list<unsigned int> integers = {},
              std::initializer_list<float> floats = {});
Call Begin(GLenum mode);
Call End();
Call Vertex(float x, float y, float z);
Call Color3ub(unsigned int red, unsigned int green, unsigned int blue);
Call Color4ub(unsigned int red, unsigned int green, unsigned int blue, unsigned int alpha);
Call Color3f(float red, float green, float blue);
Call Enable(GLenum capability);
Call Disable(GLenum capability);
Call PushMatrix();
Call PopMatrix();
Call MatrixMode(GLenum mode);
Call LoadIdentity();
Call LoadMatrix(const std::vector<float>& elements);
Call Translate(float x, float y, float z);

} // namespace GlRecorder
