// Test support: a recording OpenGL 1.1 linked in place of the system library. Each call is kept as text,
// "glVertex3f(1 -0 0.25)": floats with nine digits, which tell every float (and -0) apart, integers in
// hexadecimal. Recording allocates nothing.
#pragma once

#include <functional>
#include <string>

extern "C" const char* kwGlText(); // the calls since the last clear, one a line
extern "C" void kwClearGlText();

namespace kwTest {
// The calls since the last clear, each line ended, then clears them.
inline std::string TakeGlText()
{
    std::string text = kwGlText();
    kwClearGlText();
    return text.empty() ? text : text + "\n";
}
inline std::string GlText(const std::function<void()>& draw)
{
    kwClearGlText();
    draw();
    return TakeGlText();
}
} // namespace kwTest
