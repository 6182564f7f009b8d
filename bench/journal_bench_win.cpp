// The real journal with diaries of growing size, driven as a person would: start-up, a post,
// a search and peak memory. Times are ratios to a reference measured in the same run: a bare
// rich edit doing the same work in this process, or the same step with a one-file story.
// Memory is the growth over the program with an empty story, per byte of the story's text.
#include "journal_helpers.h"

#include "app/story_file.h"
#include "app/story_files.h"
#include "app/story_post.h"
#include "services/date.h"
#include "services/file.h"
#include "tests/support/gui_input.h"

#include <windows.h>
#include <commdlg.h>
#include <psapi.h>
#include <shellapi.h>
#include <richedit.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A case that has not finished within this time under Wine is given up.
constexpr DWORD CASE_LIMIT_MS = 600000;
constexpr int POST_REPEATS = 5;
// Between the keys typed while the story arrives: a fast typist's pace, about ten keys a
// second with the key and its Backspace. Typing faster would measure the typing's own cost
// in the time the whole story takes.
constexpr DWORD KEY_PAUSE_MS = 100;
constexpr int SEARCH_REPEATS = 3;
constexpr int READ_REPEATS = 3;
// Only the oldest post holds it; no generated sentence does.
constexpr char16_t QUERY_WORD[] = u"Quillhaven";
constexpr wchar_t QUERY[] = L"quillhaven";
// The newest file stays this far below full, so that the measured posts go into it.
constexpr std::int64_t NEWEST_FILE_ROOM = 2048;
constexpr wchar_t BARE_CLASS[] = L"QuietNoteBareRichEdit";

struct StoryCase {
    const char* name;
    int files;
};

constexpr StoryCase CASES[] = {{"1 MiB", 32}, {"4 MiB", 128}, {"999 files", 999}};

// The newest file as one post of 32 KiB: a long post pasted in one piece, with no line
// break, or the same size in short lines.
enum class Shape { ORDINARY, ONE_LETTER, SHORT_WORDS, LINES_70 };
struct ShapeCase {
    const char* name;
    Shape shape;
};
constexpr ShapeCase SHAPES[] = {
    {"one letter", Shape::ONE_LETTER}, {"short words", Shape::SHORT_WORDS}, {"70-char lines", Shape::LINES_70}};

// ---- time -------------------------------------------------------------------------------

LARGE_INTEGER now()
{
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return counter;
}

