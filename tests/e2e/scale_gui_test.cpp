// Every window at every display scale. Run in prefixes whose display is at 96, 120, 144 and
// 192 dots per inch: the example definition (every tab shown in turn) and the journal's
// window, with real controls, against their rectangles at 96 kept beside the test; a window
// told of a new scale, as the platform tells it; DialogPreview's --scale.
#include "journal_helpers.h"
#include "preview_process.h"

#include "app/journal_definition.h"
#include "dialog/dialog.h"
#include "images/draw.h"
#include "images/image.h"
#include "services/file.h"
#include "toolkit/control.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"
#include "toolkit/requester.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Rounding in each level of nesting may move a rectangle by this much per level.
constexpr int SLACK_PER_LEVEL = 3;
constexpr int PLATFORM_SLACK_PERCENT = 3;
constexpr int BASE_DPI = 96;

struct Placed {
    std::string kind;
    RECT rect;   // in the top-level window's client coordinates
    int depth;   // levels of windows under the top-level one
    bool bars;   // shows a scroll bar of its own
};

struct Shot {
    SIZE client;
    std::vector<Placed> windows;
};

int display_dpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

void settle()
{
    for (int round = 0; round < 3; ++round) {
        while (event_wait(0) != 0) {
        }
        while (event_pop() != 0) {
        }
        Sleep(10);
    }
}

std::string class_of(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof(name));
    return name;
}

int depth_under(HWND top, HWND window)
{
    int depth = 0;
    for (HWND at = window; at && at != top; at = GetParent(at))
        ++depth;
    return depth;
}

struct Walk {
    HWND top;
    Shot* shot;
};

BOOL CALLBACK take_window(HWND window, LPARAM data)
{
    auto* walk = reinterpret_cast<Walk*>(data);
    // The tab strip's arrows and the date field's check box are the platform's own parts,
    // placed and sized by it as it pleases.
    std::string kind = class_of(window);
    std::string parent = class_of(GetParent(window));
    if ((kind == "msctls_updown32" && parent == "SysTabControl32") || parent == "SysDateTimePick32")
        return TRUE;
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, walk->top, reinterpret_cast<POINT*>(&rect), 2);
    auto style = GetWindowLongPtrW(window, GWL_STYLE);
    bool bars = IsWindowVisible(window) && (style & (WS_VSCROLL | WS_HSCROLL)) != 0;
    walk->shot->windows.push_back({kind, rect, depth_under(walk->top, window), bars});
    return TRUE;
}

Shot take_shot(HWND top)
{
    Shot shot;
    RECT client = {};
    GetClientRect(top, &client);
    shot.client = {client.right, client.bottom};
    Walk walk = {top, &shot};
    EnumChildWindows(top, take_window, reinterpret_cast<LPARAM>(&walk));
    return shot;
}

std::string write_shot(const Shot& shot)
{
    std::ostringstream out;
    out << "window " << shot.client.cx << " " << shot.client.cy << "\n";
    for (const Placed& placed : shot.windows)
        out << placed.kind << " " << placed.rect.left << " " << placed.rect.top << " " << placed.rect.right << " "
            << placed.rect.bottom << " " << placed.depth << " " << placed.bars << "\n";
    return out.str();
}

// Every shot of a text of shots, each starting with its "window" line.
std::vector<Shot> read_shots(const std::string& text)
{
    std::vector<Shot> shots;
    std::istringstream in(text);
    std::string kind;
    Placed placed = {};
    while (in >> kind) {
        if (kind == "window") {
            shots.emplace_back();
            in >> shots.back().client.cx >> shots.back().client.cy;
        } else if (!shots.empty() && in >> placed.rect.left >> placed.rect.top >> placed.rect.right >>
                   placed.rect.bottom >> placed.depth >> placed.bars) {
            placed.kind = kind;
            shots.back().windows.push_back(placed);
        }
    }
    return shots;
}

// The rectangles of a window kept beside the test program, each named after the display's
// resolution they were taken at; QN_SCALE_WRITE writes the ones of this display there (to
// make them anew from a build known to be right).
bool reference(const std::string& name, const std::string& now, std::string* kept)
{
    std::wstring path = build_file(L"tests\\scale_reference\\") + std::wstring(name.begin(), name.end()) + L".txt";
    std::string here = "_" + std::to_string(display_dpi());
    bool taken_here = name.size() > here.size() && name.compare(name.size() - here.size(), here.size(), here) == 0;
    if (std::getenv("QN_SCALE_WRITE") && taken_here && !now.empty()) {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << now;
        *kept = now;
        return true;
    }
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    *kept = text.str();
    return in.good() || !kept->empty();
}

