// Test support: collects the message of every report made while it exists; Take empties the list.
#pragma once

#include "core/kw_error.h"

#include <vector>

namespace kwTest {

typedef std::vector<std::string> Log;

struct ReportCollector : Kelpwright::Core::Error::ErrorHandlerInterface {
    ReportCollector() { Kelpwright::Core::Error::AddErrorHandler(this); }
    ~ReportCollector() override { Kelpwright::Core::Error::RemoveErrorHandler(this); }
    void OnErrorFired(const std::string& message) override { messages.push_back(message); }
    Log Take() { return Log(std::move(messages)); }

    Log messages;
};

} // namespace kwTest