double seconds_since(LARGE_INTEGER start)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now().QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds left before the deadline, 0 once it has passed.
DWORD left_until(DWORD deadline)
{
    const auto left = static_cast<std::int32_t>(deadline - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// ---- the diary --------------------------------------------------------------------------

// A small linear congruential generator: the same diary in every run.
struct Random {
    std::uint32_t state;
};

std::uint32_t next(Random& random, std::uint32_t below)
{
    random.state = random.state * 1103515245u + 12345u;
    return (random.state >> 8) % below;
}

const char16_t* pick(Random& random, const std::vector<const char16_t*>& words)
{
    return words[next(random, static_cast<std::uint32_t>(words.size()))];
}

std::u16string sentence(Random& random)
{
    static const std::vector<const char16_t*> SUBJECTS = {
        u"I", u"We", u"My sister", u"The neighbour", u"Grandmother", u"Nobody", u"The old dog", u"Tom", u"Zoë"};
    static const std::vector<const char16_t*> VERBS = {
        u"walked to", u"thought about", u"cleaned", u"wrote a letter about", u"forgot", u"laughed at",
        u"spent the afternoon near", u"finally fixed", u"talked for hours about", u"dreamt of"};
    static const std::vector<const char16_t*> OBJECTS = {
        u"the garden", u"the station", u"an unfinished book", u"the kitchen window", u"the rain",
        u"the little café on the corner", u"last summer", u"the bicycle", u"a long phone call", u"the market"};
    static const std::vector<const char16_t*> ENDINGS = {
        u".", u" before dinner.", u" and it felt good.", u", which surprised me.", u" again, as usual.",
        u" while the kettle boiled.", u" until it got dark.", u"; tomorrow will be quieter."};
    std::u16string text = pick(random, SUBJECTS);
    text += u' ';
    text += pick(random, VERBS);
    text += u' ';
    text += pick(random, OBJECTS);
    text += pick(random, ENDINGS);
    return text;
}

// A few paragraphs of a few sentences each.
std::u16string post_body(Random& random)
{
    std::u16string body;
    const std::uint32_t paragraphs = 1 + next(random, 4);
    for (std::uint32_t p = 0; p < paragraphs; ++p) {
        if (p > 0)
            body += u"\r\n\r\n";
        const std::uint32_t sentences = 2 + next(random, 5);
        for (std::uint32_t s = 0; s < sentences; ++s) {
            if (s > 0)
                body += u' ';
            body += sentence(random);
        }
    }
    return body;
}

// A post body of STORY_FILE_FULL units in the shape, so that its file is full.
std::u16string shaped_body(Shape shape)
{
    static const std::vector<const char16_t*> WORDS = {u"a", u"day", u"we", u"sat", u"in", u"the", u"sun", u"and",
                                                       u"it", u"was", u"good", u"so", u"far"};
    Random random = {7u};
    std::u16string body;
    const auto size = static_cast<std::size_t>(STORY_FILE_FULL);
    while (body.size() < size) {
        if (shape == Shape::ONE_LETTER)
            body.assign(size, u'a');
        else if (shape == Shape::SHORT_WORDS)
            body += std::u16string(pick(random, WORDS)) + u' ';
        else
            body += std::u16string(68, static_cast<char16_t>(u'a' + body.size() % 26)) + u"\r\n";
    }
    body.resize(size);
    return body;
}

std::int64_t utf8_size(const std::u16string& text)
{
    std::int64_t size = 0;
    for (char16_t unit : text)
        size += unit < 0x80 ? 1 : unit < 0x800 ? 2 : (unit >= 0xD800 && unit <= 0xDFFF) ? 2 : 3;
    return size;
}

struct Story {
    std::u16string shown;  // the viewer's text as the program streams it in: newest post first
    std::int64_t bytes;    // on disk
    int files;
};

// Adds posts to one file's stored text until it is full, or until one more would fill the
// newest file; the oldest post holds the query.
std::int64_t fill_file(Random& random, DateValue& date, bool newest, std::vector<std::u16string>& posts,
                       std::u16string& stored)
{
    const std::int64_t full = newest ? STORY_FILE_FULL - NEWEST_FILE_ROOM : STORY_FILE_FULL;
    std::int64_t size = 3;
    while (size < full) {
        std::u16string body = post_body(random);
        if (posts.empty())
            body += u"\r\n\r\nThe ferry to " + std::u16string(QUERY_WORD) + u" left without me.";
        std::u16string post = story_build_post(body, date);
        date += 3 * 3600 + static_cast<DateValue>(next(random, 3600));
        const std::int64_t post_size = utf8_size(post);
        if (newest && size + post_size >= full)
            break;
        stored += story_reverse(post);
        size += post_size;
        posts.push_back(std::move(post));
    }
    return size;
}

// Writes `files` time files with the app's own post format and writer: every file but the
// newest is full, the newest keeps room for a few posts, or holds one full post of the shape.
bool story_write(const std::wstring& folder, int files, Story& story, Shape shape = Shape::ORDINARY)
{
    const std::u16string story_folder =
        reinterpret_cast<const char16_t*>(folder.c_str()) + std::u16string(u"quietstory\\");
    if (!CreateDirectoryW(reinterpret_cast<const wchar_t*>(story_folder.c_str()), nullptr))
        return false;
    Random random = {20240301u};
    DateValue date = date_make(2000, 1, 1, 21, 15, 7);
    std::vector<std::u16string> posts;
    story.bytes = 0;
    story.files = files;
    for (int number = 1; number <= files; ++number) {
        std::u16string stored;
        std::int64_t size = 3;
        if (number == files && shape != Shape::ORDINARY) {
            posts.push_back(story_build_post(shaped_body(shape), date));
            size += utf8_size(posts.back());
            stored = story_reverse(posts.back());
        } else {
            size = fill_file(random, date, number == files, posts, stored);
        }
        const std::u16string path = story_folder + story_time_file_name(number);
        if (!story_append(path.c_str(), stored))
            return false;
        story.bytes += size;
    }
    std::size_t length = 0;
    for (const std::u16string& post : posts)
        length += post.size();
    story.shown.clear();
    story.shown.reserve(length);
    for (auto post = posts.rbegin(); post != posts.rend(); ++post)
        story.shown += *post;
    return true;
}

// Where the viewer shows the query: it keeps a line break as one character.
LONG shown_position(const std::u16string& text, const std::u16string& word)
{
    const std::size_t at = text.find(word);
    if (at == std::u16string::npos)
        return -1;
    LONG breaks = 0;
    for (std::size_t i = 0; i + 1 < at; ++i)
        breaks += text[i] == u'\r' && text[i + 1] == u'\n' ? 1 : 0;
    return static_cast<LONG>(at) - breaks;
}

// ---- the program ------------------------------------------------------------------------

struct Memory {
    double peak_private;
    double peak_working_set;
};

Memory memory_of(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(process, &counters, sizeof(counters));
    return {static_cast<double>(counters.PeakPagefileUsage), static_cast<double>(counters.PeakWorkingSetSize)};
}

// This process's private memory now.
double private_bytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PagefileUsage);
}

// One round trip through the program's message loop: true once it is idle again.
bool answers(HWND window, DWORD timeout_ms)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout_ms, &result) != 0;
}

LRESULT viewer_length(const Journal& journal, DWORD timeout_ms)
{
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    DWORD_PTR length = 0;
    if (!viewer || !SendMessageTimeoutW(viewer, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeout_ms, &length))
        return -1;
    return static_cast<LRESULT>(length);
}

std::int64_t size_of(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// What a person meets while the story is still arriving.
struct Loading {
    double shown_seconds = 0;   // CreateProcess until the window shows with the focus in the editor
    double key_seconds = 0;     // CreateProcess until a key typed as soon as it can be shows
    double newest_seconds = 0;  // CreateProcess until the story tab shows the newest post on top
    double longest_wait_ms = 0;  // the longest a key press waited while the story arrived
    int key_presses = 0;         // pressed while it arrived
};

LRESULT text_length(HWND window, DWORD timeout_ms)
{
    DWORD_PTR length = 0;
    if (!window || !SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, timeout_ms, &length))
        return -1;
    return static_cast<LRESULT>(length);
}

// The first characters of the window's text.
std::wstring text_head(HWND window, std::size_t count, DWORD timeout_ms)
{
    std::wstring head(count + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, head.size(), reinterpret_cast<LPARAM>(head.data()), SMTO_NORMAL,
                             timeout_ms, &copied))
        return L"";
    head.resize(copied);
    return head;
}

// A key pressed into the focused field, and the time until the field holds one more
// character (`shown`); Backspace then takes it out again, and `longest` is the longer wait.
bool time_key(HWND field, DWORD deadline, double* shown, double* longest)
{
    const LRESULT before = text_length(field, left_until(deadline));
    *longest = 0;
    for (WORD key : {WORD{'X'}, WORD{VK_BACK}}) {
        const LARGE_INTEGER start = now();
        gui_press_key(key);
        while ((text_length(field, left_until(deadline)) > before) != (key == 'X')) {
            if (!left_until(deadline))
                return false;
            Sleep(1);
        }
        *longest = std::max(*longest, seconds_since(start));
        if (key == 'X')
            *shown = *longest;
    }
    return true;
}

