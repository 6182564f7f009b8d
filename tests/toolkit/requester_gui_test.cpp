#include "toolkit/requester.h"

#include "toolkit/event.h"
#include "toolkit/window.h"

#include "tests/support/gui_input.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace {

// The close box: the caption point that the window itself reports as HTCLOSE.
POINT close_box_of(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    for (int y = rect.top; y < rect.top + 40; y += 2) {
        for (int x = rect.right - 1; x > rect.right - 80; x -= 2) {
            if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE)
                return {x, y};
        }
    }
    return {-1, -1};
}

// The requester once it is in the foreground with the focus in its input field (or, for
// a message box, on one of its buttons).
HWND wait_for_requester(const wchar_t* class_name, const wchar_t* title, DWORD ui_thread)
{
    HWND found = nullptr;
    bool ready = gui_poll_until([&] {
        found = FindWindowW(class_name, title);
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        if (!found || GetForegroundWindow() != found || !GetGUIThreadInfo(ui_thread, &info))
            return false;
        HWND edit = FindWindowExW(found, nullptr, L"Edit", nullptr);
        return edit ? info.hwndFocus == edit : IsChild(found, info.hwndFocus) != FALSE;
    });
    return ready ? found : nullptr;
}

// Answers a requester from a thread of its own while the test's thread is inside it. A
// requester the answer did not close is closed by messages, so a failing test cannot hang.
class Answerer {
public:
    Answerer(const wchar_t* class_name, const wchar_t* title, std::function<void(HWND)> answer)
        : thread_([=, this, ui_thread = GetCurrentThreadId()] {
              HWND found = wait_for_requester(class_name, title, ui_thread);
              if (found)
                  answer(found);
              closed_ = found && gui_poll_until([&] { return !IsWindow(found); });
              if (HWND left = closed_ ? nullptr : FindWindowW(class_name, title)) {
                  PostMessageW(left, WM_COMMAND, IDNO, 0);
                  PostMessageW(left, WM_CLOSE, 0, 0);
              }
          })
    {
    }
    ~Answerer() { answered(); }

    // Waits for the answering thread; true when the answer closed the requester.
    bool answered()
    {
        if (thread_.joinable())
            thread_.join();
        return closed_;
    }

private:
    bool closed_ = false;
    std::thread thread_;
};

int g_clicks = 0;
int g_ticks = 0;

void on_click()
{
    ++g_clicks;
}

void on_tick()
{
    ++g_ticks;
}

class RequesterGuiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_TRUE(gui_start_toolkit());
        ASSERT_EQ(requester_start(), 1);
    }

    void SetUp() override
    {
        ASSERT_NE(window_open(1, 20, 20, 320, 200, u"Main", GK_Window_SystemMenu, nullptr), 0);
        main_ = static_cast<HWND>(window_os_handle(1));
        ASSERT_TRUE(gui_bring_to_front(main_));
        g_clicks = 0;
        g_ticks = 0;
    }

    void TearDown() override
    {
        window_close(1);
        gui_wait_events_for(50);
        gui_drain_queue();
    }

    HWND main_ = nullptr;
};

TEST_F(RequesterGuiTest, MessageRequesterReturnsTheButtonPressedOverADisabledOwner)
{
    HWND owner = nullptr;
    bool shows_text = false;
    bool owner_disabled = false;
    Answerer yes(L"#32770", L"Unsaved Note ('a')", [&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        owner_disabled = !IsWindowEnabled(owner);
        shows_text = FindWindowExW(box, nullptr, L"Static", L"Quit and lose changes?") != nullptr;
        gui_press_key('Y');
    });
    EXPECT_EQ(requester_message(u"Unsaved Note ('a')", u"Quit and lose changes?", 52), IDYES);
    EXPECT_TRUE(yes.answered());
    EXPECT_EQ(owner, main_);
    EXPECT_TRUE(owner_disabled);
    EXPECT_TRUE(shows_text);
    EXPECT_TRUE(IsWindowEnabled(main_));

    Answerer no(L"#32770", L"Delete", [](HWND) { gui_press_key('N'); });
    EXPECT_EQ(requester_message(u"Delete", u"Delete the note?", 20), IDNO);
    EXPECT_TRUE(no.answered());
}

