#include "dialog/dialog_attributes.h"

#include "dialog/dialog_text.h"

namespace {

using V = AttributeValue;
using S = AttributeScope;

const std::uint8_t WINDOW[] = {ELEMENT_WINDOW};
const std::uint8_t FRAME[] = {ELEMENT_FRAME};
const std::uint8_t OTHER_CONTAINERS[] = {ELEMENT_SINGLEBOX, ELEMENT_CONTAINER, ELEMENT_TAB, ELEMENT_SCROLLAREA,
                                         ELEMENT_CANVAS};
const std::uint8_t BOXES[] = {ELEMENT_HBOX, ELEMENT_VBOX};
const std::uint8_t GRID[] = {ELEMENT_GRIDBOX};
const std::uint8_t SCROLLAREA[] = {ELEMENT_SCROLLAREA};
const std::uint8_t SPLITTER[] = {ELEMENT_SPLITTER};
const std::uint8_t OPTION[] = {ELEMENT_OPTION};
const std::uint8_t RANGES[] = {ELEMENT_SCROLLBAR, ELEMENT_PROGRESSBAR, ELEMENT_TRACKBAR, ELEMENT_SPIN};
const std::uint8_t RANGES_BUT_TRACKBAR[] = {ELEMENT_SCROLLBAR, ELEMENT_PROGRESSBAR, ELEMENT_SPIN};
const std::uint8_t TRACKBAR[] = {ELEMENT_TRACKBAR};
const std::uint8_t SCROLLBAR[] = {ELEMENT_SCROLLBAR};
const std::uint8_t HYPERLINK[] = {ELEMENT_HYPERLINK};

const AttributeInfo ATTRIBUTES[] = {
    {u"id", V::Id, S::Numbered, {}, u"#GK_Any", u"the object number asked for; #GK_Any lets the table choose"},
    {u"name", V::Text, S::Every, {}, u"", u"the name a program finds the element's control by"},
    {u"text", V::Text, S::Captioned, {}, u"", u"caption or content: the window's title, a tab's caption"},
    {u"width", V::Number, S::Every, {}, u"0", u"minimum width; -1 asks for none"},
    {u"height", V::Number, S::Every, {}, u"0", u"minimum height; -1 asks for none"},
    {u"folded", V::Keyword, S::Every, {}, u"", u"\"yes\": the element takes no space in its box"},
    {u"flags", V::Flags, S::Every, {}, u"0", u"flag names, each after '#', joined by '|'"},
    {u"disabled", V::Keyword, S::Control, {}, u"", u"\"yes\": the control starts disabled"},
    {u"invisible", V::Keyword, S::Control, {}, u"", u"\"yes\": the control starts hidden"},
    {u"colspan", V::Integer, S::GridChild, {}, u"1", u"columns the cell covers"},
    {u"rowspan", V::Integer, S::GridChild, {}, u"1", u"rows the cell covers"},
    {u"margin", V::Margin, S::Kinds, WINDOW, u"8", u"space between the edge and the child"},
    {u"margin", V::Margin, S::Kinds, FRAME, u"5", u"space between the edge and the child"},
    {u"margin", V::Margin, S::Kinds, OTHER_CONTAINERS, u"10", u"space between the edge and the child"},
    {u"expand", V::Keyword, S::ContainerInside, {}, u"yes",
     u"\"yes\", \"no\", \"horizontal\" or \"vertical\": which sides of the child are stretched"},
    {u"expandwidth", V::Integer, S::Container, {}, u"0", u"the stretched child's widest; 0 for no limit"},
    {u"expandheight", V::Integer, S::Container, {}, u"0", u"the stretched child's highest; 0 for no limit"},
    {u"align", V::Keyword, S::ContainerInside, {}, u"",
     u"TOP, BOTTOM, LEFT, RIGHT, CENTER anywhere in it: where a smaller child sits"},
    {u"spacing", V::Integer, S::Kinds, BOXES, u"5", u"gap between neighbouring children"},
    {u"expand", V::Keyword, S::Kinds, BOXES, u"yes",
     u"\"yes\", \"no\", \"equal\" or \"item:N\": how free space is shared"},
    {u"align", V::Keyword, S::Kinds, BOXES, u"", u"\"center\", \"bottom\" or \"right\": where children sit"},
    {u"columns", V::Integer, S::Kinds, GRID, u"2", u"number of columns, 1 to 15"},
    {u"colspacing", V::Integer, S::Kinds, GRID, u"5", u"gap between columns"},
    {u"rowspacing", V::Integer, S::Kinds, GRID, u"5", u"gap between rows"},
    {u"colexpand", V::Keyword, S::Kinds, GRID, u"yes", u"\"yes\", \"no\", \"equal\" or \"item:N\" for columns"},
    {u"rowexpand", V::Keyword, S::Kinds, GRID, u"no", u"\"yes\", \"no\", \"equal\" or \"item:N\" for rows"},
    {u"minwidth", V::IntegerOrAuto, S::Kinds, WINDOW, u"", u"smallest inner width; auto: the requested one"},
    {u"minheight", V::IntegerOrAuto, S::Kinds, WINDOW, u"", u"smallest inner height; auto: the requested one"},
    {u"maxwidth", V::IntegerOrAuto, S::Kinds, WINDOW, u"", u"largest inner width; auto: the requested one"},
    {u"maxheight", V::IntegerOrAuto, S::Kinds, WINDOW, u"", u"largest inner height; auto: the requested one"},
    {u"innerwidth", V::IntegerOrAuto, S::Kinds, SCROLLAREA, u"auto", u"width of the scrolled area"},
    {u"innerheight", V::IntegerOrAuto, S::Kinds, SCROLLAREA, u"auto", u"height of the scrolled area"},
    {u"step", V::Integer, S::Kinds, SCROLLAREA, u"10", u"the scroll step"},
    {u"scrolling", V::Keyword, S::Kinds, SCROLLAREA, u"",
     u"\"vertical\" or \"horizontal\": the only direction that scrolls"},
    {u"firstmin", V::SplitterMinimum, S::Kinds, SPLITTER, u"", u"the first part's minimum; auto follows the child"},
    {u"secondmin", V::SplitterMinimum, S::Kinds, SPLITTER, u"", u"the second part's minimum; auto follows the child"},
    {u"group", V::Number, S::Kinds, OPTION, u"-1", u"options of one group number form one group"},
    {u"min", V::Number, S::Kinds, RANGES, u"0", u"lowest value"},
    {u"max", V::Number, S::Kinds, RANGES_BUT_TRACKBAR, u"100", u"highest value"},
    {u"max", V::Number, S::Kinds, TRACKBAR, u"10", u"highest value"},
    {u"page", V::Number, S::Kinds, SCROLLBAR, u"10", u"the thumb's share of the range"},
    {u"value", V::Number, S::Kinds, RANGES, u"min", u"the first value"},
    {u"color", V::Number, S::Kinds, HYPERLINK, u"16711680", u"the link's colour as a decimal COLORREF"},
};

bool is_container(const ElementInfo* element, bool container)
{
    switch (element->role) {
    case ElementRole::Window:
    case ElementRole::Singlebox:
    case ElementRole::Container:
    case ElementRole::Tab:
    case ElementRole::Scrollarea:
    case ElementRole::Frame: return true;
    case ElementRole::Canvas: return container;
    default: return false;
    }
}

bool listed(std::span<const std::uint8_t> kinds, std::uint8_t kind)
{
    for (std::uint8_t listed_kind : kinds)
        if (listed_kind == kind)
            return true;
    return false;
}

}  // namespace

