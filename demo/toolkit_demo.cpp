// A window with one control of every kind the toolkit has; every event the loop receives
// is added to the list at the bottom as its serial number, event, window, object and type.
#include "images/draw.h"
#include "images/image.h"
#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/code_editor.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/controls/ipaddress.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/option.h"
#include "toolkit/controls/progressbar.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/controls/shortcut_entry.h"
#include "toolkit/controls/spin.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/controls/tree.h"
#include "toolkit/controls/web_view.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/event_window.h"
#include "toolkit/geometry.h"
#include "toolkit/listview.h"
#include "toolkit/panel.h"
#include "toolkit/string_field.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

#include <windows.h>

#include <cwchar>
#include <utility>

namespace {

constexpr ObjectNumber DEMO_WINDOW = 1;

// Fixed control numbers, so that the log reads easily.
enum DemoControl : ObjectNumber {
    DEMO_TEXT = 1,
    DEMO_BUTTON,
    DEMO_STRING,
    DEMO_EDITOR,
    DEMO_LIST,
    DEMO_PANEL,
    DEMO_TAB_BUTTON,
    DEMO_TAB_STRING,
    DEMO_LOG,
    DEMO_ADDRESS,
    DEMO_SHORTCUT,
};

// The choices page: check boxes, one group of options, a spin.
enum ChoiceControl : ObjectNumber {
    DEMO_CHECK = 20,
    DEMO_CHECK_THREE,
    DEMO_OPTION_FIRST,
    DEMO_OPTION_SECOND,
    DEMO_OPTION_THIRD,
    DEMO_SPIN,
};

// A third page of the panel with a two-state and a three-state check box, three options in
// a row (one group) and a numeric spin from 0 to 10.
void build_choices_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Choices");
    checkbox_create(DEMO_CHECK, 10, 8, 130, 20, u"Two states", 0);
    checkbox_create(DEMO_CHECK_THREE, 10, 30, 130, 20, u"Three states", GK_CheckBox_ThreeState);
    control_set_state(DEMO_CHECK_THREE, CHECKBOX_INDETERMINATE);
    option_create(DEMO_OPTION_FIRST, 10, 56, 130, 20, u"Morning");
    option_create(DEMO_OPTION_SECOND, 10, 78, 130, 20, u"Noon");
    option_create(DEMO_OPTION_THIRD, 10, 100, 130, 20, u"Evening");
    control_set_state(DEMO_OPTION_FIRST, 1);
    spin_create(DEMO_SPIN, 10, 128, 80, 22, 0, 10, GK_Spin_Numeric);
    control_set_state(DEMO_SPIN, 5);
    container_close_list();
}

// The value controls on a panel tab of their own: a scroll bar, a progress bar at 60 and
// one whose marquee runs, a track bar from 0 to 10 with ticks.
constexpr ObjectNumber DEMO_SCROLLBAR = 40;
constexpr ObjectNumber DEMO_PROGRESS = 41;
constexpr ObjectNumber DEMO_MARQUEE = 42;
constexpr ObjectNumber DEMO_TRACKBAR = 43;

bool build_value_tab()
{
    if (!container_open_list(DEMO_PANEL) || !control_add_item(DEMO_PANEL, -1, u"Values"))
        return false;
    scrollbar_create(DEMO_SCROLLBAR, 10, 10, 120, 17, 0, 100, 10, 0);
    progressbar_create(DEMO_PROGRESS, 10, 35, 120, 16, 0, 100, GK_ProgressBar_Smooth);
    control_set_state(DEMO_PROGRESS, 60);
    progressbar_create(DEMO_MARQUEE, 10, 59, 120, 16, 0, 100, 0);
    control_set_state(DEMO_MARQUEE, PROGRESSBAR_MARQUEE);
    trackbar_create(DEMO_TRACKBAR, 10, 83, 120, 32, 0, 10, GK_TrackBar_Ticks);
    container_close_list();
    return true;
}

// An IP address field at its natural size and a shortcut entry on a page of their own.
void build_fields_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Fields");
    ipaddress_create(DEMO_ADDRESS, 10, 10, 0, 0);
    int width = 0;
    int height = 0;
    control_required_size(DEMO_ADDRESS, &width, &height);
    control_resize(DEMO_ADDRESS, UNCHANGED, UNCHANGED, width, height);
    control_set_state(DEMO_ADDRESS, 0x0100A8C0);
    shortcut_create(DEMO_SHORTCUT, 10, 44, 125, 24, SHORTCUT_CONTROL + 'Q');
    container_close_list();
}

