// Kelpwright Win32 backend: keys by a table of virtual-key codes, client-area
// pointer positions, the mouse captured while a button is held (so a drag that
// leaves the window is followed to its release), and the client size.
// USER32: SetCapture, ReleaseCapture, GetCapture, ScreenToClient.
#include "application/implementation/windows/kwi_windows_input.h"

#include "application/implementation/kwi_input_state.h"

#include <windowsx.h>

#include <cstdint>

using Kelpwright::Application::DrawingSize;
using Kelpwright::Application::Key;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;

namespace kwImplementation {
namespace Windows {

namespace {

const struct {
    WPARAM virtualKey;
    Key key;
} kKeys[] = {
    {'A', Key::A},
    {'B', Key::B},
    {'C', Key::C},
    {'D', Key::D},
    {'E', Key::E},
    {'F', Key::F},
    {'G', Key::G},
    {'H', Key::H},
    {'I', Key::I},
    {'J', Key::J},
    {'K', Key::K},
    {'L', Key::L},
    {'M', Key::M},
    {'N', Key::N},
    {'O', Key::O},
    {'P', Key::P},
    {'Q', Key::Q},
    {'R', Key::R},
    {'S', Key::S},
    {'T', Key::T},
    {'U', Key::U},
    {'V', Key::V},
    {'W', Key::W},
    {'X', Key::X},
    {'Y', Key::Y},
    {'Z', Key::Z},
    {'0', Key::Digit0},
    {'1', Key::Digit1},
    {'2', Key::Digit2},
    {'3', Key::Digit3},
    {'4', Key::Digit4},
    {'5', Key::Digit5},
    {'6', Key::Digit6},
    {'7', Key::Digit7},
    {'8', Key::Digit8},
    {'9', Key::Digit9},
    {VK_LEFT, Key::Left},
    {VK_RIGHT, Key::Right},
    {VK_UP, Key::Up},
    {VK_DOWN, Key::Down},
    {VK_SPACE, Key::Space},
    {VK_RETURN, Key::Enter},
    {VK_ESCAPE, Key::Escape},
    {VK_TAB, Key::Tab},
    {VK_BACK, Key::Backspace},
    {VK_DELETE, Key::Delete},
    {VK_F1, Key::F1},
    {VK_F2, Key::F2},
    {VK_F3, Key::F3},
    {VK_F4, Key::F4},
    {VK_F5, Key::F5},
    {VK_F6, Key::F6},
    {VK_F7, Key::F7},
    {VK_F8, Key::F8},
    {VK_F9, Key::F9},
    {VK_F10, Key::F10},
    {VK_F11, Key::F11},
    {VK_F12, Key::F12},
    {VK_SHIFT, Key::Shift},
    {VK_CONTROL, Key::Control},
    {VK_MENU, Key::Alt},
};

const WPARAM kButtonsHeld = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON;

Key KeyFor(WPARAM virtualKey)
{
    for (const auto& row : kKeys) {
        if (row.virtualKey == virtualKey) {
            return row.key;
        }
    }
    return Key::Unknown;
}

// Client-area pixels; negative or past the edge while the mouse is captured.
PointerPosition PositionOf(LPARAM lParam)
{
    return PointerPosition{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

void OnKeyDown(WPARAM virtualKey, LPARAM lParam)
{
    // Bit 30: the key was down before this message, the keyboard's auto-repeat.
    const bool wasDown = (lParam & (LPARAM(1) << 30)) != 0;
    NotifyKeyDown(KeyFor(virtualKey), static_cast<std::int32_t>(virtualKey), wasDown);
}

void OnKeyUp(WPARAM virtualKey) { NotifyKeyUp(KeyFor(virtualKey), static_cast<std::int32_t>(virtualKey)); }

void OnButtonDown(HWND window, PointerButton button, LPARAM lParam)
{
    SetCapture(window);
    NotifyButtonDown(button, PositionOf(lParam));
}

// wParam holds the buttons still down after this release.
void OnButtonUp(HWND window, PointerButton button, WPARAM wParam, LPARAM lParam)
{
    NotifyButtonUp(button, PositionOf(lParam));
    if ((wParam & kButtonsHeld) == 0 && GetCapture() == window) {
        ReleaseCapture();
    }
}

// The capture went to another window (or the system took it): the releases
// of the buttons still held will not come here, so they are released now.
void OnCaptureChanged(HWND window, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(lParam) == window) { // NOLINT(performance-no-int-to-ptr): Win32's own
        return;
    }
    ReleaseHeldButtons();
}

// The wheel's position is in screen coordinates; a notch is WHEEL_DELTA.
void OnWheel(HWND window, WPARAM wParam, LPARAM lParam)
{
    POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &point);
    const float notches = static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam)) / WHEEL_DELTA;
    NotifyWheel(notches, PointerPosition{point.x, point.y});
}

// The client area is the drawing surface; a minimised window keeps its size.
void OnSize(WPARAM wParam, LPARAM lParam)
{
    if (wParam != SIZE_MINIMIZED) {
        NotifyDrawingSize(DrawingSize{LOWORD(lParam), HIWORD(lParam)});
    }
}

} // namespace

void ReportInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        OnKeyDown(wParam, lParam);
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        OnKeyUp(wParam);
        break;
    case WM_MOUSEMOVE:
        NotifyPointerMove(PositionOf(lParam));
        break;
    case WM_LBUTTONDOWN:
        OnButtonDown(window, PointerButton::Left, lParam);
        break;
    case WM_RBUTTONDOWN:
        OnButtonDown(window, PointerButton::Right, lParam);
        break;
    case WM_MBUTTONDOWN:
        OnButtonDown(window, PointerButton::Middle, lParam);
        break;
    case WM_LBUTTONUP:
        OnButtonUp(window, PointerButton::Left, wParam, lParam);
        break;
    case WM_RBUTTONUP:
        OnButtonUp(window, PointerButton::Right, wParam, lParam);
        break;
    case WM_MBUTTONUP:
        OnButtonUp(window, PointerButton::Middle, wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(window, lParam);
        break;
    case WM_MOUSEWHEEL:
        OnWheel(window, wParam, lParam);
        break;
    case WM_SIZE:
        OnSize(wParam, lParam);
        break;
    default:
        break;
    }
}

} // namespace Windows
} // namespace kwImplementation
