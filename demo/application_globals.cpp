// Skidwell: the global application pointers, null until the entry point sets them.
#include "application_globals.h"

Kelpwright::Application::RealtimeApplication* gApplication = nullptr;
Kelpwright::Game::GameApplication* gGameApplication = nullptr;
