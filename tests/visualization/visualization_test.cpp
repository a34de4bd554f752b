// Tests of the debug-drawing store against the recording OpenGL: what each kind of primitive sends, in
// which batch and order, and what clearing keeps. The axes are in every frame of the states' tests.
#include "visualization/visualization.h"

#include "golden_file.h"
#include "visualization/recording_gl.h"

#include <gtest/gtest.h>

using namespace Skidwell;

namespace {

const Color kRed = 0x80FF0000; // half-transparent: lines never send the alpha byte, triangles do
const Color kGreen = 0x4000FF00;
const Color kBlue = 0xFF0000FF;

std::string Rendered(Visualization& store)
{
    return kwTest::GlText([&] { store.Render(); });
}

} // namespace

// Lines: permanent paths, permanent lines, temporary paths, temporary lines; then triangles: temporary
// before permanent. Each list's entries are told apart by colour or position.
TEST(Visualization, RenderSendsEveryListInItsBatch)
{
    Visualization store;
    store.AddPermanentPath({Vector3(1, 0, 0), Vector3(2, 0, 0)}, kRed, true); // p0-p1, then p1-p0
    // 25 points from +radius along z in the plane y = 0, t = (i / 25.0) * 6.283184 with the quotient in
    // double (6.2831855 would give 0.248689905 for i = 1, not 0.248689845).
    store.AddPermanentCircle(Vector3(0, 0, 0), 1, kRed, true);
    store.AddPermanentLine(Vector3(0, 1, 0), Vector3(0, 2, 0), kGreen);
    store.AddPermanentTriangle(Vector3(1, 1, 1), Vector3(2, 2, 2), Vector3(3, 3, 3), kBlue);
    store.AddCircle(Vector3(0, 0, 5), 2, kGreen, false); // in the plane z = 5, from +y
    store.AddLine(Vector3(0, 0, 1), Vector3(0, 0, 2), kBlue);
    store.AddTriangle(Vector3(-1, 0, 0), Vector3(0, -1, 0), Vector3(0, 0, -1), kGreen);
    std::string transcript = "every list\n" + Rendered(store);
    EXPECT_EQ(Rendered(store), Rendered(store)) << "a second render without a clear differs";

    store.ClearTemporaryPrimitives();
    transcript += "after clearing the temporary primitives\n" + Rendered(store);

    Visualization empty;
    empty.AddPermanentPath({}, kRed, false);
    empty.AddPermanentPath({Vector3(1, 0, 0)}, kRed, true); // one point: not a path
    transcript += "paths of no point and of one\n" + Rendered(empty);

    kwTest::ExpectMatchesGolden("visualization_render.txt", transcript);
}
