// A real Tab key moving the focus in a window of 200 controls built from a definition (nested
// boxes, a frame, a scroll area taller than the window, a splitter): the time from the key's
// going in to the focus having moved (target: within one frame, 16 ms), against the platform's
// own dialog manager moving the focus over as many controls by the same real key in the same
// run; and the toolkit's choice of the next stop alone, against a bare SetFocus.
#include "bench_clock_win.h"

#include "dialog/dialog.h"
#include "tests/support/gui_input.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/focus_order.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

std::u16string numbered(const char16_t* tag, const char16_t* attributes, int count)
{
    std::u16string text;
    for (int i = 0; i < count; ++i)
        text += u"<" + std::u16string(tag) + u" " + attributes + u"/>";
    return text;
}

// 200 controls: 40 in nested boxes, 11 in and with a frame, 81 in and with a scroll area and 67
// in and with a splitter, and one more at the top.
std::u16string definition()
{
    std::u16string text = u"<window name='w'><vbox><button text='First'/>";
    for (int i = 0; i < 10; ++i)
        text += u"<hbox><text text='Label'/><vbox><string/><hbox><checkbox text='Check'/>"
                u"<button text='Button'/></hbox></vbox></hbox>";
    text += u"<frame text='Frame'><vbox>" + numbered(u"button", u"text='In frame'", 10) + u"</vbox></frame>";
    text += u"<scrollarea innerheight='3000' height='120' scrolling='vertical'><vbox>" +
            numbered(u"button", u"text='Scrolled' height='30'", 80) + u"</vbox></scrollarea>";
    text += u"<splitter flags='#GK_Splitter_Vertical'><gridbox columns='4'>" + numbered(u"string", u"", 33) +
            u"</gridbox><gridbox columns='4'>" + numbered(u"string", u"", 33) + u"</gridbox></splitter>";
    return text + u"</vbox></window>";
}

// Dispatches through the toolkit's wait until the focus is no longer on `from`.
bool wait_moved(HWND from)
{
    LARGE_INTEGER start = bench_now();
    while (GetFocus() == from) {
        if (bench_seconds_since(start) > 5)
            return false;
        event_wait(1);
        while (event_pop() != 0) {
        }
    }
    return true;
}

// The platform's dialog manager takes the keys instead of the toolkit's wait.
bool wait_moved_by_dialog_manager(HWND dialog, HWND from)
{
    LARGE_INTEGER start = bench_now();
    MSG message;
    while (GetFocus() == from) {
        if (bench_seconds_since(start) > 5)
            return false;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
            continue;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

constexpr int PRESSES = 400;

// Seconds for PRESSES real Tab keys, each waited for.
double tab_keys(const std::function<bool(HWND)>& wait)
{
    LARGE_INTEGER start = bench_now();
    for (int press = 0; press < PRESSES; ++press) {
        HWND from = GetFocus();
        gui_press_key(VK_TAB);
        if (!wait(from))
            return -1;
    }
    return bench_seconds_since(start);
}

// A plain window of `count` push buttons, one below the other, shown in front.
HWND platform_dialog(int count)
{
    HWND dialog = CreateWindowExW(WS_EX_CONTROLPARENT, L"#32770", L"reference", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                  400, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (int i = 0; dialog && i < count; ++i)
        CreateWindowExW(0, L"BUTTON", L"Button", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, i * 3, 80, 20, dialog,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)), GetModuleHandleW(nullptr), nullptr);
    return dialog;
}

void report(const char* what, double kit, double reference)
{
    std::printf("%-34s toolkit %7.3f ms  reference %7.3f ms  ratio %.2f\n", what, kit * 1000 / PRESSES,
                reference * 1000 / PRESSES, reference > 0 ? kit / reference : 0.0);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    if (!event_start() || !event_window_start() || !window_start() || !control_start() || !xml_start() ||
        !dialog_start())
        return 1;
    ObjectNumber dialog = dialog_create(GK_ANY);
    ObjectNumber document = xml_parse_string(GK_ANY, definition().c_str());
    if (dialog_open(dialog, document, nullptr) != 1)
        return 1;
    xml_free(document);
    auto window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
    if (!gui_bring_to_front(window))
        return 1;
    gui_wait_events_for(200);
    double keys = tab_keys(wait_moved);
    // The choice of the next stop and the focus change alone, against SetFocus over as many.
    std::vector<HWND> visited;
    LARGE_INTEGER start = bench_now();
    for (int move = 0; move < PRESSES; ++move) {
        focus_move(window, true);
        visited.push_back(GetFocus());
    }
    double moves = bench_seconds_since(start);
    start = bench_now();
    for (HWND next : visited)
        SetFocus(next);
    double bare = bench_seconds_since(start);
    dialog_free(GK_ANY);

    HWND reference = platform_dialog(187);
    if (!reference || !gui_bring_to_front(reference))
        return 1;
    SetFocus(GetNextDlgTabItem(reference, nullptr, FALSE));
    double platform = tab_keys([&](HWND from) { return wait_moved_by_dialog_manager(reference, from); });
    DestroyWindow(reference);
    if (keys < 0 || platform < 0)
        return 1;
    report("real Tab key, 187 stops", keys, platform);
    report("next stop chosen and focused", moves, bare);
    return 0;
}
