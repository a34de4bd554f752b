// Test support: expected-output files, compared as whole texts.
#include "golden_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kwTest {

void ExpectMatchesGolden(const std::string& fileName, const std::string& transcript)
{
    const std::string path = std::string(KW_GOLDEN_DIR) + "/" + fileName;
    const char* update = std::getenv("KW_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        std::ofstream(path, std::ios::binary) << transcript;
        return;
    }
    std::ifstream file(path, std::ios::binary);
    const std::string expected{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(expected, transcript) << path << " differs from this run (KW_UPDATE_GOLDEN=1 rewrites it)";
}

} // namespace kwTest
