// Kelpwright: RealtimeApplication forwards to the process-wide run and to the
// window-menu binding; it holds nothing but its handler.
#include "application/kw_realtime_application.h"

#include "application/implementation/kwi_realtime_application_run.h"
#include "application/implementation/kwi_window_menu_binding.h"

#include <string>

namespace Kelpwright {
namespace Application {

RealtimeApplication::RealtimeApplication(ApplicationHandlerInterface& handler)
    : mHandler(handler)
{
}

void RealtimeApplication::Execute() { kwImplementation::RunRealtimeApplication(mHandler); }

void RealtimeApplication::Close() { kwImplementation::CloseRealtimeApplication(); }

void RealtimeApplication::SetWindowTitle(const std::string& title)
{
    kwImplementation::SetRealtimeWindowTitle(title.c_str());
}

void RealtimeApplication::SetWindowMenu(const ApplicationMenu& menu)
{
    kwImplementation::AttachMenuToWindow(kwImplementation::GetRealtimeApplicationState().windowHandle, menu,
                                         mHandler);
}

} // namespace Application
} // namespace Kelpwright
