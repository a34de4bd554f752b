// Test support: compares a transcript (one item per line) with its expected-output file under
// tests/golden/; GoogleTest prints a unified diff of the two. KW_UPDATE_GOLDEN=1 rewrites the file
// instead, so that a change in behaviour is reviewed as a diff of that file.
#pragma once

#include <string>

namespace kwTest {

void ExpectMatchesGolden(const std::string& fileName, const std::string& transcript);

} // namespace kwTest
