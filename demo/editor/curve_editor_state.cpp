// Skidwell: the curve editor's state: its menu and keys, dragging a point with
// the left button, the paused or running marker, and the frame drawn into the
// picture's viewport by the shared scene frame.
#include "editor/curve_editor_state.h"

#include "game/kw_game_application.h"
#include "visualization/curve_figure.h"
#include "visualization/scene_view.h"

#include <cmath>

using Kelpwright::Application::DrawingSize;
using Kelpwright::Application::Key;
using Kelpwright::Application::KeyEvent;
using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;
using Skidwell::SurfacePoint;
using Skidwell::Vector3;

namespace {

const Kelpwright::Game::GameStateIdentifier kCurveEditorStateIdentifier = 1;
const MenuIdentifier kEditorMenu = 0;
const MenuItemIdentifier kFileItem = 1;
const MenuItemIdentifier kResetItem = 2;
const MenuItemIdentifier kExitItem = 3;
const MenuItemIdentifier kViewItem = 4;
const MenuItemIdentifier kAxesItem = 5;

const std::size_t kNoPoint = static_cast<std::size_t>(-1);
// How far outside its ring a point can still be taken, in pixels: the rings
// are only a few pixels across.
const float kPickMargin = 5.0f;

// The centre of the pixel the pointer is on.
SurfacePoint PixelCentre(const PointerPosition& position)
{
    return SurfacePoint{static_cast<float>(position.x) + 0.5f, static_cast<float>(position.y) + 0.5f};
}

} // namespace

CurveEditorState::CurveEditorState(Kelpwright::Game::GameApplication& application)
    : GameStateInterface(kCurveEditorStateIdentifier)
    , mApplication(application)
    , mMenu(kEditorMenu)
    , mAxesItem(nullptr)
    , mPoints(Skidwell::CurveTestPoints())
    , mSurfaceHeight(0)
    , mViewport{0, 0, 0, 0}
    , mCurveParameter(0.0f)
    , mDraggedPoint(kNoPoint)
    , mPaused(false)
    , mDrawAxes(true)
{
    mMenu.AddMenuItem(kFileItem, "File", kInvalidMenuItemIdentifier, true, false, true);
    mMenu.AddMenuItem(kResetItem, "Reset", kFileItem, true, false, true);
    mMenu.AddMenuItem(kExitItem, "Exit", kFileItem, true, false, true);
    mMenu.AddMenuItem(kViewItem, "View", kInvalidMenuItemIdentifier, true, false, true);
    mAxesItem = mMenu.AddMenuItem(kAxesItem, "Axes", kViewItem, true, mDrawAxes, true);
}

CurveEditorState::~CurveEditorState() {}

// Runs before the OpenGL context exists: it only prepares drawing data.
bool CurveEditorState::OnOpen()
{
    mApplication.SetWindowTitle("Skidwell: Curve Editor");
    mApplication.SetWindowMenu(mMenu);
    mApplication.SetActionHandler(this);
    // A size reported before this state received the application's events.
    OnDrawingSizeChange(mApplication.GetDrawingSize());
    RebuildFigure();
    return GameStateInterface::OnOpen();
}

void CurveEditorState::OnClose()
{
    mDraggedPoint = kNoPoint;
    mApplication.SetActionHandler(nullptr);
}

// While paused the marker is still drawn every step, on the curve as it is now.
void CurveEditorState::OnSimulate()
{
    mVisualization.ClearTemporaryPrimitives();
    if (mCurve.GetSegmentCount() == 0) {
        return;
    }
    if (!mPaused) {
        mCurveParameter = Skidwell::AdvanceCurveParameter(mCurveParameter, mCurve.GetSegmentCount());
    }
    Skidwell::AddCurveMarker(mVisualization, mCurve, mCurveParameter);
}

// The frame clears the whole surface, the bars beside the picture included.
// Until the surface's size is known OpenGL's own viewport stays.
void CurveEditorState::OnRender()
{
    if (mViewport.width > 0) {
        Skidwell::ApplyViewport(mViewport, mSurfaceHeight);
    }
    Skidwell::RenderSceneFrame(Skidwell::kCurveTestCamera, mDrawAxes, mVisualization);
}

