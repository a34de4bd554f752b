// Kelpwright: the windowed realtime application. Execute opens one window with
// an OpenGL context and runs the loop (drain events, OnRealtimeUpdate, swap)
// until the window closes or Close is called. Free of platform headers.
#pragma once

#include "application/kw_application_handler_interface.h"

#include <string>

namespace Kelpwright {
namespace Application {

class ApplicationMenu;

class RealtimeApplication {
public:
    explicit RealtimeApplication(ApplicationHandlerInterface& handler);
    ~RealtimeApplication() {}

    void Execute();
    void Close();
    void SetWindowTitle(const std::string& title);
    // Makes the declared menu the window's menu bar; choices reach this
    // application's handler as OnMenuAction.
    void SetWindowMenu(const ApplicationMenu& menu);

private:
    ApplicationHandlerInterface& mHandler;
};

} // namespace Application
} // namespace Kelpwright
