// Random and mutated definitions built into real windows and controls: every one opens or
// fails with a message, and a failed one leaves no window behind. The mutations start from a
// definition full of containers, scroll areas, splitters and frames.
#include "definition_generator.h"
#include "dialog_gui.h"

#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
#include "toolkit/geometry.h"
#include "toolkit/window.h"

#include <gtest/gtest.h>

namespace {

const std::u16string NESTED =
    u"<dialogs><window name='w' flags='#GK_Window_SizeGadget|#GK_Window_SystemMenu'><vbox expand='item:2'>"
    u"<container name='c' flags='#GK_Container_Raised' margin='3'><hbox><button text='a'/><frame text='f'>"
    u"<string/></frame></hbox></container>"
    u"<splitter flags='#GK_Splitter_Vertical|#GK_Splitter_Separator' firstmin='40' secondmin='request'>"
    u"<scrollarea innerwidth='300' step='5' flags='#GK_ScrollArea_Center'><vbox><option group='1' text='o'/>"
    u"<option group='2'/><option group='1'/></vbox></scrollarea>"
    u"<splitter firstmin='auto'><container><text text='t'/></container><gridbox columns='2'><button/>"
    u"<editor/></gridbox></splitter></splitter>"
    u"<panel><tab text='x'><scrollarea scrolling='vertical'><empty height='400'/></scrollarea></tab></panel>"
    u"</vbox></window></dialogs>";

void handler() {}

class DialogRandomTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gui_start_dialogs());
        runtime_declare_integer(dialog_registry(), u"#Flag", 4);
        runtime_declare_procedure(dialog_registry(), u"handler", handler);
        windows = gui_thread_window_count();
    }

    void TearDown() override { dialog_free(GK_ANY); }

    // Opens the definition, settles its events, frees it; returns whether it opened.
    bool try_open(const std::u16string& text)
    {
        bool opened = false;
        ObjectNumber dialog = gui_open_definition(text, u"w", &opened);
        if (opened) {
            ObjectNumber window = dialog_window(dialog);
            window_resize(window, UNCHANGED, UNCHANGED, 50, 40);
            gui_settle();
        } else {
            EXPECT_FALSE(dialog_error(dialog).empty()) << gui_narrow(text);
            EXPECT_EQ(gui_thread_window_count(), windows) << gui_narrow(text);
        }
        dialog_free(dialog);
        return opened;
    }

    int windows = 0;
};

TEST_F(DialogRandomTest, RandomDefinitionsOpenOrFailWithAMessage)
{
    std::mt19937 random(20261207);
    int opened = 0;
    for (int i = 0; i < 150; ++i)
        opened += try_open(random_definition(random));
    EXPECT_GT(opened, 20);
}

TEST_F(DialogRandomTest, MutatedContainerDefinitionsOpenOrFailWithAMessage)
{
    ASSERT_TRUE(try_open(NESTED));
    std::mt19937 random(11);
    int opened = 0;
    // Most mutations break the XML itself; enough of them still reach the builder.
    for (int i = 0; i < 500; ++i)
        opened += try_open(mutate(random, NESTED));
    EXPECT_GT(opened, 8);
}

}  // namespace
