// Test support: expected-output files, compared line by line; a mismatch prints a diff of the lines
// ("-" expected only, "+" produced only) from the longest common subsequence.
#include "golden_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace kwTest {
namespace {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::string Diff(const std::vector<std::string>& expected, const std::vector<std::string>& actual)
{
    const size_t rows = expected.size();
    const size_t columns = actual.size();
    // common[i][j]: the longest common subsequence of expected[i..] and actual[j..].
    std::vector<std::vector<size_t>> common(rows + 1, std::vector<size_t>(columns + 1, 0));
    for (size_t i = rows; i-- > 0;) {
        for (size_t j = columns; j-- > 0;) {
            if (expected[i] == actual[j]) {
                common[i][j] = common[i + 1][j + 1] + 1;
            } else {
                common[i][j] = std::max(common[i + 1][j], common[i][j + 1]);
            }
        }
    }
    std::string diff;
    size_t i = 0;
    size_t j = 0;
    while (i < rows || j < columns) {
        if (i < rows && j < columns && expected[i] == actual[j]) {
            ++i;
            ++j;
        } else if (j < columns && (i == rows || common[i][j + 1] >= common[i + 1][j])) {
            diff += "+" + actual[j] + " (line " + std::to_string(j + 1) + ")\n";
            ++j;
        } else {
            diff += "-" + expected[i] + " (line " + std::to_string(i + 1) + ")\n";
            ++i;
        }
    }
    return diff;
}

} // namespace

testing::AssertionResult MatchesGolden(const std::string& fileName, const std::string& transcript)
{
    const std::string path = std::string(KW_GOLDEN_DIR) + "/" + fileName;
    const char* update = std::getenv("KW_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << transcript;
        return testing::AssertionSuccess() << "rewrote " << path;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return testing::AssertionFailure()
            << "no expected output " << path << "; KW_UPDATE_GOLDEN=1 writes it from this run";
    }
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (expected == transcript) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << path << " differs (- expected, + this run):\n"
                                       << Diff(SplitLines(expected), SplitLines(transcript));
}

} // namespace kwTest
