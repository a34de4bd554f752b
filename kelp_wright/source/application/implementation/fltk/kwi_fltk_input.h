// Kelpwright FLTK backend: the application window's keys, taken from the X
// events before FLTK handles them, and the drawing view's pointer events,
// reported upward through the neutral input state.
#pragma once

#include <X11/Xlib.h>

namespace kwImplementation {
namespace Fltk {

// Once the display is open: a held key then repeats as presses alone, without
// a release before each (where the server's keyboard extension offers that).
void PrepareKeyboard();

// The window got the keyboard: notes which keys are already down, so that the
// repeats of a key held since before count as repeats.
void NoteKeysDown();

// A key press or release that X delivered to one of the application's windows.
// FLTK handles it afterwards as usual, so menu shortcuts keep working; a press
// that an open menu takes is not reported.
void ReportKeyEvent(const XKeyEvent& event);

// An FLTK event of the drawing view, its coordinates relative to the view;
// returns false for an event that is not about the pointer.
bool ReportPointerEvent(int event);

} // namespace Fltk
} // namespace kwImplementation
