// The code editor kind against the component it wraps: setting and reading back a 10 MiB
// text through control_set_text and control_get_text (UTF-16, converted to and from the
// component's UTF-8) against the same text sent to the component directly as UTF-8, in the
// same run; and how long the first code editor takes, the component's loading included,
// against a second one.
#include "toolkit/control.h"
#include "toolkit/controls/code_editor.h"
#include "toolkit/event.h"
#include "toolkit/window.h"

#include "services/text_convert.h"

#include "bench/bench_clock_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr std::size_t TEXT_BYTES = 10 * 1024 * 1024;
constexpr UINT SCI_EMPTYUNDOBUFFER = 2175;
constexpr UINT SCI_SETTEXT = 2181;
constexpr UINT SCI_GETTEXT = 2182;
constexpr UINT SCI_GETTEXTLENGTH = 2183;
constexpr int RUNS = 5;

// Lines of source code with a comment outside the Basic Multilingual Plane now and then.
std::u16string code_text()
{
    std::u16string text;
    text.reserve(TEXT_BYTES);
    for (int line = 0; text.size() < TEXT_BYTES; ++line) {
        text += u"    int value" + std::u16string(1, static_cast<char16_t>(u'a' + line % 26)) + u" = compute(" +
                std::u16string(1, static_cast<char16_t>(u'0' + line % 10)) + u");";
        text += line % 16 == 0 ? u" // r\u00E9sum\u00E9 \U0001D11E\r\n" : u"\r\n";
    }
    return text;
}

// Ours: the generic operations; false when the text read back differs.
bool kind_seconds(ObjectNumber editor, const std::u16string& text, double* seconds)
{
    LARGE_INTEGER start = bench_now();
    control_set_text(editor, text.c_str());
    std::u16string back = control_get_text(editor);
    *seconds = bench_seconds_since(start);
    return back == text;
}

// The component alone, given and giving UTF-8, with the same undo reset as the kind.
bool direct_seconds(HWND component, const std::string& bytes, double* seconds)
{
    LARGE_INTEGER start = bench_now();
    SendMessageW(component, SCI_SETTEXT, 0, reinterpret_cast<LPARAM>(bytes.c_str()));
    SendMessageW(component, SCI_EMPTYUNDOBUFFER, 0, 0);
    auto length = static_cast<std::size_t>(SendMessageW(component, SCI_GETTEXTLENGTH, 0, 0));
    std::string back(length + 1, '\0');
    SendMessageW(component, SCI_GETTEXT, length + 1, reinterpret_cast<LPARAM>(back.data()));
    *seconds = bench_seconds_since(start);
    back.resize(length);
    return back == bytes;
}

double created_seconds(ObjectNumber* editor)
{
    LARGE_INTEGER start = bench_now();
    *editor = code_editor_create(GK_ANY, 0, 0, 600, 400, 0);
    return bench_seconds_since(start);
}

}  // namespace

int main()
{
    if (!event_start() || !window_start() || !control_start())
        return 1;
    ObjectNumber window = window_open(GK_ANY, 0, 0, 640, 480, u"Code editor benchmark", GK_Window_SystemMenu, nullptr);
    ObjectNumber first = 0;
    ObjectNumber second = 0;
    double first_seconds = created_seconds(&first);
    double second_seconds = created_seconds(&second);
    if (!window || !first || !second) {
        std::printf("no code editor could be made: is Scintilla.dll beside the program?\n");
        return 1;
    }
    std::printf("first code editor (Scintilla.dll loaded): %.1f ms; a second one: %.1f ms; first/second %.1f\n",
                first_seconds * 1000, second_seconds * 1000, first_seconds / second_seconds);

    std::u16string text = code_text();
    std::string bytes = utf16_to_utf8(text.c_str());
    double kind_best = 1e9;
    double direct_best = 1e9;
    bool exact = true;
    for (int run = 0; run < RUNS; ++run) {
        double seconds = 0;
        exact = kind_seconds(first, text, &seconds) && exact;
        kind_best = seconds < kind_best ? seconds : kind_best;
        exact = direct_seconds(static_cast<HWND>(control_os_handle(second)), bytes, &seconds) && exact;
        direct_best = seconds < direct_best ? seconds : direct_best;
    }
    std::printf("set and read back %.1f MiB (UTF-8): code editor %.3f s, component directly %.3f s, "
                "ours/direct %.2f\n",
                static_cast<double>(bytes.size()) / (1024 * 1024), kind_best, direct_best, kind_best / direct_best);
    if (!exact)
        std::printf("the text read back differs from the text set\n");
    window_close(window);
    return exact ? 0 : 1;
}
