// Kelpwright web backend: the OpenGL 1.1 calls that programs on the framework
// make, written over WebGL 1: matrices and their stacks, translate, scale and rotate,
// glBegin/glEnd with a current colour, enable/disable of what WebGL has, clear
// and viewport. Each glEnd is one upload and one draw (kwi_web_gl_context).
// A call OpenGL would refuse (glVertex outside glBegin, a pop of the last
// matrix, an unknown mode) changes nothing, as a refused call does there.
// Test programs link the recording OpenGL in place of this file's calls.
#include "application/implementation/web/kwi_web_gl_context.h"

#include <GL/gl.h>

#include <cmath>

using kwImplementation::WebGl::GetGlState;
using kwImplementation::WebGl::GlState;
using kwImplementation::WebGl::Matrix4;

namespace {

const GLenum kWebGlTriangles = GL_TRIANGLES;
const GLenum kWebGlTriangleFan = GL_TRIANGLE_FAN;

// The subset's state while a context exists; null before and after, when
// every call does nothing, as OpenGL calls do with no current context.
GlState* Context()
{
    GlState& state = GetGlState();
    return state.contextReady ? &state : nullptr;
}

Matrix4& CurrentMatrix(GlState& state) { return state.stacks[state.matrixMode].back(); }

// current = current * right, both column-major.
void MultiplyCurrent(const Matrix4& right)
{
    GlState* state = Context();
    if (state == nullptr) {
        return;
    }
    Matrix4& result = CurrentMatrix(*state);
    const Matrix4 left = result;
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) {
                sum += left.m[k * 4 + row] * right.m[column * 4 + k];
            }
            result.m[column * 4 + row] = sum;
        }
    }
}

void AppendVertex(std::vector<float>& to, const std::vector<float>& from, std::size_t vertex)
{
    const std::size_t start = vertex * kwImplementation::WebGl::kVertexFloats;
    to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(start),
              from.begin() + static_cast<std::ptrdiff_t>(start + kwImplementation::WebGl::kVertexFloats));
}

// WebGL has no quadrilaterals: each quad becomes two triangles (0 1 2, 0 2 3),
// as a driver splits them; a strip's quad k is vertices 2k, 2k+1, 2k+3, 2k+2.
void DrawQuads(const std::vector<float>& vertices, bool strip)
{
    static std::vector<float> triangles;
    triangles.clear();
    const std::size_t count = vertices.size() / kwImplementation::WebGl::kVertexFloats;
    const std::size_t quads = strip ? (count >= 4 ? count / 2 - 1 : 0) : count / 4;
    for (std::size_t quad = 0; quad < quads; ++quad) {
        const std::size_t first = strip ? quad * 2 : quad * 4;
        const std::size_t corners[4] = {first, first + 1, strip ? first + 3 : first + 2,
                                        strip ? first + 2 : first + 3};
        for (const std::size_t corner : {0, 1, 2, 0, 2, 3}) {
            AppendVertex(triangles, vertices, corners[corner]);
        }
    }
    kwImplementation::WebGl::Draw(kWebGlTriangles, triangles);
}

bool Accepts(GLenum primitive) { return primitive <= GL_POLYGON; }

} // namespace

void GLAPIENTRY glMatrixMode(GLenum mode)
{
    GlState* state = Context();
    if (state != nullptr && mode == GL_MODELVIEW) {
        state->matrixMode = kwImplementation::WebGl::kModelview;
    } else if (state != nullptr && mode == GL_PROJECTION) {
        state->matrixMode = kwImplementation::WebGl::kProjection;
    }
}

void GLAPIENTRY glLoadIdentity()
{
    GlState* state = Context();
    if (state != nullptr) {
        CurrentMatrix(*state) = kwImplementation::WebGl::Identity();
    }
}

void GLAPIENTRY glLoadMatrixf(const GLfloat* m)
{
    GlState* state = Context();
    if (state == nullptr) {
        return;
    }
    Matrix4& current = CurrentMatrix(*state);
    for (int i = 0; i < 16; ++i) {
        current.m[i] = m[i];
    }
}

void GLAPIENTRY glPushMatrix()
{
    GlState* state = Context();
    if (state == nullptr) {
        return;
    }
    std::vector<Matrix4>& stack = state->stacks[state->matrixMode];
    if (stack.size() < kwImplementation::WebGl::kStackDepth) {
        stack.push_back(stack.back());
    }
}

void GLAPIENTRY glPopMatrix()
{
    GlState* state = Context();
    if (state == nullptr) {
        return;
    }
    std::vector<Matrix4>& stack = state->stacks[state->matrixMode];
    if (stack.size() > 1) {
        stack.pop_back();
    }
}

void GLAPIENTRY glTranslatef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix4 translation = kwImplementation::WebGl::Identity();
    translation.m[12] = x;
    translation.m[13] = y;
    translation.m[14] = z;
    MultiplyCurrent(translation);
}

