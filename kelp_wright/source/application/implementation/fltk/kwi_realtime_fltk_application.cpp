// Kelpwright FLTK backend: the platform steps of the realtime application on
// X11 with FLTK 1.3: an Fl_Window at (50, 50), an Fl_Gl_Window child for the
// drawing surface, a GLX context of our own, Fl::check() as the event drain and
// glXSwapBuffers to present. The view takes the keyboard focus; keys are
// taken from the X events of the window, the pointer from the view's events.
// Calls: Fl_Window, Fl_Gl_Window, Fl::check, Fl::flush, Fl::add_system_handler,
// fl_open_display, XGetWindowAttributes, glXCreateContext, glXMakeCurrent,
// glXSwapBuffers, glXDestroyContext.
#include "application/implementation/fltk/kwi_fltk_input.h"
#include "application/implementation/fltk/kwi_fltk_window_parts.h"
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_platform_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Window.H>
#include <FL/x.H>
#include <GL/gl.h>
#include <GL/glx.h>

#include <chrono>
#include <cstring>
#include <thread>

using Kelpwright::Application::WindowProperties;

namespace kwImplementation {

namespace {

// The drawing surface. FLTK calls flush() for an expose or a redraw; that is
// this window's paint, answered by presenting the back buffer.
class RenderingView : public Fl_Gl_Window {
public:
    RenderingView(int x, int y, int width, int height)
        : Fl_Gl_Window(x, y, width, height)
    {
    }

