// Kelpwright web backend: the platform steps of the realtime application in a
// browser. The window is a page element (a caption with the title and a close
// control, the menu bar, a canvas with a WebGL context) inside the page's
// #kelpwright element, or the body. Listeners queue the user's events in
// JavaScript; the event drain first waits for the browser's next animation
// frame (Asyncify suspends the program there, so the run loops once per frame)
// and then takes the queue. Real time reads the animation frames' times.
// Browser calls: createElement, addEventListener, requestAnimationFrame,
// setTimeout, document.hasFocus, visibilityState, devicePixelRatio,
// setPointerCapture, performance.now.
#include "application/implementation/kwi_frame_timing.h"
#include "application/implementation/kwi_input_state.h"
#include "application/implementation/kwi_platform_window.h"
#include "application/implementation/web/kwi_web_gl_context.h"
#include "application/implementation/web/kwi_web_key_table.h"
#include "application/implementation/web/kwi_web_window_parts.h"
#include "application/kw_frame_clock.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <memory>
#include <vector>

using Kelpwright::Application::DrawingSize;
using Kelpwright::Application::PointerButton;
using Kelpwright::Application::PointerPosition;
using Kelpwright::Application::WindowProperties;

// What the listeners queue, with its numbers in the JavaScript below.
enum class QueuedEvent {
    None = 0,
    Close = 1, // the close control
    Activate = 2, // the page got the focus and is visible
    Deactivate = 3,
    KeyDown = 4, // code, keyCode, repeat
    KeyUp = 5, // code, keyCode
    PointerMove = 6, // x, y
    ButtonDown = 7, // button, x, y
    ButtonUp = 8, // button, x, y
    Wheel = 9, // notches, x, y
    MenuChoice = 10, // item identifier
    ContextMenu = 11, // page x, page y
};

// NOTE: an EM_JS body reaches JavaScript as one line, so every statement ends
// with its own semicolon.
// clang-format off
EM_JS(void, kw_window_create, (int width, int height), {
    function element(tag, className, parent) {
        var made = document.createElement(tag);
        made.className = className;
        if (parent) {
            parent.appendChild(made);
        }
        return made;
    }
    var host = document.getElementById('kelpwright') || document.body;
    var frame = element('section', 'kw-window', null);
    frame.style.visibility = 'hidden';
    var caption = element('header', 'kw-caption', frame);
    var title = element('h1', 'kw-title', caption);
    title.textContent = 'Kelpwright Project';
    document.title = 'Kelpwright Project';
    var close = element('button', 'kw-close', caption);
    close.type = 'button';
    close.title = 'Close';
    close.setAttribute('aria-label', 'Close');
    close.textContent = String.fromCharCode(0xD7);
    var bar = element('nav', 'kw-menu-bar', frame);
    bar.hidden = true;
    var view = element('canvas', 'kw-view', frame);
    view.tabIndex = 0;
    view.style.width = width + 'px';
    host.appendChild(frame);

    var w = {frame: frame, title: title, bar: bar, view: view, width: width, height: height, events: [],
             active: false, listeners: []};
    Module.kwWindow = w;
    function listen(target, type, handler) {
        target.addEventListener(type, handler);
        w.listeners.push([target, type, handler]);
    }
    function at(event) {
        var box = view.getBoundingClientRect();
        return [Math.floor((event.clientX - box.left) * view.width / Math.max(box.width, 1)),
                Math.floor((event.clientY - box.top) * view.height / Math.max(box.height, 1))];
    }
    var buttons = [0, 2, 1];
    w.isActive = function() { return document.hasFocus() && document.visibilityState === 'visible'; };
    function activation() {
        var active = w.isActive();
        if (active !== w.active) {
            w.active = active;
            w.events.push([active ? 2 : 3]);
        }
    }
    listen(window, 'focus', activation);
    listen(window, 'blur', activation);
    listen(document, 'visibilitychange', activation);
    listen(close, 'click', function() { w.events.push([1]); });

    var scrollingKeys = ['Space', 'ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Backspace'];
    function key(type) {
        return function(event) {
            if (bar.contains(event.target) || event.target === close) {
                return;
            }
            if (scrollingKeys.indexOf(event.code) >= 0) {
                event.preventDefault();
            }
            w.events.push([type, event.code, event.keyCode, event.repeat ? 1 : 0]);
        };
    }
    listen(document, 'keydown', key(4));
    listen(document, 'keyup', key(5));

    listen(view, 'pointermove', function(event) { w.events.push([6].concat(at(event))); });
    listen(view, 'pointerdown', function(event) {
        if (event.button >= 0 && event.button < 3) {
            view.setPointerCapture(event.pointerId);
            view.focus();
            w.events.push([7, buttons[event.button]].concat(at(event)));
        }
    });
    listen(view, 'pointerup', function(event) {
        if (event.button >= 0 && event.button < 3) {
            w.events.push([8, buttons[event.button]].concat(at(event)));
        }
    });
    listen(view, 'wheel', function(event) {
        event.preventDefault();
        var perNotch = event.deltaMode === 0 ? 100 : (event.deltaMode === 1 ? 3 : 1);
        w.events.push([9, -event.deltaY / perNotch].concat(at(event)));
    });
    listen(view, 'contextmenu', function(event) {
        event.preventDefault();
        w.events.push([11, Math.max(0, Math.round(event.pageX)), Math.max(0, Math.round(event.pageY))]);
    });
});

