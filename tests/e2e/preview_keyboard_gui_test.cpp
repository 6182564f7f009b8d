// DialogPreview driven from the keyboard alone, as a person without a mouse would: Tab reaches
// the field, Return there presses the default button and Alt with a marked letter presses
// its button; each press is printed as the button's event. A screen reader in another
// process hears the field named by its label.
#include "preview_process.h"

#include "tests/support/gui_input.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

// The focused window of another process's thread.
HWND focus_of(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::wstring class_of(HWND window)
{
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return name;
}

TEST(DialogPreviewKeyboard, TabReachesTheFieldWhereReturnPressesTheDefaultAndAltPressesTheMarkedButton)
{
    TempFolder folder("qn-preview-keys");
    ASSERT_TRUE(raw_write(folder / u"keys.xml",
                          "<window name='w' text='Keys'><vbox><button name='cmdOther' text='&amp;Other'/>"
                          "<text text='Name:'/><string name='txtName'/>"
                          "<button name='cmdSave' text='Save' flags='#GK_Button_Default'/></vbox></window>"));
    std::wstring base(folder.path.begin(), folder.path.end());
    Preview preview(L"\"" + base + L"keys.xml\"");
    HWND window = wait_for_window(preview, L"Keys");
    ASSERT_NE(window, nullptr) << preview.output();
    ASSERT_TRUE(gui_bring_to_front(window));
    // From wherever the focus starts, Tab reaches the field within two presses.
    for (int press = 0; press < 2 && class_of(focus_of(window)) != L"Edit"; ++press) {
        HWND before = focus_of(window);
        gui_press_key(VK_TAB);
        ASSERT_TRUE(gui_poll_until([&] { return focus_of(window) != before; }));
    }
    ASSERT_EQ(class_of(focus_of(window)), L"Edit");
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    LONG role = 0;
    std::u16string name;
    EXPECT_TRUE(gui_screen_reader_hears(focus_of(window), &role, &name));
    EXPECT_EQ(name, u"Name:");
    CoUninitialize();
    gui_press_key(VK_RETURN);
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET cmdSave 0\n"); })) << preview.output();
    gui_press_key('O', false, false, true);
    EXPECT_TRUE(gui_poll_until([&] { return preview.output_has("EVENT_GADGET cmdOther 0\n"); })) << preview.output();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(preview.exit_code(20000), 0);
}

}  // namespace
