// Setting a large diary text into an editor: the time per MiB should stay flat as the text
// grows. Reference: the bare rich edit control streaming in the same text in the same run.
#include "toolkit/control.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include "bench/bench_clock_win.h"

#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t MEBIBYTE = 1024 * 1024;
constexpr int SIZES_MIB[] = {1, 2, 4};

struct Source {
    const char* bytes;
    std::size_t size;
    std::size_t offset;
};

// Short dated paragraphs of words, like the posts of a diary, `characters` long.
std::u16string diary_text(std::size_t characters)
{
    static const char16_t* const WORDS[] = {u"today", u"the", u"rain", u"walked", u"garden", u"quiet", u"letter",
                                            u"morning", u"coffee", u"friend", u"slowly", u"and", u"wrote", u"a"};
    std::u16string text;
    text.reserve(characters + 256);
    unsigned seed = 12345;
    for (int post = 0; text.size() < characters; ++post) {
        text += u"2026-" + std::u16string(1, static_cast<char16_t>(u'1' + post % 9)) + u"-07 08:58\r\n";
        int words = 12 + static_cast<int>(seed % 40);
        for (int i = 0; i < words; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += WORDS[(seed >> 16) % 14];
            text += (seed >> 8) % 11 == 0 ? u". " : u" ";
        }
        text += u"\r\n\r\n";
    }
    text.resize(characters);
    return text;
}

DWORD CALLBACK read_chunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<Source*>(cookie);
    std::size_t count = source->size - source->offset;
    if (count > static_cast<std::size_t>(wanted))
        count = static_cast<std::size_t>(wanted);
    std::memcpy(buffer, source->bytes + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

// The bare control: one EM_STREAMIN of the UTF-16 text into an empty control.
double bare_seconds(HWND parent, const std::u16string& text)
{
    HWND control = CreateWindowExW(WS_EX_CLIENTEDGE, L"RichEdit20W", L"",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL
                                       | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_WANTRETURN,
                                   0, 0, 600, 400, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    Source source = {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t), 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, read_chunk};
    LARGE_INTEGER start = bench_now();
    SendMessageW(control, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    double seconds = bench_seconds_since(start);
    DestroyWindow(control);
    return seconds;
}

// Ours: control_set_text into a new editor, empty or already holding `previous`; false when
// the text read back differs.
bool editor_seconds(const std::u16string& previous, const std::u16string& text, double* seconds)
{
    ObjectNumber editor = editor_create(GK_ANY, 0, 0, 600, 400, 0);
    control_set_text(editor, previous.c_str());
    LARGE_INTEGER start = bench_now();
    control_set_text(editor, text.c_str());
    *seconds = bench_seconds_since(start);
    bool exact = control_get_text(editor) == text;
    control_free(editor);
    return exact;
}

// The fastest of two runs of each, so that a passing stall of the machine counts less.
struct Timings {
    double ours;
    double replace;
    double bare;
    bool exact;
};

Timings measure(HWND parent, const std::u16string& text)
{
    Timings best = {1e9, 1e9, 1e9, true};
    const std::u16string other = text.substr(text.size() / 2) + text.substr(0, text.size() / 2);
    for (int run = 0; run < 2; ++run) {
        double seconds = 0;
        best.exact = editor_seconds(u"", text, &seconds) && best.exact;
        best.ours = seconds < best.ours ? seconds : best.ours;
        best.exact = editor_seconds(other, text, &seconds) && best.exact;
        best.replace = seconds < best.replace ? seconds : best.replace;
        seconds = bare_seconds(parent, text);
        best.bare = seconds < best.bare ? seconds : best.bare;
    }
    return best;
}

}  // namespace

int main()
{
    if (!event_start() || !window_start() || !control_start())
        return 1;
    ObjectNumber window = window_open(GK_ANY, 0, 0, 640, 480, u"Editor benchmark", GK_Window_SystemMenu, nullptr);
    if (!window)
        return 1;
    HWND parent = static_cast<HWND>(window_os_handle(window));
    std::printf("seconds per MiB of text set into an editor (empty, or holding a text as long),\n"
                "and the bare control streaming the same text into itself\n");
    std::printf("%-6s %10s %9s %10s %9s %10s %10s\n", "size", "ours", "vs 1 MiB", "replace", "vs 1 MiB", "bare",
                "ours/bare");
    Timings first = {};
    int status = 0;
    for (int mib : SIZES_MIB) {
        std::u16string text = diary_text(static_cast<std::size_t>(mib) * MEBIBYTE);
        Timings timings = measure(parent, text);
        if (!timings.exact) {
            std::printf("%d MiB: the text read back differs from the text set\n", mib);
            status = 1;
        }
        Timings per_mib = {timings.ours / mib, timings.replace / mib, timings.bare / mib, true};
        if (first.ours == 0)
            first = per_mib;
        std::printf("%-6s %10.3f %9.2f %10.3f %9.2f %10.3f %10.2f\n", (std::to_string(mib) + " MiB").c_str(),
                    per_mib.ours, per_mib.ours / first.ours, per_mib.replace, per_mib.replace / first.replace,
                    per_mib.bare, timings.ours / timings.bare);
    }
    window_close(window);
    return status;
}
