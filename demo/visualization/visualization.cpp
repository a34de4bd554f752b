// Skidwell: the debug-drawing store and the axes. The add and clear operations
// make no OpenGL call; Render and DrawAxes use immediate mode (glBegin/glEnd,
// glVertex3f, glColor3ub/glColor4ub/glColor3f, glPush/PopMatrix, glEnable/glDisable).
#include "visualization/visualization.h"

#include "visualization/opengl.h"

#include <array>
#include <cmath>
#include <utility>

namespace Skidwell {

namespace {

const int kCirclePointCount = 25;
// The system's two-pi (bits 0x40C90FD8), a little below the float nearest 2*pi.
const float kTwoPi = 6.283184f;

GLubyte Alpha(const Color& color) { return static_cast<GLubyte>((color >> 24) & 0xFF); }
GLubyte Red(const Color& color) { return static_cast<GLubyte>((color >> 16) & 0xFF); }
GLubyte Green(const Color& color) { return static_cast<GLubyte>((color >> 8) & 0xFF); }
GLubyte Blue(const Color& color) { return static_cast<GLubyte>(color & 0xFF); }

void SendVertex(const Vector3& point) { glVertex3f(point.x, point.y, point.z); }

struct UnitDirection {
    float sine;
    float cosine;
};

std::array<UnitDirection, kCirclePointCount> MakeUnitCircle()
{
    std::array<UnitDirection, kCirclePointCount> directions;
    for (int i = 0; i < kCirclePointCount; ++i) {
        // NOTE: the quotient is formed in double and only the product rounded
        // to float; sine and cosine are taken in double and rounded, so every
        // C runtime gives the same bits.
        const float t = static_cast<float>((i / 25.0) * static_cast<double>(kTwoPi));
        const float s = static_cast<float>(std::sin(static_cast<double>(t)));
        const float c = static_cast<float>(std::cos(static_cast<double>(t)));
        directions[i] = UnitDirection{s, c};
    }
    return directions;
}

// Every circle has the same 25 directions; they are computed on first use.
const std::array<UnitDirection, kCirclePointCount>& UnitCircle()
{
    static const std::array<UnitDirection, kCirclePointCount> directions = MakeUnitCircle();
    return directions;
}

// The closed 25-point circle, written into points: the list is emptied first
// and its storage kept, so a reused list needs no allocation.
PathPrimitive MakeCircle(std::vector<Vector3> points, const Vector3& center, float radius, const Color& color,
                         bool aroundYAxis)
{
    points.clear();
    points.reserve(kCirclePointCount);
    for (const UnitDirection& direction : UnitCircle()) {
        const float s = direction.sine;
        const float c = direction.cosine;
        if (aroundYAxis) {
            points.push_back(Vector3(center.x + radius * s, center.y, center.z + radius * c));
        } else {
            points.push_back(Vector3(center.x + radius * s, center.y + radius * c, center.z));
        }
    }
    return PathPrimitive{std::move(points), color, true};
}

// The alpha byte of line colours is not sent.
void SendLine(const LinePrimitive& line)
{
    glColor3ub(Red(line.color), Green(line.color), Blue(line.color));
    SendVertex(line.start);
    SendVertex(line.end);
}

// Every inner point is sent twice: as the end of one segment and the start of the next.
void SendPath(const PathPrimitive& path)
{
    glColor3ub(Red(path.color), Green(path.color), Blue(path.color));
    // Plain pointers: the list's bounds need not be read again after every GL call.
    const Vector3* const first = path.points.data();
    const Vector3* const last = first + (path.points.size() - 1);
    for (const Vector3* point = first; point != last; ++point) {
        SendVertex(point[0]);
        SendVertex(point[1]);
    }
    if (path.closed) {
        SendVertex(*last);
        SendVertex(*first);
    }
}

void SendTriangle(const TrianglePrimitive& triangle)
{
    glColor4ub(Red(triangle.color), Green(triangle.color), Blue(triangle.color), Alpha(triangle.color));
    SendVertex(triangle.a);
    SendVertex(triangle.b);
    SendVertex(triangle.c);
}

void SendAxis(float red, float green, float blue, float x, float y, float z)
{
    glColor3f(red, green, blue);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(x, y, z);
}

} // namespace

Visualization::Visualization()
    : mIsVisible(true)
{
}

void Visualization::Render()
{
    if (!mIsVisible) {
        return;
    }

    glPushMatrix();
    glDisable(GL_LIGHTING);

    // Lines: permanent before temporary.
    glBegin(GL_LINES);
    for (const PathPrimitive& path : mPermanentPaths) {
        SendPath(path);
    }
    for (const LinePrimitive& line : mPermanentLines) {
        SendLine(line);
    }
    for (const PathPrimitive& path : mTemporaryPaths) {
        SendPath(path);
    }
    for (const LinePrimitive& line : mTemporaryLines) {
        SendLine(line);
    }
    glEnd();

    // Triangles: temporary before permanent.
    glBegin(GL_TRIANGLES);
    for (const TrianglePrimitive& triangle : mTemporaryTriangles) {
        SendTriangle(triangle);
    }
    for (const TrianglePrimitive& triangle : mPermanentTriangles) {
        SendTriangle(triangle);
    }
    glEnd();

    // NOTE: lighting is enabled on exit whatever it was on entry.
    glEnable(GL_LIGHTING);
    glPopMatrix();
}

// clear() keeps each list's storage, so refilling every step reuses it; the
// point lists of the cleared paths are kept for the next circles.
void Visualization::ClearTemporaryPrimitives()
{
    // Reserved first, so that moving the lists over cannot fail half-way.
    mSparePointLists.reserve(mSparePointLists.size() + mTemporaryPaths.size());
    for (PathPrimitive& path : mTemporaryPaths) {
        mSparePointLists.push_back(std::move(path.points));
    }
    mTemporaryLines.clear();
    mTemporaryPaths.clear();
    mTemporaryTriangles.clear();
}

void Visualization::ClearPermanentPrimitives()
{
    mPermanentLines.clear();
    mPermanentPaths.clear();
    mPermanentTriangles.clear();
}

void Visualization::AddLine(const Vector3& from, const Vector3& to, const Color& color)
{
    mTemporaryLines.push_back(LinePrimitive{from, to, color});
}

void Visualization::AddCircle(const Vector3& center, float radius, const Color& color, bool aroundYAxis)
{
    mTemporaryPaths.push_back(MakeCircle(TakeSparePointList(), center, radius, color, aroundYAxis));
}

void Visualization::AddPermanentPath(const std::vector<Vector3>& points, const Color& color, bool closed)
{
    if (points.size() < 2) {
        return;
    }
    mPermanentPaths.push_back(PathPrimitive{points, color, closed});
}

void Visualization::AddPermanentCircle(const Vector3& center, float radius, const Color& color,
                                       bool aroundYAxis)
{
    mPermanentPaths.push_back(MakeCircle(std::vector<Vector3>(), center, radius, color, aroundYAxis));
}

std::vector<Vector3> Visualization::TakeSparePointList()
{
    std::vector<Vector3> points;
    if (!mSparePointLists.empty()) {
        points.swap(mSparePointLists.back());
        mSparePointLists.pop_back();
    }
    return points;
}

void Visualization::AddTriangle(const Vector3& a, const Vector3& b, const Vector3& c, const Color& color)
{
    mTemporaryTriangles.push_back(TrianglePrimitive{a, b, c, color});
}

void Visualization::AddPermanentLine(const Vector3& from, const Vector3& to, const Color& color)
{
    mPermanentLines.push_back(LinePrimitive{from, to, color});
}

void Visualization::AddPermanentTriangle(const Vector3& a, const Vector3& b, const Vector3& c,
                                         const Color& color)
{
    mPermanentTriangles.push_back(TrianglePrimitive{a, b, c, color});
}

void DrawAxes(float length, bool includeNegative)
{
    glBegin(GL_LINES);
    SendAxis(1.0f, 0.0f, 0.0f, length, 0.0f, 0.0f);
    SendAxis(0.0f, 1.0f, 0.0f, 0.0f, length, 0.0f);
    SendAxis(0.0f, 0.0f, 1.0f, 0.0f, 0.0f, length);
    if (includeNegative) {
        SendAxis(0.5f, 0.0f, 0.0f, -length, 0.0f, 0.0f);
        SendAxis(0.0f, 0.5f, 0.0f, 0.0f, -length, 0.0f);
        SendAxis(0.0f, 0.0f, 0.5f, 0.0f, 0.0f, -length);
    }
    glEnd();
}

} // namespace Skidwell
