// Kelpwright: the callback interface through which the realtime application
// and the window menus talk to the program. Every callback has an empty default.
#pragma once

#include "application/kw_application_types.h"
#include "application/kw_input_types.h"

#include <cstdint>

namespace Kelpwright {
namespace Application {

// Outer window size in pixels, collected from the handler before the window is made.
struct WindowProperties {
    std::int32_t width;
    std::int32_t height;
};

class ApplicationHandlerInterface {
public:
    // Pure with a body: the class is abstract although every callback has a default.
    virtual ~ApplicationHandlerInterface() = 0;

    virtual void OnWindowOpen() {}
    virtual void OnWindowClose() {}
    virtual void OnBecomeActive() {}
    virtual void OnBecomeInactive() {}
    virtual void OnRealtimeUpdate() {}
    virtual void OnMenuAction(const MenuIdentifier& menuIdentifier, const MenuItemIdentifier& itemIdentifier)
    {
        (void)menuIdentifier;
        (void)itemIdentifier;
    }
    // Nothing in the framework raises this one; handlers that forward events
    // forward both arguments unchanged.
    virtual void OnAuxiliaryAction(const MenuIdentifier& first, const MenuItemIdentifier& second)
    {
        (void)first;
        (void)second;
    }
    virtual void CollectWindowProperties(WindowProperties& windowProperties) { (void)windowProperties; }

    // Input, raised from the event drain before the frame's OnRealtimeUpdate.
    // Every key still held is released, with OnKeyUp, when the window loses
    // activation; so is every pointer button, with OnButtonUp.
    virtual void OnKeyDown(const KeyEvent& event) { (void)event; }
    virtual void OnKeyUp(const KeyEvent& event) { (void)event; }
    virtual void OnPointerMove(const PointerPosition& position) { (void)position; }
    virtual void OnButtonDown(const PointerButton& button, const PointerPosition& position)
    {
        (void)button;
        (void)position;
    }
    virtual void OnButtonUp(const PointerButton& button, const PointerPosition& position)
    {
        (void)button;
        (void)position;
    }
    // notches: wheel turns, positive away from the user (scrolling up).
    virtual void OnWheel(const float& notches, const PointerPosition& position)
    {
        (void)notches;
        (void)position;
    }
    // The drawing surface got a new size: the window was resized, or its menu
    // bar appeared or went. Also raised once as the window is made.
    virtual void OnDrawingSizeChange(const DrawingSize& size) { (void)size; }
};

inline ApplicationHandlerInterface::~ApplicationHandlerInterface() {}

} // namespace Application
} // namespace Kelpwright
