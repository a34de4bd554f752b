// Kelpwright web backend: DOM key codes to neutral keys, one row a key. Both
// Shift, Control and Alt keys and both Enter keys give the one neutral key.
#include "application/implementation/web/kwi_web_key_table.h"

#include <cstring>

using Kelpwright::Application::Key;

namespace kwImplementation {
namespace Web {

namespace {

struct KeyRow {
    const char* code;
    Key key;
};

const KeyRow kKeys[] = {
    {"KeyA", Key::A},
    {"KeyB", Key::B},
    {"KeyC", Key::C},
    {"KeyD", Key::D},
    {"KeyE", Key::E},
    {"KeyF", Key::F},
    {"KeyG", Key::G},
    {"KeyH", Key::H},
    {"KeyI", Key::I},
    {"KeyJ", Key::J},
    {"KeyK", Key::K},
    {"KeyL", Key::L},
    {"KeyM", Key::M},
    {"KeyN", Key::N},
    {"KeyO", Key::O},
    {"KeyP", Key::P},
    {"KeyQ", Key::Q},
    {"KeyR", Key::R},
    {"KeyS", Key::S},
    {"KeyT", Key::T},
    {"KeyU", Key::U},
    {"KeyV", Key::V},
    {"KeyW", Key::W},
    {"KeyX", Key::X},
    {"KeyY", Key::Y},
    {"KeyZ", Key::Z},
    {"Digit0", Key::Digit0},
    {"Digit1", Key::Digit1},
    {"Digit2", Key::Digit2},
    {"Digit3", Key::Digit3},
    {"Digit4", Key::Digit4},
    {"Digit5", Key::Digit5},
    {"Digit6", Key::Digit6},
    {"Digit7", Key::Digit7},
    {"Digit8", Key::Digit8},
    {"Digit9", Key::Digit9},
    {"ArrowLeft", Key::Left},
    {"ArrowRight", Key::Right},
    {"ArrowUp", Key::Up},
    {"ArrowDown", Key::Down},
    {"Space", Key::Space},
    {"Enter", Key::Enter},
    {"NumpadEnter", Key::Enter},
    {"Escape", Key::Escape},
    {"Tab", Key::Tab},
    {"Backspace", Key::Backspace},
    {"Delete", Key::Delete},
    {"F1", Key::F1},
    {"F2", Key::F2},
    {"F3", Key::F3},
    {"F4", Key::F4},
    {"F5", Key::F5},
    {"F6", Key::F6},
    {"F7", Key::F7},
    {"F8", Key::F8},
    {"F9", Key::F9},
    {"F10", Key::F10},
    {"F11", Key::F11},
    {"F12", Key::F12},
    {"ShiftLeft", Key::Shift},
    {"ShiftRight", Key::Shift},
    {"ControlLeft", Key::Control},
    {"ControlRight", Key::Control},
    {"AltLeft", Key::Alt},
    {"AltRight", Key::Alt},
};

} // namespace

Key KeyFromDomCode(const char* code)
{
    for (const KeyRow& row : kKeys) {
        if (std::strcmp(row.code, code) == 0) {
            return row.key;
        }
    }
    return Key::Unknown;
}

} // namespace Web
} // namespace kwImplementation