    void flush() override;
    int handle(int event) override;
    // The drawing size follows the view: the window was resized, or its menu
    // bar appeared or went.
    void resize(int x, int y, int width, int height) override;

protected:
    // Nothing is drawn here: the frame is drawn by the handler in the loop.
    void draw() override {}
};

struct FltkBackend {
    Fl_Window* window = nullptr; // the top-level window; null once destroyed
    RenderingView* view = nullptr; // GL child filling the client area
    // NOTE: the context is ours, not the Fl_Gl_Window's: FLTK would make its own
    // context current in flush() and delete it when the window is hidden. Like a
    // WGL context it outlives the window until DestroyRenderingContext.
    GLXContext context = nullptr;
    GLXDrawable loopDrawable = 0; // what PresentFrame swaps, between Begin/EndFrameLoop
    bool quitPosted = false;
    bool destroying = false;
    bool systemHandlerInstalled = false;
};

FltkBackend sBackend;

// glXChooseVisual attributes: double-buffered RGBA with 8 bits per colour
// channel (a 32-bit pixel), at least 16 depth and 8 stencil bits.
// Formatting would put each attribute and each value on a line of its own.
// clang-format off
const int kContextAttributes[] = {
    GLX_RGBA, GLX_DOUBLEBUFFER,
    GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
    GLX_DEPTH_SIZE, 16, GLX_STENCIL_SIZE, 8,
    None};
// clang-format on

void RenderingView::flush() { NotifyWindowEvent(WindowEvent::Paint, sBackend.window); }

// The view takes the keyboard focus, so that no other widget holds it; the
// keys themselves are reported from the X events and left to FLTK, which
// tries them as the menu bar's shortcuts.
int RenderingView::handle(int event)
{
    if (event == FL_FOCUS || event == FL_UNFOCUS) {
        return 1;
    }
    return Fltk::ReportPointerEvent(event) ? 1 : Fl_Gl_Window::handle(event);
}

void RenderingView::resize(int x, int y, int width, int height)
{
    Fl_Gl_Window::resize(x, y, width, height);
    NotifyDrawingSize(Kelpwright::Application::DrawingSize{width, height});
}

// Focus moving between the window and its own child, and the focus changes
// that a menu's pointer grab causes, are not activation changes.
bool IsActivationChange(const XFocusChangeEvent& focus)
{
    return focus.mode != NotifyGrab && focus.mode != NotifyUngrab && focus.detail != NotifyInferior;
}

// The top-level window or the view: a key event names the window X reported
// it to, which may be either.
bool IsApplicationWindow(Window window)
{
    return sBackend.window != nullptr &&
        (window == fl_xid(sBackend.window) || (sBackend.view != nullptr && window == fl_xid(sBackend.view)));
}

// Keyboard focus of the top-level window is its activation.
void OnFocusChange(const XFocusChangeEvent& focus)
{
    if (sBackend.window == nullptr || focus.window != fl_xid(sBackend.window)) {
        return;
    }
    if (focus.type == FocusIn) {
        Fltk::NoteKeysDown();
    }
    if (IsActivationChange(focus)) {
        NotifyWindowEvent(focus.type == FocusIn ? WindowEvent::Activated : WindowEvent::Deactivated,
                          sBackend.window);
    }
}

// Sees every X event before FLTK handles it, and lets FLTK handle all of them.
int OnSystemEvent(void* event, void* data)
{
    (void)data;
    const XEvent& xevent = *static_cast<const XEvent*>(event);
    switch (xevent.type) {
    case KeyPress:
    case KeyRelease:
        if (IsApplicationWindow(xevent.xkey.window)) {
            Fltk::ReportKeyEvent(xevent.xkey);
        }
        break;
    case FocusIn:
    case FocusOut:
        OnFocusChange(xevent.xfocus);
        break;
    default:
        break;
    }
    return 0;
}

// Raises Destroyed while the window and the context are still there, then
// destroys the X windows. Inside a callback of the window the object itself is
// deleted later by FLTK.
void DestroyWindowObject(bool insideWindowCallback)
{
    Fl_Window* window = sBackend.window;
    if (window == nullptr || sBackend.destroying) {
        return;
    }
    sBackend.destroying = true;
    NotifyWindowEvent(WindowEvent::Destroyed, window);
    window->hide();
    sBackend.window = nullptr;
    sBackend.view = nullptr;
    sBackend.loopDrawable = 0;
    sBackend.destroying = false;
    if (insideWindowCallback) {
        Fl::delete_widget(window);
    } else {
        delete window;
    }
}

// The window's callback: FLTK calls it for the window manager's close request
// (WM_DELETE_WINDOW) and also for the Escape key, which must not close it.
void OnWindowCallback(Fl_Widget* widget, void* data)
{
    (void)widget;
    (void)data;
    if (Fl::event() == FL_CLOSE) {
        DestroyWindowObject(true);
    }
}

GLXContext CreateContextForWindow(Window drawable)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, drawable, &attributes);
    XVisualInfo pattern = XVisualInfo();
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(fl_display, VisualIDMask, &pattern, &count);
    if (visual == nullptr) {
        return nullptr;
    }
    GLXContext context = glXCreateContext(fl_display, visual, nullptr, True);
    XFree(visual);
    return context;
}

} // namespace

namespace Fltk {

bool IsLiveWindow(WindowHandle window)
{
    if (window == nullptr) {
        return false;
    }
    if (window == static_cast<WindowHandle>(sBackend.window)) {
        return true;
    }
    for (Fl_Window* shown = Fl::first_window(); shown != nullptr; shown = Fl::next_window(shown)) {
        if (window == static_cast<WindowHandle>(shown)) {
            return true;
        }
    }
    return false;
}

} // namespace Fltk

