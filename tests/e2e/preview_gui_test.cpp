// DialogPreview run as a person runs it: the example definition opens, a real click is
// reported as a line of output, closing the window ends the program with 0, and a faulty
// definition prints the engine's message and ends it with 1; pictures given with --image show
// and their controls report real input.
#include "journal_helpers.h"
#include "preview_process.h"

#include "images/draw.h"
#include "images/image.h"
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

// Pictures given with --image show in an image, a canvas and an image button at their
// natural size; real clicks, double clicks and a drag on the image, and a click on the
// canvas, are reported with their types (the canvas's by name); a missing file is named.
TEST(DialogPreview, PicturesShowAndTheirControlsReportRealInput)
{
    TempFolder folder("qn-preview-images");
    ASSERT_TRUE(raw_write(folder / u"pictures.xml",
                          "<window name='w' text='Pictures'><hbox expand='no'><image name='pic'/>"
                          "<canvas name='board'/><buttonimage name='btn'/></hbox></window>"));
    ASSERT_EQ(image_start(), 1);
    ObjectNumber picture = image_create(GK_ANY, 40, 30, RGB(255, 0, 0));
    draw_begin_image(picture);
    draw_rectangle(20, 0, 20, 30, RGB(0, 0, 255));
    draw_end();
    ASSERT_EQ(image_save(picture, (folder / u"p.png").c_str(), IMAGE_PNG), 1);
    std::wstring base(folder.path.begin(), folder.path.end());
    Preview preview(L"\"" + base + L"pictures.xml\" --image \"pic=" + base + L"p.png\" --image \"board=" + base +
                    L"p.png\" --image \"btn=" + base + L"p.png\" --image \"pic=" + base + L"gone.png\"");
    HWND window = wait_for_window(preview, L"Pictures");
    ASSERT_NE(window, nullptr) << preview.output();
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("The image file could not be loaded: "); }));
    HWND image = FindWindowExW(window, nullptr, L"KitImage", nullptr);
    HWND canvas = FindWindowExW(window, nullptr, L"KitCanvas", nullptr);
    ASSERT_TRUE(image && canvas);
    ASSERT_TRUE(gui_bring_to_front(window));
    // The screen shows both colours of the picture in each control.
    for (HWND shown : {image, canvas}) {
        RECT client;
        GetClientRect(shown, &client);
        EXPECT_EQ(client.right, 40);
        EXPECT_GE(client.bottom, 30);
        EXPECT_TRUE(gui_poll_until([&] {
            return window_shows_color(shown, RGB(255, 0, 0)) && window_shows_color(shown, RGB(0, 0, 255));
        }));
    }

    POINT center = gui_window_center(image);
    const std::pair<int, int> clicks[] = {{0, 1}, {1, 1}, {0, 2}, {1, 2}};
    const char* lines[] = {"EVENT_GADGET pic 0\n", "EVENT_GADGET pic 1\n", "EVENT_GADGET pic 2\n", "EVENT_GADGET pic 3\n"};
    for (int i = 0; i < 4; ++i) {
        gui_click_screen(center, clicks[i].first == 1, clicks[i].second);
        EXPECT_TRUE(gui_poll_until([&] { return preview.output_has(lines[i]); })) << preview.output();
        Sleep(600);  // the next click is not taken for part of a double click
    }
    gui_drag(POINT{center.x - 15, center.y}, POINT{center.x + 60, center.y + 30});
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET pic 14002\n"); })) << preview.output();
    gui_click_screen(gui_window_center(canvas));
    EXPECT_TRUE(gui_poll_until([&] {
        return preview.output_has("EVENT_GADGET board 14100 EVENTTYPE_CANVAS_LEFT_DOWN\n") &&
               preview.output_has("EVENT_GADGET board 14101 EVENTTYPE_CANVAS_LEFT_UP\n");
    })) << preview.output();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
    image_free(GK_ANY);
}

