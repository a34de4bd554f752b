// Tests of error reports: the printed block byte for byte, silence when the
// condition is false, truncation of overlong messages, the throw switch and
// the order of printing and telling listed handlers.
#include "core/kw_error.h"

#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

using Kelpwright::Core::Error::AddErrorHandler;
using Kelpwright::Core::Error::ErrorHandlerInterface;
using Kelpwright::Core::Error::RemoveErrorHandler;
using Kelpwright::Core::Error::ReportErrorIf;
using Kelpwright::Core::Error::SetThrowOnError;

namespace {

const std::string kBanner = "ASSERTION FAILED! " + std::string(35, '-') + "\n";

std::string Block(const std::string& file, const std::string& line, const std::string& message)
{
    return "\n" + kBanner + "FILE " + file + "[" + line + "]\n" + "MESSAGE: " + message + "\n" + kBanner;
}

// Sends std::cout to a string for the lifetime of the object.
class CoutRedirect {
public:
    CoutRedirect()
        : mPrevious(std::cout.rdbuf(mText.rdbuf()))
    {
    }
    ~CoutRedirect() { std::cout.rdbuf(mPrevious); }
    std::string Text() const { return mText.str(); }

private:
    std::ostringstream mText;
    std::streambuf* mPrevious;
};

// Records each message with what standard output held when it was told.
class RecordingErrorHandler : public ErrorHandlerInterface {
public:
    explicit RecordingErrorHandler(const CoutRedirect* output = nullptr, std::vector<int>* order = nullptr, int name = 0)
        : mOutput(output)
        , mOrder(order)
        , mName(name)
    {
        AddErrorHandler(this);
    }
    ~RecordingErrorHandler() override { RemoveErrorHandler(this); }

    void OnErrorFired(const std::string& message) override
    {
        messages.push_back(message);
        outputWhenTold.push_back(mOutput != nullptr ? mOutput->Text() : std::string());
        if (mOrder != nullptr) {
            mOrder->push_back(mName);
        }
    }

    std::vector<std::string> messages;
    std::vector<std::string> outputWhenTold;

private:
    const CoutRedirect* mOutput;
    std::vector<int>* mOrder;
    int mName;
};

} // namespace

TEST(ErrorReportTest, PrintsTheBlockByteForByte)
{
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "kelp_wright\\source\\game\\kw_game_state_machine", 77,
                  "kwExternalError: Trying to remove GameState with id(%d) which does not exists in Game Machine.",
                  static_cast<int>(static_cast<unsigned short>(5)));
    const std::string output = testing::internal::GetCapturedStdout();

    EXPECT_EQ(output, "\n"
                      "ASSERTION FAILED! -----------------------------------\n"
                      "FILE kelp_wright\\source\\game\\kw_game_state_machine[77]\n"
                      "MESSAGE: kwExternalError: Trying to remove GameState with id(5) which does not exists in Game Machine.\n"
                      "ASSERTION FAILED! -----------------------------------\n");
    EXPECT_EQ(output, Block("kelp_wright\\source\\game\\kw_game_state_machine", "77",
                            "kwExternalError: Trying to remove GameState with id(5) which does not exists in Game Machine."));
}

TEST(ErrorReportTest, FalseConditionWritesNothing)
{
    RecordingErrorHandler handler;
    // Not a literal, so the mismatched argument is not a compile-time warning;
    // formatting it would read an int as a string.
    const char* mismatched = "kwExternalError: %s %s";
    testing::internal::CaptureStdout();
    ReportErrorIf(false, "file", 1, mismatched, 42);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(handler.messages.empty());
}

TEST(ErrorReportTest, EmptyMessagesAndNegativeLines)
{
    const char* empty = "";
    testing::internal::CaptureStdout();
    ReportErrorIf(true, "a/b.cpp", -3, "%s", empty);
    ReportErrorIf(true, "c.cpp", 0, "kwInternalError: initial game state is invalid.");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              Block("a/b.cpp", "-3", "") + Block("c.cpp", "0", "kwInternalError: initial game state is invalid."));
}

TEST(ErrorReportTest, OverlongMessageIsTruncatedTo4095Characters)
{
    CoutRedirect output;
    RecordingErrorHandler handler;
    const std::string longText(5000, 'x');
    ReportErrorIf(true, "f.cpp", 9, "kwExternalError: %s", longText.c_str());

    ASSERT_EQ(handler.messages.size(), 1u);
    const std::string expected = ("kwExternalError: " + longText).substr(0, 4095);
    EXPECT_EQ(handler.messages[0].size(), 4095u);
    EXPECT_EQ(handler.messages[0], expected);
    EXPECT_EQ(output.Text(), Block("f.cpp", "9", expected));
}

TEST(ErrorReportTest, ThrowSwitchTurnsReportsIntoExceptions)
{
    CoutRedirect output;
    RecordingErrorHandler handler;
    SetThrowOnError(true);
    std::string caught;
    try {
        ReportErrorIf(true, "f.cpp", 1, "kwExternalError: id(%d)", 12);
    } catch (const kwImplementation::ExceptionalErrorHandler::ErroredException& exception) {
        caught = exception.what();
    }
    SetThrowOnError(false);

    EXPECT_EQ(caught, "kwExternalError: id(12)");
    EXPECT_EQ(output.Text(), "");
    EXPECT_TRUE(handler.messages.empty());

    // Off again: the next report prints.
    ReportErrorIf(true, "f.cpp", 2, "kwExternalError: again");
    EXPECT_EQ(output.Text(), Block("f.cpp", "2", "kwExternalError: again"));
}

TEST(ErrorReportTest, ListedHandlersAreToldAfterThePrintInListOrder)
{
    CoutRedirect output;
    std::vector<int> order;
    RecordingErrorHandler first(&output, &order, 1);
    RecordingErrorHandler second(&output, &order, 2);
    ReportErrorIf(true, "g.cpp", 5, "kwInternalError: %d and %s", 7, "eight");
    const std::string block = Block("g.cpp", "5", "kwInternalError: 7 and eight");

    ASSERT_EQ(first.messages, std::vector<std::string>{"kwInternalError: 7 and eight"});
    ASSERT_EQ(second.messages, first.messages);
    EXPECT_EQ(first.outputWhenTold[0], block);
    EXPECT_EQ(second.outputWhenTold[0], block);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    RemoveErrorHandler(&first);
    ReportErrorIf(true, "g.cpp", 6, "kwInternalError: later");
    EXPECT_EQ(first.messages.size(), 1u);
    EXPECT_EQ(second.messages.size(), 2u);
}
