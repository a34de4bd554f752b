// Tests of the drawing code against the recording OpenGL: the store's batches
// and circles, the axes, and the whole scene frame of both game states.
#include "demo_state.h"
#include "math/float_bits.h"
#include "recording_gl.h"
#include "test_curve_state.h"

#include <gtest/gtest.h>

using kwTest::GlText;
using kwTest::Hex;
using Skidwell::Vector3;

TEST(Drawing, StoreSendsPermanentThenTemporaryLinesWithoutAlphaAndCirclesOfTwentyFivePoints)
{
    Skidwell::Visualization store;
    store.AddLine(Vector3(0, 0, 0), Vector3(1, 0, 0), 0x7F010203);
    store.AddCircle(Vector3(2, 0, 0), 0.0f, 0x00040506, true);
    store.AddPermanentPath({Vector3(0, 0, 1)}, 0xFFFFFFFF, true); // one point: nothing stored
    store.AddPermanentPath({Vector3(0, 0, 1), Vector3(0, 1, 0)}, 0x030A0B0C, true);
    std::string circle = "glColor3ub(0x4 0x5 0x6)";
    for (int vertex = 0; vertex < 50; ++vertex) {
        circle += " glVertex3f(2 0 0)";
    }
    const std::string lines = "glColor3ub(0xa 0xb 0xc) glVertex3f(0 0 1) glVertex3f(0 1 0) glVertex3f(0 1 0) "
                              "glVertex3f(0 0 1) " + circle + " glColor3ub(0x1 0x2 0x3) glVertex3f(0 0 0) glVertex3f(1 0 0)";
    const std::string bracket[] = {"glPushMatrix() glDisable(0xb50) glBegin(0x1) ",
                                   " glEnd() glBegin(0x4) glEnd() glEnable(0xb50) glPopMatrix()"};
    EXPECT_EQ(GlText([&] { store.Render(); }), bracket[0] + lines + bracket[1]);
    store.ClearTemporaryPrimitives();
    EXPECT_EQ(GlText([&] { store.Render(); }), bracket[0] + lines.substr(0, lines.find(" glColor3ub(0x4")) + bracket[1]);

    // A unit circle starts at +z (about y) or +y (about z); its second and last points.
    store.AddCircle(Vector3(0, 0, 0), 1.0f, 0, true);
    store.AddCircle(Vector3(1, 2, 3), 2.0f, 0, false);
    const std::vector<Vector3>& flat = store.GetTemporaryPaths()[0].points;
    ASSERT_EQ(flat.size(), 25u);
    EXPECT_EQ(Hex(flat[0]) + " " + Hex(flat[1]) + " " + Hex(flat[24]), "0 0 3f800000 " +
              Hex(Vector3(0.24868985f, 0, 0.96858317f)) + " " + Hex(Vector3(-0.2486912f, 0, 0.96858281f)));
    EXPECT_EQ(Hex(store.GetTemporaryPaths()[1].points[0]), Hex(Vector3(1, 4, 3)));
}

TEST(Drawing, SceneFramesOfBothStatesCallByCall)
{
    // Clear, the fixed projection, the camera looking down (-z up), the axes unlit, the empty store.
    const std::string frame = "glClearColor(0.129999995 0.129999995 0.140000001 1) glClear(0x4100) glEnable(0xb71) "
        "glMatrixMode(0x1701) glLoadMatrixf(1.58289719 0 0 0 0 2.11052966 0 0 0 0 -1.00020003 -1 0 0 -0.100020006 0) "
        "glMatrixMode(0x1700) glLoadIdentity() glPushMatrix() glLoadMatrixf(1 0 -0 0 0 0 1 0 0 -1 -0 0 0 0 0 1) glTranslatef(";
    const std::string axes = ") glDisable(0xb50) glDisable(0xde1) glDisable(0xb57) glBegin(0x1) glColor3f(1 0 0) glVertex3f(0 0 0) "
        "glVertex3f(1 0 0) glColor3f(0 1 0) glVertex3f(0 0 0) glVertex3f(0 1 0) glColor3f(0 0 1) glVertex3f(0 0 0) "
        "glVertex3f(0 0 1) glColor3f(0.5 0 0) glVertex3f(0 0 0) glVertex3f(-1 0 0) glColor3f(0 0.5 0) glVertex3f(0 0 0) "
        "glVertex3f(0 -1 0) glColor3f(0 0 0.5) glVertex3f(0 0 0) glVertex3f(0 0 -1) glEnd() glEnable(0xb50) "
        "glEnable(0xde1) glEnable(0xb57) glPushMatrix() glDisable(0xb50) glBegin(0x1) glEnd() glBegin(0x4) glEnd() "
        "glEnable(0xb50) glPopMatrix() glPopMatrix()";
    TestCurveState curveTest;
    DemoState demo;
    EXPECT_EQ(GlText([&] { curveTest.OnRender(); }), frame + "-0 -5 -0" + axes);
    EXPECT_EQ(GlText([&] { demo.OnRender(); }), frame + "-0 -5 1.625" + axes);
}
