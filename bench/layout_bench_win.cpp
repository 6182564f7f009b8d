// Layout speed as a person feels it: the example definition laid out again after each
// resize, against the same number of bare SetWindowPos calls on its controls (target: at
// most 2 times, and under 16 ms, one frame, a relayout); a definition of 1,000 controls in
// nested boxes opened, against creating, fonting and placing the same platform windows
// directly (target: at most 1.5 times), and laid out again after a resize; a scale change of
// the example, from the message to the last control placed (target: under 50 ms).
#include "journal_helpers.h"

#include "bench_clock_win.h"
#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int ROUNDS = 3;
constexpr int RESIZES = 20;
constexpr int THOUSAND_RESIZES = 10;  // each takes a second or two under Wine
constexpr int BOXES = 10;  // 10 columns of 10 rows of 10 controls

void settle()
{
    while (event_wait(0) != 0) {
    }
    while (event_pop() != 0) {
    }
}

std::u16string example_text()
{
    std::ifstream in(std::filesystem::path(build_file(L"demo\\example_dialog.xml")), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    std::string text = bytes.str();
    return std::u16string(text.begin(), text.end());
}

// Ten columns of ten rows of ten controls, each row a button, a label, a field and a check
// box in turn.
std::u16string thousand_controls()
{
    static const char16_t* const KINDS[] = {u"<button text='Button'/>", u"<text text='Label'/>",
                                            u"<string text='Field'/>", u"<checkbox text='Check'/>"};
    std::u16string text = u"<window name='w'><hbox>";
    for (int column = 0; column < BOXES; ++column) {
        text += u"<vbox>";
        for (int row = 0; row < BOXES; ++row) {
            text += u"<hbox>";
            for (int i = 0; i < BOXES; ++i)
                text += KINDS[(column + row + i) % 4];
            text += u"</hbox>";
        }
        text += u"</vbox>";
    }
    return text + u"</hbox></window>";
}

ObjectNumber open(const std::u16string& text)
{
    ObjectNumber dialog = dialog_create(GK_ANY);
    ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
    if (dialog_open(dialog, document, nullptr) != 1)
        std::printf("the definition did not open\n");
    xml_free(document);
    settle();
    return dialog;
}

HWND window_of(ObjectNumber dialog)
{
    return static_cast<HWND>(window_os_handle(dialog_window(dialog)));
}

BOOL CALLBACK gather(HWND window, LPARAM data)
{
    if (control_exists(static_cast<ObjectNumber>(GetWindowLongPtrW(window, GWLP_ID))))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

// Resizes the window back and forth; every size lays the dialog out again.
double relayouts(ObjectNumber dialog, int count)
{
    ObjectNumber window = dialog_window(dialog);
    int width = window_client_width(window);
    int height = window_client_height(window);
    LARGE_INTEGER start = bench_now();
    for (int i = 0; i < count; ++i) {
        window_resize(window, UNCHANGED, UNCHANGED, width + 20 * (i % 2), height + 10 * (i % 2));
        settle();
    }
    return bench_seconds_since(start);
}

// The same number of moves done bare: the window, then each control, back and forth.
double bare_moves(HWND window, int count)
{
    std::vector<HWND> controls;
    EnumChildWindows(window, gather, reinterpret_cast<LPARAM>(&controls));
    std::vector<RECT> places;
    for (HWND control : controls) {
        RECT rect = {};
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        places.push_back(rect);
    }
    RECT outer = {};
    GetWindowRect(window, &outer);
    LARGE_INTEGER start = bench_now();
    for (int i = 0; i < count; ++i) {
        int grow = 20 * (i % 2);
        SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left + grow, outer.bottom - outer.top + grow / 2,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        for (std::size_t c = 0; c < controls.size(); ++c)
            SetWindowPos(controls[c], nullptr, places[c].left, places[c].top, places[c].right - places[c].left + grow,
                         places[c].bottom - places[c].top, SWP_NOZORDER | SWP_NOACTIVATE);
        settle();
    }
    return bench_seconds_since(start);
}

// The thousand controls' platform windows made directly: created, given the font, placed.
double bare_thousand()
{
    HWND window = CreateWindowExW(0, L"Static", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    static const wchar_t* const CLASSES[] = {L"Button", L"Static", L"Edit", L"Button"};
    static const DWORD STYLES[] = {BS_PUSHBUTTON | WS_TABSTOP, SS_LEFT, ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER,
                                   BS_AUTOCHECKBOX | WS_TABSTOP};
    auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    LARGE_INTEGER start = bench_now();
    for (int i = 0; i < BOXES * BOXES * BOXES; ++i) {
        int kind = (i / 100 + i / 10 + i) % 4;
        HWND control = CreateWindowExW(0, CLASSES[kind], L"Text", WS_CHILD | WS_VISIBLE | STYLES[kind], 0, 0, 0, 0,
                                       window, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(control, WM_SETFONT, font, TRUE);
        SetWindowPos(control, nullptr, (i % 100) * 8, (i / 100) * 24, 60, 22, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    settle();
    double seconds = bench_seconds_since(start);
    DestroyWindow(window);
    settle();
    return seconds;
}

double change_scale(HWND window, int dpi)
{
    RECT suggested = {};
    GetWindowRect(window, &suggested);
    LARGE_INTEGER start = bench_now();
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return bench_seconds_since(start);
}

struct Best {
    double seconds = 1e300;
    void take(double measured) { seconds = measured < seconds ? measured : seconds; }
};

void report(const char* what, double reference, double measured, int count)
{
    std::printf("%-44s reference %8.2f ms  measured %8.2f ms  ratio %5.2f  (%.2f ms each)\n", what,
                reference * 1000, measured * 1000, reference > 0 ? measured / reference : 0.0,
                measured * 1000 / count);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    SetProcessDPIAware();
    if (!(event_start() && event_window_start() && window_start() && control_start() && xml_start() &&
          dialog_start())) {
        std::printf("the components could not start\n");
        return 1;
    }
    // The machine is shared: each side is measured in turns, and its best round counts.
    ObjectNumber example = open(example_text());
    Best bare;
    Best laid;
    Best up;
    Best down;
    for (int round = 0; round < ROUNDS; ++round) {
        bare.take(bare_moves(window_of(example), RESIZES));
        laid.take(relayouts(example, RESIZES));
        up.take(change_scale(window_of(example), 192));
        settle();
        down.take(change_scale(window_of(example), 96));
        settle();
    }
    report("example: relayout after a resize", bare.seconds, laid.seconds, RESIZES);
    std::printf("%-44s 96 to 192 %.2f ms, 192 to 96 %.2f ms\n", "example: scale change, message to last placed",
                up.seconds * 1000, down.seconds * 1000);
    dialog_free(example);
    settle();

    Best direct;
    Best opened;
    for (int round = 0; round < ROUNDS; ++round) {
        direct.take(bare_thousand());
        LARGE_INTEGER start = bench_now();
        ObjectNumber thousand = open(thousand_controls());
        opened.take(bench_seconds_since(start));
        if (round + 1 < ROUNDS)
            dialog_free(thousand);
        settle();
        if (round + 1 == ROUNDS) {
            report("1,000 controls: opening", direct.seconds, opened.seconds, 1);
            double moved = bare_moves(window_of(thousand), THOUSAND_RESIZES);
            report("1,000 controls: relayout after a resize", moved, relayouts(thousand, THOUSAND_RESIZES),
                   THOUSAND_RESIZES);
            dialog_free(thousand);
        }
    }
    return 0;
}
