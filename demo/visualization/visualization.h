// Skidwell: the debug-drawing store every game state owns. It keeps temporary
// primitives (replaced each simulation step) and permanent ones (kept for the
// store's lifetime) and draws them all with immediate-mode OpenGL 1.1.
#pragma once

#include "math/vector3.h"

#include <cstdint>
#include <vector>

namespace Skidwell {

// 0xAARRGGBB: alpha in bits 31-24, then red, green and blue.
typedef std::uint32_t Color;

struct LinePrimitive {
    Vector3 start;
    Vector3 end;
    Color color;
};

// Always holds at least two points; closed adds the segment back to the first.
struct PathPrimitive {
    std::vector<Vector3> points;
    Color color;
    bool closed;
};

struct TrianglePrimitive {
    Vector3 a;
    Vector3 b;
    Vector3 c;
    Color color;
};

class Visualization {
public:
    Visualization();
    // Not virtual: nothing deletes a store through a base pointer.
    ~Visualization() {}

    // One GL_LINES batch (permanent paths, permanent lines, temporary paths,
    // temporary lines) then one GL_TRIANGLES batch (temporary, then permanent).
    // Changes no list. Needs a current OpenGL context.
    virtual void Render();

    void ClearTemporaryPrimitives();
    // Empties the three permanent lists, for an owner whose figure changes (the
    // curve editor's, when a point moves).
    void ClearPermanentPrimitives();
    void AddLine(const Vector3& from, const Vector3& to, const Color& color);
    // A closed 25-point circle, in the plane y = center.y when aroundYAxis is
    // true, else in the plane z = center.z.
    void AddCircle(const Vector3& center, float radius, const Color& color, bool aroundYAxis);
    // Stores nothing for fewer than two points.
    void AddPermanentPath(const std::vector<Vector3>& points, const Color& color, bool closed);
    void AddPermanentCircle(const Vector3& center, float radius, const Color& color, bool aroundYAxis);
    // The demo's states use none of these three; tools may.
    void AddTriangle(const Vector3& a, const Vector3& b, const Vector3& c, const Color& color);
    void AddPermanentLine(const Vector3& from, const Vector3& to, const Color& color);
    void AddPermanentTriangle(const Vector3& a, const Vector3& b, const Vector3& c, const Color& color);

    // Read access for tools and tests.
    const std::vector<LinePrimitive>& GetTemporaryLines() const { return mTemporaryLines; }
    const std::vector<PathPrimitive>& GetTemporaryPaths() const { return mTemporaryPaths; }
    const std::vector<TrianglePrimitive>& GetTemporaryTriangles() const { return mTemporaryTriangles; }
    const std::vector<LinePrimitive>& GetPermanentLines() const { return mPermanentLines; }
    const std::vector<PathPrimitive>& GetPermanentPaths() const { return mPermanentPaths; }
    const std::vector<TrianglePrimitive>& GetPermanentTriangles() const { return mPermanentTriangles; }

private:
    // An emptied point list kept by an earlier clear, or a new empty one.
    std::vector<Vector3> TakeSparePointList();

    std::vector<LinePrimitive> mTemporaryLines;
    std::vector<PathPrimitive> mTemporaryPaths;
    std::vector<TrianglePrimitive> mTemporaryTriangles;
    std::vector<LinePrimitive> mPermanentLines;
    std::vector<PathPrimitive> mPermanentPaths;
    std::vector<TrianglePrimitive> mPermanentTriangles;
    // The point lists of cleared temporary paths, with their storage, for the
    // circles of the next step: once the lists have reached their sizes, a
    // step neither allocates nor frees.
    std::vector<std::vector<Vector3>> mSparePointLists;

protected:
    // Nothing in the program hides a store; Render draws nothing while false.
    bool mIsVisible;
};

// Draws the three coordinate axes from the origin (red x, green y, blue z),
// and with includeNegative also the negative half-axes at half intensity.
void DrawAxes(float length, bool includeNegative);

} // namespace Skidwell
