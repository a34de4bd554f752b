// End-to-end test support: how to start a program of one of the project's
// builds ("linux", "win32", "win64") the way a user of that build would.
#pragma once

#include "program_process.h"
#include "x11_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kwE2e {

// The builds whose programs this test run drives.
std::vector<std::string> BuildsUnderTest();

// The program's path in that build ("demo/skidwell", "examples/kw_menu_sample").
std::string ProgramPath(const std::string& build, const std::string& relativePath);

bool ProgramBuilt(const std::string& build, const std::string& relativePath);

// The command that starts it: directly, or through Wine for a Windows build.
std::vector<std::string> LaunchCommand(const std::string& build, const std::string& relativePath);

// Why this machine cannot run the build's programs, or empty when it can.
std::string WhyNotRunnable(const std::string& build);

// A file under the test's binary folder for the program's output and captures.
std::string ArtifactPath(const std::string& name);

// Writes a capture as a binary PPM picture, for a person to look at.
void SaveCapture(const Capture& capture, const std::string& path);

// Base of the cases that start one program in each build under test (the
// build is the test parameter): skips a build this machine cannot run and
// fails when the program was not built or there is no X display.
class BuildProgramTest : public testing::TestWithParam<std::string> {
protected:
    explicit BuildProgramTest(const char* program)
        : mProgram(program)
    {
    }
    void SetUp() override;
    // The program's window, found by title (0 after a failure that shows what the program printed).
    Window WaitForProgramWindow(const ProgramProcess& program, const char* title);

    const char* const mProgram;
    X11Session mSession;
};

} // namespace kwE2e