// The menu identifier is not examined: the state has one menu.
void CurveEditorState::OnMenuAction(const MenuIdentifier& menuIdentifier,
                                    const MenuItemIdentifier& itemIdentifier)
{
    (void)menuIdentifier;
    if (itemIdentifier == kResetItem) {
        ResetPoints();
    } else if (itemIdentifier == kExitItem) {
        mApplication.Close();
    } else if (itemIdentifier == kAxesItem) {
        ToggleAxes();
    }
}

void CurveEditorState::OnKeyDown(const KeyEvent& event)
{
    // Held down, a key repeats: Space would pause and resume over and over.
    if (event.isRepeat) {
        return;
    }
    if (event.key == Key::Space) {
        mPaused = !mPaused;
    } else if (event.key == Key::R) {
        ResetPoints();
    }
}

void CurveEditorState::OnButtonDown(const PointerButton& button, const PointerPosition& position)
{
    if (button == PointerButton::Left) {
        mDraggedPoint = PickPoint(position);
    }
}

void CurveEditorState::OnPointerMove(const PointerPosition& position)
{
    if (mDraggedPoint != kNoPoint) {
        MoveDraggedPoint(position);
    }
}

// The point is dropped where the button comes up, which may be a position no
// move reported.
void CurveEditorState::OnButtonUp(const PointerButton& button, const PointerPosition& position)
{
    if (button == PointerButton::Left && mDraggedPoint != kNoPoint) {
        MoveDraggedPoint(position);
        mDraggedPoint = kNoPoint;
    }
}

void CurveEditorState::OnDrawingSizeChange(const DrawingSize& size)
{
    mSurfaceHeight = size.height;
    mViewport = Skidwell::FitViewport(size.width, size.height);
}

// Every point of the plane y = 0 is drawn at the same scale, so every ring
// reaches as far on the surface.
std::size_t CurveEditorState::PickPoint(const PointerPosition& position) const
{
    if (mViewport.width <= 0) {
        return kNoPoint;
    }
    const SurfacePoint pointer = PixelCentre(position);
    std::size_t nearest = kNoPoint;
    float nearestDistance = 0.0f;
    for (std::size_t index = 0; index < mPoints.size(); ++index) {
        const Vector3& point = mPoints[index];
        const SurfacePoint centre = Skidwell::ProjectToSurface(Skidwell::kCurveTestCamera, mViewport, point);
        const SurfacePoint edge = Skidwell::ProjectToSurface(
            Skidwell::kCurveTestCamera, mViewport, point + Vector3(Skidwell::kRingOuterRadius, 0.0f, 0.0f));
        const float reach = (edge.x - centre.x) + kPickMargin;
        const float distance = std::hypot(pointer.x - centre.x, pointer.y - centre.y);
        if (distance <= reach && (nearest == kNoPoint || distance < nearestDistance)) {
            nearest = index;
            nearestDistance = distance;
        }
    }
    return nearest;
}

// The point goes where the pointer is: to the spot of the plane y = 0 drawn
// under it, however far from the ring it was taken.
void CurveEditorState::MoveDraggedPoint(const PointerPosition& position)
{
    mPoints[mDraggedPoint] =
        Skidwell::SurfaceToGround(Skidwell::kCurveTestCamera, mViewport, PixelCentre(position));
    RebuildFigure();
}

// A drag in progress ends too: its next move would take the point away again.
void CurveEditorState::ResetPoints()
{
    mDraggedPoint = kNoPoint;
    mPoints = Skidwell::CurveTestPoints();
    RebuildFigure();
}

// The bar shows the menu as it was attached: the item changes, then the menu is attached again.
void CurveEditorState::ToggleAxes()
{
    mDrawAxes = !mDrawAxes;
    if (mAxesItem != nullptr) {
        mAxesItem->isChecked = mDrawAxes;
    }
    mApplication.SetWindowMenu(mMenu);
}

void CurveEditorState::RebuildFigure()
{
    mVisualization.ClearPermanentPrimitives();
    Skidwell::AddCurveFigure(mVisualization, mCurve, mPoints);
}
