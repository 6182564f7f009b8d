#include "dialog/dialog_language.h"

#include "dialog/dialog_text.h"
#include "toolkit/event.h"


namespace {

const FlagName WINDOW_FLAGS[] = {
    {u"GK_Window_ScreenCentered", 0x1},      {u"GK_Window_WindowCentered", 0x2},
    {u"GK_Window_Tool", 0x4},                {u"GK_Window_TitleBar", 0xC00000},
    {u"GK_Window_SystemMenu", 0xC80000},     {u"GK_Window_SizeGadget", 0xC40000},
    {u"GK_Window_MinimizeGadget", 0xCA0000}, {u"GK_Window_MaximizeGadget", 0xC90000},
    {u"GK_Window_Invisible", 0x10000000},    {u"GK_Window_BorderLess", 0x80000000},
    {u"GK_Window_NoActivate", 0x2000000},
};
const FlagName BUTTON_FLAGS[] = {
    {u"GK_Button_Right", 0x200},     {u"GK_Button_Left", 0x100},    {u"GK_Button_Default", 0x1},
    {u"GK_Button_MultiLine", 0x2000}, {u"GK_Button_Toggle", 0x1003},
};
const FlagName CHECKBOX_FLAGS[] = {
    {u"GK_CheckBox_Right", 0x200}, {u"GK_CheckBox_Center", 0x300}, {u"GK_CheckBox_ThreeState", 0x5},
};
const FlagName IMAGE_FLAGS[] = {{u"GK_Image_Raised", 0x1}, {u"GK_Image_Border", 0x200}};
const FlagName LISTVIEW_FLAGS[] = {{u"GK_ListView_MultiSelect", 0x800}, {u"GK_ListView_ClickSelect", 0x8}};
const FlagName LISTICON_FLAGS[] = {
    {u"GK_ListIcon_CheckBoxes", 0x1},          {u"GK_ListIcon_MultiSelect", 0x4},
    {u"GK_ListIcon_GridLines", 0x10000},       {u"GK_ListIcon_FullRowSelect", 0x40000000},
    {u"GK_ListIcon_HeaderDragDrop", 0x10000000}, {u"GK_ListIcon_AlwaysShowSelection", 0x8},
    {u"GK_ListIcon_ThreeState", 0x40},
};
const FlagName TREE_FLAGS[] = {
    {u"GK_Tree_AlwaysShowSelection", 0x20}, {u"GK_Tree_NoLines", 0x2},       {u"GK_Tree_NoButtons", 0x1},
    {u"GK_Tree_CheckBoxes", 0x100},         {u"GK_Tree_ThreeState", 0x10000},
};
const FlagName CONTAINER_FLAGS[] = {
    {u"GK_Container_BorderLess", 0x0}, {u"GK_Container_Flat", 0x1},   {u"GK_Container_Raised", 0x2},
    {u"GK_Container_Single", 0x4},     {u"GK_Container_Double", 0x8},
};
const FlagName COMBOBOX_FLAGS[] = {
    {u"GK_ComboBox_Editable", 0x42},  {u"GK_ComboBox_LowerCase", 0x4000},
    {u"GK_ComboBox_UpperCase", 0x2000}, {u"GK_ComboBox_Image", 0x10000000},
};
const FlagName TEXT_FLAGS[] = {{u"GK_Text_Center", 0x1}, {u"GK_Text_Right", 0x2}, {u"GK_Text_Border", 0x20000}};
const FlagName STRING_FLAGS[] = {
    {u"GK_String_Password", 0x20},          {u"GK_String_ReadOnly", 0x800},
    {u"GK_String_Numeric", 0x2000},         {u"GK_String_LowerCase", 0x10},
    {u"GK_String_UpperCase", 0x8},          {u"GK_String_BorderLess", 0x20000},
    {u"GK_String_AutoComplete", 0x10000000}, {u"GK_String_AutoInsert", 0x40000000},
};
const FlagName SCROLLAREA_FLAGS[] = {
    {u"GK_ScrollArea_Flat", 0x1},       {u"GK_ScrollArea_Raised", 0x2}, {u"GK_ScrollArea_Single", 0x4},
    {u"GK_ScrollArea_BorderLess", 0x8}, {u"GK_ScrollArea_Center", 0x10},
};
const FlagName FRAME_FLAGS[] = {{u"GK_Frame_Double", 0x1}, {u"GK_Frame_Single", 0x2}, {u"GK_Frame_Flat", 0x3}};
const FlagName EDITOR_FLAGS[] = {{u"GK_Editor_ReadOnly", 0x800}, {u"GK_Editor_WordWrap", 0x10000000}};
const FlagName SCROLLBAR_FLAGS[] = {{u"GK_ScrollBar_Vertical", 0x1}};
const FlagName PROGRESSBAR_FLAGS[] = {{u"GK_ProgressBar_Smooth", 0x1}, {u"GK_ProgressBar_Vertical", 0x4}};
const FlagName EXPLORERLIST_FLAGS[] = {
    {u"GK_Explorer_NoMyDocuments", 0x200},        {u"GK_Explorer_NoFiles", 0x1},
    {u"GK_Explorer_NoDriveRequester", 0x10},      {u"GK_Explorer_AutoSort", 0x40},
    {u"GK_Explorer_BorderLess", 0x100000},        {u"GK_Explorer_AlwaysShowSelection", 0x1000000},
    {u"GK_Explorer_NoParentFolder", 0x2},         {u"GK_Explorer_NoFolders", 0x4},
    {u"GK_Explorer_NoDirectoryChange", 0x8},      {u"GK_Explorer_NoSort", 0x20},
    {u"GK_Explorer_MultiSelect", 0x200000},       {u"GK_Explorer_GridLines", 0x400000},
    {u"GK_Explorer_HeaderDragDrop", 0x800000},    {u"GK_Explorer_FullRowSelect", 0x2000000},
};
const FlagName EXPLORERTREE_FLAGS[] = {
    {u"GK_Explorer_BorderLess", 0x100000}, {u"GK_Explorer_AlwaysShowSelection", 0x1000000},
    {u"GK_Explorer_NoLines", 0x4000000},   {u"GK_Explorer_NoButtons", 0x8000000},
    {u"GK_Explorer_NoMyDocuments", 0x200}, {u"GK_Explorer_NoFiles", 0x1},
    {u"GK_Explorer_NoDriveRequester", 0x10}, {u"GK_Explorer_AutoSort", 0x40},
};
const FlagName EXPLORERCOMBO_FLAGS[] = {
    {u"GK_Explorer_NoMyDocuments", 0x200}, {u"GK_Explorer_DrivesOnly", 0x80}, {u"GK_Explorer_Editable", 0x100},
};
const FlagName SPLITTER_FLAGS[] = {
    {u"GK_Splitter_Vertical", 0x1},   {u"GK_Splitter_Separator", 0x2},
    {u"GK_Splitter_FirstFixed", 0x4}, {u"GK_Splitter_SecondFixed", 0x8},
};
const FlagName BUTTONIMAGE_FLAGS[] = {{u"GK_Button_Toggle", 0x1003}};
const FlagName TRACKBAR_FLAGS[] = {{u"GK_TrackBar_Ticks", 0x1}, {u"GK_TrackBar_Vertical", 0x2}};
const FlagName CANVAS_FLAGS[] = {
    {u"GK_Canvas_ClipMouse", 0x2}, {u"GK_Canvas_Border", 0x1},    {u"GK_Canvas_Keyboard", 0x4},
    {u"GK_Canvas_DrawFocus", 0x8}, {u"GK_Canvas_Container", 0x20},
};
const FlagName CALENDAR_FLAGS[] = {{u"GK_Calendar_Borderless", 0x800000}};
const FlagName DATE_FLAGS[] = {{u"GK_Date_UpDown", 0x1}, {u"GK_Date_CheckBox", 0x2}};
const FlagName SPIN_FLAGS[] = {{u"GK_Spin_ReadOnly", 0x1}, {u"GK_Spin_Numeric", 0x2}};
const FlagName HYPERLINK_FLAGS[] = {{u"GK_HyperLink_Underline", 0x1}};


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
