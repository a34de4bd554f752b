// Skidwell: the demo state: its menu, the menu action that closes the
// application, and the animated figure drawn by the shared scene frame.
#include "demo_state.h"

#include "application/kw_realtime_application.h"
#include "application_globals.h"
#include "game/kw_game_application.h"
#include "visualization/scene_view.h"

#include <cmath>

using Kelpwright::Application::kInvalidMenuItemIdentifier;
using Kelpwright::Application::MenuIdentifier;
using Kelpwright::Application::MenuItemIdentifier;
using Skidwell::Color;
using Skidwell::Vector3;

namespace {

const Kelpwright::Game::GameStateIdentifier kDemoStateIdentifier = 1;
const MenuIdentifier kDemoMenuIdentifier = 0;
const MenuItemIdentifier kFileItem = 0;
const MenuItemIdentifier kExitItem = 1;

const Color kAxisLineColor = 0xFF8080FF;
const Color kInnerColor = 0xFFA0A0B0;
const Color kOuterColor = 0xFF404050;
const float kInnerRadius = 0.2159f;
const float kOuterRadius = 0.2979f;
// About one turn per 1000 steps.
const double kSpinStep = 0.006283;

// Centred on z = -1.625, looking straight down on y = 0.
const Skidwell::SceneCamera kCamera = {Vector3(0.0f, 5.0f, -1.625f), Vector3(0.0f, 0.0f, -1.625f),
                                       Vector3(0.0f, 0.0f, -1.0f)};

float sSpinAngle = 0.0f;

// The menu registry is process-wide and never forgets an item, so the items
// are declared once per process: declaring them at every opening would put a
// second "File" and "Exit" into the bar.
bool sMenuDeclared = false;

} // namespace

DemoState::DemoState()
    : GameStateInterface(kDemoStateIdentifier)
    , mDrawAxes(true)
    , mMenu(kDemoMenuIdentifier)
{
}

DemoState::~DemoState() {}

float DemoState::GetSpinAngle() { return sSpinAngle; }

void DemoState::ResetSpinAngle() { sSpinAngle = 0.0f; }

bool DemoState::OnOpen()
{
    mDrawAxes = true;
    gApplication->SetWindowTitle("Skidwell: Demo");
    if (!sMenuDeclared) {
        mMenu.AddMenuItem(kFileItem, "File", kInvalidMenuItemIdentifier, true, false, true);
        mMenu.AddMenuItem(kExitItem, "Exit", kFileItem, true, false, true);
        sMenuDeclared = true;
    }
    gApplication->SetWindowMenu(mMenu);
    gGameApplication->SetActionHandler(this);
    return GameStateInterface::OnOpen();
}

void DemoState::OnClose() { gGameApplication->SetActionHandler(nullptr); }

// The menu identifier is not examined: the state has one menu.
void DemoState::OnMenuAction(const MenuIdentifier& menuIdentifier, const MenuItemIdentifier& itemIdentifier)
{
    (void)menuIdentifier;
    if (itemIdentifier == kExitItem) {
        gApplication->Close();
    }
}

void DemoState::OnSimulate()
{
    mVisualization.ClearTemporaryPrimitives();
    mVisualization.AddLine(Vector3(-10.0f, 0.0f, 0.0f), Vector3(10.0f, 0.0f, 0.0f), kAxisLineColor);

    // NOTE: the sum is formed in double and stored back as a float; sine and
    // cosine are taken in double and rounded, so every C runtime agrees.
    sSpinAngle = static_cast<float>(static_cast<double>(sSpinAngle) + kSpinStep);
    const Vector3 center(0.0f, 0.0f, -0.5f);
    const float sine = static_cast<float>(std::sin(static_cast<double>(sSpinAngle)));
    const float cosine = static_cast<float>(std::cos(static_cast<double>(sSpinAngle)));
    const Vector3 direction = Vector3(sine, 0.0f, -cosine).Normalized();

    mVisualization.AddCircle(center, kInnerRadius, kInnerColor, true);
    mVisualization.AddLine(center, center + direction * kInnerRadius, kInnerColor);
    mVisualization.AddCircle(center, kOuterRadius, kOuterColor, true);
}

void DemoState::OnRender() { Skidwell::RenderSceneFrame(kCamera, mDrawAxes, mVisualization); }
