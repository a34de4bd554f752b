// Skidwell: the two global pointers through which game states reach the
// running application. The entry point sets both to its GameApplication.
#pragma once

namespace Kelpwright {
namespace Application {
class RealtimeApplication;
}
namespace Game {
class GameApplication;
}
} // namespace Kelpwright

// Window title, window menu and Close.
extern Kelpwright::Application::RealtimeApplication* gApplication;
// SetActionHandler, from the states' OnOpen and OnClose.
extern Kelpwright::Game::GameApplication* gGameApplication;
