#include "dialog/dialog_language.h"

#include "dialog/dialog_text.h"
#include "toolkit/button.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/explorer_logic.h"
#include "toolkit/controls/frame.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/plain_container.h"
#include "toolkit/controls/progressbar.h"
#include "toolkit/controls/scrollarea.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/controls/spin.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/controls/tree.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/listview.h"
#include "toolkit/string_field.h"
#include "toolkit/text.h"
#include "toolkit/window.h"

namespace {

// A flag's entry: its name as a definition writes it (without '#') and the toolkit's value.
#define FLAG(name) FlagName{u"" #name, name}

const FlagName WINDOW_FLAGS[] = {
    FLAG(GK_Window_ScreenCentered), FLAG(GK_Window_WindowCentered), FLAG(GK_Window_Tool), FLAG(GK_Window_TitleBar),
    FLAG(GK_Window_SystemMenu), FLAG(GK_Window_SizeGadget), FLAG(GK_Window_MinimizeGadget),
    FLAG(GK_Window_MaximizeGadget), FLAG(GK_Window_Invisible), FLAG(GK_Window_BorderLess), FLAG(GK_Window_NoActivate),
};
const FlagName BUTTON_FLAGS[] = {
    FLAG(GK_Button_Right), FLAG(GK_Button_Left), FLAG(GK_Button_Default), FLAG(GK_Button_MultiLine),
    FLAG(GK_Button_Toggle),
};
const FlagName CHECKBOX_FLAGS[] = {FLAG(GK_CheckBox_Right), FLAG(GK_CheckBox_Center), FLAG(GK_CheckBox_ThreeState)};
const FlagName IMAGE_FLAGS[] = {FLAG(GK_Image_Raised), FLAG(GK_Image_Border)};
const FlagName LISTVIEW_FLAGS[] = {FLAG(GK_ListView_MultiSelect), FLAG(GK_ListView_ClickSelect)};
const FlagName LISTICON_FLAGS[] = {
    FLAG(GK_ListIcon_CheckBoxes), FLAG(GK_ListIcon_MultiSelect), FLAG(GK_ListIcon_GridLines),
    FLAG(GK_ListIcon_FullRowSelect), FLAG(GK_ListIcon_HeaderDragDrop), FLAG(GK_ListIcon_AlwaysShowSelection),
    FLAG(GK_ListIcon_ThreeState),
};
const FlagName TREE_FLAGS[] = {
    FLAG(GK_Tree_AlwaysShowSelection), FLAG(GK_Tree_NoLines), FLAG(GK_Tree_NoButtons), FLAG(GK_Tree_CheckBoxes),
    FLAG(GK_Tree_ThreeState),
};
const FlagName CONTAINER_FLAGS[] = {
    FLAG(GK_Container_BorderLess), FLAG(GK_Container_Flat), FLAG(GK_Container_Raised), FLAG(GK_Container_Single),
    FLAG(GK_Container_Double),
};
const FlagName COMBOBOX_FLAGS[] = {
    FLAG(GK_ComboBox_Editable), FLAG(GK_ComboBox_LowerCase), FLAG(GK_ComboBox_UpperCase), FLAG(GK_ComboBox_Image),
};
const FlagName TEXT_FLAGS[] = {FLAG(GK_Text_Center), FLAG(GK_Text_Right), FLAG(GK_Text_Border)};
const FlagName STRING_FLAGS[] = {
    FLAG(GK_String_Password), FLAG(GK_String_ReadOnly), FLAG(GK_String_Numeric), FLAG(GK_String_LowerCase),
    FLAG(GK_String_UpperCase), FLAG(GK_String_BorderLess), FLAG(GK_String_AutoComplete), FLAG(GK_String_AutoInsert),
};
const FlagName SCROLLAREA_FLAGS[] = {
    FLAG(GK_ScrollArea_Flat), FLAG(GK_ScrollArea_Raised), FLAG(GK_ScrollArea_Single), FLAG(GK_ScrollArea_BorderLess),
    FLAG(GK_ScrollArea_Center),
};
const FlagName FRAME_FLAGS[] = {FLAG(GK_Frame_Double), FLAG(GK_Frame_Single), FLAG(GK_Frame_Flat)};
const FlagName EDITOR_FLAGS[] = {FLAG(GK_Editor_ReadOnly), FLAG(GK_Editor_WordWrap)};
const FlagName SCROLLBAR_FLAGS[] = {FLAG(GK_ScrollBar_Vertical)};
const FlagName PROGRESSBAR_FLAGS[] = {FLAG(GK_ProgressBar_Smooth), FLAG(GK_ProgressBar_Vertical)};
const FlagName EXPLORERLIST_FLAGS[] = {
    FLAG(GK_Explorer_NoMyDocuments), FLAG(GK_Explorer_NoFiles), FLAG(GK_Explorer_NoDriveRequester),
    FLAG(GK_Explorer_AutoSort), FLAG(GK_Explorer_BorderLess), FLAG(GK_Explorer_AlwaysShowSelection),
    FLAG(GK_Explorer_NoParentFolder), FLAG(GK_Explorer_NoFolders), FLAG(GK_Explorer_NoDirectoryChange),
    FLAG(GK_Explorer_NoSort), FLAG(GK_Explorer_MultiSelect), FLAG(GK_Explorer_GridLines),
    FLAG(GK_Explorer_HeaderDragDrop), FLAG(GK_Explorer_FullRowSelect),
};
const FlagName EXPLORERTREE_FLAGS[] = {
    FLAG(GK_Explorer_BorderLess), FLAG(GK_Explorer_AlwaysShowSelection), FLAG(GK_Explorer_NoLines),
    FLAG(GK_Explorer_NoButtons), FLAG(GK_Explorer_NoMyDocuments), FLAG(GK_Explorer_NoFiles),
    FLAG(GK_Explorer_NoDriveRequester), FLAG(GK_Explorer_AutoSort),
};
const FlagName EXPLORERCOMBO_FLAGS[] = {
    FLAG(GK_Explorer_NoMyDocuments), FLAG(GK_Explorer_DrivesOnly), FLAG(GK_Explorer_Editable),
};
const FlagName SPLITTER_FLAGS[] = {
    FLAG(GK_Splitter_Vertical), FLAG(GK_Splitter_Separator), FLAG(GK_Splitter_FirstFixed),
    FLAG(GK_Splitter_SecondFixed),
};
const FlagName BUTTONIMAGE_FLAGS[] = {FLAG(GK_Button_Toggle)};
const FlagName TRACKBAR_FLAGS[] = {FLAG(GK_TrackBar_Ticks), FLAG(GK_TrackBar_Vertical)};
const FlagName CANVAS_FLAGS[] = {
    FLAG(GK_Canvas_ClipMouse), FLAG(GK_Canvas_Border), FLAG(GK_Canvas_Keyboard), FLAG(GK_Canvas_DrawFocus),
    FLAG(GK_Canvas_Container),
};
const FlagName CALENDAR_FLAGS[] = {FLAG(GK_Calendar_Borderless)};
const FlagName DATE_FLAGS[] = {FLAG(GK_Date_UpDown), FLAG(GK_Date_CheckBox)};
const FlagName SPIN_FLAGS[] = {FLAG(GK_Spin_ReadOnly), FLAG(GK_Spin_Numeric)};
const FlagName HYPERLINK_FLAGS[] = {FLAG(GK_HyperLink_Underline)};
#undef FLAG

constexpr std::uint32_t LIST_EVENTS = EVENT_ALLOW_RIGHT_CLICK | EVENT_ALLOW_LEFT_CLICK |
                                      EVENT_ALLOW_RIGHT_DOUBLE_CLICK | EVENT_ALLOW_LEFT_DOUBLE_CLICK |
                                      EVENT_ALLOW_CHANGE | EVENT_ALLOW_DRAG_START;
constexpr std::uint32_t FIELD_EVENTS = EVENT_ALLOW_CHANGE | EVENT_ALLOW_FOCUS | EVENT_ALLOW_LOST_FOCUS;
constexpr std::uint32_t IMAGE_EVENTS = EVENT_ALLOW_RIGHT_CLICK | EVENT_ALLOW_LEFT_CLICK |
                                       EVENT_ALLOW_RIGHT_DOUBLE_CLICK | EVENT_ALLOW_LEFT_DOUBLE_CLICK |
                                       EVENT_ALLOW_DRAG_START;

using R = ElementRole;

const ElementInfo ELEMENTS[] = {
    {u"window", ELEMENT_WINDOW, R::Window, false, false, 0, WINDOW_FLAGS},
    {u"hbox", ELEMENT_HBOX, R::Box, false, false, 0, {}},
    {u"vbox", ELEMENT_VBOX, R::Box, false, false, 0, {}},
    {u"gridbox", ELEMENT_GRIDBOX, R::Grid, false, false, 0, {}},
    {u"multibox", ELEMENT_MULTIBOX, R::Multibox, false, false, 0, {}},
    {u"singlebox", ELEMENT_SINGLEBOX, R::Singlebox, false, false, 0, {}},
    {u"empty", ELEMENT_EMPTY, R::Empty, false, false, 0, {}},
    {u"button", ELEMENT_BUTTON, R::NaturalControl, true, true, 0, BUTTON_FLAGS},
    {u"checkbox", ELEMENT_CHECKBOX, R::NaturalControl, true, true, 0, CHECKBOX_FLAGS},
    {u"image", ELEMENT_IMAGE, R::NaturalControl, true, true, IMAGE_EVENTS, IMAGE_FLAGS},
    {u"option", ELEMENT_OPTION, R::NaturalControl, true, true, 0, {}},
    {u"listview", ELEMENT_LISTVIEW, R::Listview, true, true, EVENT_ALLOW_LEFT_CLICK | EVENT_ALLOW_LEFT_DOUBLE_CLICK,
     LISTVIEW_FLAGS},
    {u"listicon", ELEMENT_LISTICON, R::FixedControl, true, true, LIST_EVENTS, LISTICON_FLAGS},
    {u"tree", ELEMENT_TREE, R::FixedControl, true, true, LIST_EVENTS, TREE_FLAGS},
    {u"container", ELEMENT_CONTAINER, R::Container, true, false, 0, CONTAINER_FLAGS},
    {u"combobox", ELEMENT_COMBOBOX, R::NaturalControl, true, true, FIELD_EVENTS, COMBOBOX_FLAGS},
    {u"text", ELEMENT_TEXT, R::NaturalControl, true, true, 0, TEXT_FLAGS},
    {u"string", ELEMENT_STRING, R::NaturalControl, true, true, FIELD_EVENTS, STRING_FLAGS},
    {u"panel", ELEMENT_PANEL, R::Panel, true, true, EVENT_ALLOW_CHANGE, {}},
    {u"tab", ELEMENT_TAB, R::Tab, false, false, 0, {}},
    {u"scrollarea", ELEMENT_SCROLLAREA, R::Scrollarea, true, false, 0, SCROLLAREA_FLAGS},
    {u"frame", ELEMENT_FRAME, R::Frame, true, false, 0, FRAME_FLAGS},
    {u"editor", ELEMENT_EDITOR, R::FixedControl, true, true, 0, EDITOR_FLAGS},
    {u"scintilla", ELEMENT_SCINTILLA, R::FixedControl, true, true, 0, {}},
    {u"scrollbar", ELEMENT_SCROLLBAR, R::FixedControl, true, true, 0, SCROLLBAR_FLAGS},
    {u"progressbar", ELEMENT_PROGRESSBAR, R::FixedControl, true, true, 0, PROGRESSBAR_FLAGS},
    {u"explorerlist", ELEMENT_EXPLORERLIST, R::FixedControl, true, true, LIST_EVENTS, EXPLORERLIST_FLAGS},
    {u"explorertree", ELEMENT_EXPLORERTREE, R::FixedControl, true, true, LIST_EVENTS, EXPLORERTREE_FLAGS},
    {u"explorercombo", ELEMENT_EXPLORERCOMBO, R::NaturalControl, true, true, 0, EXPLORERCOMBO_FLAGS},
    {u"splitter", ELEMENT_SPLITTER, R::Splitter, true, false, 0, SPLITTER_FLAGS},
    {u"shortcut", ELEMENT_SHORTCUT, R::NaturalControl, true, true, 0, {}},
    {u"buttonimage", ELEMENT_BUTTONIMAGE, R::NaturalControl, true, true, 0, BUTTONIMAGE_FLAGS},
    {u"trackbar", ELEMENT_TRACKBAR, R::FixedControl, true, true, 0, TRACKBAR_FLAGS},
    {u"canvas", ELEMENT_CANVAS, R::Canvas, true, true, 0, CANVAS_FLAGS},
    {u"calendar", ELEMENT_CALENDAR, R::NaturalControl, true, true, 0, CALENDAR_FLAGS},
    {u"date", ELEMENT_DATE, R::NaturalControl, true, true, EVENT_ALLOW_CHANGE, DATE_FLAGS},
    {u"spin", ELEMENT_SPIN, R::NaturalControl, true, true, EVENT_ALLOW_CHANGE, SPIN_FLAGS},
    {u"web", ELEMENT_WEB, R::FixedControl, true, true, 0, {}},
    {u"hyperlink", ELEMENT_HYPERLINK, R::NaturalControl, true, true, 0, HYPERLINK_FLAGS},
    {u"ipaddress", ELEMENT_IPADDRESS, R::NaturalControl, true, true, 0, {}},
};

const EventAttribute EVENT_ATTRIBUTES[] = {
    {u"onevent", -1, 0},
    {u"onleftclick", EVENTTYPE_LEFT_CLICK, EVENT_ALLOW_LEFT_CLICK},
    {u"onrightclick", EVENTTYPE_RIGHT_CLICK, EVENT_ALLOW_RIGHT_CLICK},
    {u"onleftdoubleclick", EVENTTYPE_LEFT_DOUBLE_CLICK, EVENT_ALLOW_LEFT_DOUBLE_CLICK},
    {u"onrightdoubleclick", EVENTTYPE_RIGHT_DOUBLE_CLICK, EVENT_ALLOW_RIGHT_DOUBLE_CLICK},
    {u"onchange", EVENTTYPE_CHANGE, EVENT_ALLOW_CHANGE},
    {u"onfocus", EVENTTYPE_FOCUS, EVENT_ALLOW_FOCUS},
    {u"onlostfocus", EVENTTYPE_LOST_FOCUS, EVENT_ALLOW_LOST_FOCUS},
    {u"ondragstart", EVENTTYPE_DRAG_START, EVENT_ALLOW_DRAG_START},
};

}

std::span<const ElementInfo> dialog_elements()
{
    return ELEMENTS;
}

std::span<const EventAttribute> dialog_event_attributes()
{
    return EVENT_ATTRIBUTES;
}

const ElementInfo* dialog_element_info(std::u16string_view name)
{
    for (const ElementInfo& element : ELEMENTS)
        if (text_equal_ascii(name, element.name))
            return &element;
    return nullptr;
}

const ElementInfo* dialog_element_info_of_kind(std::uint8_t kind)
{
    for (const ElementInfo& element : ELEMENTS)
        if (element.kind == kind)
            return &element;
    return nullptr;
}

bool dialog_flag_value(const ElementInfo* element, std::u16string_view name, std::uint32_t* value)
{
    if (!element)
        return false;
    for (const FlagName& flag : element->flags) {
        if (text_equal_ascii(name, flag.name)) {
            *value = flag.value;
            return true;
        }
    }
    return false;
}

const EventAttribute* dialog_event_attribute(std::u16string_view name)
{
    for (const EventAttribute& attribute : EVENT_ATTRIBUTES)
        if (text_equal_ascii(name, attribute.name))
            return &attribute;
    return nullptr;
}
