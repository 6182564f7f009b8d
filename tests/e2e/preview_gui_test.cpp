// DialogPreview run as a person runs it: the example definition opens, a real click is
// reported as a line of output, closing the window ends the program with 0, and a faulty
// definition prints the engine's message and ends it with 1.
#include "journal_helpers.h"
#include "preview_process.h"

#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Search {
    const wchar_t* text;
    HWND found;
};

BOOL CALLBACK find_child(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<Search*>(parameter);
    wchar_t text[64] = {};
    GetWindowTextW(window, text, 64);
    if (std::wstring(text) != search->text)
        return TRUE;
    search->found = window;
    return FALSE;
}

TEST(DialogPreview, ExampleOpensReportsARealClickAndEndsWithZero)
{
    Preview preview(L"example_dialog.xml");
    ASSERT_TRUE(preview.started()) << last_error_text();
    HWND window = wait_for_window(preview, L"Every element");
    ASSERT_NE(window, nullptr) << preview.output();
    Search button = {L"OK", nullptr};
    EnumChildWindows(window, find_child, reinterpret_cast<LPARAM>(&button));
    ASSERT_NE(button.found, nullptr);
    ASSERT_TRUE(gui_bring_to_front(window));
    gui_click_screen(gui_window_center(button.found));
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET cmdOk 0\n"); })) << preview.output();

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
    // The reading thread may still be taking the last line when the program has ended.
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_CLOSE_WINDOW "); })) << preview.output();
}

TEST(DialogPreview, FaultyDefinitionPrintsTheMessageAndEndsWithOne)
{
    TempFolder folder("qn-preview");
    // UTF-16 with its mark, as an editor may save it.
    std::u16string text = u"\xFEFF<window name='w'><vbox><text flags='#GK_Text_Right|#Nope'/></vbox></window>";
    ASSERT_TRUE(raw_write(folder / u"faulty.xml",
                          std::string_view(reinterpret_cast<const char*>(text.data()), text.size() * 2)));
    std::u16string path = folder / u"faulty.xml";
    Preview preview(L"\"" + std::wstring(path.begin(), path.end()) + L"\"");
    ASSERT_TRUE(preview.started());
    EXPECT_EQ(preview.exit_code(20000), 1);
    EXPECT_TRUE(gui_poll_until([&] {
        return preview.output_has("'#Nope' flag is not supported for the following gadget: text\n");
    })) << preview.output();

    Preview missing(L"no-such-file.xml");
    EXPECT_EQ(missing.exit_code(20000), 1);
    Preview unnamed(L"example_dialog.xml noSuchWindow");
    EXPECT_EQ(unnamed.exit_code(20000), 1);
    EXPECT_TRUE(gui_poll_until([&] { return unnamed.output_has("Dialog window not found\n"); }))
        << unnamed.output();
}

}  // namespace
