// Skidwell: the OpenGL 1.1 header for the drawing code. Windows' <GL/gl.h>
// needs the platform's calling-convention macros from windows.h first; this
// header stays private to the drawing sources.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

#include <GL/gl.h>
