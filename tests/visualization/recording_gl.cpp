// Test support: the recording OpenGL entry points, with C linkage and the system's calling convention;
// on Windows also the WGL calls the window backend makes, presents counted.
#include "recording_gl.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
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

// Appends to the text; a call (its name starts with "gl" or "wgl") starts a line of its own.
void Put(const char* format, ...)
{
    const bool call = format[0] == 'g' || format[0] == 'w';
    if (call && sLength != 0 && sLength < sizeof sText - 1) {
        sText[sLength] = '\n';
        ++sLength;
    }
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(sText + sLength, sizeof sText - sLength, format, arguments);
    va_end(arguments);
    sLength = std::min(sizeof sText - 1, sLength + static_cast<size_t>(std::max(written, 0)));
}

} // namespace

extern "C" KW_EXPORT const char* kwGlText() { return sText; }
extern "C" KW_EXPORT void kwClearGlText()
{
    sLength = 0;
    sText[0] = '\0';
}

KW_GL(void) glBegin(unsigned mode) { Put("glBegin(0x%x)", mode); }
KW_GL(void) glEnd() { Put("glEnd()"); }
KW_GL(void) glVertex3f(float x, float y, float z) { Put("glVertex3f(%.9g %.9g %.9g)", x, y, z); }
KW_GL(void) glColor3f(float r, float g, float b) { Put("glColor3f(%.9g %.9g %.9g)", r, g, b); }
KW_GL(void) glColor3ub(unsigned char r, unsigned char g, unsigned char b)
{
    Put("glColor3ub(0x%x 0x%x 0x%x)", r, g, b);
}
KW_GL(void) glColor4ub(unsigned char r, unsigned char g, unsigned char b, unsigned char a)
{
    Put("glColor4ub(0x%x 0x%x 0x%x 0x%x)", r, g, b, a);
}
KW_GL(void) glEnable(unsigned capability) { Put("glEnable(0x%x)", capability); }
KW_GL(void) glDisable(unsigned capability) { Put("glDisable(0x%x)", capability); }
KW_GL(void) glPushMatrix() { Put("glPushMatrix()"); }
KW_GL(void) glPopMatrix() { Put("glPopMatrix()"); }
KW_GL(void) glMatrixMode(unsigned mode) { Put("glMatrixMode(0x%x)", mode); }
KW_GL(void) glLoadIdentity() { Put("glLoadIdentity()"); }
KW_GL(void) glLoadMatrixf(const float* m)
{
    Put("glLoadMatrixf(%.9g", m[0]);
    std::for_each(m + 1, m + 16, [](float element) { Put(" %.9g", element); });
    Put(")");
}
KW_GL(void) glTranslatef(float x, float y, float z) { Put("glTranslatef(%.9g %.9g %.9g)", x, y, z); }
KW_GL(void) glClearColor(float r, float g, float b, float a)
{
    Put("glClearColor(%.9g %.9g %.9g %.9g)", r, g, b, a);
}
KW_GL(void) glClear(unsigned mask) { Put("glClear(0x%x)", mask); }
KW_GL(void) glViewport(int x, int y, int width, int height)
{
    Put("glViewport(%d %d %d %d)", x, y, width, height);
}

#if defined(_WIN32)
static int sPresented = 0; // GDI32's SwapBuffers comes here too
extern "C" KW_EXPORT int kwPresentedFrames() { return sPresented; }
// The device contexts presented to, told apart by handle: GetDC hands a released one out again, so one that
// was never released shows as a new handle.
static const void* sDeviceContexts[64];
static int sDeviceContextCount = 0;
static void PresentedTo(const void* deviceContext)
{
    const void** end = sDeviceContexts + sDeviceContextCount;
    if (std::find(sDeviceContexts, end, deviceContext) == end && sDeviceContextCount < 64) {
        sDeviceContexts[sDeviceContextCount] = deviceContext;
        ++sDeviceContextCount;
    }
}
extern "C" KW_EXPORT int kwDeviceContextsPresentedTo() { return sDeviceContextCount; }
KW_GL(int) wglSwapBuffers(void* deviceContext)
{
    ++sPresented;
    PresentedTo(deviceContext);
    return 1;
}
// The layout of PIXELFORMATDESCRIPTOR up to iLayerType. wingdi.h stays out: its WGL declarations
// clash with the definitions here.
struct PixelFormatRequest {
    std::uint16_t nSize;
    std::uint16_t nVersion;
    std::uint32_t dwFlags;
    std::uint8_t iPixelType;
    std::uint8_t cColorBits;
    std::uint8_t unlisted[13]; // colour shifts, alpha and accumulation sizes
    std::uint8_t cDepthBits;
    std::uint8_t cStencilBits;
    std::uint8_t cAuxBuffers;
    std::uint8_t iLayerType;
};
// GDI32's ChoosePixelFormat and SetPixelFormat come here: the descriptor asked for is recorded.
KW_GL(int) wglChoosePixelFormat(void*, const PixelFormatRequest* d)
{
    Put("wglChoosePixelFormat(size %u version %u flags 0x%x type %u color %u depth %u stencil %u layer %u)",
        d->nSize, d->nVersion, static_cast<unsigned>(d->dwFlags), d->iPixelType, d->cColorBits, d->cDepthBits,
        d->cStencilBits, d->iLayerType);
    return 1;
}
KW_GL(int) wglSetPixelFormat(void*, int format, const PixelFormatRequest*)
{
    Put("wglSetPixelFormat(%d)", format);
    return 1;
}
// One context, told apart from none.
static char sContext = 0;
static void* sCurrent = nullptr;
static const char* Context(const void* context) { return context == &sContext ? "context" : "none"; }
KW_GL(void*) wglCreateContext(void*)
{
    Put("wglCreateContext()");
    return &sContext;
}
KW_GL(void*) wglGetCurrentContext() { return sCurrent; }
KW_GL(int) wglMakeCurrent(void*, void* context)
{
    Put("wglMakeCurrent(%s)", Context(context));
    sCurrent = context;
    return 1;
}
KW_GL(int) wglDeleteContext(void* context)
{
    Put("wglDeleteContext(%s)", Context(context));
    return 1;
}
#endif