void GLAPIENTRY glScalef(GLfloat x, GLfloat y, GLfloat z)
{
    Matrix4 scale = kwImplementation::WebGl::Identity();
    scale.m[0] = x;
    scale.m[5] = y;
    scale.m[10] = z;
    MultiplyCurrent(scale);
}

// A turn of `angle` degrees about the axis (x, y, z), counter-clockwise looking
// down the axis towards the origin; the axis need not be of unit length.
void GLAPIENTRY glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z)
{
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length == 0.0f) {
        return;
    }
    x /= length;
    y /= length;
    z /= length;
    const float radians = static_cast<float>(static_cast<double>(angle) * 3.14159265358979323846 / 180.0);
    const float c = std::cos(radians);
    const float s = std::sin(radians);
    const float t = 1.0f - c;
    Matrix4 rotation = {};
    rotation.m[0] = x * x * t + c;
    rotation.m[1] = y * x * t + z * s;
    rotation.m[2] = x * z * t - y * s;
    rotation.m[4] = x * y * t - z * s;
    rotation.m[5] = y * y * t + c;
    rotation.m[6] = y * z * t + x * s;
    rotation.m[8] = x * z * t + y * s;
    rotation.m[9] = y * z * t - x * s;
    rotation.m[10] = z * z * t + c;
    rotation.m[15] = 1.0f;
    MultiplyCurrent(rotation);
}

void GLAPIENTRY glBegin(GLenum mode)
{
    GlState* state = Context();
    if (state == nullptr || state->insideBegin || !Accepts(mode)) {
        return;
    }
    state->insideBegin = true;
    state->primitive = mode;
    state->vertices.clear();
}

void GLAPIENTRY glEnd()
{
    GlState* state = Context();
    if (state == nullptr || !state->insideBegin) {
        return;
    }
    state->insideBegin = false;
    switch (state->primitive) {
    case GL_QUADS:
        DrawQuads(state->vertices, false);
        break;
    case GL_QUAD_STRIP:
        DrawQuads(state->vertices, true);
        break;
    case GL_POLYGON:
        // A convex polygon is a fan about its first vertex.
        kwImplementation::WebGl::Draw(kWebGlTriangleFan, state->vertices);
        break;
    default:
        // Points, lines, line strips and loops, triangles, strips and fans: WebGL's own.
        kwImplementation::WebGl::Draw(state->primitive, state->vertices);
        break;
    }
}

void GLAPIENTRY glVertex3f(GLfloat x, GLfloat y, GLfloat z)
{
    GlState* state = Context();
    if (state == nullptr || !state->insideBegin) {
        return;
    }
    const float* colour = state->colour;
    const float vertex[kwImplementation::WebGl::kVertexFloats] = {x,         y,         z,        colour[0],
                                                                  colour[1], colour[2], colour[3]};
    state->vertices.insert(state->vertices.end(), vertex, vertex + kwImplementation::WebGl::kVertexFloats);
}

// The current colour holds until the next colour call, inside glBegin or out.
void GLAPIENTRY glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)
{
    GlState* state = Context();
    if (state == nullptr) {
        return;
    }
    state->colour[0] = red;
    state->colour[1] = green;
    state->colour[2] = blue;
    state->colour[3] = alpha;
}

void GLAPIENTRY glColor3f(GLfloat red, GLfloat green, GLfloat blue) { glColor4f(red, green, blue, 1.0f); }

void GLAPIENTRY glColor4ub(GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)
{
    glColor4f(static_cast<float>(red) / 255.0f, static_cast<float>(green) / 255.0f,
              static_cast<float>(blue) / 255.0f, static_cast<float>(alpha) / 255.0f);
}

void GLAPIENTRY glColor3ub(GLubyte red, GLubyte green, GLubyte blue) { glColor4ub(red, green, blue, 255); }

// State changes between glBegin and glEnd are refused, as OpenGL refuses them.
void GLAPIENTRY glEnable(GLenum capability)
{
    if (!GetGlState().insideBegin) {
        kwImplementation::WebGl::SetCapability(capability, true);
    }
}

void GLAPIENTRY glDisable(GLenum capability)
{
    if (!GetGlState().insideBegin) {
        kwImplementation::WebGl::SetCapability(capability, false);
    }
}

void GLAPIENTRY glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)
{
    if (!GetGlState().insideBegin) {
        kwImplementation::WebGl::SetClearColour(red, green, blue, alpha);
    }
}

void GLAPIENTRY glClear(GLbitfield mask)
{
    if (!GetGlState().insideBegin) {
        kwImplementation::WebGl::Clear(mask);
    }
}

void GLAPIENTRY glViewport(GLint x, GLint y, GLsizei width, GLsizei height)
{
    if (!GetGlState().insideBegin) {
        kwImplementation::WebGl::SetViewport(x, y, width, height);
    }
}
