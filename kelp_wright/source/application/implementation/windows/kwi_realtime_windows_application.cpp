// Kelpwright: the Win32 + WGL window backend, the platform steps of the run.
// USER32: RegisterClassA, CreateWindowExA, LoadIconA, LoadCursorA, UpdateWindow, ShowWindow, DestroyWindow,
// DefWindowProcA, PostQuitMessage, PeekMessageA, IsDialogMessageA, TranslateMessage, DispatchMessageA, GetDC,
// ReleaseDC, SetWindowTextA. KERNEL32: GetModuleHandleA. GDI32: ChoosePixelFormat, SetPixelFormat,
// SwapBuffers. WGL: wglCreateContext, wglMakeCurrent, wglGetCurrentContext, wglDeleteContext. GL:
// glClearColor, glClear.
#include "application/implementation/kwi_platform_window.h"
#include "application/implementation/windows/kwi_windows_input.h"

#include <windows.h>

#include <GL/gl.h>

using Kelpwright::Application::WindowProperties;

namespace kwImplementation {

namespace {

const char kWindowClassName[] = "KelpwrightApplication";
const char kInitialWindowTitle[] = "Kelpwright Project";
const UINT kClassStyle = CS_VREDRAW | CS_HREDRAW; // 3
const DWORD kWindowStyle = WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; // 0x06CF0000, not visible
const int kWindowLeft = 50;
const int kWindowTop = 50;
const WORD kStockResource = 32512; // IDI_APPLICATION and IDC_ARROW
const INT_PTR kBackgroundBrush = 5;
const DWORD kPixelFormatFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER; // 0x25

// Every handle the backend keeps between steps.
struct Win32Backend {
    HINSTANCE instance;
    HWND loopWindow;
    HDC loopDeviceContext; // held from BeginFrameLoop to EndFrameLoop
};

Win32Backend sBackend = {nullptr, nullptr, nullptr};

HWND ToWindow(WindowHandle window) { return static_cast<HWND>(window); }

WindowEvent TranslateWindowEvent(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_CREATE:
        return WindowEvent::Created;
    case WM_DESTROY:
        return WindowEvent::Destroyed;
    // The whole wParam is tested: a deactivation of a minimised window (high word set) counts as activation.
    case WM_ACTIVATE:
        return wParam != 0 ? WindowEvent::Activated : WindowEvent::Deactivated;
    case WM_KILLFOCUS:
        return WindowEvent::FocusLost;
    case WM_PAINT:
        return WindowEvent::Paint;
    default:
        return WindowEvent::Other;
    }
}

LRESULT CALLBACK ApplicationWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    NotifyWindowEvent(TranslateWindowEvent(message, wParam), hwnd);
    Windows::ReportInput(hwnd, message, wParam, lParam);
    // NOTE: the default processing also validates after WM_PAINT, destroys the window on WM_CLOSE and
    // opens the menu bar for Alt and F10, whose keys were reported all the same.
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterApplicationClass(HINSTANCE instance)
{
    // The icon is loaded before the cursor.
    const HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(kStockResource));
    const HCURSOR cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(kStockResource));

    WNDCLASSA windowClass = {};
    windowClass.style = kClassStyle;
    windowClass.lpfnWndProc = ApplicationWindowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = cursor;
    // A system colour index plus one stands for the class background brush.
    windowClass.hbrBackground =
        reinterpret_cast<HBRUSH>(kBackgroundBrush); // NOLINT(performance-no-int-to-ptr): Win32's own
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = kWindowClassName;
    // A second registration in the same process fails harmlessly: the class is the same.
    RegisterClassA(&windowClass);
}

PIXELFORMATDESCRIPTOR MakePixelFormatDescriptor()
{
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof(PIXELFORMATDESCRIPTOR); // 40
    descriptor.nVersion = 1;
    descriptor.dwFlags = kPixelFormatFlags;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.cDepthBits = 16;
    descriptor.cStencilBits = 8;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}

