// Kelpwright: what the handler's input and drawing-size callbacks carry. Keys
// are platform-neutral codes; positions are in drawing-surface pixels from the
// top-left corner, y down.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Kelpwright {
namespace Application {

// One row a group; formatting would put each code on a line of its own.
// clang-format off
enum class Key : std::uint8_t {
    Unknown, // a key outside this set: KeyEvent::nativeCode tells which
    A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
    Digit0, Digit1, Digit2, Digit3, Digit4, Digit5, Digit6, Digit7, Digit8, Digit9,
    Left, Right, Up, Down,
    Space, Enter, Escape, Tab, Backspace, Delete,
    F1, F2, F3, F4, F5, F6, F7, F8, F9, F10, F11, F12,
    Shift, Control, Alt,
};
// clang-format on

// How many codes Key has, Unknown included.
const std::size_t kKeyCount = static_cast<std::size_t>(Key::Alt) + 1;

struct KeyEvent {
    Key key;
    // The platform's own code of the key (a Win32 virtual-key code, an X keysym,
    // a DOM key code), also for the keys that have a neutral code.
    std::int32_t nativeCode;
    // Key down only: the key was already held (the keyboard's auto-repeat).
    bool isRepeat;
};

enum class PointerButton : std::uint8_t { Left, Right, Middle };

const std::size_t kPointerButtonCount = 3;

struct PointerPosition {
    std::int32_t x;
    std::int32_t y;
};

// The drawing surface in pixels: the window's client area without its menu bar.
struct DrawingSize {
    std::int32_t width;
    std::int32_t height;
};

} // namespace Application
} // namespace Kelpwright
