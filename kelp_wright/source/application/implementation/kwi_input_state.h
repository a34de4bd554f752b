// Kelpwright: the input and drawing size of the application window, kept in
// one platform-neutral place. Backends report what they see through the
// Notify functions; this module keeps the state the queries read and raises
// the handler's callbacks, so no backend calls the handler itself.
#pragma once

#include "application/kw_input_types.h"

namespace kwImplementation {

struct InputState {
    bool keysHeld[Kelpwright::Application::kKeyCount] = {};
    std::int32_t heldKeyCodes[Kelpwright::Application::kKeyCount] = {}; // native codes, for the release
    bool buttonsHeld[Kelpwright::Application::kPointerButtonCount] = {};
    Kelpwright::Application::PointerPosition pointer = {0, 0};
    Kelpwright::Application::DrawingSize drawingSize = {0, 0};
};

InputState& GetInputState();

// A run starts with nothing held, the pointer at the origin and no drawing size.
void ResetInputState();

// isRepeat: the platform marked the press as auto-repeat. A press of a key
// already held counts as a repeat whatever the platform says.
void NotifyKeyDown(Kelpwright::Application::Key key, std::int32_t nativeCode, bool isRepeat);
// A release of a known key that is not held (it was released when the window
// lost activation) is dropped.
void NotifyKeyUp(Kelpwright::Application::Key key, std::int32_t nativeCode);
// Only a position other than the last one reported is passed on.
void NotifyPointerMove(const Kelpwright::Application::PointerPosition& position);
void NotifyButtonDown(Kelpwright::Application::PointerButton button,
                      const Kelpwright::Application::PointerPosition& position);
void NotifyButtonUp(Kelpwright::Application::PointerButton button,
                    const Kelpwright::Application::PointerPosition& position);
void NotifyWheel(float notches, const Kelpwright::Application::PointerPosition& position);
// Only a size other than the last one reported is passed on.
void NotifyDrawingSize(const Kelpwright::Application::DrawingSize& size);

// Releases every held key and button, each with its callback: the window lost
// the keyboard, so their releases will never be seen.
void ReleaseHeldInput();

// Releases every held button at the last pointer position, each with its
// callback: the window lost the pointer (its capture went elsewhere).
void ReleaseHeldButtons();

} // namespace kwImplementation
