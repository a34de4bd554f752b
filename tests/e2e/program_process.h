// End-to-end test support: starts a program as a user would (a Windows build
// through Wine), keeps what it prints, and waits for its exit code.
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace kwE2e {

class ProgramProcess {
public:
    // Starts `command` (program and arguments) in its own process group, with
    // standard output and error going to `outputFile`.
    ProgramProcess(const std::vector<std::string>& command, const std::string& outputFile);
    ~ProgramProcess(); // kills the program if it is still running
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Started() const { return mPid > 0; }
    // True when the program ended within `seconds`; its exit code is then ExitCode().
    bool WaitForExit(double seconds);
    bool Running();
    int ExitCode() const { return mExitCode; }
    std::string Output() const;

private:
    pid_t mPid;
    int mExitCode;
    bool mExited;
    std::string mOutputFile;
};

} // namespace kwE2e
