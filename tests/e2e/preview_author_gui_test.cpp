// DialogPreview as a definition's author uses it: --text fills a code editor that then takes
// real typing, a web view shows its fallback, a preview without Scintilla.dll beside it
// fails naming the file, and --watch opens the window again when the definition changes.
#include "journal_helpers.h"
#include "preview_process.h"

#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr char EDITOR_DEFINITION[] =
    "<window name='w' text='Author' flags='#GK_Window_SystemMenu'><vbox>"
    "<scintilla name='code' width='300' height='120'/>"
    "<web name='page' text='https://example.org/' width='300' height='80'/>"
    "</vbox></window>";

std::wstring quoted(const std::u16string& path)
{
    return L"\"" + std::wstring(path.begin(), path.end()) + L"\"";
}

// The first child window of the class, or null.
HWND child_of_class(HWND window, const wchar_t* class_name)
{
    return FindWindowExW(window, nullptr, class_name, nullptr);
}

TEST(PreviewAuthor, TextFillsACodeEditorThatTakesTypingBesideAWebView)
{
    TempFolder folder("qn-author");
    ASSERT_TRUE(raw_write(folder / u"editor.xml", EDITOR_DEFINITION));
    ASSERT_TRUE(raw_write(folder / u"code.txt", "\xEF\xBB\xBFint \xF0\x9F\x98\x80 = 1;\n"));
    Preview preview(L"--text code=" + quoted(folder / u"code.txt") + L" " + quoted(folder / u"editor.xml"));
    ASSERT_TRUE(preview.started());
    HWND window = wait_for_window(preview, L"Author");
    ASSERT_NE(window, nullptr) << preview.output();
    HWND editor = child_of_class(window, L"Scintilla");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(window_text(editor), L"int \U0001F600 = 1;\n");
    HWND page = child_of_class(window, L"Static");
    ASSERT_NE(page, nullptr);
    EXPECT_NE(window_text(page).find(L"https://example.org/"), std::wstring::npos);
    EXPECT_FALSE(preview.output_has("EVENT_GADGET code"));

    ASSERT_TRUE(gui_bring_to_front(window));
    gui_click_screen(gui_window_center(editor));
    gui_press_key(VK_END, false, true);
    gui_type_text(u"x");
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET code 768\n"); })) << preview.output();
    EXPECT_EQ(window_text(editor), L"int \U0001F600 = 1;\nx");
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
}

TEST(PreviewAuthor, WithoutTheComponentTheDefinitionFailsNamingIt)
{
    TempFolder folder("qn-author");
    ASSERT_TRUE(raw_write(folder / u"editor.xml", EDITOR_DEFINITION));
    std::u16string program = folder / u"DialogPreview.exe";
    std::wstring built = build_file(L"demo\\") + L"DialogPreview.exe";
    ASSERT_TRUE(CopyFileW(built.c_str(), reinterpret_cast<const wchar_t*>(program.c_str()), FALSE));
    Preview preview(quoted(folder / u"editor.xml"), std::wstring(program.begin(), program.end()));
    ASSERT_TRUE(preview.started());
    EXPECT_EQ(preview.exit_code(20000), 1);
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("Scintilla.dll"); })) << preview.output();
    EXPECT_TRUE(preview.output_has("'scintilla' control could not be created")) << preview.output();
    EXPECT_EQ(find_process_window(preview.process_id(), L"Author"), nullptr);
}

TEST(PreviewAuthor, WatchOpensTheChangedDefinitionInPlaceAndKeepsTheLastGoodOne)
{
    TempFolder folder("qn-author");
    auto definition = [](const char* label) {
        return std::string("<window text='Watched' flags='#GK_Window_SystemMenu'><vbox><text text='") + label +
               "'/></vbox></window>";
    };
    ASSERT_TRUE(raw_write(folder / u"watched.xml", definition("first")));
    Preview preview(L"--watch " + quoted(folder / u"watched.xml"));
    HWND window = wait_for_window(preview, L"Watched");
    ASSERT_NE(window, nullptr) << preview.output();
    SetWindowPos(window, nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT before = {};
    GetWindowRect(window, &before);

    ASSERT_TRUE(raw_write(folder / u"watched.xml", definition("second label")));
    ASSERT_TRUE(gui_poll_until([&] { return preview.output_has("The definition was opened again.\n"); }));
    HWND again = wait_for_window(preview, L"Watched");
    ASSERT_NE(again, nullptr);
    EXPECT_NE(FindWindowExW(again, nullptr, L"Static", L"second label"), nullptr);
    RECT after = {};
    GetWindowRect(again, &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);

    ASSERT_TRUE(raw_write(folder / u"watched.xml", "<window text='Watched'><vbox><text flags='#Nope'/>"));
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("not well-formed"); })) << preview.output();
    EXPECT_TRUE(IsWindow(again));
    EXPECT_NE(FindWindowExW(again, nullptr, L"Static", L"second label"), nullptr);
    PostMessageW(again, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
}

}  // namespace
