// Tests of error reports: the printed block byte for byte, silence when the
// condition is false, truncation of overlong messages, the throw switch and
// the order of printing and telling listed handlers.
#include "core/kw_error.h"

#include "report_collector.h"

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace Kelpwright::Core::Error;

namespace {

const std::string kBanner = "ASSERTION FAILED! " + std::string(35, '-') + "\n";

std::string Block(const std::string& file, const std::string& line, const std::string& message)
{
    return "\n" + kBanner + "FILE " + file + "[" + line + "]\n" + "MESSAGE: " + message + "\n" + kBanner;
}

// Sends std::cout to a string for the lifetime of the object.
struct CoutRedirect {
    std::ostringstream text;
    std::streambuf* previous = std::cout.rdbuf(text.rdbuf());
    ~CoutRedirect() { std::cout.rdbuf(previous); }
};

std::vector<const ErrorHandlerInterface*> sToldHandlers;

// Records each message with what standard output held when it was told.
struct RecordingErrorHandler : kwTest::ReportCollector {
    explicit RecordingErrorHandler(const CoutRedirect& redirect)
        : output(redirect)
    {
    }
    void OnErrorFired(const std::string& message) override
    {
        ReportCollector::OnErrorFired(message);
        outputWhenTold.push_back(output.text.str());
        sToldHandlers.push_back(this);
    }

    const CoutRedirect& output;
    std::vector<std::string> outputWhenTold;
};

} // namespace

TEST(ErrorReportTest, PrintsEachBlockByteForByte)
{
    // Not literals, so the mismatched argument is not a compile-time warning;
    // formatting it would read an int as a string.
    const char* mismatched = "kwExternalError: %s %s";
    const char* empty = "";
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "kelp_wright\\source\\game\\kw_game_state_machine", 77,
                  "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.", 5);
    ReportErrorIf(false, "file", 1, mismatched, 42);
    ReportErrorIf(true, "a/b.cpp", -3, "%s", empty);
    ReportErrorIf(true, "c.cpp", 0, "kwInternalError: initial game state is invalid.");

    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "\n"
              "ASSERTION FAILED! -----------------------------------\n"
              "FILE kelp_wright\\source\\game\\kw_game_state_machine[77]\n"
              "MESSAGE: kwExternalError: Trying to remove GameState with id(5) which does not exists in Game Machine.\n"
              "ASSERTION FAILED! -----------------------------------\n" +
                  Block("a/b.cpp", "-3", "") + Block("c.cpp", "0", "kwInternalError: initial game state is invalid."));
}

TEST(ErrorReportTest, OverlongMessageIsTruncatedTo4095Characters)
{
    CoutRedirect output;
    RecordingErrorHandler handler(output);
    const std::string longText(5000, 'x');
    ReportErrorIf(true, "f.cpp", 9, "kwExternalError: %s", longText.c_str());

    const std::string expected = ("kwExternalError: " + longText).substr(0, 4095);
    EXPECT_EQ(handler.messages, std::vector<std::string>{expected});
    EXPECT_EQ(output.text.str(), Block("f.cpp", "9", expected));
}

TEST(ErrorReportTest, ThrowSwitchTurnsReportsIntoExceptions)
{
    CoutRedirect output;
    RecordingErrorHandler handler(output);
    SetThrowOnError(true);
    std::string caught;
    try {
        ReportErrorIf(true, "f.cpp", 1, "kwExternalError: id(%d)", 12);
    } catch (const kwImplementation::ExceptionalErrorHandler::ErroredException& exception) {
        caught = exception.what();
    }
    SetThrowOnError(false);
    EXPECT_EQ(caught, "kwExternalError: id(12)");
    EXPECT_EQ(output.text.str(), "");
    EXPECT_TRUE(handler.messages.empty());

    // Off again: the next report prints.
    ReportErrorIf(true, "f.cpp", 2, "kwExternalError: again");
    EXPECT_EQ(output.text.str(), Block("f.cpp", "2", "kwExternalError: again"));
}

TEST(ErrorReportTest, ListedHandlersAreToldAfterThePrintInListOrder)
{
    CoutRedirect output;
    RecordingErrorHandler first(output);
    RecordingErrorHandler second(output);
    sToldHandlers.clear();
    ReportErrorIf(true, "g.cpp", 5, "kwInternalError: %d and %s", 7, "eight");

    const std::vector<std::string> block{Block("g.cpp", "5", "kwInternalError: 7 and eight")};
    EXPECT_EQ(first.messages, std::vector<std::string>{"kwInternalError: 7 and eight"});
    EXPECT_EQ(second.messages, first.messages);
    EXPECT_EQ(first.outputWhenTold, block);
    EXPECT_EQ(second.outputWhenTold, block);
    EXPECT_EQ(sToldHandlers, (std::vector<const ErrorHandlerInterface*>{&first, &second}));

    RemoveErrorHandler(&first);
    ReportErrorIf(true, "g.cpp", 6, "kwInternalError: later");
    EXPECT_EQ(first.messages.size(), 1u);
    EXPECT_EQ(second.messages.size(), 2u);
}
