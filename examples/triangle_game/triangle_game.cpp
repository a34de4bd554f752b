// The guide's game: a triangle that turns once in four seconds of real time, a "Game" menu whose
// "Pause" check item stops and restarts it and whose "Quit" item ends the run, the R key that turns
// it back upright, and a picture that keeps its proportions in any window. docs/guide.md quotes
// this file between the [name] and [/name] comments.
// [includes]
#include "application/kw_application_menu.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state.h"

#if defined(_WIN32)
#include <windows.h> // GL/gl.h on Windows needs its declarations first
#endif
#include <GL/gl.h>
// [/includes]

// [identifiers]
namespace {

const Kelpwright::Game::GameStateIdentifier kPlayState = 1; // 0 means "no state"
const Kelpwright::Application::MenuIdentifier kGameMenu = 0;
const Kelpwright::Application::MenuItemIdentifier kGameItem = 1;
const Kelpwright::Application::MenuItemIdentifier kPauseItem = 2;
const Kelpwright::Application::MenuItemIdentifier kQuitItem = 3;
const float kDegreesPerStep = 0.9f; // one turn in four seconds of 0.01 s steps
const float kFrameRateCap = 240.0f; // frames a second where presenting does not wait for the display
// [/identifiers]

// [state]
class PlayState : public Kelpwright::Game::GameStateInterface,
                  public Kelpwright::Application::ApplicationHandlerInterface {
public:
    explicit PlayState(Kelpwright::Game::GameApplication& application)
        : GameStateInterface(kPlayState)
        , mApplication(application)
        , mMenu(kGameMenu)
    {
        // Arguments: identifier, name, parent (kInvalidMenuItemIdentifier: the bar itself),
        // enabled, checked, visible.
        mMenu.AddMenuItem(kGameItem, "Game", Kelpwright::Application::kInvalidMenuItemIdentifier, true, false,
                          true);
        // The returned item stays valid, however many items follow it.
        mPause = mMenu.AddMenuItem(kPauseItem, "Pause", kGameItem, true, false, true);
        mMenu.AddMenuItem(kQuitItem, "Quit", kGameItem, true, false, true);
    }
    // [/state]

    // [open]
    // Runs inside the window's making, before the OpenGL context exists: no GL calls here.
    bool OnOpen() override
    {
        mApplication.SetWindowTitle("Kelpwright Triangle");
        mApplication.SetWindowMenu(mMenu);
        mApplication.SetActionHandler(this); // menu choices and input come to this state while it is open
        return GameStateInterface::OnOpen();
    }

    void OnClose() override { mApplication.SetActionHandler(nullptr); }
    // [/open]

    // [frame]
    // Zero to five steps of 0.01 s a frame, then OnUpdate, OnRender and OnPostRender.
    void OnSimulate() override
    {
        if (mPaused) {
            return;
        }
        mAngle += kDegreesPerStep;
        if (mAngle >= 360.0f) {
            mAngle -= 360.0f;
        }
    }

    void OnRender() override
    {
        glClearColor(0.1f, 0.1f, 0.2f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        ApplyDrawingSize();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(mAngle, 0.0f, 0.0f, 1.0f);
        glBegin(GL_TRIANGLES);
        glColor3f(1.0f, 0.6f, 0.1f);
        glVertex3f(0.0f, 0.6f, 0.0f);
        glVertex3f(-0.5f, -0.4f, 0.0f);
        glVertex3f(0.5f, -0.4f, 0.0f);
        glEnd();
    }
    // [/frame]

    // [menu]
    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override
    {
        (void)menuIdentifier; // always 0
        if (itemIdentifier == kPauseItem) {
            mPaused = !mPaused;
            // The bar shows the menu as it was attached: change the item, then attach it again.
            mPause->isChecked = mPaused;
            mApplication.SetWindowMenu(mMenu);
        } else if (itemIdentifier == kQuitItem) {
            mApplication.Close();
        }
    }
    // [/menu]

    // [input]
    void OnKeyDown(const Kelpwright::Application::KeyEvent& event) override
    {
        if (event.key == Kelpwright::Application::Key::R && !event.isRepeat) {
            mAngle = 0.0f; // upright again
        }
    }
    // [/input]

    // [size]
    // The whole drawing surface, with x scaled so that the triangle keeps its shape in a window
    // of any proportions. The size is that of the surface under the menu bar.
    void ApplyDrawingSize()
    {
        const Kelpwright::Application::DrawingSize size = mApplication.GetDrawingSize();
        if (size.width <= 0 || size.height <= 0) {
            return; // minimised: nothing is seen
        }
        glViewport(0, 0, size.width, size.height);
        const float aspect = static_cast<float>(size.width) / static_cast<float>(size.height);
        if (aspect >= 1.0f) {
            glScalef(1.0f / aspect, 1.0f, 1.0f);
        } else {
            glScalef(1.0f, aspect, 1.0f);
        }
    }
    // [/size]

    // [members]
private:
    Kelpwright::Game::GameApplication& mApplication;
    Kelpwright::Application::ApplicationMenu mMenu;
    Kelpwright::Application::MenuItem* mPause = nullptr;
    bool mPaused = false;
    float mAngle = 0.0f;
};

} // namespace
// [/members]

// [main]
int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    Kelpwright::Game::GameApplication application; // only one may exist at a time
    PlayState play(application);
    application.UseRealTime(kFrameRateCap); // steps follow the clock, not the frame count
    application.RunGame(kPlayState); // returns when the window closes or Close is called
    return 0;
}
// [/main]
