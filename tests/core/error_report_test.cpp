// Tests of error reports: the printed blocks byte for byte and the messages told, the handler list and
// the throw switch.
#include "report_collector.h"

#include "golden_file.h"

#include <gtest/gtest.h>

#include <iostream>

using Kelpwright::Core::Error::ReportErrorIf;

namespace {

// Takes itself out of the handler list while it is told.
struct LeavingHandler : kwTest::ReportCollector {
    void OnErrorFired(const std::string& message) override
    {
        messages.push_back(message);
        Kelpwright::Core::Error::RemoveErrorHandler(this);
    }
};

} // namespace

// What standard output shows, then what a handler was told.
TEST(ErrorReport, PrintedAndTold)
{
    kwTest::ReportCollector handler;
    const std::string longText(5000, 'x'); // cut to 4095 characters, the buffer less its terminator
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "kelp_wright\\source\\game\\kw_game_state_machine", 77,
                  "kwExternalError: Trying to remove GameState with id(%d) which does not exists.", 5);
    ReportErrorIf(true, "a/b.cpp", -3, "kwInternalError: no conversions %%d");
    const char* mismatched = "kwExternalError: %s %s"; // formatting 42 as a string would crash
    ReportErrorIf(false, "file", 1, mismatched, 42);
    ReportErrorIf(true, "m.cpp", 1, "%s", "");
    ReportErrorIf(true, nullptr, 0, "kwInternalError: no file");
    ReportErrorIf(true, "m.cpp", 2, "kwExternalError: %s", longText.c_str());
    Kelpwright::Core::Error::DispatchErrorReport("d.cpp", 4, "formatted already: %d");
    std::cout << std::hex << std::showpos;
    ReportErrorIf(true, "f.cpp", 26, "kwExternalError: the line in decimal, the flags kept");
    const std::ios::fmtflags flags = std::cout.flags();
    std::cout << std::dec << std::noshowpos;
    std::string transcript = testing::internal::GetCapturedStdout();
    for (const std::string& message : handler.Take()) {
        transcript += "told: " + message + "\n";
    }

    kwTest::ExpectMatchesGolden("error_reports.txt", transcript);
    EXPECT_EQ(flags, std::ios::hex | std::ios::showpos | std::ios::skipws) << "the caller's stream flags";
}

// glibc fails the conversion; the Windows runtimes write a replacement instead.
#if !defined(_WIN32)
TEST(ErrorReport, FailedConversionLeavesNoHalfMadeText)
{
    kwTest::ReportCollector handler;
    const wchar_t unconvertible[] = {0xD800, 0}; // a lone surrogate has no multibyte form
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "m.cpp", 1, "kwExternalError: %ls", unconvertible);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(handler.Take(), kwTest::Log{""});
}
#endif

TEST(ErrorReport, HandlerMayLeaveWhileTold)
{
    LeavingHandler leaving;
    Kelpwright::Core::Error::AddErrorHandler(nullptr); // not listed, or telling it would crash
    // Listed behind the one that leaves, each told every time: a list changed under the loop skips one.
    kwTest::ReportCollector second;
    kwTest::ReportCollector third;
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "h.cpp", 1, "first");
    ReportErrorIf(true, "h.cpp", 2, "second");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(leaving.Take(), kwTest::Log{"first"});
    EXPECT_EQ(second.Take(), (kwTest::Log{"first", "second"}));
    EXPECT_EQ(third.Take(), (kwTest::Log{"first", "second"}));
}

TEST(ErrorReport, ThrowSwitchTurnsReportsIntoExceptions)
{
    kwTest::ReportCollector handler;
    Kelpwright::Core::Error::SetThrowOnError(true);
    EXPECT_TRUE(Kelpwright::Core::Error::IsThrowOnError()) << "the switch as read back";
    testing::internal::CaptureStdout();
    std::string thrown;
    try {
        ReportErrorIf(true, "t.cpp", 1, "kwExternalError: id(%d)", 3);
    } catch (const kwImplementation::ExceptionalErrorHandler::ErroredException& exception) {
        thrown = exception.what();
    }
    Kelpwright::Core::Error::SetThrowOnError(false);
    EXPECT_EQ(thrown, "kwExternalError: id(3)");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "a thrown report is not printed";
    EXPECT_TRUE(handler.messages.empty()) << "nor told to the handlers";
}