// From CreateProcess: a key typed into the editor as soon as it has the focus, the story tab
// with the newest post on top, and keys typed into the search box until the viewer holds
// the whole story (the viewer reports a line break as CR LF, as the story has it), which
// ends the start-up time. False when that takes longer than a case may.
bool start_journal(Journal& journal, const Story& story, double* seconds, Loading* loading)
{
    const DWORD deadline = GetTickCount() + CASE_LIMIT_MS;
    const LARGE_INTEGER start = now();
    if (!journal_launch(journal))
        return false;
    while (!(journal.window = journal_find_window(journal)) ||
           journal_focus(journal) != journal_part(journal, Part::TXT_EDIT)) {
        if (!left_until(deadline))
            return false;
        Sleep(1);
    }
    SetForegroundWindow(journal.window);
    const double pressed = seconds_since(start);
    loading->shown_seconds = pressed;
    double shown = 0;
    double key = 0;
    if (!time_key(journal_part(journal, Part::TXT_EDIT), deadline, &shown, &key))
        return false;
    loading->key_seconds = pressed + shown;
    loading->longest_wait_ms = 1000 * key;
    // The story tab is shown with every story, the empty one too, so that what showing it
    // costs in time and memory is in the reference as well. A tab clicked while a long
    // paragraph goes in shows once it is in.
    journal_show_page(journal, Page::STORY);
    while (journal_current_tab(journal) != static_cast<int>(Page::STORY)) {
        if (!left_until(deadline))
            return false;
        Sleep(1);
    }
    const std::size_t header = story.shown.find(u"\r\n");
    if (header != std::u16string::npos) {
        const std::wstring newest(reinterpret_cast<const wchar_t*>(story.shown.data()), header);
        while (text_head(journal_part(journal, Part::TXT_STORY), header, left_until(deadline)) != newest) {
            if (!left_until(deadline))
                return false;
            Sleep(1);
        }
        loading->newest_seconds = seconds_since(start);
    }
    // Clicks that waited for a long paragraph may leave the focus anywhere on the page.
    HWND field = journal_part(journal, Part::TXT_SEARCH);
    journal_click(journal, field);
    while (journal_focus(journal) != field) {
        if (!left_until(deadline))
            return false;
        Sleep(1);
    }
    const auto expected = static_cast<LRESULT>(story.shown.size());
    while (viewer_length(journal, left_until(deadline)) != expected) {
        if (!time_key(field, deadline, &shown, &key))
            return false;
        loading->longest_wait_ms = std::max(loading->longest_wait_ms, 1000 * key);
        ++loading->key_presses;
        Sleep(KEY_PAUSE_MS);
    }
    *seconds = seconds_since(start);
    return answers(journal.window, left_until(deadline));
}

// From Return in the search box until the viewer's selection is the match; the median of a
// few, each from the caret at the top, where the program leaves it after start-up.
bool search_journal(const Journal& journal, LONG expected, double* seconds)
{
    HWND box = journal_part(journal, Part::TXT_SEARCH);
    // A click on the tab already shown would leave the focus on the tabs.
    if (journal_current_tab(journal) != static_cast<int>(Page::STORY))
        journal_show_page(journal, Page::STORY);
    else
        journal_click(journal, box);
    journal_type(journal, QUERY);
    HWND viewer = journal_part(journal, Part::TXT_STORY);
    if (!wait_until([&] { return window_text(box) == QUERY; }))
        return false;
    const int length = static_cast<int>(std::wstring(QUERY).size());
    std::vector<double> times;
    for (int i = 0; i < SEARCH_REPEATS; ++i) {
        SendMessageW(viewer, EM_SETSEL, 0, 0);
        if (!answers(journal.window, CASE_LIMIT_MS))
            return false;
        const DWORD deadline = GetTickCount() + CASE_LIMIT_MS;
        const LARGE_INTEGER start = now();
        gui_press_key(VK_RETURN);
        for (;;) {
            int first = 0;
            int last = 0;
            journal_selection(journal, viewer, &first, &last);
            if (first == expected && last == expected + length)
                break;
            if (!left_until(deadline))
                return false;
            Sleep(1);
        }
        times.push_back(seconds_since(start));
    }
    *seconds = median(times);
    return true;
}

// From Ctrl+Return with a short post typed in the editor until the story tab is shown, the
// newest time file has grown and the program is idle again.
bool post_journal(const Journal& journal, const std::wstring& newest_file, int repeat, double* seconds)
{
    const std::wstring text = L"A short note before sleep, number " + std::to_wstring(repeat + 1) + L".";
    HWND editor = journal_part(journal, Part::TXT_EDIT);
    // A click on the tab already shown would leave the focus on the tabs.
    if (journal_current_tab(journal) != static_cast<int>(Page::EDIT))
        journal_show_page(journal, Page::EDIT);
    else
        SetForegroundWindow(journal.window);
    if (!wait_until([&] { return journal_focus(journal) == editor; }))
        return false;
    journal_type(journal, text);
    if (!wait_until([&] { return window_text(editor) == text; }) || !answers(journal.window, CASE_LIMIT_MS))
        return false;
    const std::int64_t before = size_of(newest_file);
    const DWORD deadline = GetTickCount() + CASE_LIMIT_MS;
    const LARGE_INTEGER start = now();
    gui_press_key(VK_RETURN, false, true);
    while (!(size_of(newest_file) > before && journal_current_tab(journal) == static_cast<int>(Page::STORY))) {
        if (!left_until(deadline))
            return false;
        Sleep(1);
    }
    if (!answers(journal.window, left_until(deadline)))
        return false;
    *seconds = seconds_since(start);
    return true;
}

// ---- the bare control -------------------------------------------------------------------

struct StreamSource {
    const char* bytes;
    std::size_t size;
    std::size_t offset;
};