EM_JS(int, kw_window_show, (), {
    var w = Module.kwWindow;
    w.frame.style.visibility = 'visible';
    w.active = w.isActive();
    return w.active ? 1 : 0;
});

EM_JS(void, kw_window_remove, (), {
    var w = Module.kwWindow;
    Module.kwWindow = null;
    w.listeners.forEach(function(listener) { listener[0].removeEventListener(listener[1], listener[2]); });
    w.frame.remove();
});

EM_JS(void, kw_window_set_title, (const char* title), {
    var text = UTF8ToString(title);
    Module.kwWindow.title.textContent = text;
    document.title = text;
});

EM_JS(void, kw_window_note_no_webgl, (), {
    var w = Module.kwWindow;
    var note = document.createElement('p');
    note.className = 'kw-note';
    note.setAttribute('role', 'alert');
    note.textContent = 'This browser gave the program no WebGL context, so nothing can be drawn.';
    w.frame.appendChild(note);
});

EM_JS(void, kw_window_fit_view, (int* size), {
    var w = Module.kwWindow;
    var ratio = window.devicePixelRatio || 1;
    var cssHeight = Math.max(0, w.height - (w.bar.hidden ? 0 : w.bar.offsetHeight));
    w.view.style.height = cssHeight + 'px';
    var width = Math.round(w.width * ratio);
    var height = Math.round(cssHeight * ratio);
    if (w.view.width !== width || w.view.height !== height) {
        w.view.width = width;
        w.view.height = height;
    }
    HEAP32[size >> 2] = width;
    HEAP32[(size >> 2) + 1] = height;
});

EM_JS(int, kw_window_take_event, (int* numbers, float* notches, char* code, int codeSize), {
    var w = Module.kwWindow;
    var event = w && w.events.shift();
    if (!event) {
        return 0;
    }
    var type = event[0];
    if (type === 4 || type === 5) {
        stringToUTF8(event[1], code, codeSize);
        HEAP32[numbers >> 2] = event[2];
        HEAP32[(numbers >> 2) + 1] = event[3];
    } else if (type === 9) {
        HEAPF32[notches >> 2] = event[1];
        HEAP32[numbers >> 2] = event[2];
        HEAP32[(numbers >> 2) + 1] = event[3];
    } else {
        for (var i = 1; i < event.length; i++) {
            HEAP32[(numbers >> 2) + i - 1] = event[i];
        }
    }
    return type;
});

EM_JS(double, kw_now_milliseconds, (), { return performance.now(); });

// When main returns after the program has waited (Asyncify resumed it), the
// program exits with main's result (Module.onExit), as one that never waited
// does. Called before the first wait: the watch starts once main is suspended.
EM_JS(void, kw_exit_when_main_returns, (), {
    if (Module.kwWatchingMain) {
        return;
    }
    Module.kwWatchingMain = true;
    Promise.resolve().then(function() {
        if (!Asyncify.currData) {
            return;
        }
        Asyncify.whenDone().then(function(status) {
            try {
                exit(status);
            } catch (thrown) {
                if (!(thrown instanceof ExitStatus)) {
                    throw thrown;
                }
            }
        });
    });
});