std::span<const AttributeInfo> dialog_attributes()
{
    return ATTRIBUTES;
}

bool dialog_attribute_applies(const AttributeInfo* row, const ElementInfo* element, const ElementInfo* parent,
                              bool container)
{
    const bool window = element->kind == ELEMENT_WINDOW;
    switch (row->scope) {
    case S::Every: return true;
    case S::Numbered: return window || element->creates_control;
    case S::Captioned: return window || element->kind == ELEMENT_TAB || element->creates_control;
    case S::Control: return element->creates_control;
    case S::GridChild: return parent && parent->kind == ELEMENT_GRIDBOX;
    case S::Container: return is_container(element, container);
    case S::ContainerInside: return !window && is_container(element, container);
    case S::Kinds:
        return listed(row->kinds, element->kind) && (element->kind != ELEMENT_CANVAS || container);
    }
    return false;
}

const AttributeInfo* dialog_attribute_for(std::u16string_view name, const ElementInfo* element,
                                          const ElementInfo* parent, bool container)
{
    for (const AttributeInfo& row : ATTRIBUTES)
        if (text_equal_ascii(name, row.name) && dialog_attribute_applies(&row, element, parent, container))
            return &row;
    return nullptr;
}

bool dialog_attribute_known(std::u16string_view name)
{
    for (const AttributeInfo& row : ATTRIBUTES)
        if (text_equal_ascii(name, row.name))
            return true;
    return false;
}
