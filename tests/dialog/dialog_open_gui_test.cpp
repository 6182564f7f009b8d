// Opening dialogs that fail: each message of a faulty definition, what is left behind,
// and freeing.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "toolkit/control.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string in_window(const std::u16string& inner)
{
    return u"<dialogs><window name='wndMain' text='Faulty dialog'><vbox>" + inner + u"</vbox></window></dialogs>";
}

std::u16string text_of(const char* text)
{
    return std::u16string(text, text + std::char_traits<char>::length(text));
}

class DialogOpenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_dialogs());
        windows_before = gui_thread_window_count();
    }

    void TearDown() override
    {
        dialog_free(GK_ANY);
        gui_settle();
    }

    // Opens a definition that must fail; checks that nothing of it stays and returns its message.
    std::u16string failure(const std::u16string& definition, const char16_t* window_name = u"wndMain")
    {
        bool opened = true;
        ObjectNumber dialog = gui_open_definition(definition, window_name, &opened);
        EXPECT_FALSE(opened);
        EXPECT_EQ(dialog_window(dialog), -1);
        EXPECT_EQ(gui_thread_window_count(), windows_before);
        EXPECT_EQ(FindWindowW(nullptr, L"Faulty dialog"), nullptr);
        return dialog_error(dialog);
    }

    int windows_before = 0;
};

TEST_F(DialogOpenTest, EachMessageOfTheLanguageFailsTheOpenAndLeavesNoWindow)
{
    EXPECT_EQ(failure(in_window(u"<button/><text flags='#GK_Text_Right|#GK_Text_Sideways'/>")),
              u"'#GK_Text_Sideways' flag is not supported for the following gadget: text");
    EXPECT_EQ(failure(u"<window name='wndMain' text='Faulty dialog' flags='#GK_Window_Wobbly'/>"),
              u"'#GK_Window_Wobbly' flag is not supported for the following gadget: window");
    EXPECT_EQ(failure(in_window(u"<button text='a'/><button id='#SaveButton'/>")),
              u"'#SaveButton' constant is not found or not declared as runtime.");
    EXPECT_EQ(failure(in_window(u"<button onChange='save'/>")),
              u"'onChange' is not supported for the following gadget: button");
    EXPECT_EQ(failure(in_window(u"<hbox><string onevent='saveNote'/></hbox>")),
              u"'saveNote' is not a runtime procedure.");
    EXPECT_EQ(failure(in_window(u"<gridbox columns='16'/>")), u"'gridbox' columns must be 1 to 15.");
    EXPECT_EQ(failure(u"<window name='wndMain' text='Faulty dialog'><button></window>"),
              u"Dialog definition is not well-formed: mismatched tag at line 1.");
}

TEST_F(DialogOpenTest, AWindowThatDoesNotMatchIsNotFound)
{
    const std::u16string not_found = text_of("Dialog window not found");
    EXPECT_EQ(failure(u"<window name='other' text='Faulty dialog'/>"), not_found);
    EXPECT_EQ(failure(u"<dialogs><window name='other'/><window text='Faulty dialog'/></dialogs>"), not_found);
    EXPECT_EQ(failure(u"<windows><window name='wndMain'/></windows>"), not_found);

    ObjectNumber dialog = dialog_create(GK_ANY);
    EXPECT_EQ(dialog_open(dialog, 12345, u"wndMain"), 0);
    EXPECT_EQ(dialog_error(dialog), not_found);
    EXPECT_EQ(dialog_open(54321, 12345, u"wndMain"), 0);
    EXPECT_EQ(dialog_error(54321), u"");

    // Without a wanted name the first window opens, named or not.
    bool opened = false;
    ObjectNumber first = gui_open_definition(u"<dialogs><window text='First'/><window name='b'/></dialogs>", nullptr,
                                             &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(window_get_title(dialog_window(first)), u"First");
}

TEST_F(DialogOpenTest, AControlThatCannotBeMadeClosesTheWindowWithEveryControl)
{
    // A fixed number beyond the table's range makes the creation fail late, after
    // other controls and the window exist.
    EXPECT_EQ(failure(in_window(u"<button id='7' text='made'/><string id='8'/><button id='900000'/>")),
              u"'button' control could not be created.");
    EXPECT_FALSE(control_exists(7));
    EXPECT_FALSE(control_exists(8));
    EXPECT_EQ(failure(u"<window name='wndMain' id='900000' text='Faulty dialog'/>"), u"'window' could not be opened.");
}

TEST_F(DialogOpenTest, TheNextOpenDropsTheMessageAndReplacesTheWindow)
{
    ObjectNumber dialog = dialog_create(GK_ANY);
    ObjectNumber faulty = xml_parse_string(GK_ANY, in_window(u"<button onleftclick='x'/>").c_str());
    ObjectNumber good = xml_parse_string(GK_ANY, in_window(u"<button name='b' text='Fine'/>").c_str());
    EXPECT_EQ(dialog_open(dialog, faulty, u"wndMain"), 0);
    EXPECT_NE(dialog_error(dialog), u"");

    EXPECT_EQ(dialog_open(dialog, good, u"wndMain"), 1);
    EXPECT_EQ(dialog_error(dialog), u"");
    HWND first = static_cast<HWND>(window_os_handle(dialog_window(dialog)));

    // A second open replaces the window.
    EXPECT_EQ(dialog_open(dialog, good, u"wndMain"), 1);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(gui_thread_window_count(), windows_before + 1);

    // A failed open after a good one leaves the dialog without a window.
    EXPECT_EQ(dialog_open(dialog, faulty, u"wndMain"), 0);
    EXPECT_EQ(dialog_window(dialog), -1);
    EXPECT_EQ(dialog_control(dialog, u"b"), -1);
    EXPECT_EQ(gui_thread_window_count(), windows_before);
    xml_free(faulty);
    xml_free(good);
}

TEST_F(DialogOpenTest, FreeingAllDialogsClosesEveryWindow)
{
    bool opened = false;
    ObjectNumber one = gui_open_definition(in_window(u"<button name='b'/>"), u"wndMain", &opened);
    ASSERT_TRUE(opened);
    ObjectNumber two = gui_open_definition(in_window(u"<editor name='e'/>"), u"wndMain", &opened);
    ASSERT_TRUE(opened);
    ObjectNumber failed = gui_open_definition(in_window(u"<text flags='#Nope'/>"), u"wndMain", &opened);
    ObjectNumber empty = dialog_create(GK_ANY);
    ObjectNumber fixed = dialog_create(3);
    EXPECT_NE(fixed, 0);
    ObjectNumber button = dialog_control(one, u"b");
    ObjectNumber one_window = dialog_window(one);
    EXPECT_EQ(gui_thread_window_count(), windows_before + 2);

    dialog_free(GK_ANY);
    EXPECT_EQ(gui_thread_window_count(), windows_before);
    EXPECT_FALSE(window_exists(one_window));
    EXPECT_FALSE(control_exists(button));
    for (ObjectNumber dialog : {one, two, failed, empty, ObjectNumber{3}}) {
        EXPECT_EQ(dialog_window(dialog), -1);
        EXPECT_EQ(dialog_error(dialog), u"");
        EXPECT_EQ(dialog_open(dialog, 0, nullptr), 0);
    }
    dialog_free(GK_ANY);
    dialog_free(12345);
}

}  // namespace
