// Tests of the curve editor's state without a window: its frame (the curve test's figure in a centred 4:3
// picture), picking and dragging a ring with the pointer, the keys and the menu. Events come through the
// game application's handler, as the window's would.
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_system_application_menu.h"
#include "application/menu_description.h"
#include "demo/test_application.h"
#include "editor/curve_editor_state.h"
#include "game/kwi_game_application_handler.h"
#include "math/float_bits.h"
#include "test_curve_state.h"
#include "visualization/curve_figure.h"
#include "visualization/recording_gl.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

using Kelpwright::Application::Key;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;
using Skidwell::Vector3;

namespace {

// A surface wider than 4:3, known before the editor opens: the picture is its middle 800 x 600.
const Kelpwright::Application::DrawingSize kSurface = {1000, 600};
const Skidwell::Viewport kPicture = {100, 0, 800, 600};

// Where the frame draws the point (x, 0, z), worked out here in double: the eye 5 above the plane, +x
// right, -z up, f = 1 / tan(35 radians), the 4:3 aspect.
const double kFocal = 1.0 / std::tan(35.0);
const double kAspect = 4.0 / 3.0;

// The pixel under the point, moved by (dx, dy).
PointerPosition PixelOf(const Vector3& point, int dx = 0, int dy = 0)
{
    const double x = kPicture.x + (1 + point.x * kFocal / kAspect / 5) / 2 * kPicture.width;
    const double y = kPicture.y + (1 + point.z * kFocal / 5) / 2 * kPicture.height;
    return {static_cast<int>(x) + dx, static_cast<int>(y) + dy};
}

// The point of the plane drawn at a pixel's centre.
Vector3 GroundOf(const PointerPosition& pixel)
{
    const double x = (2 * (pixel.x + 0.5 - kPicture.x) / kPicture.width - 1) * 5 * kAspect / kFocal;
    const double z = (2 * (pixel.y + 0.5 - kPicture.y) / kPicture.height - 1) * 5 / kFocal;
    return Vector3(static_cast<float>(x), 0.0f, static_cast<float>(z));
}

// Within a hundredth of a pixel, which is about 0.008 wide here.
void ExpectAt(const Vector3& point, const Vector3& expected)
{
    EXPECT_NEAR(point.x, expected.x, 1e-4f);
    EXPECT_EQ(point.y, 0.0f) << "off the plane";
    EXPECT_NEAR(point.z, expected.z, 1e-4f);
}

std::string Frame(Kelpwright::Game::GameStateInterface& state)
{
    return kwTest::GlText([&] { state.OnRender(); });
}

class CurveEditorTest : public testing::Test {
protected:
    void SetUp() override
    {
        kwImplementation::GetMenuRegistry().clear();
        kwImplementation::ResetInputState();
        kwImplementation::NotifyDrawingSize(kSurface);
        editor = std::make_unique<CurveEditorState>(kwTest::TestApplication());
    }
    void TearDown() override { editor->OnClose(); }

    // Without a window, attaching the menu is reported: the printed block stays out of the test log.
    void AttachingTheMenu(const std::function<void()>& call)
    {
        testing::internal::CaptureStdout();
        call();
        testing::internal::GetCapturedStdout();
    }
    void Open()
    {
        bool opened = false;
        AttachingTheMenu([&] { opened = editor->OnOpen(); });
        EXPECT_TRUE(opened);
    }
    void Drag(const PointerPosition& from, const PointerPosition& to)
    {
        handler.OnButtonDown(PointerButton::Left, from);
        handler.OnPointerMove(to);
        handler.OnButtonUp(PointerButton::Left, to);
    }
    void Press(Key key, bool isRepeat = false) { handler.OnKeyDown({key, 0, isRepeat}); }

    kwImplementation::GameApplicationHandler& handler = kwImplementation::GetGameApplicationHandler();
    std::unique_ptr<CurveEditorState> editor;
    const std::vector<Vector3> original = Skidwell::CurveTestPoints();
};

} // namespace

// The same figure, marker and scene view as the curve test, drawn into the largest centred 4:3 rectangle
// of the surface (glViewport counts rows from the bottom).
TEST_F(CurveEditorTest, DrawsTheCurveTestInACentredPicture)
{
    TestCurveState curveTest;
    TestCurveState::ResetCurveParameter();
    ASSERT_TRUE(curveTest.OnOpen());
    curveTest.OnSimulate();
    const std::string curveTestFrame = Frame(curveTest);
    kwImplementation::ResetInputState();
    Open();
    editor->OnSimulate();
    EXPECT_EQ(Frame(*editor), curveTestFrame) << "before the surface's size is known";

    const struct {
        Kelpwright::Application::DrawingSize surface;
        const char* viewport;
    } kSizes[] = {
        {{1000, 600}, "glViewport(100 0 800 600)"}, // wider: bars left and right
        {{800, 601}, "glViewport(0 1 800 600)"}, // the odd row goes above
        {{640, 1000}, "glViewport(0 260 640 480)"}, // taller: bars above and below
        {{800, 575}, "glViewport(16 0 767 575)"}, // 766.67 wide, rounded
    };
    for (const auto& size : kSizes) {
        SCOPED_TRACE(size.viewport);
        handler.OnDrawingSizeChange(size.surface);
        EXPECT_EQ(Frame(*editor), size.viewport + std::string("\n") + curveTestFrame);
    }
}

