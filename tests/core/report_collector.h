// Test support: an error handler that collects the messages of every report
// made while it exists, and Take, which hands over a list and empties it so
// that each check sees only what came since the one before.
#pragma once

#include "core/kw_error.h"

#include <string>
#include <vector>

namespace kwTest {

typedef std::vector<std::string> Log;

inline Log Take(Log& log)
{
    Log taken;
    taken.swap(log);
    return taken;
}

struct ReportCollector : Kelpwright::Core::Error::ErrorHandlerInterface {
    ReportCollector() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportCollector() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }
    Log Take() { return kwTest::Take(messages); }

    Log messages;
};

} // namespace kwTest