// Chunks never end inside a CR LF pair or a surrogate pair, which the control would read
// as two characters.
DWORD CALLBACK read_chunk(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given)
{
    auto* source = reinterpret_cast<StreamSource*>(cookie);
    std::size_t count = source->size - source->offset;
    if (count > static_cast<std::size_t>(wanted)) {
        count = static_cast<std::size_t>(wanted) & ~std::size_t{1};
        char16_t last = 0;
        std::memcpy(&last, source->bytes + source->offset + count - sizeof(char16_t), sizeof(last));
        if (count > sizeof(char16_t) && (last == u'\r' || (last >= 0xD800 && last <= 0xDBFF)))
            count -= sizeof(char16_t);
    }
    std::memcpy(buffer, source->bytes + source->offset, count);
    source->offset += count;
    *given = static_cast<LONG>(count);
    return 0;
}

void pump_messages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

struct Bare {
    double stream_seconds;
    double find_seconds;
    double private_growth;  // of this process, while the control holds the text
    double select_seconds;  // selecting the match, which scrolls it into view
    double insert_seconds;  // a short post inserted at the top, as the viewer takes a new post
    LRESULT length;  // as WM_GETTEXTLENGTH reports it
    LRESULT found;
};

// The viewer's control kind alone, in a window of its own, as wide and high as the viewer.
struct BareViewer {
    HWND top = nullptr;
    HWND control = nullptr;
    HFONT font = nullptr;
};

BareViewer bare_open(SIZE size)
{
    BareViewer bare;
    bare.top = CreateWindowExW(0, BARE_CLASS, L"Bare rich edit", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                               size.cx + 40, size.cy + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    bare.control = CreateWindowExW(WS_EX_CLIENTEDGE, L"RichEdit20W", L"",
                                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                   0, 0, size.cx, size.cy, bare.top, nullptr, GetModuleHandleW(nullptr), nullptr);
    HDC screen = GetDC(nullptr);
    bare.font = CreateFontW(-MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                            FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH, L"Verdana");
    ReleaseDC(nullptr, screen);
    SendMessageW(bare.control, WM_SETFONT, reinterpret_cast<WPARAM>(bare.font), FALSE);
    SendMessageW(bare.control, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
    SendMessageW(bare.control, EM_SETTARGETDEVICE, 0, 0);
    SendMessageW(bare.control, EM_EXLIMITTEXT, 0, 0x7FFFFFFF);
    UpdateWindow(bare.top);
    pump_messages();
    return bare;
}

void bare_close(BareViewer& bare)
{
    DestroyWindow(bare.top);
    DeleteObject(bare.font);
    pump_messages();
}

// The text streamed in as UTF-16 in one call and painted; its seconds.
double bare_stream(HWND control, const std::u16string& text)
{
    StreamSource source = {reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t), 0};
    EDITSTREAM stream = {reinterpret_cast<DWORD_PTR>(&source), 0, read_chunk};
    const LARGE_INTEGER start = now();
    SendMessageW(control, EM_STREAMIN, SF_TEXT | SF_UNICODE, reinterpret_cast<LPARAM>(&stream));
    UpdateWindow(control);
    return seconds_since(start);
}

// What the bare control takes to lay out and paint the story's longest paragraph once.
double bare_paragraph_seconds(const std::u16string& text, SIZE size)
{
    std::size_t longest = 0, longest_at = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find(u'\r', at), text.size());
        if (end - at > longest) {
            longest = end - at;
            longest_at = at;
        }
        at = end + 2;
    }
    BareViewer bare = bare_open(size);
    const double seconds = bare_stream(bare.control, text.substr(longest_at, longest));
    bare_close(bare);
    return seconds;
}

// The story streamed in as UTF-16, the query searched forward from the start (median of a
// few) and selected, then a post inserted at the top.
Bare bare_reference(const std::u16string& text, SIZE size)
{
    const double private_before = private_bytes();
    BareViewer viewer = bare_open(size);
    HWND control = viewer.control;
    Bare bare = {};
    bare.stream_seconds = bare_stream(control, text);
    bare.length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    LARGE_INTEGER start;

    FINDTEXTW find = {};
    find.chrg.cpMin = 0;
    find.chrg.cpMax = -1;
    find.lpstrText = QUERY;
    std::vector<double> times;
    for (int i = 0; i < SEARCH_REPEATS; ++i) {
        start = now();
        bare.found = SendMessageW(control, EM_FINDTEXTW, FR_DOWN, reinterpret_cast<LPARAM>(&find));
        times.push_back(seconds_since(start));
    }
    bare.find_seconds = median(times);
    bare.private_growth = private_bytes() - private_before;

    CHARRANGE match = {static_cast<LONG>(bare.found), static_cast<LONG>(bare.found + std::wstring(QUERY).size())};
    start = now();
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&match));
    UpdateWindow(control);
    bare.select_seconds = seconds_since(start);

    const std::u16string post = story_build_post(u"A short note before sleep.", date_now());
    CHARRANGE first = {0, 0};
    start = now();
    SendMessageW(control, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(control, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(post.c_str()));
    UpdateWindow(control);
    bare.insert_seconds = seconds_since(start);
    bare_close(viewer);
    return bare;
}

bool register_bare_class()
{
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = BARE_CLASS;
    return RegisterClassW(&window_class) != 0 && LoadLibraryW(L"RICHED20.DLL") != nullptr;
}

const char* verdict(double ratio, double target);

// ---- reading the story from disk ---------------------------------------------------------

// The bare reading of the same files, highest number first: one ReadFile per file and one
// MultiByteToWideChar of the bytes after the mark, into a text sized once for all files.
std::u16string reference_read(const std::wstring& story_folder, int files)
{
    std::vector<std::int64_t> sizes(static_cast<std::size_t>(files) + 1, 0);
    std::int64_t total = 0;
    const auto path_of = [&](int number) {
        return story_folder + reinterpret_cast<const wchar_t*>(story_time_file_name(number).c_str());
    };
    for (int number = files; number >= 1; --number)
        total += sizes[number] = size_of(path_of(number));
    std::u16string story(static_cast<std::size_t>(total), u'\0');
    std::vector<char> bytes;
    std::size_t at = 0;
    for (int number = files; number >= 1; --number) {
        const std::wstring path = path_of(number);
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            continue;
        bytes.resize(static_cast<std::size_t>(sizes[number]));
        DWORD got = 0;
        ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(file);
        if (got <= 3)
            continue;
        at += static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, static_cast<int>(got - 3),
                                                           reinterpret_cast<wchar_t*>(story.data() + at),
                                                           static_cast<int>(story.size() - at)));
    }
    story.resize(at);
    return story;
}

