// Tests of error reports: the printed block byte for byte whatever flags the caller left on std::cout,
// nothing when the condition is false, an overlong message cut to 4095 characters, handlers told.
#include "report_collector.h"

#include <iostream>

#include <gtest/gtest.h>

using Kelpwright::Core::Error::ReportErrorIf;

TEST(ErrorReport, PrintsEachBlockByteForByte)
{
    kwTest::ReportCollector handler;
    const char* mismatched = "kwExternalError: %s %s"; // would read an int as a string if formatted
    const std::string longText(5000, 'x');
    const std::string cut = ("kwExternalError: " + longText).substr(0, 4095);
    const std::string removal =
        "kwExternalError: Trying to remove GameState with id(5) which does not exists in Game Machine.";
    testing::internal::CaptureStdout();
    std::cout << std::hex << std::showpos;
    ReportErrorIf(false, "file", 1, mismatched, 42);
    ReportErrorIf(
        true, "kelp_wright\\source\\game\\kw_game_state_machine", 77,
        "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.", 5);
    ReportErrorIf(true, "a/b.cpp", -3, "%s", "");
    ReportErrorIf(true, "f.cpp", 9, "kwExternalError: %s", longText.c_str());
    const std::ios::fmtflags flags = std::cout.flags();
    std::cout << std::dec << std::noshowpos;

    const std::string banner = "ASSERTION FAILED! -----------------------------------\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n" + banner + "FILE kelp_wright\\source\\game\\kw_game_state_machine[77]\nMESSAGE: " +
                  removal + "\n" + banner + "\n" + banner + "FILE a/b.cpp[-3]\nMESSAGE: \n" + banner + "\n" +
                  banner + "FILE f.cpp[9]\nMESSAGE: " + cut + "\n" + banner);
    EXPECT_EQ(flags, std::ios::hex | std::ios::showpos | std::ios::skipws); // left as the caller set them
    EXPECT_EQ(handler.messages, (kwTest::Log{removal, "", cut}));
}