TEST_F(RequesterGuiTest, InputRequesterReturnsTheTypedTextBeyondTheBasicPlaneToo)
{
    const std::u16string typed = u"Tageb\u00fcch \U0001F600 \u4E2D\U00020BB7!";
    for (int flags : {0, REQUESTER_PASSWORD}) {
        bool shows_message = false;
        bool password_field = false;
        Answerer answer(L"InputRequester", L"New Note", [&](HWND requester) {
            shows_message = FindWindowExW(requester, nullptr, L"Static", L"Note name:") != nullptr;
            password_field = GetWindowLongPtrW(GetDlgItem(requester, 10), GWL_STYLE) & ES_PASSWORD;
            gui_type_text(typed);
            gui_press_key(VK_RETURN);
        });
        EXPECT_EQ(requester_input(u"New Note", u"Note name:", nullptr, flags), typed);
        EXPECT_TRUE(answer.answered());
        EXPECT_TRUE(shows_message);
        EXPECT_EQ(password_field, flags == REQUESTER_PASSWORD);
        EXPECT_EQ(FindWindowW(L"InputRequester", nullptr), nullptr);
    }
}

TEST_F(RequesterGuiTest, EscapeCloseBoxAndEmptyConfirmationAllGiveEmptyText)
{
    DWORD start = 1;
    DWORD end = 0;
    const std::function<void(HWND)> endings[] = {
        [](HWND) {
            gui_type_text(u"kept?");
            gui_press_key(VK_ESCAPE);
        },
        [](HWND requester) {
            gui_type_text(u"kept?");
            gui_click_screen(close_box_of(requester));
        },
        [](HWND requester) { gui_click_screen(gui_window_center(GetDlgItem(requester, 1000))); },
        // The default text has the caret after its end, nothing selected.
        [&](HWND requester) {
            SendMessageW(GetDlgItem(requester, 10), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            for (int i = 0; i < 3; ++i)
                gui_press_key(VK_BACK);
            gui_poll_until([&] { return GetWindowTextLengthW(GetDlgItem(requester, 10)) == 0; });
            gui_press_key(VK_RETURN);
        },
    };
    for (int index = 0; index < 4; ++index) {
        Answerer answer(L"InputRequester", L"Ask", endings[index]);
        EXPECT_EQ(requester_input(u"Ask", u"Name:", index == 3 ? u"abc" : u""), u"") << "ending " << index;
        EXPECT_TRUE(answer.answered()) << "ending " << index;
    }
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
}

TEST_F(RequesterGuiTest, WhileAnInputRequesterIsUpTheProgramsWindowsWaitButTimersRun)
{
    // A topmost window of the program over the middle of the screen, where the requester opens.
    HWND topmost = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 340, 262,
                                   600, 500, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(gui_bring_to_front(main_));
    event_bind_window(EVENT_LEFT_CLICK, on_click, 1);
    event_bind_item(EVENT_TIMER, on_tick, 1, 5);
    ASSERT_EQ(timer_add(1, 5, 20), 1);

    bool main_disabled = false;
    bool topmost_disabled = false;
    bool topmost_lowered = false;
    bool requester_on_top = false;
    bool ticked = false;
    Answerer answer(L"InputRequester", L"Ask", [&](HWND requester) {
        main_disabled = !IsWindowEnabled(main_);
        topmost_disabled = !IsWindowEnabled(topmost);
        topmost_lowered = !(GetWindowLongPtrW(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
        requester_on_top = gui_poll_until([&] {
            HWND under_button = WindowFromPoint(gui_window_center(GetDlgItem(requester, 1000)));
            return GetAncestor(under_button, GA_ROOT) == requester;
        });
        ticked = gui_poll_until([] { return g_ticks > 2; });
        // Input is taken in order: once Return has answered, the click was refused.
        gui_click_screen(gui_window_center(main_));
        SetForegroundWindow(requester);
        gui_type_text(u"ok");
        gui_press_key(VK_RETURN);
    });
    EXPECT_EQ(requester_input(u"Ask", u"Name:", u""), u"ok");
    EXPECT_TRUE(answer.answered());
    timer_remove(1, 5);
    gui_wait_events_for(50);
    EXPECT_TRUE(main_disabled && topmost_disabled && topmost_lowered && requester_on_top && ticked);
    EXPECT_EQ(g_clicks, 0);

    // Afterwards everything is as before, and the same click reaches the main window.
    EXPECT_TRUE(IsWindowEnabled(main_) && IsWindowEnabled(topmost));
    EXPECT_TRUE(GetWindowLongPtrW(topmost, GWL_EXSTYLE) & WS_EX_TOPMOST);
    DestroyWindow(topmost);
    ASSERT_TRUE(gui_bring_to_front(main_));
    std::thread([&] { gui_click_screen(gui_window_center(main_)); }).join();
    EXPECT_TRUE(gui_wait_events_until([] { return g_clicks > 0; }, 20000));
    event_unbind_window(EVENT_LEFT_CLICK, on_click, 1);
    event_unbind(EVENT_TIMER, on_tick, 1, 5, -1);
}

int g_inner_answer = 0;

void on_tick_ask()
{
    timer_remove(1, 6);
    g_inner_answer = requester_message(u"Inner", u"Sure?", 52);
}

TEST_F(RequesterGuiTest, ARequesterOpenedByAHandlerUnderAnotherGivesBackOnlyWhatItTook)
{
    // A second window of the program, which the outer requester disables.
    ASSERT_NE(window_open(3, 700, 20, 200, 100, u"Second", GK_Window_SystemMenu, nullptr), 0);
    HWND second = static_cast<HWND>(window_os_handle(3));
    ASSERT_TRUE(gui_bring_to_front(main_));
    event_bind_item(EVENT_TIMER, on_tick_ask, 1, 6);
    ASSERT_EQ(timer_add(1, 6, 50), 1);

    DWORD ui_thread = GetCurrentThreadId();
    bool second_disabled_after_inner = false;
    Answerer outer(L"InputRequester", L"Outer", [&](HWND) {
        HWND box = wait_for_requester(L"#32770", L"Inner", ui_thread);
        gui_press_key('Y');
        gui_poll_until([&] { return !IsWindow(box); });
        second_disabled_after_inner = !IsWindowEnabled(second);
        if (wait_for_requester(L"InputRequester", L"Outer", ui_thread)) {
            gui_type_text(u"x");
            gui_press_key(VK_RETURN);
        }
    });
    EXPECT_EQ(requester_input(u"Outer", u"Name:", u""), u"x");
    EXPECT_TRUE(outer.answered());
    EXPECT_EQ(g_inner_answer, IDYES);
    EXPECT_TRUE(second_disabled_after_inner);
    EXPECT_TRUE(IsWindowEnabled(second) && IsWindowEnabled(main_));
    event_unbind(EVENT_TIMER, on_tick_ask, 1, 6, -1);
    window_close(3);
}

TEST_F(RequesterGuiTest, AQuitRequestClosesTheRequesterAndIsPassedOn)
{
    DWORD ui_thread = GetCurrentThreadId();
    Answerer answer(L"InputRequester", L"Ask", [&](HWND) { PostThreadMessageW(ui_thread, WM_QUIT, 5, 0); });
    EXPECT_EQ(requester_input(u"Ask", u"Name:", u"typed?"), u"");
    EXPECT_TRUE(answer.answered());
    EXPECT_TRUE(IsWindowEnabled(main_));
    MSG quit = {};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 5u);
}

TEST_F(RequesterGuiTest, NullTextsFailWithoutShowingAnything)
{
    EXPECT_EQ(requester_message(nullptr, u"text", 52), 0);
    EXPECT_EQ(requester_message(u"title", nullptr, 52), 0);
    EXPECT_EQ(requester_input(nullptr, u"Name:", u""), u"");
    EXPECT_EQ(requester_input(u"Ask", nullptr, u""), u"");
    EXPECT_TRUE(IsWindowEnabled(main_));
}

}  // namespace