struct ReadFigures {
    bool measured = false;
    double app_seconds = 0;        // story_collect: the app's reading into the story text
    double reference_seconds = 0;  // reference_read of the same files
    double app_peak = 0;           // peak private memory of a process doing only that
    double reference_peak = 0;
    double characters = 0;
    bool same = false;             // both gave the story's text (the reference unreversed, so its length)
};

constexpr wchar_t READ_CHILD[] = L"--read-peak";

// In a process of its own, so that its peak is that reading's alone: reads the story the
// one way or the other and writes the peak private memory to `result`.
int read_child(const wchar_t* way, const std::wstring& story_folder, int files, const std::wstring& result)
{
    std::size_t length = 0;
    AccumulatorHandle collected;
    std::u16string reference;
    if (std::wstring(way) == L"app") {
        collected = story_collect(reinterpret_cast<const char16_t*>(story_folder.c_str()));
        length = accumulator_text(collected.get()).size();
    } else {
        reference = reference_read(story_folder, files);
        length = reference.size();
    }
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    const std::string line = std::to_string(counters.PeakPagefileUsage) + " " + std::to_string(length);
    HANDLE file = CreateFileW(result.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}

// Runs this program as a read child; its peak in bytes, or -1.
double read_peak(const wchar_t* way, const std::wstring& story_folder, int files, std::size_t* length)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring result = story_folder + L"peak-" + way + L".out";
    // The folder goes without its final backslash, which would escape the closing quote.
    const std::wstring folder = story_folder.substr(0, story_folder.size() - 1);
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + READ_CHILD + L" " + way + L" " +
                           std::to_wstring(files) + L" \"" + folder + L"\" \"" + result + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(self, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    WaitForSingleObject(process.hProcess, CASE_LIMIT_MS);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    unsigned long long peak = 0;
    std::string text(64, '\0');
    HANDLE file = CreateFileW(result.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DWORD got = 0;
    ReadFile(file, text.data(), static_cast<DWORD>(text.size() - 1), &got, nullptr);
    CloseHandle(file);
    DeleteFileW(result.c_str());
    return std::sscanf(text.c_str(), "%llu %zu", &peak, length) == 2 ? static_cast<double>(peak) : -1;
}

// Time (median of a few, the two ways taking turns on warm files) and peak memory of the
// app's reading of the story against the bare reading.
ReadFigures measure_reading(const std::wstring& story_folder, const Story& story)
{
    ReadFigures figures;
    const std::u16string folder = reinterpret_cast<const char16_t*>(story_folder.c_str());
    std::vector<double> app;
    std::vector<double> reference;
    std::size_t app_length = 0;
    std::size_t reference_length = 0;
    for (int i = 0; i <= READ_REPEATS; ++i) {
        LARGE_INTEGER start = now();
        const std::size_t read = reference_read(story_folder, story.files).size();
        const double reference_time = seconds_since(start);
        start = now();
        const AccumulatorHandle collected = story_collect(folder);
        const double app_time = seconds_since(start);
        figures.same = accumulator_text(collected.get()) == story.shown && read == story.shown.size();
        if (i == 0)
            continue;  // the first turn warms the file cache for both
        reference.push_back(reference_time);
        app.push_back(app_time);
    }
    figures.app_seconds = median(app);
    figures.reference_seconds = median(reference);
    figures.app_peak = read_peak(L"app", story_folder, story.files, &app_length);
    figures.reference_peak = read_peak(L"reference", story_folder, story.files, &reference_length);
    figures.characters = static_cast<double>(story.shown.size());
    figures.same = figures.same && app_length == story.shown.size() && reference_length == story.shown.size();
    figures.measured = figures.app_peak > 0 && figures.reference_peak > 0;
    return figures;
}

void print_reading(const std::vector<std::pair<const char*, ReadFigures>>& rows)
{
    const double mib = 1024.0 * 1024.0;
    std::printf("\n5. reading the story from disk into its text (story_collect) against one ReadFile per file\n"
                "   and MultiByteToWideChar, median of %d (target: ratio at most 2); peak private memory of a\n"
                "   process doing only that, above the bare reading, per byte of the story's UTF-16 text\n"
                "   (target: at most 1)\n",
                READ_REPEATS);
    std::printf("%-10s %11s %9s %9s %7s %6s %12s %12s %7s %6s\n", "story", "UTF-16 MiB", "app s", "bare s", "ratio",
                "", "app peak", "bare peak", "above", "");
    for (const auto& [name, r] : rows) {
        if (!r.measured) {
            std::printf("%-10s   not measured\n", name);
            continue;
        }
        const double text_bytes = 2 * r.characters;
        const double ratio = r.app_seconds / r.reference_seconds;
        const double above = (r.app_peak - r.reference_peak) / text_bytes;
        std::printf("%-10s %11.2f %9.4f %9.4f %7.2f %6s %8.1f MiB %8.1f MiB %7.2f %6s%s\n", name, text_bytes / mib,
                    r.app_seconds, r.reference_seconds, ratio, verdict(ratio, 2.0), r.app_peak / mib,
                    r.reference_peak / mib, above, verdict(above, 1.0), r.same ? "" : "  TEXT DIFFERS");
    }
}

// ---- one case ---------------------------------------------------------------------------

struct Result {
    const char* name;
    int files = 0;
    double mib = 0;         // UTF-8 on disk
    double characters = 0;  // UTF-16 units of the viewer's text
    bool written = false;
    bool started = false;
    double start_seconds = 0;
    Loading loading = {};
    Memory memory = {};
    bool searched = false;
    double search_seconds = 0;
    std::vector<double> posts;
    bool posted = false;
    double collect_seconds = 0;
    double write_seconds = 0;
    Bare bare = {};
    bool same_length = false;
    bool found_same = false;
    ReadFigures read = {};
    double paragraph_seconds = 0;  // the bare control laying out the longest paragraph once
};

// Runs the program on a story: start-up, memory, then a search and, when `posts_file` is
// given, posts into that time file. The program ends before the bare control is measured.
void run_program(Result& result, const std::wstring& folder, const Story& story, bool search,
                 const wchar_t* posts_file, SIZE* viewer_size)
{
    Journal journal;
    journal.folder = folder;
    result.started = start_journal(journal, story, &result.start_seconds, &result.loading);
    if (result.started) {
        result.memory = memory_of(journal.process.hProcess);
        RECT bounds = {};
        GetWindowRect(journal_part(journal, Part::TXT_STORY), &bounds);
        *viewer_size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
        if (search)
            result.searched =
                search_journal(journal, shown_position(story.shown, QUERY_WORD), &result.search_seconds);
        result.posted = posts_file != nullptr;
        for (int i = 0; posts_file && result.posted && i < POST_REPEATS; ++i) {
            double seconds = 0;
            result.posted = post_journal(journal, folder + L"quietstory\\" + posts_file, i, &seconds);
            result.posts.push_back(seconds);
        }
    }
    journal_stop(journal);
}

// The disk part of a post: the app's own story_write_post into the folder, median of a few.
double write_seconds(const std::u16string& story_folder)
{
    std::vector<double> times;
    for (int i = 0; i < POST_REPEATS; ++i) {
        std::u16string post;
        const LARGE_INTEGER start = now();
        const StoryPostResult written =
            story_write_post(story_folder, u"A short note written directly.", date_now(), post);
        if (written != StoryPostResult::POSTED)
            return -1;
        times.push_back(seconds_since(start));
    }
    return median(times);
}

Result run_case(const char* name, int files, bool search, const wchar_t* posts_file, Shape shape = Shape::ORDINARY)
{
    Result result;
    result.name = name;
    result.files = files;
    const std::wstring folder = journal_new_folder();
    Story story = {};
    result.written = !folder.empty() && (files == 0 ? CreateDirectoryW((folder + L"quietstory").c_str(), nullptr) != 0
                                                    : story_write(folder, files, story, shape));
    result.mib = static_cast<double>(story.bytes) / (1024.0 * 1024.0);
    result.characters = static_cast<double>(story.shown.size());
    const std::u16string story_folder =
        reinterpret_cast<const char16_t*>(folder.c_str()) + std::u16string(u"quietstory\\");
    if (result.written) {
        // The app's own reading of the files, before the program adds posts to them.
        const LARGE_INTEGER start = now();
        const AccumulatorHandle collected = story_collect(story_folder);
        const bool same = accumulator_text(collected.get()) == story.shown;
        result.collect_seconds = seconds_since(start);
        if (files > 0 && shape == Shape::ORDINARY)
            result.read = measure_reading(folder + L"quietstory\\", story);
        SIZE viewer_size = {600, 400};
        run_program(result, folder, story, search, posts_file, &viewer_size);
        if (result.started && files > 0) {
            result.write_seconds = write_seconds(story_folder);
            result.bare = bare_reference(story.shown, viewer_size);
            result.same_length = same && result.bare.length == static_cast<LRESULT>(story.shown.size());
            result.found_same = result.bare.found == shown_position(story.shown, QUERY_WORD);
            result.paragraph_seconds = bare_paragraph_seconds(story.shown, viewer_size);
        }
    }
    journal_remove_folder(folder);
    return result;
}

// ---- the report -------------------------------------------------------------------------

const char* verdict(double ratio, double target)
{
    return ratio <= target ? "ok" : "MISSED";
}

void print_start_up(const std::vector<Result>& results, const Result& empty)
{
    std::printf("\n1. start-up: CreateProcess until the whole story is shown and the program is idle, against\n"
                "   a bare rich edit streaming the same text in one call (target: ratio at most 1.1)\n");
    std::printf("%-10s %6s %9s %11s %10s %9s %7s %6s %12s %10s\n", "story", "files", "UTF-8 MiB", "characters",
                "start-up s", "bare s", "ratio", "", "vs empty s", "collect s");
    std::printf("%-10s %6d %9.2f %11.0f %10.3f %9s %7s %6s %12s %10s\n", "empty", 0, 0.0, 0.0, empty.start_seconds,
                "-", "-", "", "-", "-");
    for (const Result& r : results) {
        if (!r.started) {
            std::printf("%-10s %6d %9.2f %11.0f   gave up: not shown within %u s; measures of this size skipped\n",
                        r.name, r.files, r.mib, r.characters, static_cast<unsigned>(CASE_LIMIT_MS / 1000));
            continue;
        }
        const double ratio = r.start_seconds / r.bare.stream_seconds;
        std::printf("%-10s %6d %9.2f %11.0f %10.3f %9.3f %7.2f %6s %12.3f %10.3f\n", r.name, r.files, r.mib,
                    r.characters, r.start_seconds, r.bare.stream_seconds, ratio, verdict(ratio, 1.1),
                    r.start_seconds - empty.start_seconds, r.collect_seconds);
    }
    std::printf("   vs empty: start-up minus the start-up with an empty story; collect: the app's own reading\n"
                "   of the time files (story_collect) timed in this process\n");
}

void print_loading(const std::vector<Result>& results, const Result& empty, const Result& small)
{
    std::printf("\n0. ready at once: CreateProcess until a key typed into the editor as soon as it has the\n"
                "   focus shows, against the same with an empty story (target: at most 1.1); until the story\n"
                "   tab shows the newest post on top, against a one-file story (target: at most 1.5); the\n"
                "   longest a key press waited while the story arrived (target: at most 50 ms)\n");
    std::printf("%-10s %9s %7s %6s %10s %7s %6s %13s %6s %6s\n", "story", "key s", "ratio", "", "newest s", "ratio",
                "", "longest ms", "", "keys");
    std::printf("%-10s %9.3f %7s %6s %10s\n", "empty", empty.loading.key_seconds, "-", "", "-");
    std::printf("%-10s %9.3f %7s %6s %10.3f\n", "1 file", small.loading.key_seconds, "-", "",
                small.loading.newest_seconds);
    for (const Result& r : results) {
        const Loading& l = r.loading;
        if (l.key_seconds == 0)
            continue;
        const double key = l.key_seconds / empty.loading.key_seconds;
        const double newest = l.newest_seconds / small.loading.newest_seconds;
        std::printf("%-10s %9.3f %7.2f %6s %10.3f %7.2f %6s %13.1f %6s %6d\n", r.name, l.key_seconds, key,
                    verdict(key, 1.1), l.newest_seconds, newest, verdict(newest, 1.5), l.longest_wait_ms,
                    verdict(l.longest_wait_ms, 50), l.key_presses);
    }
}

void print_post(const Result& small, const Result& large, const std::vector<Result>& results)
{
    std::printf("\n2. post: Ctrl+Return until the story tab shows, the newest time file has grown and the\n"
                "   program is idle; median of %d (target: ratio at most 1.2)\n",
                POST_REPEATS);
    auto row = [](const char* name, const Result& r) {
        if (!r.posted) {
            std::printf("%-10s %s\n", name, r.started ? "a post did not finish within the limit" : "skipped");
            return;
        }
        std::printf("%-10s %9.3f  (", name, median(r.posts));
        for (double seconds : r.posts)
            std::printf(" %.3f", seconds);
        std::printf(" )\n");
    };
    std::printf("%-10s %9s\n", "story", "median s");
    row("1 file", small);
    row("999 files", large);
    if (small.posted && large.posted) {
        const double ratio = median(large.posts) / median(small.posts);
        std::printf("ratio 999 files / 1 file: %.2f %s\n", ratio, verdict(ratio, 1.2));
    }
    std::printf("   where it goes, timed in this process: the app's own writing of a post (story_write_post,\n"
                "   median of %d) and the bare control taking a post at the top of the same text\n",
                POST_REPEATS);
    std::printf("%-10s %6s %9s %14s\n", "story", "files", "write s", "bare insert s");
    std::printf("%-10s %6d %9.4f %14.4f\n", small.name, small.files, small.write_seconds, small.bare.insert_seconds);
    for (const Result& r : results) {
        if (r.started)
            std::printf("%-10s %6d %9.4f %14.4f\n", r.name, r.files, r.write_seconds, r.bare.insert_seconds);
    }
}

void print_search(const std::vector<Result>& results)
{
    std::printf("\n3. search: Return in the search box until the viewer selects the only match, in the\n"
                "   oldest post, median of %d, against EM_FINDTEXTW on the bare control (target: ratio at\n"
                "   most 1.5); bare select: the bare control selecting the match and painting, for comparison\n",
                SEARCH_REPEATS);
    std::printf("%-10s %10s %10s %9s %6s %15s\n", "story", "search s", "bare s", "ratio", "", "bare select s");
    for (const Result& r : results) {
        if (!r.started)
            continue;
        if (!r.searched) {
            std::printf("%-10s   gave up: no match selected within %u s\n", r.name,
                        static_cast<unsigned>(CASE_LIMIT_MS / 1000));
            continue;
        }
        const double ratio = r.search_seconds / r.bare.find_seconds;
        std::printf("%-10s %10.4f %10.4f %9.2f %6s %15.4f\n", r.name, r.search_seconds, r.bare.find_seconds, ratio,
                    verdict(ratio, 1.5), r.bare.select_seconds);
    }
}

void print_memory(const std::vector<Result>& results, const Result& empty)
{
    const double mib = 1024.0 * 1024.0;
    std::printf("\n4. peak memory after start-up, minus the program with an empty story, per byte of the\n"
                "   story's UTF-16 text (target: at most 2.5); bare: the bare control's private memory\n"
                "   while holding the text, per byte, for comparison; above bare: the peak private growth\n"
                "   less the bare control's, per byte (target: at most 1)\n");
    std::printf("%-10s %11s %14s %9s %6s %14s %9s %6s %7s %12s\n", "story", "UTF-16 MiB", "peak private", "ratio", "",
                "peak working", "ratio", "", "bare", "above bare");
    std::printf("%-10s %11.2f %10.1f MiB %9s %6s %10.1f MiB %9s %6s\n", "empty", 0.0,
                empty.memory.peak_private / mib, "-", "", empty.memory.peak_working_set / mib, "-", "");
    for (const Result& r : results) {
        if (!r.started)
            continue;
        const double text_bytes = 2 * r.characters;
        const double private_ratio = (r.memory.peak_private - empty.memory.peak_private) / text_bytes;
        const double working_ratio = (r.memory.peak_working_set - empty.memory.peak_working_set) / text_bytes;
        const double above_bare = private_ratio - r.bare.private_growth / text_bytes;
        std::printf("%-10s %11.2f %10.1f MiB %9.2f %6s %10.1f MiB %9.2f %6s %7.2f %7.2f %4s\n", r.name,
                    text_bytes / mib, r.memory.peak_private / mib, private_ratio, verdict(private_ratio, 2.5),
                    r.memory.peak_working_set / mib, working_ratio, verdict(working_ratio, 2.5),
                    r.bare.private_growth / text_bytes, above_bare, verdict(above_bare, 1.0));
    }
}

void print_shapes(const std::vector<Result>& results, const Result& empty)
{
    std::printf("\n5. long paragraphs: the newest time file one post of 32 KiB, as one paragraph of one letter,\n"
                "   of short words, or as 70-character lines; alone or above 998 full files. From the window's\n"
                "   showing, the longest a key typed every %u ms waited, against what the bare control takes\n"
                "   to lay out and paint the longest paragraph once (target: at most 50 ms beyond it); from\n"
                "   the window's showing until the whole story is in, against the bare control streaming it\n"
                "   in one call (target: at most 1.1; the keys typed meanwhile make this at least about\n"
                "   0.1 s); ready to type against the empty diary (target: at most 1.1)\n",
                static_cast<unsigned>(KEY_PAUSE_MS));
    std::printf("%-14s %6s %11s %13s %10s %6s %9s %8s %6s %6s %8s %6s %6s\n", "newest file", "files",
                "longest ms", "paragraph ms", "beyond ms", "", "arrival s", "bare s", "ratio", "", "ready", "", "keys");
    for (const Result& r : results) {
        if (!r.started) {
            std::printf("%-14s %6d   gave up: not shown within %u s\n", r.name, r.files,
                        static_cast<unsigned>(CASE_LIMIT_MS / 1000));
            continue;
        }
        const Loading& l = r.loading;
        const double beyond = l.longest_wait_ms - 1000 * r.paragraph_seconds;
        const double arrival = r.start_seconds - l.shown_seconds;
        const double whole = arrival / r.bare.stream_seconds;
        const double ready = l.key_seconds / empty.loading.key_seconds;
        std::printf("%-14s %6d %11.1f %13.1f %10.1f %6s %9.3f %8.3f %6.2f %6s %8.2f %6s %6d\n", r.name, r.files,
                    l.longest_wait_ms, 1000 * r.paragraph_seconds, beyond, verdict(beyond, 50), arrival,
                    r.bare.stream_seconds, whole, verdict(whole, 1.1), ready, verdict(ready, 1.1), l.key_presses);
    }
}

// The three shapes of newest file, alone and above 998 full files.
std::vector<Result> run_shapes(int* status)
{
    std::vector<Result> results;
    for (int files : {1, STORY_FILE_LIMIT}) {
        for (const ShapeCase& shape : SHAPES) {
            results.push_back(run_case(shape.name, files, false, nullptr, shape.shape));
            const Result& r = results.back();
            if (r.written && r.started && r.same_length)
                continue;
            std::printf("%s, %d files: %s\n", r.name, files,
                        !r.written   ? "the story could not be written"
                        : !r.started ? "the program did not show the whole story in time"
                                     : "the app's reading or the bare control's text differ from the story");
            *status = 1;
        }
    }
    return results;
}

// Only the reading of the largest story, without starting the program.
int read_only()
{
    const std::wstring folder = journal_new_folder();
    Story story = {};
    if (folder.empty() || !story_write(folder, STORY_FILE_LIMIT, story)) {
        std::printf("the story could not be written\n");
        return 1;
    }
    const ReadFigures figures = measure_reading(folder + L"quietstory\\", story);
    journal_remove_folder(folder);
    print_reading({{"999 files", figures}});
    return figures.measured && figures.same ? 0 : 1;
}

}  // namespace

// With --read-only only the reading of the story is measured, with --loading only what a
// person meets while the story arrives (the 4 MiB story and the long paragraphs), with
// --ready only the 4 MiB story's part of that; --read-peak is the child process that measures the peak memory of one way of
// reading.
int main()
{
    const LARGE_INTEGER begun = now();
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!file_start()) {
        std::printf("cannot start the file service\n");
        return 1;
    }
    if (count >= 2 && std::wstring(arguments[1]) == READ_CHILD)
        return count == 6 ? read_child(arguments[2], std::wstring(arguments[4]) + L"\\", _wtoi(arguments[3]),
                                       arguments[5])
                          : 2;
    if (count == 2 && std::wstring(arguments[1]) == L"--read-only")
        return read_only();
    if (!register_bare_class()) {
        std::printf("cannot load the rich edit library\n");
        return 1;
    }
    std::printf("the journal with stories of growing size; every time is a ratio to a reference of the same run\n");
    const Result empty = run_case("empty", 0, false, nullptr);
    const Result small = run_case("1 file", 1, false, L"Time-001.txt");
    if (!empty.started || !small.started) {
        std::printf("the program did not start with an empty or a one-file story\n");
        return 1;
    }
    std::vector<Result> results;
    int status = 0;
    const std::wstring mode = count == 2 ? arguments[1] : L"";
    if (mode == L"--loading" || mode == L"--ready") {
        results.push_back(run_case(CASES[1].name, CASES[1].files, false, nullptr));
        print_loading(results, empty, small);
        if (mode == L"--loading")
            print_shapes(run_shapes(&status), empty);
        return status;
    }
    for (const StoryCase& story_case : CASES) {
        const bool largest = story_case.files == STORY_FILE_LIMIT;
        results.push_back(run_case(story_case.name, story_case.files, true, largest ? L"Time-999.txt" : nullptr));
        const Result& r = results.back();
        if (!r.written) {
            std::printf("%s: the story could not be written\n", r.name);
            return 1;
        }
        if (r.started && (!r.same_length || !r.found_same)) {
            std::printf("%s: the app's reading, the bare control's text or its match differ from the story\n",
                        r.name);
            status = 1;
        }
        if (!r.started)
            break;
    }
    const Result none = {};
    const Result& large = results.back().files == STORY_FILE_LIMIT ? results.back() : none;
    print_loading(results, empty, small);
    print_start_up(results, empty);
    print_post(small, large, results);
    print_search(results);
    print_memory(results, empty);
    std::vector<std::pair<const char*, ReadFigures>> reading;
    for (const Result& r : results)
        reading.emplace_back(r.name, r.read);
    print_reading(reading);
    print_shapes(run_shapes(&status), empty);
    std::printf("\nwhole run: %.0f s\n", seconds_since(begun));
    return status;
}