// Sample data: items from files (tree levels by tabs, list icon cells by tabs), states set
// after opening, and one CONTROL line per named control, escaped, after the event lines.
TEST(DialogPreview, SampleDataFillsListsSetsStatesAndIsDumpedAtClosing)
{
    TempFolder folder("qn-preview");
    ASSERT_TRUE(raw_write(folder / u"lists.xml",
                          "<window name='w' text='Sample data'><vbox><listicon name='files' text='Name' height='90'/>"
                          "<tree name='folders' height='90'/><combobox name='pick'/><date name='when' text='yyyy-MM-dd'/>"
                          "</vbox></window>"));
    ASSERT_TRUE(raw_write(folder / u"files.txt", "a.txt\t12\nb\\c.txt\t7\n"));
    ASSERT_TRUE(raw_write(folder / u"folders.txt", "Root\n\tChild\n\t\tLeaf\n"));
    ASSERT_TRUE(raw_write(folder / u"pick.txt", "One\r\nTwo\r\n"));
    auto quoted = [&](const char16_t* name) {
        std::u16string path = folder / name;
        return L"\"" + std::wstring(path.begin(), path.end()) + L"\"";
    };
    Preview preview(quoted(u"lists.xml") + L" --items files=" + quoted(u"files.txt") + L" --items folders=" +
                    quoted(u"folders.txt") + L" --items pick=" + quoted(u"pick.txt") +
                    L" --state files=1 --state folders=2 --state pick=1 --state when=1709208000 --dump");
    ASSERT_TRUE(preview.started()) << last_error_text();
    HWND window = wait_for_window(preview, L"Sample data");
    ASSERT_NE(window, nullptr) << preview.output();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("CONTROL when 1709208000 "); })) << preview.output();
    std::string output = preview.output();
    std::size_t close = output.find("EVENT_CLOSE_WINDOW ");
    EXPECT_LT(close, output.find("CONTROL files 1 b\\\\c.txt\\n7\n")) << output;
    EXPECT_NE(output.find("CONTROL folders 2 Leaf\n"), std::string::npos) << output;
    EXPECT_NE(output.find("CONTROL pick 1 Two\n"), std::string::npos) << output;

    Preview wrong(quoted(u"lists.xml") + L" --items when=" + quoted(u"pick.txt"));
    EXPECT_EQ(wrong.exit_code(20000), 1);
}

// Alt+F4 closes the window with the focus in the kinds whose platform control keeps the key:
// the close event is printed and the program ends with 0.
TEST(DialogPreview, AltF4ClosesTheWindowFromTreesAndComboBoxes)
{
    TempFolder folder("qn-preview-close");
    const char* elements[] = {"<tree name='focused' width='120' height='80'/>",
                              "<explorertree name='focused' text='' width='120' height='80'/>",
                              "<combobox name='focused'/>"};
    for (const char* element : elements) {
        std::string definition = std::string("<window name='w' text='Close test'><vbox>") + element + "</vbox></window>";
        ASSERT_TRUE(raw_write(folder / u"close.xml", definition));
        std::u16string path = folder / u"close.xml";
        Preview preview(L"\"" + std::wstring(path.begin(), path.end()) + L"\"");
        HWND window = wait_for_window(preview, L"Close test");
        ASSERT_NE(window, nullptr) << preview.output();
        ASSERT_TRUE(gui_bring_to_front(window));
        HWND control = GetWindow(window, GW_CHILD);
        ASSERT_NE(control, nullptr);
        POINT inside = {12, 12};
        ClientToScreen(control, &inside);
        gui_click_screen(inside);
        gui_press_key(VK_ESCAPE);  // closes a combo box's list
        ASSERT_TRUE(gui_poll_until([&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) &&
                   (info.hwndFocus == control || IsChild(control, info.hwndFocus));
        })) << element;
        gui_press_key(VK_F4, false, false, true);
        EXPECT_EQ(preview.exit_code(20000), 0) << element;
        EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_CLOSE_WINDOW "); })) << element;
    }
}

}  // namespace
