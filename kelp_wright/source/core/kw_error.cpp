// Kelpwright: formatting and dispatch of error reports to standard output,
// the throwing handler and the handler list.
#include "core/kw_error.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <vector>

namespace {

const size_t kReportBufferSize = 4096;

bool sThrowOnError = false;
kwImplementation::ExceptionalErrorHandler sExceptionalErrorHandler;
std::vector<Kelpwright::Core::Error::ErrorHandlerInterface*> sErrorHandlers;

} // namespace

namespace Kelpwright {
namespace Core {
namespace Error {

ErrorHandlerInterface::~ErrorHandlerInterface() {}

void ReportErrorIf(bool testResult, const char* sourceFile, int sourceLine, const char* format, ...)
{
    if (!testResult) {
        return;
    }

    std::vector<char> buffer(kReportBufferSize, '\0');
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, arguments);
    va_end(arguments);
    // NOTE: some C runtimes leave an overlong result unterminated; a failed
    // format leaves an empty message rather than stale bytes.
    buffer[kReportBufferSize - 1] = '\0';
    if (written < 0) {
        buffer[0] = '\0';
    }

    const std::string message(buffer.data());
    const std::string file(sourceFile != nullptr ? sourceFile : "");
    DispatchErrorReport(file, sourceLine, message);
}

void DispatchErrorReport(const std::string& sourceFile, int sourceLine, const std::string& message)
{
    if (sThrowOnError) {
        sExceptionalErrorHandler.OnErrorFired(message);
    }

    // NOTE: the block is made as text and written unformatted, so the line is
    // decimal whatever flags (hex, showpos, width) the program left on std::cout,
    // and those flags stay as they were.
    const std::string block = "\nASSERTION FAILED! -----------------------------------\n"
                              "FILE " +
        sourceFile + "[" + std::to_string(sourceLine) +
        "]\n"
        "MESSAGE: " +
        message +
        "\n"
        "ASSERTION FAILED! -----------------------------------\n";
    std::cout.write(block.data(), static_cast<std::streamsize>(block.size()));
    std::cout.flush();

    // A handler may take itself out of the list while it is told.
    const std::vector<ErrorHandlerInterface*> handlers = sErrorHandlers;
    for (ErrorHandlerInterface* handler : handlers) {
        handler->OnErrorFired(message);
    }
}

void SetThrowOnError(bool throwOnError) { sThrowOnError = throwOnError; }

bool IsThrowOnError() { return sThrowOnError; }

void AddErrorHandler(ErrorHandlerInterface* handler)
{
    if (handler != nullptr) {
        sErrorHandlers.push_back(handler);
    }
}

void RemoveErrorHandler(ErrorHandlerInterface* handler)
{
    sErrorHandlers.erase(std::remove(sErrorHandlers.begin(), sErrorHandlers.end(), handler),
                         sErrorHandlers.end());
}

} // namespace Error
} // namespace Core
} // namespace Kelpwright

namespace kwImplementation {

ExceptionalErrorHandler::ErroredException::ErroredException(const std::string& message)
    : std::runtime_error(message)
{
}

void ExceptionalErrorHandler::OnErrorFired(const std::string& message) { throw ErroredException(message); }

} // namespace kwImplementation
