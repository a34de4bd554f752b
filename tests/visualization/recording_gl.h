// Test support: a recording OpenGL 1.1, linked in place of the system library
// (on Windows a DLL named opengl32.dll beside the test program). It keeps each
// call with its arguments, floats as bit patterns, in storage reserved up front.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace kwTest {
struct GlCall {
    const char* name;
    unsigned count;
    std::uint32_t floatMask; // bit i set: argument i is a float
    std::uint32_t args[16];
};
} // namespace kwTest

// Cleared by its callers between frames, so that recording allocates nothing.
extern "C" std::vector<kwTest::GlCall>* kwRecordedGlCalls();

namespace kwTest {

// The calls `draw` makes as "glVertex3f(1 -0 0.25) glEnd()": floats with nine
// digits, which tell every float apart; integers in hexadecimal.
inline std::string GlText(const std::function<void()>& draw)
{
    kwRecordedGlCalls()->clear();
    draw();
    std::string text;
    for (const GlCall& call : *kwRecordedGlCalls()) {
        text += std::string(text.empty() ? "" : " ") + call.name + "(";
        for (unsigned i = 0; i < call.count; ++i) {
            char value[32];
            float f;
            std::memcpy(&f, &call.args[i], sizeof f);
            (call.floatMask >> i & 1) ? std::snprintf(value, sizeof value, "%.9g", static_cast<double>(f))
                                      : std::snprintf(value, sizeof value, "0x%x", call.args[i]);
            text += (i == 0 ? "" : " ") + std::string(value);
        }
        text += ")";
    }
    return text;
}

} // namespace kwTest
