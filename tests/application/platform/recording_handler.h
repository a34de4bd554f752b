// Test support: an application handler that records every callback in order
// (with whether a GL context was current) and runs a scripted action on chosen
// callbacks, for example Close on the third OnRealtimeUpdate; a recorder of
// error reports; and the reset of the application layer between test cases.
#pragma once

#include "application/kw_application_handler_interface.h"
#include "application/kw_application_menu.h"
#include "application/kw_realtime_application.h"
#include "core/kw_error.h"
#include "core/kw_noncopyable.h"

#include "platform_probe.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kwTest {

typedef std::vector<std::string> Names;
typedef std::function<void(const std::string& name, int count)> Script;

class RecordingHandler : public Kelpwright::Application::ApplicationHandlerInterface {
public:
    struct Call {
        std::string name;
        bool contextCurrent;
        unsigned int menu; // the identifiers OnMenuAction was given
        unsigned int item;
    };

    std::vector<Call> calls;
    int width = 0; // 0 keeps the default size
    int height = 0;
    // Called after a callback is recorded, with its name and how many times it
    // has been recorded so far (1 for the first).
    Script action;

    void OnWindowOpen() override { Record("OnWindowOpen"); }
    void OnWindowClose() override { Record("OnWindowClose"); }
    void OnBecomeActive() override { Record("OnBecomeActive"); }
    void OnBecomeInactive() override { Record("OnBecomeInactive"); }
    void OnRealtimeUpdate() override { Record("OnRealtimeUpdate"); }
    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menu,
                      const Kelpwright::Application::MenuItemIdentifier& item) override
    {
        Record("OnMenuAction", menu, item);
    }
    void CollectWindowProperties(Kelpwright::Application::WindowProperties& properties) override
    {
        if (width != 0) {
            properties = {width, height};
        }
        Record("CollectWindowProperties");
    }

    int Count(const std::string& name) const;
    // The recorded names in order, without the activation notifications, which
    // depend on the window system's focus handling.
    Names NamesWithoutActivation() const;
    // The items of the OnMenuAction calls in order; each must name menu 0.
    std::vector<unsigned int> ChosenItems() const;

private:
    void Record(const std::string& name, unsigned int menu = 0, unsigned int item = 0);
};

// Collects the message of every error report made while it exists.
class ReportRecorder : public Kelpwright::Core::Error::ErrorHandlerInterface, Kelpwright::Core::Noncopyable {
public:
    ReportRecorder() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportRecorder() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    Names messages;
};

// Puts the process-wide state of the application layer back as a fresh process
// has it, so that the cases also pass when one program runs them all: handles
// what earlier cases left queued (a quit message nobody collected), forgets the
// recorded window and handler, the window-menu records and the declared menus.
void ResetApplicationLayer();

// Base of the cases that run the application in a real window: a fresh
// application layer, a recording handler and its application.
class ApplicationRunTest : public testing::Test {
protected:
    void SetUp() override { ResetApplicationLayer(); }

    // Runs with `script` called after each recorded callback; a run that the
    // case under test fails to end is closed after 500 passes.
    void Run(const Script& script);
    // Runs with `atUpdate` called at each OnRealtimeUpdate and Close after the
    // update numbered `closingUpdate` (0: the case ends the run otherwise);
    // `menu`, when given, becomes the window's menu in OnWindowOpen.
    void RunUpdates(int closingUpdate, const std::function<void(int count)>& atUpdate,
                    const Kelpwright::Application::ApplicationMenu* menu = nullptr);

    static WindowHandle Window() { return kwImplementation::GetRealtimeApplicationState().windowHandle; }

    RecordingHandler handler;
    Kelpwright::Application::RealtimeApplication application{handler};
};

} // namespace kwTest
