// Test support: the recording application handler and the reset of the
// application layer between test cases.
#include "recording_handler.h"

#include "platform_probe.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"

namespace kwTest {

int RecordingHandler::Count(const std::string& name) const
{
    int count = 0;
    for (const Call& call : calls) {
        count += call.name == name ? 1 : 0;
    }
    return count;
}

std::vector<std::string> RecordingHandler::NamesWithoutActivation() const
{
    std::vector<std::string> names;
    for (const Call& call : calls) {
        if (call.name != "OnBecomeActive" && call.name != "OnBecomeInactive") {
            names.push_back(call.name);
        }
    }
    return names;
}

void RecordingHandler::Record(const std::string& name, unsigned int first, unsigned int second)
{
    calls.push_back(Call{name, IsRenderingContextCurrent(), first, second});
    if (action) {
        action(name, Count(name));
    }
}

void ResetApplicationLayer()
{
    kwImplementation::RealtimeApplicationState& state = kwImplementation::GetRealtimeApplicationState();
    state.handler = nullptr; // an earlier case's handler is gone
    state.windowHandle = nullptr;
    DrainQueuedEvents();
    kwImplementation::GetWindowsToMenus().clear();
    kwImplementation::GetHandlersToMenus().clear();
    kwImplementation::GetMenuRegistry().clear();
}

void ApplicationRunTest::Run(const std::function<void(const std::string& name, int count)>& script)
{
    const int runawayPasses = 500;
    handler.action = [this, script, runawayPasses](const std::string& name, int count) {
        script(name, count);
        if (name == "OnRealtimeUpdate" && count == runawayPasses) {
            application.Close();
        }
    };
    application.Execute();
}

} // namespace kwTest