// Text measured with the window's own font.
SIZE text_extent(HWND window, const std::wstring& text, int wrap_width)
{
    HDC context = GetDC(window);
    auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(context, font ? font : GetStockObject(SYSTEM_FONT));
    RECT box = {0, 0, wrap_width > 0 ? wrap_width : 100000, 0};
    UINT flags = DT_CALCRECT | DT_NOPREFIX | (wrap_width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(context, text.c_str(), static_cast<int>(text.size()), &box, flags);
    SelectObject(context, old);
    ReleaseDC(window, context);
    return {box.right, box.bottom};
}

std::wstring text_of(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// What of the window's text the window has no room for; empty when it all fits.
std::string text_overflow(HWND window, int dpi)
{
    std::string kind = class_of(window);
    std::wstring text = text_of(window);
    RECT client = {};
    GetClientRect(window, &client);
    auto style = GetWindowLongPtrW(window, GWL_STYLE);
    SIZE need = {};
    if (kind == "Static" && !text.empty() && (style & SS_TYPEMASK) <= SS_RIGHT) {
        need = text_extent(window, text, client.right);
        need.cx = 0;
    } else if (kind == "Button" && !text.empty()) {
        need = text_extent(window, text, 0);
        auto type = style & BS_TYPEMASK;
        bool mark = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_3STATE ||
                    type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
        if (mark)
            need.cx += MulDiv(13, dpi, BASE_DPI);
        if (type == BS_GROUPBOX)
            need.cy = 0;
    } else if (kind == "Edit" && !(style & ES_MULTILINE)) {
        need = text_extent(window, L"Hg", 0);
        need.cx = 0;
    } else {
        return {};
    }
    if (need.cx <= client.right && need.cy <= client.bottom)
        return {};
    return kind + " '" + std::string(text.begin(), text.end()) + "' needs " + std::to_string(need.cx) + "x" +
           std::to_string(need.cy) + " in " + std::to_string(client.right) + "x" + std::to_string(client.bottom);
}

// Shots against kept ones, scaled from `from_dpi` to `dpi`: the window within the rounding of
// each level of nesting and the platform's own measures (a month calendar's), which do not
// follow the scale exactly; no new scroll bar. `grown` asks only that every window grow with
// the scale (a text's measure may need more); else each edge must be near.
void expect_scaled(const std::string& now_text, const std::string& kept_text, int from_dpi, int dpi, bool grown,
                   const std::string& what)
{
    std::vector<Shot> now = read_shots(now_text);
    std::vector<Shot> kept = read_shots(kept_text);
    ASSERT_EQ(now.size(), kept.size()) << what;
    for (std::size_t s = 0; s < kept.size(); ++s) {
        ASSERT_EQ(now[s].windows.size(), kept[s].windows.size()) << what;
        int deepest = 1;
        for (const Placed& placed : kept[s].windows)
            deepest = std::max(deepest, placed.depth);
        auto scaled = [&](int value) { return MulDiv(value, dpi, from_dpi); };
        auto slack = [&](int size) { return SLACK_PER_LEVEL * deepest + size * PLATFORM_SLACK_PERCENT / 100; };
        int wide = scaled(kept[s].client.cx);
        int high = scaled(kept[s].client.cy);
        EXPECT_NEAR(now[s].client.cx, wide, slack(wide)) << what << " shot " << s;
        EXPECT_NEAR(now[s].client.cy, high, slack(high)) << what << " shot " << s;
        for (std::size_t i = 0; i < kept[s].windows.size(); ++i) {
            const Placed& was = kept[s].windows[i];
            const Placed& is = now[s].windows[i];
            std::string where = what + " shot " + std::to_string(s) + " window " + std::to_string(i) + " " + is.kind;
            EXPECT_FALSE(is.bars && !was.bars) << where << " shows a new scroll bar";
            int width = scaled(was.rect.right - was.rect.left);
            int height = scaled(was.rect.bottom - was.rect.top);
            if (grown) {
                // The spin's arrows, the check boxes and the scroll bars among them.
                EXPECT_GE(is.rect.right - is.rect.left, width - std::min(slack(width), width / 4)) << where;
                EXPECT_GE(is.rect.bottom - is.rect.top, height - std::min(slack(height), height / 4)) << where;
                continue;
            }
            int within = SLACK_PER_LEVEL * was.depth + slack(std::max(wide, high)) - SLACK_PER_LEVEL * deepest;
            EXPECT_LE(std::abs(is.rect.left - scaled(was.rect.left)), within) << where;
            EXPECT_LE(std::abs(is.rect.top - scaled(was.rect.top)), within) << where;
            EXPECT_LE(std::abs(is.rect.right - scaled(was.rect.right)), within) << where;
            EXPECT_LE(std::abs(is.rect.bottom - scaled(was.rect.bottom)), within) << where;
        }
    }
}

int gui_width(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return client.right;
}

class ScaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        SetProcessDPIAware();
        ASSERT_TRUE(event_start() && event_window_start() && window_start() && control_start() && xml_start() &&
                    dialog_start() && font_start() && file_start() && image_start());
    }

    void TearDown() override { dialog_free(GK_ANY); }

    HWND open(const std::u16string& text)
    {
        dialog = dialog_create(GK_ANY);
        ObjectNumber document = xml_parse_string(GK_ANY, text.c_str());
        bool opened = dialog_open(dialog, document, nullptr) == 1;
        xml_free(document);
        EXPECT_TRUE(opened) << dialog_error(dialog).size();
        auto window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
        if (window)
            ShowWindow(window, SW_SHOWNOACTIVATE);
        settle();
        return window;
    }

    HWND open_example()
    {
        std::ifstream in(std::filesystem::path(build_file(L"demo\\example_dialog.xml")), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string text = bytes.str();
        return open(std::u16string(text.begin(), text.end()));
    }

    // The journal's window as the journal opens it: every control in Verdana 9 points.
    HWND open_journal()
    {
        ObjectNumber font = font_load(GK_ANY, u"Verdana", 9);
        control_set_font(-1, reinterpret_cast<std::intptr_t>(font_handle(font)));
        HWND window = open(JOURNAL_DEFINITION);
        control_set_font(-1, CONTROL_FONT_DEFAULT);
        return window;
    }

    // One shot per tab of every panel, each tab shown in turn; every text checked to fit.
    std::string shots_of_every_tab(HWND window, int dpi)
    {
        std::string all = write_shot(take_shot(window));
        for (HWND child : descendants(window)) {
            if (class_of(child) != "SysTabControl32")
                continue;
            auto panel = static_cast<ObjectNumber>(GetWindowLongPtrW(child, GWLP_ID));
            int tabs = static_cast<int>(SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
            for (int tab = 0; tab < tabs; ++tab) {
                control_set_state(panel, tab);
                settle();
                for (HWND shown : descendants(window)) {
                    if (IsWindowVisible(shown)) {
                        EXPECT_EQ(text_overflow(shown, dpi), "") << "tab " << tab;
                    }
                }
                all += write_shot(take_shot(window));
            }
            control_set_state(panel, 0);
        }
        return all;
    }

    // Compares each shot with the kept one: equal at 96, scaled elsewhere.
    void check_against_reference(const std::string& name, const std::string& shots, int dpi)
    {
        std::string kept;
        ASSERT_TRUE(reference(name + "_96", shots, &kept)) << name;
        if (dpi == BASE_DPI)
            EXPECT_EQ(shots, kept) << name;
        else
            expect_scaled(shots, kept, BASE_DPI, dpi, true, name);
    }

    ObjectNumber dialog = 0;
};

TEST_F(ScaleTest, ExampleAtThisDisplaysScaleIsTheDesignScaledWithEveryTextInItsRoom)
{
    int dpi = display_dpi();
    HWND window = open_example();
    ASSERT_NE(window, nullptr);
    check_against_reference("example", shots_of_every_tab(window, dpi), dpi);
}

TEST_F(ScaleTest, JournalAtThisDisplaysScaleIsTheDesignScaledWithEveryTextInItsRoom)
{
    int dpi = display_dpi();
    HWND window = open_journal();
    ASSERT_NE(window, nullptr);
    check_against_reference("journal", shots_of_every_tab(window, dpi), dpi);
}

// The rectangles of the example built at 96 and at 192 are kept: a window built at one and
// changed to the other must equal the ones kept for that other, and changed back, its own.
TEST_F(ScaleTest, ExampleChangedToAnotherScaleEqualsOneBuiltThereAndKeepsWhatWasTyped)
{
    int dpi = display_dpi();
    int other = dpi == 192 ? BASE_DPI : 192;
    HWND window = open_example();
    ASSERT_NE(window, nullptr);
    std::string built_here = write_shot(take_shot(window));
    HWND field = static_cast<HWND>(control_os_handle(dialog_control(dialog, u"txtName")));
    ASSERT_NE(field, nullptr);
    SetWindowTextW(field, L"Typed text");
    SendMessageW(field, EM_SETSEL, 2, 7);
    SetForegroundWindow(window);
    SetFocus(field);
    settle();
    ASSERT_EQ(GetFocus(), field);

    RECT suggested = {};
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    settle();
    std::string changed = write_shot(take_shot(window));
    std::string kept_here;
    std::string kept_other;
    if (dpi == BASE_DPI || dpi == 192) {
        ASSERT_TRUE(reference("example_window_" + std::to_string(dpi), built_here, &kept_here));
        EXPECT_EQ(built_here, kept_here);
    }
    ASSERT_TRUE(reference("example_window_" + std::to_string(other), "", &kept_other));
    expect_scaled(changed, kept_other, other, other, false, "changed to " + std::to_string(other));
    // Kept for the preview's --scale 200, which must show on this display what this change showed.
    if (dpi == BASE_DPI) {
        std::string kept_changed;
        ASSERT_TRUE(reference("example_changed_to_192_96", changed, &kept_changed));
        EXPECT_EQ(changed, kept_changed);
    }
    EXPECT_EQ(text_of(field), L"Typed text");
    DWORD from = 0;
    DWORD to = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 2u);
    EXPECT_EQ(to, 7u);
    EXPECT_EQ(GetFocus(), field);

    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    settle();
    EXPECT_EQ(write_shot(take_shot(window)), built_here);
}

// A hidden window told of a new scale is laid out for it and stays hidden.
TEST_F(ScaleTest, HiddenWindowStaysHiddenThroughAScaleChange)
{
    dialog = dialog_create(GK_ANY);
    ObjectNumber document =
        xml_parse_string(GK_ANY, u"<window name='w' flags='#GK_Window_Invisible'><button name='b' text='Wide' width='400'/></window>");
    ASSERT_EQ(dialog_open(dialog, document, nullptr), 1);
    xml_free(document);
    auto window = static_cast<HWND>(window_os_handle(dialog_window(dialog)));
    settle();
    ASSERT_FALSE(IsWindowVisible(window));
    int width = gui_width(window);
    RECT suggested = {};
    GetWindowRect(window, &suggested);
    int dpi = display_dpi() == 192 ? BASE_DPI : 192;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    settle();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_NE(gui_width(window), width);
}

// A window made larger than its content needs keeps its proportion through a scale change.
TEST_F(ScaleTest, WindowMadeLargerKeepsItsProportionThroughAScaleChange)
{
    HWND window = open(u"<window name='w'><button name='b' text='Wide' width='400'/></window>");
    ASSERT_NE(window, nullptr);
    window_resize(dialog_window(dialog), UNCHANGED, UNCHANGED, gui_width(window) + 100, UNCHANGED);
    settle();
    int width = gui_width(window);
    RECT suggested = {};
    GetWindowRect(window, &suggested);
    int dpi = display_dpi();
    int other = dpi == 192 ? BASE_DPI : 192;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    settle();
    EXPECT_EQ(gui_width(window), MulDiv(width, other, dpi));
}

// A picture covers its size in design pixels: each of its pixels a block of the scale,
// smoothly scaled (each block's middle nearest to its own pixel's colour), exact at 96.
TEST_F(ScaleTest, PictureShowsEachPixelAsABlockOfTheScale)
{
    constexpr int SIDE = 4;
    ObjectNumber picture = image_create(GK_ANY, SIDE, SIDE, 0);
    ASSERT_NE(picture, 0);
    ASSERT_TRUE(draw_begin_image(picture));
    std::vector<COLORREF> colors;
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            colors.push_back(RGB(x * 80, y * 80, (x + y) % 2 ? 255 : 0));
            draw_pixel(x, y, static_cast<std::int32_t>(colors.back()));
        }
    }
    draw_end();
    HWND window =
        open(u"<window name='w' margin='0'><vbox expand='no'><hbox expand='no'><image name='img'/></hbox></vbox></window>");
    ASSERT_NE(window, nullptr);
    ObjectNumber shown = dialog_control(dialog, u"img");
    control_set_attribute(shown, IMAGE_ATTRIBUTE_PICTURE, picture);
    dialog_refresh(dialog);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    auto control = static_cast<HWND>(control_os_handle(shown));
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    settle();

    int dpi = display_dpi();
    RECT client = {};
    GetClientRect(control, &client);
    EXPECT_EQ(client.right, MulDiv(SIDE, dpi, BASE_DPI));
    HDC context = GetDC(control);
    for (int y = 0; y < SIDE; ++y) {
        for (int x = 0; x < SIDE; ++x) {
            // The device pixel under the middle of the picture's pixel.
            COLORREF seen = GetPixel(context, (2 * x + 1) * dpi / (2 * BASE_DPI), (2 * y + 1) * dpi / (2 * BASE_DPI));
            auto distance = [seen](COLORREF color) {
                return std::abs(GetRValue(seen) - GetRValue(color)) + std::abs(GetGValue(seen) - GetGValue(color)) +
                       std::abs(GetBValue(seen) - GetBValue(color));
            };
            COLORREF own = colors[static_cast<std::size_t>(y * SIDE + x)];
            if (dpi == BASE_DPI) {
                EXPECT_EQ(seen, own) << x << "," << y;
            }
            for (COLORREF other : colors) {
                EXPECT_LE(distance(own), distance(other)) << "pixel " << x << "," << y;
            }
        }
    }
    ReleaseDC(control, context);
    image_free(picture);
}

