// Kelpwright: the platform-neutral input state of the application window and
// the handler callbacks it raises.
#include "application/implementation/kwi_input_state.h"

#include "application/implementation/kwi_realtime_application_run.h"

using Kelpwright::Application::ApplicationHandlerInterface;
using Kelpwright::Application::DrawingSize;
using Kelpwright::Application::Key;
using Kelpwright::Application::KeyEvent;
using Kelpwright::Application::kKeyCount;
using Kelpwright::Application::kPointerButtonCount;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;

namespace kwImplementation {

namespace {

InputState sInput;

ApplicationHandlerInterface* Handler() { return GetRealtimeApplicationState().handler; }

std::size_t IndexOf(Key key) { return static_cast<std::size_t>(key); }

std::size_t IndexOf(PointerButton button) { return static_cast<std::size_t>(button); }

bool IsValid(PointerButton button) { return IndexOf(button) < kPointerButtonCount; }

} // namespace

InputState& GetInputState() { return sInput; }

void ResetInputState() { sInput = InputState(); }

void NotifyKeyDown(Key key, std::int32_t nativeCode, bool isRepeat)
{
    const std::size_t index = IndexOf(key);
    if (index >= kKeyCount) {
        return;
    }
    // Unknown keys are not tracked: one code stands for many keys.
    if (key != Key::Unknown) {
        isRepeat = isRepeat || sInput.keysHeld[index];
        sInput.keysHeld[index] = true;
        sInput.heldKeyCodes[index] = nativeCode;
    }
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnKeyDown(KeyEvent{key, nativeCode, isRepeat});
    }
}

void NotifyKeyUp(Key key, std::int32_t nativeCode)
{
    const std::size_t index = IndexOf(key);
    if (index >= kKeyCount) {
        return;
    }
    if (key != Key::Unknown) {
        if (!sInput.keysHeld[index]) {
            return;
        }
        sInput.keysHeld[index] = false;
    }
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnKeyUp(KeyEvent{key, nativeCode, false});
    }
}

void NotifyPointerMove(const PointerPosition& position)
{
    if (position.x == sInput.pointer.x && position.y == sInput.pointer.y) {
        return;
    }
    sInput.pointer = position;
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnPointerMove(position);
    }
}

void NotifyButtonDown(PointerButton button, const PointerPosition& position)
{
    if (!IsValid(button)) {
        return;
    }
    sInput.pointer = position;
    sInput.buttonsHeld[IndexOf(button)] = true;
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnButtonDown(button, position);
    }
}

void NotifyButtonUp(PointerButton button, const PointerPosition& position)
{
    if (!IsValid(button) || !sInput.buttonsHeld[IndexOf(button)]) {
        return;
    }
    sInput.pointer = position;
    sInput.buttonsHeld[IndexOf(button)] = false;
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnButtonUp(button, position);
    }
}

void NotifyWheel(float notches, const PointerPosition& position)
{
    sInput.pointer = position;
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnWheel(notches, position);
    }
}

void NotifyDrawingSize(const DrawingSize& size)
{
    if (size.width == sInput.drawingSize.width && size.height == sInput.drawingSize.height) {
        return;
    }
    sInput.drawingSize = size;
    if (ApplicationHandlerInterface* handler = Handler()) {
        handler->OnDrawingSizeChange(size);
    }
}

void ReleaseHeldInput()
{
    for (std::size_t index = 0; index < kKeyCount; ++index) {
        if (sInput.keysHeld[index]) {
            NotifyKeyUp(static_cast<Key>(index), sInput.heldKeyCodes[index]);
        }
    }
    ReleaseHeldButtons();
}

void ReleaseHeldButtons()
{
    for (std::size_t index = 0; index < kPointerButtonCount; ++index) {
        NotifyButtonUp(static_cast<PointerButton>(index), sInput.pointer);
    }
}

} // namespace kwImplementation