// The first registered dialog that takes the message consumes it.
bool OfferToDialogs(MSG& message)
{
    for (WindowHandle dialog : GetRealtimeApplicationState().dialogs) {
        if (IsDialogMessageA(ToWindow(dialog), &message) == 1) {
            return true;
        }
    }
    return false;
}

} // namespace

namespace Platform {

WindowHandle CreateApplicationWindow(const WindowProperties& properties)
{
    sBackend.instance = GetModuleHandleA(nullptr);
    RegisterApplicationClass(sBackend.instance);
    // NOTE: WM_CREATE, and with it OnWindowOpen, reaches the window procedure inside this call.
    // The size is the outer size, unadjusted for the frame.
    return CreateWindowExA(0, kWindowClassName, kInitialWindowTitle, kWindowStyle, kWindowLeft, kWindowTop,
                           properties.width, properties.height, nullptr, nullptr, sBackend.instance, nullptr);
}

void CreateRenderingContext(WindowHandle window)
{
    const HDC deviceContext = GetDC(ToWindow(window));
    const PIXELFORMATDESCRIPTOR descriptor = MakePixelFormatDescriptor();
    const int pixelFormat = ChoosePixelFormat(deviceContext, &descriptor);
    SetPixelFormat(deviceContext, pixelFormat, &descriptor);

    const HGLRC context = wglCreateContext(deviceContext);
    // Stays current on this thread until DestroyRenderingContext.
    wglMakeCurrent(deviceContext, context);
    ReleaseDC(ToWindow(window), deviceContext);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); // 0x4100
}

void ShowApplicationWindow(WindowHandle window)
{
    UpdateWindow(ToWindow(window));
    ShowWindow(ToWindow(window), SW_SHOW);
}

void BeginFrameLoop(WindowHandle window)
{
    sBackend.loopWindow = ToWindow(window);
    sBackend.loopDeviceContext = GetDC(sBackend.loopWindow);
}

void DrainEvents()
{
    MSG message;
    // Never waits; WM_QUIT is reported and dispatched like any other message,
    // and whatever is queued behind it is still handled.
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) == 1) {
        if (message.message == WM_QUIT) {
            NotifyQuitReceived();
        }
        if (!OfferToDialogs(message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void PresentFrame() { SwapBuffers(sBackend.loopDeviceContext); }

void EndFrameLoop()
{
    ReleaseDC(sBackend.loopWindow, sBackend.loopDeviceContext);
    sBackend.loopDeviceContext = nullptr;
    sBackend.loopWindow = nullptr;
}

void DestroyRenderingContext(WindowHandle window)
{
    const HDC deviceContext = GetDC(ToWindow(window));
    const HGLRC context = wglGetCurrentContext();
    wglMakeCurrent(deviceContext, nullptr);
    wglDeleteContext(context);
    ReleaseDC(ToWindow(window), deviceContext);
}

void DestroyApplicationWindow(WindowHandle window)
{
    // Finds no window when the user closed it; otherwise sends WM_DESTROY.
    DestroyWindow(ToWindow(window));
}

void PaintWindow(WindowHandle window)
{
    // No BeginPaint: the default processing validates the window afterwards.
    const HDC deviceContext = GetDC(ToWindow(window));
    SwapBuffers(deviceContext);
    ReleaseDC(ToWindow(window), deviceContext);
}

void PostQuit() { PostQuitMessage(0); }

void SetWindowTitle(WindowHandle window, const char* title) { SetWindowTextA(ToWindow(window), title); }

// WGL_EXT_swap_control, when the driver has it, for the context current on this thread.
void RequestVerticalSync()
{
    typedef BOOL(WINAPI * SwapIntervalFunction)(int);
    const PROC procedure = wglGetProcAddress("wglSwapIntervalEXT");
    if (procedure != nullptr) {
        reinterpret_cast<SwapIntervalFunction>(reinterpret_cast<void (*)()>(procedure))(1);
    }
}

void WaitSeconds(double seconds) { Sleep(static_cast<DWORD>(seconds * 1000.0)); }

} // namespace Platform

} // namespace kwImplementation