// The program is suspended until the browser's next animation frame and goes
// on with its time.
EM_ASYNC_JS(double, kw_wait_for_animation_frame, (), {
    return await new Promise(function(resume) { requestAnimationFrame(resume); });
});

EM_ASYNC_JS(void, kw_sleep_milliseconds, (double milliseconds), {
    await new Promise(function(resume) { setTimeout(resume, milliseconds); });
});
// clang-format on

namespace kwImplementation {

namespace {

// A window's handle; its address is all that is used.
struct WebWindow {
    int number;
};

// Real time on the web: the time of the animation frame the drain last waited
// for, so every frame's time is a whole number of display refreshes.
class AnimationFrameClock : public Kelpwright::Application::FrameClockInterface {
public:
    double NowSeconds() override;
    // Waits out animation frames; the drain after it uses the last one.
    void WaitUntil(double seconds) override;
};

struct WebBackend {
    // Every window made in this process; a handle is never reused, so a stale
    // one from an earlier run never names a later window.
    std::vector<std::unique_ptr<WebWindow>> windows;
    WebWindow* window = nullptr; // the live window; null once destroyed
    bool quitPosted = false;
    bool destroying = false;
    double frameSeconds = -1.0; // the last animation frame's time; < 0 before the first
    bool frameUnused = false; // WaitUntil waited for a frame that no drain has taken
    AnimationFrameClock clock;
};

WebBackend sBackend;

// A frame's time may come a little before the time waited for (refreshes are
// not exactly 1/60 s apart); within this much it counts as reached.
const double kFrameTimeTolerance = 0.002;

double AnimationFrameClock::NowSeconds()
{
    return sBackend.frameSeconds >= 0.0 ? sBackend.frameSeconds : kw_now_milliseconds() / 1000.0;
}

void AnimationFrameClock::WaitUntil(double seconds)
{
    while (NowSeconds() < seconds - kFrameTimeTolerance) {
        sBackend.frameSeconds = kw_wait_for_animation_frame() / 1000.0;
        sBackend.frameUnused = true;
    }
}

void WaitForAnimationFrame()
{
    if (sBackend.frameUnused) {
        sBackend.frameUnused = false;
        return;
    }
    sBackend.frameSeconds = kw_wait_for_animation_frame() / 1000.0;
}

// Raises Destroyed while the window and the context are still there, then
// takes the window off the page.
void DestroyWindowObject()
{
    WebWindow* window = sBackend.window;
    if (window == nullptr || sBackend.destroying) {
        return;
    }
    sBackend.destroying = true;
    NotifyWindowEvent(WindowEvent::Destroyed, window);
    kw_window_remove();
    sBackend.window = nullptr;
    sBackend.destroying = false;
}

void ReportDrawingSize()
{
    int size[2] = {0, 0};
    kw_window_fit_view(size);
    NotifyDrawingSize(DrawingSize{size[0], size[1]});
}

void Dispatch(QueuedEvent type, const int* numbers, float notches, const char* code)
{
    const PointerPosition position = {numbers[1], numbers[2]};
    const PointerButton button = static_cast<PointerButton>(numbers[0]);
    switch (type) {
    case QueuedEvent::Close:
        DestroyWindowObject();
        break;
    case QueuedEvent::Activate:
        NotifyWindowEvent(WindowEvent::Activated, sBackend.window);
        break;
    case QueuedEvent::Deactivate:
        NotifyWindowEvent(WindowEvent::Deactivated, sBackend.window);
        break;
    case QueuedEvent::KeyDown:
        NotifyKeyDown(Web::KeyFromDomCode(code), numbers[0], numbers[1] != 0);
        break;
    case QueuedEvent::KeyUp:
        NotifyKeyUp(Web::KeyFromDomCode(code), numbers[0]);
        break;
    case QueuedEvent::PointerMove:
        NotifyPointerMove(PointerPosition{numbers[0], numbers[1]});
        break;
    case QueuedEvent::ButtonDown:
        NotifyButtonDown(button, position);
        break;
    case QueuedEvent::ButtonUp:
        NotifyButtonUp(button, position);
        break;
    case QueuedEvent::Wheel:
        NotifyWheel(notches, PointerPosition{numbers[0], numbers[1]});
        break;
    case QueuedEvent::MenuChoice:
        Web::DispatchMenuChoice(sBackend.window, static_cast<unsigned int>(numbers[0]));
        break;
    case QueuedEvent::ContextMenu:
        Web::DispatchContextMenuRequest(sBackend.window, static_cast<unsigned int>(numbers[0]),
                                        static_cast<unsigned int>(numbers[1]));
        break;
    case QueuedEvent::None:
        break;
    }
}

// Every queued event, in order. An event may close the window, which empties
// the queue with it.
void DispatchQueuedEvents()
{
    int numbers[3] = {0, 0, 0};
    float notches = 0.0f;
    char code[32] = {};
    for (;;) {
        const auto type =
            static_cast<QueuedEvent>(kw_window_take_event(numbers, &notches, code, sizeof code));
        if (type == QueuedEvent::None) {
            return;
        }
        Dispatch(type, numbers, notches, code);
    }
}

} // namespace

namespace Web {

bool IsLiveWindow(WindowHandle window) { return window != nullptr && window == sBackend.window; }

std::intptr_t OwnWindowProcedureValue() { return reinterpret_cast<std::intptr_t>(&DispatchQueuedEvents); }

} // namespace Web

namespace Platform {

WindowHandle CreateApplicationWindow(const WindowProperties& properties)
{
    // A quit request posted by an earlier run's teardown belonged to that run.
    sBackend.quitPosted = false;
    sBackend.frameSeconds = -1.0;
    sBackend.frameUnused = false;
    SetDefaultFrameClock(&sBackend.clock);
    kw_exit_when_main_returns();

    sBackend.windows.push_back(
        std::unique_ptr<WebWindow>(new WebWindow{static_cast<int>(sBackend.windows.size())}));
    WebWindow* window = sBackend.windows.back().get();
    kw_window_create(properties.width, properties.height);
    sBackend.window = window;
    NotifyWindowEvent(WindowEvent::Created, window);
    // After OnWindowOpen, which may have given the window its menu bar.
    if (sBackend.window == window) {
        ReportDrawingSize();
    }
    return window;
}

void CreateRenderingContext(WindowHandle window)
{
    if (!Web::IsLiveWindow(window)) {
        return;
    }
    if (!WebGl::CreateContext()) {
        kw_window_note_no_webgl();
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void ShowApplicationWindow(WindowHandle window)
{
    if (Web::IsLiveWindow(window) && kw_window_show() != 0) {
        NotifyWindowEvent(WindowEvent::Activated, window);
    }
}

// NOTE: nothing to acquire or release around the loop: the browser presents
// the canvas itself each time the program waits for the next frame.
void BeginFrameLoop(WindowHandle window) { (void)window; }

void DrainEvents()
{
    WaitForAnimationFrame();
    if (sBackend.window != nullptr) {
        DispatchQueuedEvents();
    }
    if (sBackend.window != nullptr) {
        ReportDrawingSize();
    }
    if (sBackend.quitPosted) {
        sBackend.quitPosted = false;
        NotifyQuitReceived();
    }
}

// NOTE: the browser shows what was drawn once the program waits in the next
// drain; nothing is swapped here.
void PresentFrame() {}

void EndFrameLoop() {}

void DestroyRenderingContext(WindowHandle window)
{
    (void)window;
    WebGl::DestroyContext();
}

void DestroyApplicationWindow(WindowHandle window)
{
    if (Web::IsLiveWindow(window)) {
        DestroyWindowObject();
    }
}

// NOTE: the browser keeps the canvas's picture on the page, so no paint ever
// has to present it again.
void PaintWindow(WindowHandle window) { (void)window; }

void PostQuit() { sBackend.quitPosted = true; }

void SetWindowTitle(WindowHandle window, const char* title)
{
    if (Web::IsLiveWindow(window)) {
        kw_window_set_title(title);
    }
}

// NOTE: animation frames are always in step with the display.
void RequestVerticalSync() {}

void WaitSeconds(double seconds) { kw_sleep_milliseconds(seconds * 1000.0); }

} // namespace Platform

} // namespace kwImplementation