// A page with a canvas that the left button draws on; the right button clears it.
constexpr ObjectNumber DEMO_CANVAS = 50;

struct Pen {
    bool down;
    int x;
    int y;
};

Pen g_pen = {};

void draw_with_mouse()
{
    int type = event_type();
    int x = static_cast<int>(control_get_attribute(DEMO_CANVAS, CANVAS_MOUSE_X));
    int y = static_cast<int>(control_get_attribute(DEMO_CANVAS, CANVAS_MOUSE_Y));
    if (type == EVENTTYPE_CANVAS_RIGHT_DOWN && draw_begin_canvas(DEMO_CANVAS)) {
        draw_rectangle(0, 0, control_width(DEMO_CANVAS), control_height(DEMO_CANVAS), RGB(255, 255, 255));
        draw_end();
    }
    if (type == EVENTTYPE_CANVAS_MOVE && g_pen.down && draw_begin_canvas(DEMO_CANVAS)) {
        draw_line(g_pen.x, g_pen.y, x, y, RGB(0, 0, 160));
        draw_end();
    }
    if (type == EVENTTYPE_CANVAS_LEFT_DOWN || type == EVENTTYPE_CANVAS_LEFT_UP)
        g_pen.down = type == EVENTTYPE_CANVAS_LEFT_DOWN;
    g_pen.x = x;
    g_pen.y = y;
}

void build_drawing_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Drawing");
    canvas_create(DEMO_CANVAS, 4, 4, 176, 176, GK_Canvas_Border | GK_Canvas_ClipMouse);
    if (draw_begin_canvas(DEMO_CANVAS)) {
        draw_text(4, 4, u"Draw with the mouse", RGB(128, 128, 128));
        draw_end();
    }
    event_bind_control(DEMO_CANVAS, draw_with_mouse);
    container_close_list();
}

// A code editor (when Scintilla.dll is beside the demo) and a web view on a page of their own.
constexpr ObjectNumber DEMO_CODE = 60;
constexpr ObjectNumber DEMO_WEB = 61;

void build_code_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Code");
    if (code_editor_create(DEMO_CODE, 5, 5, 175, 90, 0))
        control_set_text(DEMO_CODE, u"int main()\r\n{\r\n    return 0;\r\n}\r\n");
    web_view_create(DEMO_WEB, 5, 100, 175, 80, u"about:blank", 0);
    container_close_list();
}

constexpr ObjectNumber DEMO_FILES = 70;

// The documents folder's files in an explorer list, kept current while the demo runs.
void build_files_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Files");
    explorerlist_create(DEMO_FILES, 4, 4, 176, 180, u"", GK_Explorer_FullRowSelect);
    container_close_list();
}

// The lists page: a list icon with two columns and check boxes, a tree of three levels and
// an editable combo box, each with items and small round images; the dates page: a date field, a hyperlink and a
// calendar.
constexpr ObjectNumber DEMO_LIST_ICON = 80;
constexpr ObjectNumber DEMO_TREE = 81;
constexpr ObjectNumber DEMO_COMBO = 82;
constexpr ObjectNumber DEMO_DATE = 83;
constexpr ObjectNumber DEMO_LINK = 84;
constexpr ObjectNumber DEMO_CALENDAR = 85;

// A 16-pixel disc of the colour on a transparent ground.
ObjectNumber make_disc(std::int32_t color)
{
    ObjectNumber disc = image_create(GK_ANY, 16, 16, IMAGE_TRANSPARENT);
    if (disc && draw_begin_image(disc)) {
        draw_ellipse(1, 1, 14, 14, color);
        draw_end();
    }
    return disc;
}

