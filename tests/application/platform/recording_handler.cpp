// Test support: the recording application handler.
#include "recording_handler.h"

#include "platform_probe.h"

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

} // namespace kwTest
