// Freeing a control whose window is handling a message. The platform's code of that window
// (a rich edit's mouse handling that moves the focus, say) may be on the stack below the
// handler that frees it, and would go on with its destroyed data. Such a window is parked:
// the control is freed at once, its window hidden, taken out of its parent and handed back
// to the platform's own procedure, and destroyed when the outermost message is over.
#include "toolkit/control_internal.h"
#include "toolkit/control_window_win.h"

#include <windows.h>

namespace {

// Deeper nesting is not tracked; a window freed beyond it is destroyed at once, as before.
constexpr int MOST = 32;

struct Parked {
    HWND window;
    ControlRecord record;  // a copy: the control's number and record are already gone
};

struct Parking {
    HWND busy[MOST];
    int depth;  // may exceed MOST; only the first MOST are kept
    Parked parked[MOST];
    int parked_count;
};

Parking g_parking = {};

void park(HWND window, ControlRecord* record)
{
    Parked& slot = g_parking.parked[g_parking.parked_count++];
    slot.window = window;
    slot.record = *record;
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->previous_procedure));
    ShowWindow(window, SW_HIDE);
    SetParent(window, HWND_MESSAGE);
    control_forget(control_number_of(record), window);
}

// The kind sees its window's end as in an ordinary destruction: WM_DESTROY, then the
// platform's own, then its destroy operation.
void destroy_parked(Parked& parked)
{
    ControlRecord* record = &parked.record;
    if (record->ops->window_message)
        record->ops->window_message(record, WM_DESTROY, 0, 0);
    DestroyWindow(parked.window);
    if (record->ops->destroy)
        record->ops->destroy(record);
}

}  // namespace

void control_busy_enter(void* window)
{
    if (g_parking.depth < MOST)
        g_parking.busy[g_parking.depth] = static_cast<HWND>(window);
    ++g_parking.depth;
}

void control_busy_leave()
{
    if (--g_parking.depth > 0)
        return;
    // Destroying may run messages of other controls, which may park more.
    while (g_parking.parked_count > 0) {
        Parked parked = g_parking.parked[--g_parking.parked_count];
        destroy_parked(parked);
    }
}

void control_park_busy_within(void* handle)
{
    auto top = static_cast<HWND>(handle);
    int kept = g_parking.depth < MOST ? g_parking.depth : MOST;
    for (int i = 0; i < kept; ++i) {
        HWND window = g_parking.busy[i];
        if (window != top && !IsChild(top, window))
            continue;
        ControlRecord* record = control_record(GetWindowLongPtrW(window, GWLP_ID));
        if (record && record->handle == window && g_parking.parked_count < MOST)
            park(window, record);
    }
}
