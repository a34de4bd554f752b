// Test support: the recording OpenGL entry points, with C linkage and the
// system's calling convention, and on Windows stubs of the WGL calls that the
// window backend imports from the same library.
#include "recording_gl.h"

#if defined(_WIN32)
#define KW_EXPORT __declspec(dllexport)
#define KW_GL(type) extern "C" KW_EXPORT type __stdcall
#else
#define KW_EXPORT
#define KW_GL(type) extern "C" type
#endif

namespace {

struct Recording {
    kwTest::GlCall call;
    void Add(unsigned value) { call.args[call.count++] = value; }
    void Add(float value) { call.floatMask |= 1u << call.count, std::memcpy(&call.args[call.count++], &value, 4); }
};

std::vector<kwTest::GlCall> sCalls = [] {
    std::vector<kwTest::GlCall> calls;
    return calls.reserve(1 << 16), calls;
}();

template <typename... Value>
void Record(const char* name, Value... values)
{
    Recording recording = {{name, 0, 0, {}}};
    const int expand[] = {0, (recording.Add(values), 0)...};
    (void)expand;
    sCalls.push_back(recording.call);
}

} // namespace

extern "C" KW_EXPORT std::vector<kwTest::GlCall>* kwRecordedGlCalls() { return &sCalls; }

KW_GL(void) glBegin(unsigned mode) { Record("glBegin", mode); }
KW_GL(void) glEnd() { Record("glEnd"); }
KW_GL(void) glVertex3f(float x, float y, float z) { Record("glVertex3f", x, y, z); }
KW_GL(void) glColor3f(float r, float g, float b) { Record("glColor3f", r, g, b); }
KW_GL(void) glColor3ub(unsigned char r, unsigned char g, unsigned char b) { Record("glColor3ub", r * 1u, g * 1u, b * 1u); }
KW_GL(void) glColor4ub(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    Record("glColor4ub", r * 1u, g * 1u, b * 1u, a * 1u);
}
KW_GL(void) glEnable(unsigned capability) { Record("glEnable", capability); }
KW_GL(void) glDisable(unsigned capability) { Record("glDisable", capability); }
KW_GL(void) glPushMatrix() { Record("glPushMatrix"); }
KW_GL(void) glPopMatrix() { Record("glPopMatrix"); }
KW_GL(void) glMatrixMode(unsigned mode) { Record("glMatrixMode", mode); }
KW_GL(void) glLoadIdentity() { Record("glLoadIdentity"); }
KW_GL(void) glLoadMatrixf(const float* m)
{
    Record("glLoadMatrixf", m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7], m[8], m[9], m[10], m[11], m[12], m[13], m[14], m[15]);
}
KW_GL(void) glTranslatef(float x, float y, float z) { Record("glTranslatef", x, y, z); }
KW_GL(void) glClearColor(float r, float g, float b, float a) { Record("glClearColor", r, g, b, a); }
KW_GL(void) glClear(unsigned mask) { Record("glClear", mask); }

#if defined(_WIN32)
KW_GL(void*) wglCreateContext(void*) { return nullptr; }
KW_GL(void*) wglGetCurrentContext() { return nullptr; }
KW_GL(int) wglMakeCurrent(void*, void*) { return 1; }
KW_GL(int) wglDeleteContext(void*) { return 1; }
#endif
