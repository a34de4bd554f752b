// Test program of the web build: a frame of OpenGL calls as the recording OpenGL writes them (the frames
// of tests/golden, and tests/web/primitives_frame.txt with every primitive, built in under /frames)
// replayed through the web backend's OpenGL subset every frame, so that the browser tests can judge the
// pixels the subset draws. Its argument names the file:
// test-page.html?module=kw_gl_replay.js&arg=demo_empty_frame.txt. A line that is not a recorded call ends the
// program with exit code 1 before any window opens.
#include "application/kw_realtime_application.h"

#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A recorded call's arguments, each read by strtof, which reads the hexadecimal enums and bytes of the
// recording exactly.
using Arguments = std::vector<float>;

struct Call {
    std::string name;
    Arguments arguments;
};

GLenum AsEnum(float value) { return static_cast<GLenum>(value); }

GLubyte AsByte(float value) { return static_cast<GLubyte>(value); }

// Each recorded call with the number of arguments the recording wrote, which Parse checks.
const std::map<std::string, std::pair<size_t, std::function<void(const Arguments&)>>> kCalls = {
    {"glClearColor", {4, [](const Arguments& a) { glClearColor(a[0], a[1], a[2], a[3]); }}},
    {"glClear", {1, [](const Arguments& a) { glClear(AsEnum(a[0])); }}},
    {"glEnable", {1, [](const Arguments& a) { glEnable(AsEnum(a[0])); }}},
    {"glDisable", {1, [](const Arguments& a) { glDisable(AsEnum(a[0])); }}},
    {"glMatrixMode", {1, [](const Arguments& a) { glMatrixMode(AsEnum(a[0])); }}},
    {"glLoadIdentity", {0, [](const Arguments&) { glLoadIdentity(); }}},
    {"glLoadMatrixf", {16, [](const Arguments& a) { glLoadMatrixf(a.data()); }}},
    {"glPushMatrix", {0, [](const Arguments&) { glPushMatrix(); }}},
    {"glPopMatrix", {0, [](const Arguments&) { glPopMatrix(); }}},
    {"glTranslatef", {3, [](const Arguments& a) { glTranslatef(a[0], a[1], a[2]); }}},
    {"glRotatef", {4, [](const Arguments& a) { glRotatef(a[0], a[1], a[2], a[3]); }}},
    {"glScalef", {3, [](const Arguments& a) { glScalef(a[0], a[1], a[2]); }}},
    {"glBegin", {1, [](const Arguments& a) { glBegin(AsEnum(a[0])); }}},
    {"glEnd", {0, [](const Arguments&) { glEnd(); }}},
    {"glVertex3f", {3, [](const Arguments& a) { glVertex3f(a[0], a[1], a[2]); }}},
    {"glColor3f", {3, [](const Arguments& a) { glColor3f(a[0], a[1], a[2]); }}},
    {"glColor3ub", {3, [](const Arguments& a) { glColor3ub(AsByte(a[0]), AsByte(a[1]), AsByte(a[2])); }}},
    {"glColor4ub",
     {4, [](const Arguments& a) { glColor4ub(AsByte(a[0]), AsByte(a[1]), AsByte(a[2]), AsByte(a[3])); }}},
};

// "glVertex3f(1 -0 0.25)" as a call; false for anything else.
bool Parse(const std::string& line, Call& call)
{
    const size_t open = line.find('(');
    if (open == std::string::npos || line.back() != ')') {
        return false;
    }
    call.name = line.substr(0, open);
    call.arguments.clear();
    std::istringstream arguments(line.substr(open + 1, line.size() - open - 2));
    for (std::string argument; arguments >> argument;) {
        call.arguments.push_back(std::strtof(argument.c_str(), nullptr));
    }
    const auto known = kCalls.find(call.name);
    return known != kCalls.end() && known->second.first == call.arguments.size();
}

class Replay : public Kelpwright::Application::ApplicationHandlerInterface {
public:
    explicit Replay(std::vector<Call> calls)
        : mCalls(std::move(calls))
    {
    }
    void OnWindowOpen() override { mApplication.SetWindowTitle("Kelpwright Replay"); }
    void OnRealtimeUpdate() override
    {
        for (const Call& call : mCalls) {
            kCalls.find(call.name)->second.second(call.arguments);
        }
    }
    void Run() { mApplication.Execute(); }

private:
    std::vector<Call> mCalls;
    Kelpwright::Application::RealtimeApplication mApplication{*this};
};

} // namespace

// Only an allocation failure can leave it, which ends the test program as it would anywhere.
int main(int argc, char* argv[]) // NOLINT(bugprone-exception-escape): see above
{
    if (argc != 2) {
        std::printf("gl_replay: give the name of one file of /frames\n");
        return 1;
    }
    std::ifstream file(std::string("/frames/") + argv[1]);
    std::vector<Call> calls;
    int number = 0;
    for (std::string line; std::getline(file, line);) {
        ++number;
        Call call;
        if (!Parse(line, call)) {
            std::printf("gl_replay: %s:%d is not a recorded call: %s\n", argv[1], number, line.c_str());
            return 1;
        }
        calls.push_back(call);
    }
    if (calls.empty()) {
        std::printf("gl_replay: no calls in %s\n", argv[1]);
        return 1;
    }
    Replay replay(calls);
    replay.Run();
    return 0;
}
