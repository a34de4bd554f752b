// Test support: the recording OpenGL entry points, with C linkage and the
// system's calling convention, and on Windows stubs of the WGL calls that the
// window backend imports from the same library.
#include "recording_gl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#if defined(_WIN32)
#define KW_EXPORT __declspec(dllexport)
#define KW_GL(type) extern "C" KW_EXPORT type __stdcall
#else
#define KW_EXPORT
#define KW_GL(type) extern "C" type
#endif

namespace {

char sText[1 << 22];
size_t sLength = 0;

void Put(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(sText + sLength, sizeof sText - sLength, format, arguments);
    va_end(arguments);
    sLength = std::min(sizeof sText - 1, sLength + static_cast<size_t>(std::max(written, 0)));
}

// One call: its name, each argument as it is streamed in, and ")" when the statement ends.
struct Call {
    explicit Call(const char* name) { Put(sLength == 0 ? "%s(" : " %s(", name); }
    ~Call() { Put(")"); }
    Call& operator<<(float value) { Put(mFirst ? "%.9g" : " %.9g", static_cast<double>(value)); mFirst = false; return *this; }
    Call& operator<<(unsigned value) { Put(mFirst ? "0x%x" : " 0x%x", value); mFirst = false; return *this; }
    bool mFirst = true;
};

} // namespace

extern "C" KW_EXPORT const char* kwGlText() { return sText; }
extern "C" KW_EXPORT void kwClearGlText() { sText[sLength = 0] = '\0'; }

KW_GL(void) glBegin(unsigned mode) { Call("glBegin") << mode; }
KW_GL(void) glEnd() { Call("glEnd"); }
KW_GL(void) glVertex3f(float x, float y, float z) { Call("glVertex3f") << x << y << z; }
KW_GL(void) glColor3f(float r, float g, float b) { Call("glColor3f") << r << g << b; }
KW_GL(void) glColor3ub(unsigned char r, unsigned char g, unsigned char b) { Call("glColor3ub") << r * 1u << g * 1u << b * 1u; }
KW_GL(void) glColor4ub(unsigned char r, unsigned char g, unsigned char b, unsigned char a) { Call("glColor4ub") << r * 1u << g * 1u << b * 1u << a * 1u; }
KW_GL(void) glEnable(unsigned capability) { Call("glEnable") << capability; }
KW_GL(void) glDisable(unsigned capability) { Call("glDisable") << capability; }
KW_GL(void) glPushMatrix() { Call("glPushMatrix"); }
KW_GL(void) glPopMatrix() { Call("glPopMatrix"); }
KW_GL(void) glMatrixMode(unsigned mode) { Call("glMatrixMode") << mode; }
KW_GL(void) glLoadIdentity() { Call("glLoadIdentity"); }
KW_GL(void) glLoadMatrixf(const float* m)
{
    Call call("glLoadMatrixf");
    std::for_each(m, m + 16, [&](float element) { call << element; });
}
KW_GL(void) glTranslatef(float x, float y, float z) { Call("glTranslatef") << x << y << z; }
KW_GL(void) glClearColor(float r, float g, float b, float a) { Call("glClearColor") << r << g << b << a; }
KW_GL(void) glClear(unsigned mask) { Call("glClear") << mask; }

#if defined(_WIN32)
static int sPresented = 0; // GDI32's SwapBuffers and pixel-format calls come here too
extern "C" KW_EXPORT int kwPresentedFrames() { return sPresented; }
KW_GL(int) wglSwapBuffers(void*) { return ++sPresented, 1; }
KW_GL(int) wglChoosePixelFormat(void*, const void*) { return 1; }
KW_GL(int) wglSetPixelFormat(void*, int, const void*) { return 1; }
KW_GL(void*) wglCreateContext(void*) { return nullptr; }
KW_GL(void*) wglGetCurrentContext() { return nullptr; }
KW_GL(int) wglMakeCurrent(void*, void*) { return 1; }
KW_GL(int) wglDeleteContext(void*) { return 1; }
#endif
