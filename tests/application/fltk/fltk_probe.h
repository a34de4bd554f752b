// Test support: what the FLTK probe also offers the FLTK-only tests: a
// window's first child of a widget type, and real X input events sent to a
// window, handled in the next drain.
#pragma once

#include <FL/Fl_Window.H>
#include <FL/x.H>

namespace kwTest {

template <typename Widget>
Widget* FindChild(Fl_Window& window)
{
    for (int index = 0; index < window.children(); ++index) {
        if (Widget* child = dynamic_cast<Widget*>(window.child(index))) {
            return child;
        }
    }
    return nullptr;
}

void SendKeyPress(Window window, KeySym key);
// At (x, y) in the window.
void SendButtonPress(Window window, int x, int y, unsigned int button);

} // namespace kwTest
