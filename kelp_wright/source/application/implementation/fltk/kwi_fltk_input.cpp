// Kelpwright FLTK backend: keys by a table of X keysyms (the codes FLTK uses
// too), repeats known by the keys X has down, and the pointer in the drawing
// view's pixels. Calls: XkbSetDetectableAutoRepeat, XQueryKeymap,
// XLookupKeysym, Fl::event_x, Fl::event_y, Fl::event_button, Fl::event_dy.
#include "application/implementation/fltk/kwi_fltk_input.h"

#include "application/implementation/kwi_input_state.h"

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <bitset>
#include <cstdint>

using Kelpwright::Application::Key;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;

namespace kwImplementation {
namespace Fltk {

namespace {

const struct {
    KeySym keysym;
    Key key;
} kKeys[] = {
    {XK_a, Key::A},
    {XK_b, Key::B},
    {XK_c, Key::C},
    {XK_d, Key::D},
    {XK_e, Key::E},
    {XK_f, Key::F},
    {XK_g, Key::G},
    {XK_h, Key::H},
    {XK_i, Key::I},
    {XK_j, Key::J},
    {XK_k, Key::K},
    {XK_l, Key::L},
    {XK_m, Key::M},
    {XK_n, Key::N},
    {XK_o, Key::O},
    {XK_p, Key::P},
    {XK_q, Key::Q},
    {XK_r, Key::R},
    {XK_s, Key::S},
    {XK_t, Key::T},
    {XK_u, Key::U},
    {XK_v, Key::V},
    {XK_w, Key::W},
    {XK_x, Key::X},
    {XK_y, Key::Y},
    {XK_z, Key::Z},
    {XK_0, Key::Digit0},
    {XK_1, Key::Digit1},
    {XK_2, Key::Digit2},
    {XK_3, Key::Digit3},
    {XK_4, Key::Digit4},
    {XK_5, Key::Digit5},
    {XK_6, Key::Digit6},
    {XK_7, Key::Digit7},
    {XK_8, Key::Digit8},
    {XK_9, Key::Digit9},
    {XK_Left, Key::Left},
    {XK_Right, Key::Right},
    {XK_Up, Key::Up},
    {XK_Down, Key::Down},
    {XK_space, Key::Space},
    {XK_Return, Key::Enter},
    {XK_KP_Enter, Key::Enter},
    {XK_Escape, Key::Escape},
    {XK_Tab, Key::Tab},
    {XK_BackSpace, Key::Backspace},
    {XK_Delete, Key::Delete},
    {XK_F1, Key::F1},
    {XK_F2, Key::F2},
    {XK_F3, Key::F3},
    {XK_F4, Key::F4},
    {XK_F5, Key::F5},
    {XK_F6, Key::F6},
    {XK_F7, Key::F7},
    {XK_F8, Key::F8},
    {XK_F9, Key::F9},
    {XK_F10, Key::F10},
    {XK_F11, Key::F11},
    {XK_F12, Key::F12},
    {XK_Shift_L, Key::Shift},
    {XK_Shift_R, Key::Shift},
    {XK_Control_L, Key::Control},
    {XK_Control_R, Key::Control},
    {XK_Alt_L, Key::Alt},
    {XK_Alt_R, Key::Alt},
};

// FLTK's button numbers, 1 to 3.
const PointerButton kButtons[] = {PointerButton::Left, PointerButton::Middle, PointerButton::Right};

struct FltkInput {
    std::bitset<256> keysDown; // by X keycode, as far as this window has seen
};

FltkInput sInput;

Key KeyFor(KeySym keysym)
{
    for (const auto& row : kKeys) {
        if (row.keysym == keysym) {
            return row.key;
        }
    }
    return Key::Unknown;
}

PointerPosition EventPosition() { return PointerPosition{Fl::event_x(), Fl::event_y()}; }

void OnButton(int event)
{
    const int number = Fl::event_button();
    if (number < 1 || number > 3) {
        return;
    }
    if (event == FL_PUSH) {
        NotifyButtonDown(kButtons[number - 1], EventPosition());
    } else {
        NotifyButtonUp(kButtons[number - 1], EventPosition());
    }
}

// FLTK's dy is positive towards the user; a notch away from the user counts +1.
void OnWheel()
{
    if (Fl::event_dy() != 0) {
        NotifyWheel(static_cast<float>(-Fl::event_dy()), EventPosition());
    }
}

} // namespace

void PrepareKeyboard()
{
    // NOTE: without it X sends a release before every repeated press, which
    // would read as the key let go and pressed again.
    XkbSetDetectableAutoRepeat(fl_display, True, nullptr);
}

void NoteKeysDown()
{
    char keys[32] = {};
    XQueryKeymap(fl_display, keys);
    for (std::size_t keycode = 0; keycode < sInput.keysDown.size(); ++keycode) {
        sInput.keysDown.set(keycode, (keys[keycode / 8] & (1 << (keycode % 8))) != 0);
    }
}

void ReportKeyEvent(const XKeyEvent& event)
{
    XKeyEvent unshifted = event;
    const KeySym keysym = XLookupKeysym(&unshifted, 0);
    const auto nativeCode = static_cast<std::int32_t>(keysym);
    const std::size_t keycode = event.keycode % sInput.keysDown.size();
    if (event.type == KeyPress) {
        const bool wasDown = sInput.keysDown.test(keycode);
        sInput.keysDown.set(keycode);
        // NOTE: while a menu is open FLTK grabs the keyboard for it: presses then belong to the menu, as
        // on Win32. Releases are still reported, so that no key pressed before is left held.
        if (Fl::grab() == nullptr) {
            NotifyKeyDown(KeyFor(keysym), nativeCode, wasDown);
        }
    } else {
        sInput.keysDown.reset(keycode);
        NotifyKeyUp(KeyFor(keysym), nativeCode);
    }
}

bool ReportPointerEvent(int event)
{
    switch (event) {
    case FL_ENTER:
    case FL_MOVE:
    case FL_DRAG:
        NotifyPointerMove(EventPosition());
        return true;
    case FL_PUSH:
    case FL_RELEASE:
        OnButton(event);
        return true;
    case FL_MOUSEWHEEL:
        OnWheel();
        return true;
    case FL_LEAVE:
        return true;
    default:
        return false;
    }
}

} // namespace Fltk
} // namespace kwImplementation
