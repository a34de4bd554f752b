// Tests of error reports: the printed block byte for byte, the message as formatted, the handler list
// and the throw switch.
#include "report_collector.h"

#include <gtest/gtest.h>

#include <iostream>

using Kelpwright::Core::Error::ReportErrorIf;

namespace {

const std::string kBanner = "ASSERTION FAILED! -----------------------------------\n";
const size_t kLongestMessage = 4095; // the 4096-byte buffer and its terminator

std::string Block(const std::string& file, const std::string& line, const std::string& message)
{
    return "\n" + kBanner + "FILE " + file + "[" + line + "]\n" + "MESSAGE: " + message + "\n" + kBanner;
}

// Tells the collector's list, then takes itself out of the handler list while it is told.
struct LeavingHandler : Kelpwright::Core::Error::ErrorHandlerInterface {
    explicit LeavingHandler(kwTest::Log& log)
        : log(log)
    {
        Kelpwright::Core::Error::AddErrorHandler(this);
    }
    void OnErrorFired(const std::string& message) override
    {
        log.push_back("leaving: " + message);
        Kelpwright::Core::Error::RemoveErrorHandler(this);
    }
    kwTest::Log& log;
};

} // namespace

TEST(ErrorReport, PrintsOneBlockPerReport)
{
    const char* const file = "kelp_wright\\source\\game\\kw_game_state_machine";
    testing::internal::CaptureStdout();
    ReportErrorIf(
        true, file, 77,
        "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.", 5);
    ReportErrorIf(true, "a/b.cpp", -3, "kwInternalError: no conversions %%d");
    const std::string removal =
        "kwExternalError: Trying to remove GameState with id(5) which does not exists in Game Machine.";
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              Block(file, "77", removal) + Block("a/b.cpp", "-3", "kwInternalError: no conversions %d"));
}

TEST(ErrorReport, FalseConditionWritesNothing)
{
    kwTest::ReportCollector handler;
    testing::internal::CaptureStdout();
    const char* mismatched = "kwExternalError: %s %s"; // formatting 42 as a string would crash
    ReportErrorIf(false, "file", 1, mismatched, 42);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(handler.messages.empty());
}

TEST(ErrorReport, LineIsDecimalWhateverTheStreamFlags)
{
    testing::internal::CaptureStdout();
    std::cout << std::hex << std::showpos;
    ReportErrorIf(true, "f.cpp", 26, "kwExternalError: flags");
    const std::ios::fmtflags flags = std::cout.flags();
    std::cout << std::dec << std::noshowpos;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), Block("f.cpp", "26", "kwExternalError: flags"));
    EXPECT_EQ(flags, std::ios::hex | std::ios::showpos | std::ios::skipws) << "the caller's flags changed";
}

TEST(ErrorReport, MessageAsFormatted)
{
    const std::string longText(5000, 'x');
    const struct {
        const char* format;
        const char* argument;
        std::string message;
    } kMessages[] = {
        {"%s", "", ""}, // empty: "MESSAGE: " then the line end
        {"kwExternalError: %s", longText.c_str(),
         ("kwExternalError: " + longText).substr(0, kLongestMessage)},
// glibc fails the conversion; the Windows runtimes write a replacement instead.
#if !defined(_WIN32)
        {"kwExternalError: %ls", nullptr, ""}, // a conversion that fails leaves no half-made text
#endif
    };
    const wchar_t unconvertible[] = {0xD800, 0}; // a lone surrogate has no multibyte form
    for (const auto& row : kMessages) {
        SCOPED_TRACE(row.format);
        kwTest::ReportCollector handler;
        testing::internal::CaptureStdout();
        if (row.argument != nullptr) {
            ReportErrorIf(true, "m.cpp", 1, row.format, row.argument);
        } else {
            ReportErrorIf(true, "m.cpp", 1, row.format, unconvertible);
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(), Block("m.cpp", "1", row.message));
        EXPECT_EQ(handler.Take(), kwTest::Log{row.message});
    }
}

TEST(ErrorReport, HandlerMayLeaveWhileTold)
{
    kwTest::Log log;
    LeavingHandler leaving(log);
    // Listed behind the one that leaves, each told once: a list changed under the loop would skip one.
    kwTest::ReportCollector second;
    kwTest::ReportCollector third;
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "h.cpp", 1, "first");
    ReportErrorIf(true, "h.cpp", 2, "second");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(log, kwTest::Log{"leaving: first"});
    EXPECT_EQ(second.Take(), (kwTest::Log{"first", "second"}));
    EXPECT_EQ(third.Take(), (kwTest::Log{"first", "second"}));
}

TEST(ErrorReport, NullHandlerIsNotListed)
{
    Kelpwright::Core::Error::AddErrorHandler(nullptr);
    kwTest::ReportCollector after;
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "n.cpp", 1, "told");
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(after.Take(), kwTest::Log{"told"}) << "the handler listed after a null one";
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
