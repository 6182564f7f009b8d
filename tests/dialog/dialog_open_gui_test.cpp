// Opening dialogs that fail: each message of a faulty definition, what is left behind,
// and freeing.
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
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

// The message's text stays the engine's own; its place is asked for on its own.
TEST_F(DialogOpenTest, TheKeptMessageKnowsWhereItsElementBegins)
{
    struct Case {
        const char16_t* inner;
        std::int32_t line, column;
    };
    const Case cases[] = {
        {u"\n  <button onchange='x'/>", 2, 3},
        {u"<container id='7'>\n<vbox>\n\t\t<button id='7'/></vbox></container>", 3, 3},
    };
    for (const Case& item : cases) {
        bool opened = true;
        ObjectNumber dialog = gui_open_definition(in_window(item.inner), u"wndMain", &opened);
        EXPECT_FALSE(opened);
        EXPECT_NE(dialog_error(dialog).find(u"button"), std::u16string::npos);
        EXPECT_EQ(dialog_error_line(dialog), item.line);
        EXPECT_EQ(dialog_error_column(dialog), item.column);
    }
    bool opened = false;
    ObjectNumber dialog = gui_open_definition(in_window(u"\n<button/>"), u"wndMain", &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(dialog_error_line(dialog), 0);
    EXPECT_EQ(dialog_error_column(dialog), 0);
    EXPECT_EQ(dialog_error_line(54321), 0);
}

// A control may not take the fixed number of a container it lies in: that would destroy
// the container with everything in it and keep a record of a window that is gone.
TEST_F(DialogOpenTest, AnIdOfAnOpenContainerFailsAndLeavesNoDeadRecord)
{
    EXPECT_EQ(failure(in_window(u"<container id='7'><vbox><button id='7' text='inner'/></vbox></container>")),
              u"'button' cannot take the id 7 of a container it is in.");
    EXPECT_FALSE(control_exists(7));
    EXPECT_EQ(failure(in_window(u"<panel id='9'><tab text='a'><vbox><string id='9'/></vbox></tab></panel>")),
              u"'string' cannot take the id 9 of a container it is in.");
    EXPECT_FALSE(control_exists(9));
    EXPECT_EQ(failure(in_window(u"<frame id='11'><vbox><container id='12'><vbox><editor id='11'/></vbox>"
                                u"</container></vbox></frame>")),
              u"'editor' cannot take the id 11 of a container it is in.");
    EXPECT_FALSE(control_exists(11));
    EXPECT_FALSE(control_exists(12));
    // A sibling's number is no container's: the later control takes it over, as any reuse does.
    bool opened = false;
    ObjectNumber dialog =
        gui_open_definition(in_window(u"<container id='7'><vbox><button/></vbox></container><button id='7'/>"),
                            nullptr, &opened);
    EXPECT_TRUE(opened) << gui_narrow(dialog_error(dialog));
    EXPECT_TRUE(control_exists(7));
    EXPECT_NE(IsWindow(static_cast<HWND>(control_os_handle(7))), FALSE);
}

// An event attribute binds procedures only: a constant or variable of that name would
// have its value called as code.
TEST_F(DialogOpenTest, AnEventAttributeNamingAConstantOrVariableFails)
{
    static int variable = 0x401000;
    ASSERT_TRUE(runtime_declare_integer(dialog_registry(), u"answer", 0x401000));
    ASSERT_TRUE(runtime_declare_variable(dialog_registry(), u"counter", &variable, RuntimeType::Int32));
    ASSERT_TRUE(runtime_declare_float(dialog_registry(), u"ratio", 4198400.0));
    EXPECT_EQ(failure(in_window(u"<button onevent='answer'/>")), u"'answer' is not a runtime procedure.");
    EXPECT_EQ(failure(in_window(u"<string onchange='counter'/>")), u"'counter' is not a runtime procedure.");
    EXPECT_EQ(failure(in_window(u"<button onevent='ratio'/>")), u"'ratio' is not a runtime procedure.");
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
