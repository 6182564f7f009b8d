// QuietNote's entry point: start-up, the main loop with its quit confirmation, and
// shutdown. Everything else happens in the handlers the start-up binds.
#include "app/app_state.h"

#include "toolkit/event.h"
#include "toolkit/window.h"

#include <windows.h>

namespace {

// Waits for events until a close request is confirmed; the handlers run inside the wait.
// While the story is still arriving, the next slice goes into the viewer whenever no
// message is waiting, so that input never waits longer than one slice.
void app_main_loop()
{
    for (;;) {
        const int event = story_is_loading() ? event_wait(0) : event_wait_forever();
        if (event == 0 && story_is_loading())
            story_load_step();
        if (event != EVENT_CLOSE_WINDOW)
            continue;
        if (app_confirm_quit())
            return;
    }
}

[[noreturn]] void app_main()
{
    g_app = AppState{};
    if (app_start_components()) {
        app_set_folders();
        const bool opened = app_open_window();
        app_make_path(g_app.story_folder);
        app_make_path(g_app.notes_folder);
        app_rename_legacy_story();
        if (opened) {
            story_load();
            notes_refresh_list();
            app_show_tab(TAB_EDIT);
            app_main_loop();
        }
    }
    note_forget_key();
    app_end_components();
    ExitProcess(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    app_main();
}