// A ring is taken within 5 pixels of its outer circle (radius 0.027, 3.4 pixels here), and when two are
// within reach, the nearer one.
TEST_F(CurveEditorTest, PicksTheNearestRingWithinReach)
{
    Open();
    const struct {
        int dx;
        int dy;
        bool taken;
    } kPresses[] = {
        {8, 0, true}, // 7.9 pixels from the ring's centre
        {9, 0, false}, // 8.9
        {0, -8, true}, // 7.8
        {0, -9, false}, // 8.8
        {-5, 6, true}, // 8.0
        {-6, 6, false}, // 8.7
    };
    for (const auto& press : kPresses) {
        SCOPED_TRACE(testing::Message() << press.dx << ", " << press.dy);
        Drag(PixelOf(original[3], press.dx, press.dy), {600, 100});
        EXPECT_EQ(editor->GetPoints()[3].x != original[3].x, press.taken);
        Press(Key::R);
    }

    // Point 0 put 4 pixels to the left of point 1: a press 2 pixels to the right of point 1 takes point 1.
    Drag(PixelOf(original[0]), PixelOf(original[1], -4));
    Drag(PixelOf(original[1], 2), {600, 100});
    ExpectAt(editor->GetPoints()[1], GroundOf({600, 100}));
    ExpectAt(editor->GetPoints()[0], GroundOf(PixelOf(original[1], -4)));
}

// The point follows the pointer to the spot of the plane drawn under it, and the curve is made again at
// every move, through the moved point.
TEST_F(CurveEditorTest, DraggedPointFollowsThePointer)
{
    Open();
    handler.OnButtonDown(PointerButton::Left, PixelOf(original[2]));
    for (const PointerPosition& pointer : {PointerPosition{850, 30}, PointerPosition{105, 590}}) {
        SCOPED_TRACE(testing::Message() << pointer.x << ", " << pointer.y);
        handler.OnPointerMove(pointer);
        ExpectAt(editor->GetPoints()[2], GroundOf(pointer));
        EXPECT_EQ(kwTest::Hex(editor->GetCurve().GetSegment(2).p0), kwTest::Hex(editor->GetPoints()[2]));
    }

    // Dropped where the button comes up, then no longer carried; the figure is not drawn twice.
    handler.OnButtonUp(PointerButton::Left, {400, 200});
    handler.OnPointerMove({420, 220});
    ExpectAt(editor->GetPoints()[2], GroundOf({400, 200}));
    EXPECT_EQ(editor->GetVisualization().GetPermanentPaths().size(), 25u) << "24 ring circles and the curve";
}

// R and File -> Reset bring back the very frame of the six points, and end a drag.
TEST_F(CurveEditorTest, ResetRestoresTheSixPoints)
{
    Open();
    editor->OnSimulate();
    const std::string before = Frame(*editor);
    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "File -> Reset" : "R");
        Drag(PixelOf(original[4]), {500, 500});
        handler.OnButtonDown(PointerButton::Left, PixelOf(original[5]));
        handler.OnPointerMove({200, 100});
        if (byMenu) {
            handler.OnMenuAction(0, 2);
        } else {
            Press(Key::R);
        }
        handler.OnPointerMove({220, 120});
        EXPECT_EQ(Frame(*editor), before);
        handler.OnButtonUp(PointerButton::Left, {220, 120});
    }
}

// Space stops the marker where it is and starts it again; a key's auto-repeat changes nothing.
TEST_F(CurveEditorTest, SpacePausesTheMarker)
{
    Open();
    editor->OnSimulate();
    const std::string paused = Frame(*editor);
    Press(Key::Space);
    for (int step = 0; step < 100; ++step) {
        editor->OnSimulate();
    }
    EXPECT_EQ(Frame(*editor), paused) << "the marker moved while paused";
    Press(Key::Space, true);
    editor->OnSimulate();
    EXPECT_EQ(Frame(*editor), paused) << "a repeat of Space started the marker";

    Press(Key::Space);
    editor->OnSimulate();
    EXPECT_NE(Frame(*editor), paused) << "the marker did not start again";
}

// View -> Axes hides the axes and takes the check mark away; again, both come back.
TEST_F(CurveEditorTest, AxesItemTogglesTheAxesAndItsCheckMark)
{
    Open();
    const auto menu = [] { return kwTest::Describe(kwImplementation::GetMenuRoot(0)->children); };
    const auto axesDrawn = [&] { return Frame(*editor).find("glColor3f(1 0 0)") != std::string::npos; };
    EXPECT_EQ(menu(), " File(1)[ Reset(2) Exit(3) ] View(4)[ Axes(5)* ]");
    EXPECT_TRUE(axesDrawn());
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "chosen again" : "chosen once");
        AttachingTheMenu([&] { handler.OnMenuAction(0, 5); });
        EXPECT_EQ(menu(),
                  std::string(" File(1)[ Reset(2) Exit(3) ] View(4)[ Axes(5)") + (shown ? "* ]" : " ]"));
        EXPECT_EQ(axesDrawn(), shown);
    }
}
