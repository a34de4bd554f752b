// Test support: the recording application handler and the reset of the
// application layer between test cases.
#include "recording_handler.h"

#include "application/implementation/kwi_system_application_menu.h"
#include "application/implementation/kwi_window_menu_binding.h"

#include <algorithm>

namespace kwTest {

int RecordingHandler::Count(const std::string& name) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const Call& call) { return call.name == name; }));
}

Names RecordingHandler::NamesWithoutActivation() const
{
    Names names;
    for (const Call& call : calls) {
        if (call.name != "OnBecomeActive" && call.name != "OnBecomeInactive") {
            names.push_back(call.name);
        }
    }
    return names;
}

std::vector<unsigned int> RecordingHandler::ChosenItems() const
{
    std::vector<unsigned int> items;
    for (const Call& call : calls) {
        if (call.name == "OnMenuAction") {
            EXPECT_EQ(call.menu, 0u) << "menu identifier given with item " << call.item;
            items.push_back(call.item);
        }
    }
    return items;
}

void RecordingHandler::Record(const std::string& name, unsigned int menu, unsigned int item)
{
    calls.push_back(Call{name, IsRenderingContextCurrent(), menu, item});
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

void ApplicationRunTest::Run(const Script& script)
{
    handler.action = [this, script](const std::string& name, int count) {
        script(name, count);
        if (name == "OnRealtimeUpdate" && count == 500) {
            application.Close();
        }
    };
    application.Execute();
}

void ApplicationRunTest::RunUpdates(int closingUpdate, const std::function<void(int count)>& atUpdate,
                                    const Kelpwright::Application::ApplicationMenu* menu)
{
    Run([&](const std::string& name, int count) {
        if (name == "OnWindowOpen" && menu != nullptr) {
            application.SetWindowMenu(*menu);
        }
        if (name == "OnRealtimeUpdate") {
            atUpdate(count);
            if (count == closingUpdate) {
                application.Close();
            }
        }
    });
}

} // namespace kwTest
