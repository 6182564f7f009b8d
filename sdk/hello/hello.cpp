// hello: a window from a dialog definition held in a string, one handler bound by name,
// and the event loop. A click on the button answers in the label and on standard output.
#include "dialog/dialog.h"
#include "dialog/runtime_registry.h"
#include "images/image.h"
#include "toolkit/control.h"
#include "toolkit/event.h"
#include "toolkit/window.h"
#include "xml/xml.h"

#include <cstdio>

namespace {

// The window: a label above a button that fills the rest. The button names its handler,
// which the program declares below under that name.
constexpr const char16_t* DEFINITION =
    u"<window name='hello' text='Hello' flags='#GK_Window_SystemMenu|#GK_Window_SizeGadget'>"
    u"  <vbox expand='item:2'>"
    u"    <text name='lblAnswer' text='Nobody has clicked yet.'/>"
    u"    <button name='cmdHello' text='Say hello' width='240' height='120' onevent='say_hello'/>"
    u"  </vbox>"
    u"</window>";

ObjectNumber g_dialog = 0;

void say_hello()
{
    control_set_text(dialog_control(g_dialog, u"lblAnswer"), u"Hello, world!");
    std::puts("hello: the button was clicked");
    std::fflush(stdout);
}

}  // namespace

int main()
{
    if (!(event_start() && xml_start() && dialog_start() && control_start() && window_start() && image_start()))
        return 1;
    runtime_declare_procedure(dialog_registry(), u"say_hello", say_hello);
    ObjectNumber document = xml_parse_string(GK_ANY, DEFINITION);
    g_dialog = dialog_create(GK_ANY);
    if (!dialog_open(g_dialog, document, u"hello")) {
        std::fprintf(stderr, "hello: line %d: definition refused\n", static_cast<int>(dialog_error_line(g_dialog)));
        return 1;
    }
    std::puts("hello: the window is open");
    std::fflush(stdout);
    while (event_wait_forever() != EVENT_CLOSE_WINDOW) {
    }
    dialog_free(GK_ANY);
    xml_free(GK_ANY);
    return 0;
}
