// Test support: expected-output files, compared line by line.
#include "golden_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace kwTest {
namespace {

const int kDifferencesShown = 20;

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Each line number where the two differ, with both lines ("<none>" past the end of one).
std::string Differences(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    std::ostringstream text;
    int shown = 0;
    for (size_t i = 0; i < std::max(expected.size(), actual.size()) && shown < kDifferencesShown; ++i) {
        const std::string want = i < expected.size() ? expected[i] : "<none>";
        const std::string got = i < actual.size() ? actual[i] : "<none>";
        if (want != got) {
            text << "line " << i + 1 << ": expected " << want << "\n          got " << got << "\n";
            ++shown;
        }
    }
    return text.str();
}

} // namespace

testing::AssertionResult MatchesGolden(const std::string& fileName, const std::string& transcript)
{
    const std::string path = std::string(KW_GOLDEN_DIR) + "/" + fileName;
    const char* update = std::getenv("KW_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << transcript;
        return testing::AssertionSuccess();
    }
    std::ifstream file(path, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (expected == transcript) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << path << " differs from this run (KW_UPDATE_GOLDEN=1 rewrites it):\n"
                                       << Differences(SplitLines(expected), SplitLines(transcript));
}

} // namespace kwTest