void build_lists_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Lists");
    const ObjectNumber discs[] = {make_disc(RGB(70, 110, 200)), make_disc(RGB(240, 180, 0)),
                                  make_disc(RGB(120, 120, 130))};
    listicon_create(DEMO_LIST_ICON, 6, 6, 176, 70, u"Day", 90, GK_ListIcon_CheckBoxes | GK_ListIcon_FullRowSelect);
    listicon_add_column(DEMO_LIST_ICON, -1, u"Mood", 70);
    const char16_t* rows[] = {u"Monday\nquiet", u"Tuesday\nbright", u"Wednesday\nrainy"};
    for (int row = 0; row < 3; ++row)
        control_add_item(DEMO_LIST_ICON, -1, rows[row], discs[row]);
    tree_create(DEMO_TREE, 6, 80, 176, 76, 0);
    const std::pair<const char16_t*, int> items[] = {{u"2026", 0}, {u"December", 1}, {u"7th", 2}, {u"2025", 0}};
    for (auto [text, level] : items)
        control_add_item(DEMO_TREE, -1, text, discs[level == 2 ? 1 : 0], level);
    combobox_create(DEMO_COMBO, 6, 160, 176, 24, GK_ComboBox_Editable | GK_ComboBox_Image);
    const char16_t* moods[] = {u"calm", u"glad", u"tired"};
    for (int item = 0; item < 3; ++item)
        control_add_item(DEMO_COMBO, -1, moods[item], discs[item]);
    for (ObjectNumber disc : discs)
        image_free(disc);  // the controls keep copies
    control_set_state(DEMO_COMBO, 0);
    container_close_list();
}

void build_dates_page()
{
    container_open_list(DEMO_PANEL);
    control_add_item(DEMO_PANEL, -1, u"Dates");
    date_create(DEMO_DATE, 6, 6, 176, 22, u"yyyy-MM-dd HH:mm", GK_Date_CheckBox);
    hyperlink_create(DEMO_LINK, 6, 32, 176, 18, u"A hyperlink", 0xFF0000, GK_HyperLink_Underline);
    calendar_create(DEMO_CALENDAR, 6, 54, 0, 0, GK_Calendar_Borderless);
    int width = 0;
    int height = 0;
    control_required_size(DEMO_CALENDAR, &width, &height);
    control_resize(DEMO_CALENDAR, UNCHANGED, UNCHANGED, width, height);
    container_close_list();
}

bool build_window()
{
    if (!window_open(DEMO_WINDOW, UNCHANGED, UNCHANGED, 640, 480, u"Toolkit demo",
                     GK_Window_SystemMenu | GK_Window_SizeGadget | GK_Window_ScreenCentered, nullptr))
        return false;
    text_create(DEMO_TEXT, 10, 12, 300, 20, u"Every event appears in the list below.", 0);
    button_create(DEMO_BUTTON, 10, 40, 100, 26, u"Press", 0);
    string_create(DEMO_STRING, 120, 42, 200, 22, u"one line", 0);
    editor_create(DEMO_EDITOR, 10, 75, 310, 150, GK_Editor_WordWrap);
    control_set_text(DEMO_EDITOR, u"A rich edit editor.\r\nType here.");
    listview_create(DEMO_LIST, 330, 10, 100, 215, 0);
    for (const char16_t* item : {u"alpha", u"beta", u"gamma", u"delta"})
        control_add_item(DEMO_LIST, -1, item);
    panel_create(DEMO_PANEL, 440, 10, 190, 215);
    control_add_item(DEMO_PANEL, -1, u"One");
    button_create(DEMO_TAB_BUTTON, 10, 10, 110, 26, u"On tab one", 0);
    control_add_item(DEMO_PANEL, -1, u"Two");
    string_create(DEMO_TAB_STRING, 10, 10, 110, 22, u"on tab two", 0);
    container_close_list();
    build_choices_page();
    if (!build_value_tab())
        return false;
    build_fields_page();
    build_drawing_page();
    build_code_page();
    build_files_page();
    build_lists_page();
    build_dates_page();
    return listview_create(DEMO_LOG, 10, 235, 620, 235, 0) != 0;
}

void log_event(int serial, int event)
{
    wchar_t line[160];
    std::swprintf(line, 160, L"#%d  event %d  window %lld  object %lld  type %d", serial, event,
                  static_cast<long long>(event_window()), static_cast<long long>(event_control()), event_type());
    control_add_item(DEMO_LOG, -1, reinterpret_cast<const char16_t*>(line));
    control_set_state(DEMO_LOG, control_count_items(DEMO_LOG) - 1);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!event_start() || !event_window_start() || !window_start() || !control_start() || !image_start() ||
        !build_window())
        return 1;
    int serial = 0;
    for (;;) {
        int event = event_wait_forever();
        if (event < EVENT_GADGET || event > EVENT_SIZE_WINDOW)
            continue;
        log_event(++serial, event);
        if (event == EVENT_CLOSE_WINDOW)
            break;
    }
    window_close(-1);
    return 0;
}