// The journal's question for a name or a password holds its texts at every scale.
TEST_F(ScaleTest, InputRequesterHoldsItsTextsAtThisScale)
{
    ASSERT_TRUE(requester_start());
    int dpi = display_dpi();
    std::string overflow = "no requester seen";
    std::thread watcher([&overflow, dpi] {
        for (int i = 0; i < 400; ++i) {
            HWND requester = FindWindowW(L"InputRequester", L"Rename");
            if (requester && FindWindowExW(requester, nullptr, L"Button", nullptr)) {
                overflow.clear();
                for (HWND child : descendants(requester))
                    overflow += text_overflow(child, dpi);
                PostMessageW(requester, WM_CLOSE, 0, 0);
                return;
            }
            Sleep(25);
        }
    });
    requester_input(u"Rename", u"Enter new name:", u"A note with a long name");
    watcher.join();
    EXPECT_EQ(overflow, "");
}

// DialogPreview --scale 200 shows on this display what a display at 200 % shows.
TEST_F(ScaleTest, PreviewAtScale200EqualsTheExampleBuiltAt192)
{
    if (display_dpi() != BASE_DPI)
        GTEST_SKIP() << "the preview's scale is checked on a display at 100 %";
    Preview preview(L"--scale 200 example_dialog.xml");
    ASSERT_TRUE(preview.started());
    HWND window = wait_for_window(preview, L"Every element");
    ASSERT_NE(window, nullptr) << preview.output();
    std::string kept;
    ASSERT_TRUE(reference("example_window_192", "", &kept));
    std::string changed;
    ASSERT_TRUE(reference("example_changed_to_192_96", "", &changed));
    ASSERT_EQ(read_shots(changed).size(), 1u);
    SIZE expected = read_shots(changed).front().client;
    // The scale is given once the window shows; wait until it has taken it.
    bool scaled = false;
    for (int i = 0; i < 200 && !scaled; ++i) {
        RECT client = {};
        GetClientRect(window, &client);
        scaled = client.right == expected.cx && client.bottom == expected.cy;
        Sleep(25);
    }
    EXPECT_TRUE(scaled);
    Sleep(200);
    std::string shown = write_shot(take_shot(window));
    EXPECT_EQ(shown, changed);
    expect_scaled(shown, kept, 192, 192, false, "--scale 200");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(10000), 0);
}

}  // namespace
