// Kelpwright: the callback interface through which the realtime application
// and the window menus talk to the program. Every callback has an empty default.
#pragma once

#include "application/kw_application_types.h"

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
};

inline ApplicationHandlerInterface::~ApplicationHandlerInterface() {}

} // namespace Application
} // namespace Kelpwright
