// Sample program: one game state titled "Kelpwright Menu Sample" that declares
// "File" -> "Exit", attaches it, clears the window each frame and closes the
// application when "Exit" is chosen.
#include "application/kw_application_menu.h"
#include "core/kw_noncopyable.h"
#include "game/kw_game_application.h"
#include "game/kw_game_state.h"

#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>

namespace {

const Kelpwright::Application::MenuItemIdentifier kFileItem = 0;
const Kelpwright::Application::MenuItemIdentifier kExitItem = 1;

class MenuSampleState : public Kelpwright::Game::GameStateInterface,
                        public Kelpwright::Application::ApplicationHandlerInterface,
                        public Kelpwright::Core::Noncopyable {
public:
    explicit MenuSampleState(Kelpwright::Game::GameApplication& application)
        : GameStateInterface(1)
        , mApplication(application)
        , mMenu(0)
    {
        mMenu.AddMenuItem(kFileItem, "File", Kelpwright::Application::kInvalidMenuItemIdentifier, true, false,
                          true);
        mMenu.AddMenuItem(kExitItem, "Exit", kFileItem, true, false, true);
    }

    bool OnOpen() override
    {
        mApplication.SetWindowTitle("Kelpwright Menu Sample");
        mApplication.SetWindowMenu(mMenu);
        mApplication.SetActionHandler(this);
        return GameStateInterface::OnOpen();
    }

    void OnClose() override { mApplication.SetActionHandler(nullptr); }

    void OnRender() override
    {
        glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }

    void OnMenuAction(const Kelpwright::Application::MenuIdentifier& menuIdentifier,
                      const Kelpwright::Application::MenuItemIdentifier& itemIdentifier) override
    {
        (void)menuIdentifier;
        if (itemIdentifier == kExitItem) {
            mApplication.Close();
        }
    }

private:
    Kelpwright::Game::GameApplication& mApplication;
    Kelpwright::Application::ApplicationMenu mMenu;
};

} // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    Kelpwright::Game::GameApplication application;
    MenuSampleState state(application);
    application.RunGame(state.GetIdentifier());
    return 0;
}
