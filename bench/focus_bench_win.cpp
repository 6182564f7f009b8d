// A real Tab key moving the focus in a window of 200 controls built from a definition (nested
// boxes, a frame, a scroll area taller than the window, a splitter), against the same focus
// changes made by the platform's own SetFocus in the same run: the time from the key's going in
// to the focus having moved (target: within one frame, 16 ms), and the ratio.
#include "bench_clock_win.h"

#include "dialog/dialog.h"
#include "tests/support/gui_input.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>

#include <cstdio>
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
    constexpr int PRESSES = 400;
    std::vector<HWND> visited;
    gui_wait_events_for(200);
    LARGE_INTEGER start = bench_now();
    for (int press = 0; press < PRESSES; ++press) {
        HWND from = GetFocus();
        gui_press_key(VK_TAB);
        if (!wait_moved(from))
            return 1;
        visited.push_back(GetFocus());
    }
    double keys = bench_seconds_since(start);
    // The reference: the platform moving the focus over the same controls, with the same waits.
    start = bench_now();
    for (HWND next : visited) {
        HWND from = GetFocus();
        SetFocus(next);
        if (next != from && !wait_moved(from))
            return 1;
    }
    double platform = bench_seconds_since(start);
    std::printf("Tab in 200 controls: %.2f ms a key  SetFocus %.3f ms  ratio %.1f\n", keys * 1000 / PRESSES,
                platform * 1000 / PRESSES, platform > 0 ? keys / platform : 0.0);
    dialog_free(GK_ANY);
    return 0;
}
