// End-to-end test support: fork/exec, waitpid and kill of the program under test.
#include "program_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kwE2e {

ProgramProcess::ProgramProcess(const std::vector<std::string>& command, const std::string& outputFile)
    : mPid(-1)
    , mExitCode(-1)
    , mExited(false)
    , mOutputFile(outputFile)
{
    std::vector<char*> arguments;
    for (const std::string& part : command) {
        arguments.push_back(const_cast<char*>(part.c_str()));
    }
    arguments.push_back(nullptr);

    mPid = fork();
    if (mPid == 0) {
        setpgid(0, 0);
        // A sanitizer build of the program reads the project's leak suppressions
        // (third-party libraries only); other builds ignore the variable.
        setenv("LSAN_OPTIONS", "suppressions=" KW_LSAN_SUPPRESSIONS, 0);
        const int output = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (output >= 0) {
            dup2(output, STDOUT_FILENO);
            dup2(output, STDERR_FILENO);
            close(output);
        }
        execvp(arguments[0], arguments.data());
        _exit(127);
    }
}

ProgramProcess::~ProgramProcess()
{
    if (mPid > 0 && !mExited) {
        kill(-mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
}

bool ProgramProcess::Running()
{
    if (mPid <= 0 || mExited) {
        return false;
    }
    int status = 0;
    if (waitpid(mPid, &status, WNOHANG) == mPid) {
        mExited = true;
        mExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        return false;
    }
    return true;
}

bool ProgramProcess::WaitForExit(double seconds)
{
    const auto start = std::chrono::steady_clock::now();
    while (Running()) {
        if (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() > seconds) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return mExited;
}

std::string ProgramProcess::Output() const
{
    std::ifstream file(mOutputFile);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace kwE2e
