// Skidwell: Curve Editor, the entry point. The marker runs at one segment per
// second of real time; the points follow the pointer.
#include "editor/curve_editor_state.h"
#include "game/kw_game_application.h"

namespace {

// Where vertical sync is not to be had, a frame still takes at least this
// long, so the program does not draw thousands of frames a second.
const float kFrameRateCap = 240.0f;

} // namespace

int main(int argc, char* argv[])
{
    (void)argc;
    (void)argv;
    Kelpwright::Game::GameApplication application; // only one may exist at a time
    CurveEditorState editor(application);
    application.UseRealTime(kFrameRateCap);
    application.RunGame(editor.GetIdentifier());
    return 0;
}
