// Test support: an application handler that records every callback in order
// (with whether a GL context was current) and runs a scripted action on chosen
// callbacks, for example Close on the third OnRealtimeUpdate; a recorder of
// error reports; and the reset of the application layer between test cases.
#pragma once

#include "application/kw_application_handler_interface.h"
#include "application/kw_realtime_application.h"
#include "core/kw_error.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kwTest {

class RecordingHandler : public Kelpwright::Application::ApplicationHandlerInterface {
public:
    struct Call {
        std::string name;
        bool contextCurrent;
        unsigned int first;  // menu identifier for OnMenuAction
        unsigned int second; // item identifier for OnMenuAction
    };

    std::vector<Call> calls;
    int width = 0;  // 0 keeps the default size
    int height = 0;
    // Called after a callback is recorded, with its name and how many times it
    // has been recorded so far (1 for the first).
    std::function<void(const std::string& name, int count)> action;

    void OnWindowOpen() override { Record("OnWindowOpen"); }
    void OnWindowClose() override { Record("OnWindowClose"); }
    void OnBecomeActive() override { Record("OnBecomeActive"); }
    void OnBecomeInactive() override { Record("OnBecomeInactive"); }
    void OnRealtimeUpdate() override { Record("OnRealtimeUpdate"); }
    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override
    {
        Record("OnMenuAction", menuIdentifier, itemIdentifier);
    }
    void CollectWindowProperties(Kelpwright::Application::WindowProperties& properties) override
    {
        if (width != 0) {
            properties.width = width;
            properties.height = height;
        }
        Record("CollectWindowProperties");
    }

    int Count(const std::string& name) const;
    // The recorded names in order, without the activation notifications, which
    // depend on the window system's focus handling.
    std::vector<std::string> NamesWithoutActivation() const;

private:
    void Record(const std::string& name, unsigned int first = 0, unsigned int second = 0);
};

// Collects the message of every error report made while it exists.
class ReportRecorder : public Kelpwright::Core::Error::ErrorHandlerInterface {
public:
    ReportRecorder() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportRecorder() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    ReportRecorder(const ReportRecorder&) = delete;
    ReportRecorder& operator=(const ReportRecorder&) = delete;

    void OnErrorFired(const std::string& message) override { messages.push_back(message); }

    std::vector<std::string> messages;
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
    void Run(const std::function<void(const std::string& name, int count)>& script);

    RecordingHandler handler;
    Kelpwright::Application::RealtimeApplication application{handler};
};

} // namespace kwTest
