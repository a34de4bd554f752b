// Tests of the debug-drawing store and the axes against the recording OpenGL: what each kind of
// primitive sends, in which batch and order, and what clearing keeps.
#include "visualization/visualization.h"

#include "golden_file.h"
#include "math/float_bits.h"
#include "visualization/recording_gl.h"

#include <gtest/gtest.h>

using namespace Skidwell;

namespace {

const Vector3 kOrigin(0, 0, 0);
const Color kRed = 0x80FF0000; // half-transparent: lines never send the alpha byte, triangles do
const Color kGreen = 0x4000FF00;
const Color kBlue = 0xFF0000FF;

// One primitive of every kind, each list's entries distinguishable by colour or position.
void FillEveryList(Visualization& store)
{
    store.AddPermanentPath({Vector3(1, 0, 0), Vector3(2, 0, 0)}, kRed, true); // p0-p1, then p1-p0
    store.AddPermanentLine(Vector3(0, 1, 0), Vector3(0, 2, 0), kGreen);
    store.AddPermanentTriangle(Vector3(1, 1, 1), Vector3(2, 2, 2), Vector3(3, 3, 3), kBlue);
    store.AddCircle(kOrigin, 1, kRed, false);
    store.AddLine(Vector3(0, 0, 1), Vector3(0, 0, 2), kBlue);
    store.AddTriangle(Vector3(-1, 0, 0), Vector3(0, -1, 0), Vector3(0, 0, -1), kGreen);
}

std::string Rendered(Visualization& store)
{
    return kwTest::GlText([&] { store.Render(); });
}

} // namespace

TEST(Visualization, RenderSendsEveryListInItsBatch)
{
    Visualization store;
    FillEveryList(store);
    // Lines: permanent paths, permanent lines, temporary paths, temporary lines; then triangles:
    // temporary before permanent.
    EXPECT_TRUE(
        kwTest::MatchesGolden("visualization_every_list.txt", kwTest::OneCallPerLine(Rendered(store))));
    EXPECT_EQ(Rendered(store), Rendered(store)) << "a second render without a clear differs";
}

TEST(Visualization, ClearKeepsOnlyThePermanentPrimitives)
{
    Visualization store;
    FillEveryList(store);
    store.ClearTemporaryPrimitives();
    Visualization permanentOnly;
    permanentOnly.AddPermanentPath({Vector3(1, 0, 0), Vector3(2, 0, 0)}, kRed, true);
    permanentOnly.AddPermanentLine(Vector3(0, 1, 0), Vector3(0, 2, 0), kGreen);
    permanentOnly.AddPermanentTriangle(Vector3(1, 1, 1), Vector3(2, 2, 2), Vector3(3, 3, 3), kBlue);
    EXPECT_EQ(Rendered(store), Rendered(permanentOnly));
}

TEST(Visualization, EmptyStoreStillBracketsItsBatches)
{
    Visualization store;
    store.AddPermanentPath({}, kRed, false);
    store.AddPermanentPath({Vector3(1, 0, 0)}, kRed, true); // one point: not a path
    EXPECT_EQ(Rendered(store),
              "glPushMatrix() glDisable(0xb50) glBegin(0x1) glEnd() glBegin(0x4) glEnd() "
              "glEnable(0xb50) glPopMatrix()");
}

TEST(Visualization, HiddenStoreSendsNothing)
{
    struct HiddenStore : Visualization {
        HiddenStore() { mIsVisible = false; }
    } store;
    FillEveryList(store);
    EXPECT_EQ(Rendered(store), "");
}

TEST(Visualization, CirclesHaveTwentyFivePoints)
{
    Visualization store;
    store.AddPermanentCircle(kOrigin, 1, kRed, true);
    store.AddCircle(Vector3(0, 0, 5), 2, kRed, false);
    ASSERT_EQ(store.GetPermanentPaths().size(), 1u);
    const PathPrimitive& ring = store.GetPermanentPaths()[0];
    ASSERT_EQ(ring.points.size(), 25u);
    EXPECT_TRUE(ring.closed);
    EXPECT_EQ(kwTest::Hex(ring.points[0]), kwTest::Hex(Vector3(0, 0, 1))) << "starts at +radius along z";
    // t = (i / 25.0) * 6.283184, the quotient in double: about (0.2486898, 0, 0.9685832) for i = 1.
    EXPECT_EQ(kwTest::Hex(ring.points[1]), "3e7ea88d 0 3f77f511"); // 6.2831855 gives 3e7ea891
    EXPECT_EQ(kwTest::Hex(ring.points[24]), "be7ea8e8 0 3f77f50b"); // and be7ea88b 0 3f77f511
    ASSERT_EQ(store.GetTemporaryPaths().size(), 1u);
    const PathPrimitive& upright = store.GetTemporaryPaths()[0];
    ASSERT_EQ(upright.points.size(), 25u);
    EXPECT_EQ(kwTest::Hex(upright.points[0]), kwTest::Hex(Vector3(0, 2, 5))) << "in the plane z = 5, from +y";
}

TEST(Visualization, AxesOptionallyWithNegativeHalves)
{
    const std::string positive = "glBegin(0x1) glColor3f(1 0 0) glVertex3f(0 0 0) glVertex3f(2 0 0) "
                                 "glColor3f(0 1 0) glVertex3f(0 0 0) glVertex3f(0 2 0) "
                                 "glColor3f(0 0 1) glVertex3f(0 0 0) glVertex3f(0 0 2)";
    const std::string negative = " glColor3f(0.5 0 0) glVertex3f(0 0 0) glVertex3f(-2 0 0) "
                                 "glColor3f(0 0.5 0) glVertex3f(0 0 0) glVertex3f(0 -2 0) "
                                 "glColor3f(0 0 0.5) glVertex3f(0 0 0) glVertex3f(0 0 -2)";
    EXPECT_EQ(kwTest::GlText([] { DrawAxes(2, false); }), positive + " glEnd()");
    EXPECT_EQ(kwTest::GlText([] { DrawAxes(2, true); }), positive + negative + " glEnd()");
}
