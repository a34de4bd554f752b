// Skidwell: the entry point. It owns every object of the run as a local,
// publishes the application through the global pointers and runs the game in
// the curve test state until the window closes.
#include "application_globals.h"
#include "demo_state.h"
#include "game/kw_game_application.h"
#include "test_curve_state.h"

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;

    // Construction order registers DemoState as 1, then TestCurveState as 2;
    // destruction runs in reverse when main returns.
    DemoState demoState;
    TestCurveState testCurveState;
    Kelpwright::Game::GameApplication gameApplication;

    gGameApplication = &gameApplication;
    gApplication = &gameApplication;

    gameApplication.RunGame(testCurveState.GetIdentifier());
    return 0;
}
