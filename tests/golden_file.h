// Test support: compares a transcript (one item per line) with its expected-output file under
// tests/golden/ and prints the lines that differ. KW_UPDATE_GOLDEN=1 rewrites the file instead, so
// that a change in behaviour is reviewed as a diff of that file.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace kwTest {

testing::AssertionResult MatchesGolden(const std::string& fileName, const std::string& transcript);

} // namespace kwTest
