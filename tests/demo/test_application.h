// Test support: the one GameApplication of a test program (only one may exist at a time), published
// through the global pointers as Skidwell's entry point does.
#pragma once

#include "application_globals.h"
#include "game/kw_game_application.h"

namespace kwTest {

inline Kelpwright::Game::GameApplication& TestApplication()
{
    static Kelpwright::Game::GameApplication application;
    gGameApplication = &application;
    gApplication = &application;
    return application;
}

} // namespace kwTest