namespace Platform {

WindowHandle CreateApplicationWindow(const WindowProperties& properties)
{
    if (!sBackend.systemHandlerInstalled) {
        fl_open_display();
        Fltk::PrepareKeyboard();
        Fl::add_system_handler(OnSystemEvent, nullptr);
        sBackend.systemHandlerInstalled = true;
    }
    // A quit request posted by an earlier run's teardown belonged to that run.
    sBackend.quitPosted = false;

    // NOTE: only the FLTK object exists yet; its X window comes with the
    // rendering context, because a GLX context needs a window to be bound to.
    Fl_Window* window = new Fl_Window(50, 50, properties.width, properties.height);
    window->end();
    window->copy_label("Kelpwright Project");
    window->xclass("KelpwrightApplication");
    window->callback(OnWindowCallback);
    sBackend.window = window;
    NotifyWindowEvent(WindowEvent::Created, window);
    return window;
}

void CreateRenderingContext(WindowHandle window)
{
    if (window == nullptr || window != static_cast<WindowHandle>(sBackend.window)) {
        return;
    }
    Fl_Window& topLevel = *sBackend.window;
    RenderingView* view = new RenderingView(0, 0, topLevel.w(), topLevel.h());
    view->mode(kContextAttributes);
    topLevel.add(view);
    topLevel.resizable(view);
    sBackend.view = view;
    Fltk::LayOutClientArea(topLevel);

    // NOTE: showing creates (and maps) the X windows of the window and of its
    // GL child; the window is therefore visible one step before
    // ShowApplicationWindow.
    topLevel.show();
    const Window drawable = fl_xid(view);
    if (drawable == 0) {
        return;
    }
    sBackend.context = CreateContextForWindow(drawable);
    if (sBackend.context == nullptr) {
        return;
    }
    glXMakeCurrent(fl_display, drawable, sBackend.context);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ShowApplicationWindow(WindowHandle window)
{
    if (window == nullptr || window != static_cast<WindowHandle>(sBackend.window)) {
        return;
    }
    sBackend.window->show();
    Fl::flush();
}

void BeginFrameLoop(WindowHandle window)
{
    if (window == static_cast<WindowHandle>(sBackend.window) && sBackend.view != nullptr) {
        sBackend.loopDrawable = fl_xid(sBackend.view);
    }
}

void DrainEvents()
{
    // Also draws what the drain damaged (an expose calls the view's flush).
    Fl::check();
    if (sBackend.quitPosted) {
        sBackend.quitPosted = false;
        NotifyQuitReceived();
    }
}

void PresentFrame()
{
    if (sBackend.loopDrawable != 0) {
        glXSwapBuffers(fl_display, sBackend.loopDrawable);
    }
}

void EndFrameLoop() { sBackend.loopDrawable = 0; }

void DestroyRenderingContext(WindowHandle window)
{
    (void)window;
    if (sBackend.context == nullptr) {
        return;
    }
    glXMakeCurrent(fl_display, None, nullptr);
    glXDestroyContext(fl_display, sBackend.context);
    sBackend.context = nullptr;
}

void DestroyApplicationWindow(WindowHandle window)
{
    if (window != nullptr && window == static_cast<WindowHandle>(sBackend.window)) {
        DestroyWindowObject(false);
    }
    // Frees a window that the close request destroyed during the loop.
    Fl::do_widget_deletion();
}

void PaintWindow(WindowHandle window)
{
    if (window == nullptr || window != static_cast<WindowHandle>(sBackend.window) ||
        sBackend.view == nullptr) {
        return;
    }
    const Window drawable = fl_xid(sBackend.view);
    if (drawable != 0) {
        glXSwapBuffers(fl_display, drawable);
    }
}

void PostQuit() { sBackend.quitPosted = true; }

void RequestVerticalSync()
{
    if (sBackend.context == nullptr || sBackend.view == nullptr || fl_xid(sBackend.view) == 0) {
        return;
    }
    const char* extensions = glXQueryExtensionsString(fl_display, DefaultScreen(fl_display));
    if (extensions == nullptr || std::strstr(extensions, "GLX_EXT_swap_control") == nullptr) {
        return;
    }
    typedef void (*SwapIntervalFunction)(Display*, GLXDrawable, int);
    const auto setInterval = reinterpret_cast<SwapIntervalFunction>(
        glXGetProcAddress(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
    if (setInterval != nullptr) {
        setInterval(fl_display, fl_xid(sBackend.view), 1);
    }
}

void WaitSeconds(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

void SetWindowTitle(WindowHandle window, const char* title)
{
    if (window == nullptr || window != static_cast<WindowHandle>(sBackend.window)) {
        return;
    }
    sBackend.window->copy_label(title);
}

} // namespace Platform

} // namespace kwImplementation
