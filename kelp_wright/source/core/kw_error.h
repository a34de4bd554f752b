// Kelpwright: non-fatal error reports. Every consistency check of the
// framework ends in ReportErrorIf, which prints an "ASSERTION FAILED!" block
// on standard output and returns so that the caller can go on.
#pragma once

#include <stdexcept>
#include <string>

namespace Kelpwright {
namespace Core {
namespace Error {

// Receives the formatted text of every report while it is in the handler list.
class ErrorHandlerInterface {
public:
    virtual ~ErrorHandlerInterface();
    virtual void OnErrorFired(const std::string& message) = 0;
};

// Makes a report when testResult is true (testResult is the error condition).
// The message is formatted by printf rules and truncated to 4095 characters.
void ReportErrorIf(bool testResult, const char* sourceFile, int sourceLine, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 4, 5)))
#endif
    ;

// Prints an already formatted report, then tells every listed handler.
void DispatchErrorReport(const std::string& sourceFile, int sourceLine, const std::string& message);

// The throw switch and the handler list. The framework itself never turns the
// switch on nor lists a handler; programs and tests may.
void SetThrowOnError(bool throwOnError);
bool IsThrowOnError();
void AddErrorHandler(ErrorHandlerInterface* handler);
void RemoveErrorHandler(ErrorHandlerInterface* handler);

} // namespace Error
} // namespace Core
} // namespace Kelpwright

namespace kwImplementation {

// Turns every report into an exception while the throw switch is on.
class ExceptionalErrorHandler : public Kelpwright::Core::Error::ErrorHandlerInterface {
public:
    class ErroredException : public std::runtime_error {
    public:
        explicit ErroredException(const std::string& message);
    };

    void OnErrorFired(const std::string& message) override;
};

} // namespace kwImplementation
