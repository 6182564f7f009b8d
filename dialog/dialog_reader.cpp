#include "dialog/dialog_reader.h"

#include "dialog/dialog_text.h"
#include "dialog/dialog_values.h"
#include "dialog/layout.h"
#include "toolkit/controls/splitter.h"
#include "xml/xml.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>

namespace {

// Default margins: a window's, a frame's, and every other container's.
constexpr int WINDOW_MARGIN = 8;
constexpr int FRAME_MARGIN = 5;
constexpr int CONTAINER_MARGIN = 10;

// A track bar's maximum until its definition gives one.
constexpr int TRACKBAR_MAXIMUM = 10;

// A limit as the decimal text that the limit messages show.
std::u16string limit_text(int limit)
{
    const std::string digits = std::to_string(limit);
    return std::u16string(digits.begin(), digits.end());
}

struct PanelEntry {
    DialogElement* panel = nullptr;
    int next_tab = 0;
};

struct Reader {
    const RuntimeRegistry* registry = nullptr;
    DialogTree* tree = nullptr;
    DialogMessage* message = nullptr;
    std::array<PanelEntry, DIALOG_MAX_PANELS> panels{};
    int panel_count = 0;
};

std::u16string_view view_of(const char16_t* text)
{
    return text ? std::u16string_view(text) : std::u16string_view();
}

// Calls visit(name, value) for each attribute in document order.
template <typename Visit>
void for_each_attribute(const XmlNode* node, Visit visit)
{
    std::int32_t count = xml_node_attribute_count(node);
    for (std::int32_t i = 0; i < count; ++i)
        visit(view_of(xml_node_attribute_name(node, i)), view_of(xml_node_attribute_value(node, i)));
}

// The common attributes, read in one pass in document order into a plain record.
void read_common(Reader* reader, const XmlNode* node, const ElementInfo* info, DialogElement* common)
{
    std::u16string_view tag = view_of(xml_node_name(node));
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"id")) {
            if (value.empty() || value[0] != u'#')
                common->requested = dialog_number(value, reader->registry);
            else if (text_equal_ascii(value, u"#GK_Any"))
                common->requested = -1;
            else if (runtime_exists(reader->registry, value))
                common->requested = static_cast<ObjectNumber>(runtime_lookup(reader->registry, value));
            else
                dialog_message_report(reader->message, MESSAGE_CONSTANT_NOT_FOUND, value, u"");
        } else if (text_equal_ascii(name, u"name")) {
            common->has_name = true;
            common->name = value;
        } else if (text_equal_ascii(name, u"text")) {
            common->has_text = true;
            common->text = value;
        } else if (text_equal_ascii(name, u"width")) {
            common->width = layout_clamp(dialog_number(value, reader->registry));
        } else if (text_equal_ascii(name, u"height")) {
            common->height = layout_clamp(dialog_number(value, reader->registry));
        } else if (text_equal_ascii(name, u"folded")) {
            common->folded = text_equal_ascii(value, u"yes");
        } else if (text_equal_ascii(name, u"flags")) {
            dialog_read_flags(value, info, tag, reader->registry, &common->flags, reader->message);
        } else if (text_equal_ascii(name, u"disabled")) {
            common->disabled = text_equal_ascii(value, u"yes");
        } else if (text_equal_ascii(name, u"invisible")) {
            common->invisible = text_equal_ascii(value, u"yes");
        } else if (text_equal_ascii(name, u"colspan")) {
            common->colspan = std::max(dialog_leading_int(value), 1);
        } else if (text_equal_ascii(name, u"rowspan")) {
            common->rowspan = std::max(dialog_leading_int(value), 1);
        }
    });
}

// Copies what read_common filled into the element's record, keeping its class.
void take_common(DialogElement* element, DialogElement&& common)
{
    element->requested = common.requested;
    element->flags = common.flags;
    element->folded = common.folded;
    element->disabled = common.disabled;
    element->invisible = common.invisible;
    element->width = common.width;
    element->height = common.height;
    element->colspan = common.colspan;
    element->rowspan = common.rowspan;
    element->has_name = common.has_name;
    element->has_text = common.has_text;
    element->name = std::move(common.name);
    element->text = std::move(common.text);
}

int default_margin(std::uint8_t kind)
{
    if (kind == ELEMENT_WINDOW)
        return WINDOW_MARGIN;
    return kind == ELEMENT_FRAME ? FRAME_MARGIN : CONTAINER_MARGIN;
}

void read_container(const XmlNode* node, ContainerElement* container)
{
    int margin = default_margin(container->kind);
    container->margin_top = container->margin_bottom = container->margin_left = container->margin_right = margin;
    bool window = container->kind == ELEMENT_WINDOW;
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"margin"))
            dialog_read_margin(value, container);
        else if (text_equal_ascii(name, u"expand") && !window)
            dialog_read_child_expand(value, container);
        else if (text_equal_ascii(name, u"expandwidth"))
            container->expand_width = layout_clamp(dialog_leading_int(value));
        else if (text_equal_ascii(name, u"expandheight"))
            container->expand_height = layout_clamp(dialog_leading_int(value));
        else if (text_equal_ascii(name, u"align") && !window)
            dialog_read_child_align(value, container);
    });
}

// A window bound: "auto", or a number kept within 0 to 32767.
std::int16_t read_bound(std::u16string_view value)
{
    if (text_equal_ascii(value, u"auto"))
        return BOUND_AUTO;
    constexpr int largest = std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::clamp(dialog_leading_int(value), 0, largest));
}

void read_window(const XmlNode* node, ContainerElement* window)
{
    // The window's child always covers the client area.
    window->expand_horizontal = window->expand_vertical = false;
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"minwidth"))
            window->min_width = read_bound(value);
        else if (text_equal_ascii(name, u"minheight"))
            window->min_height = read_bound(value);
        else if (text_equal_ascii(name, u"maxwidth"))
            window->max_width = read_bound(value);
        else if (text_equal_ascii(name, u"maxheight"))
            window->max_height = read_bound(value);
    });
}

int read_inner_size(std::u16string_view value)
{
    return text_equal_ascii(value, u"auto") ? -1 : layout_clamp(dialog_leading_int(value));
}

void read_scrollarea(const XmlNode* node, ContainerElement* area)
{
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"innerwidth"))
            area->inner_width = read_inner_size(value);
        else if (text_equal_ascii(name, u"innerheight"))
            area->inner_height = read_inner_size(value);
        else if (text_equal_ascii(name, u"step"))
            area->step = dialog_leading_int(value);
        else if (text_equal_ascii(name, u"scrolling"))
            area->scrolling = text_equal_ascii(value, u"vertical")     ? SCROLL_VERTICAL
                              : text_equal_ascii(value, u"horizontal") ? SCROLL_HORIZONTAL
                                                                         : SCROLL_BOTH;
    });
}

int read_splitter_minimum(std::u16string_view value)
{
    if (text_equal_ascii(value, u"auto") || text_equal_ascii(value, u"request"))
        return SPLITTER_MIN_FOLLOW;
    return std::max(dialog_leading_int(value), 0);
}

void read_splitter(const XmlNode* node, SplitterElement* splitter)
{
    splitter->vertical = (splitter->flags & GK_Splitter_Vertical) != 0;
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"firstmin"))
            splitter->first_minimum = read_splitter_minimum(value);
        else if (text_equal_ascii(name, u"secondmin"))
            splitter->second_minimum = read_splitter_minimum(value);
    });
}

void read_box(const XmlNode* node, BoxElement* box)
{
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"spacing"))
            box->spacing = layout_clamp(dialog_leading_int(value));
        else if (text_equal_ascii(name, u"expand"))
            dialog_read_expand(value, &box->expand, &box->expand_item);
        else if (text_equal_ascii(name, u"align"))
            box->align = dialog_read_box_align(value);
    });
}

void read_grid(Reader* reader, const XmlNode* node, GridboxElement* grid)
{
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        if (text_equal_ascii(name, u"columns")) {
            int columns = dialog_leading_int(value);
            if (columns >= 1 && columns <= GRID_MAX_COLUMNS)
                grid->columns = columns;
            else
                dialog_message_report(reader->message, MESSAGE_BAD_COLUMNS, view_of(xml_node_name(node)),
                                      limit_text(GRID_MAX_COLUMNS));
        } else if (text_equal_ascii(name, u"colspacing")) {
            grid->column_spacing = layout_clamp(dialog_leading_int(value));
        } else if (text_equal_ascii(name, u"rowspacing")) {
            grid->row_spacing = layout_clamp(dialog_leading_int(value));
        } else if (text_equal_ascii(name, u"colexpand")) {
            dialog_read_expand(value, &grid->column_expand, &grid->column_item);
        } else if (text_equal_ascii(name, u"rowexpand")) {
            dialog_read_expand(value, &grid->row_expand, &grid->row_item);
        }
    });
}

void read_control(Reader* reader, const XmlNode* node, ControlElement* control)
{
    if (control->kind == ELEMENT_TRACKBAR)
        control->maximum = TRACKBAR_MAXIMUM;
    bool value_given = false;
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        int number = static_cast<int>(dialog_number(value, reader->registry));
        if (text_equal_ascii(name, u"group")) {
            control->group = number;
        } else if (text_equal_ascii(name, u"min")) {
            control->minimum = number;
        } else if (text_equal_ascii(name, u"max")) {
            control->maximum = number;
        } else if (text_equal_ascii(name, u"page")) {
            control->page = number;
        } else if (text_equal_ascii(name, u"value")) {
            control->value = number;
            value_given = true;
        } else if (text_equal_ascii(name, u"color")) {
            control->color = number;
        }
    });
    if (!value_given)
        control->value = control->minimum;
}

bool is_grouped_option(const DialogElement* element)
{
    return element->kind == ELEMENT_OPTION && static_cast<const ControlElement*>(element)->group != -1;
}

// The event attributes of an element that makes a control: allowed ones must name a
// registered procedure. A constant or variable of the same name is no procedure: its
// value would be called as code.
void read_events(Reader* reader, const XmlNode* node, DialogElement* element)
{
    std::u16string_view tag = view_of(xml_node_name(node));
    for_each_attribute(node, [&](std::u16string_view name, std::u16string_view value) {
        const EventAttribute* event = dialog_event_attribute(name);
        if (!event)
            return;
        if (event->allow != 0 && !(element->info->allowed_events & event->allow)) {
            dialog_message_report(reader->message, MESSAGE_EVENT_NOT_SUPPORTED, name, tag);
            return;
        }
        const RuntimeProcedure procedure = runtime_procedure(reader->registry, value);
        if (!procedure)
            dialog_message_report(reader->message, MESSAGE_NOT_A_PROCEDURE, value);
        else
            element->events.push_back({event->type, procedure});
    });
}

// Tabs belong to the innermost open panel.
void join_panel(Reader* reader, const XmlNode* node, ContainerElement* tab)
{
    if (reader->panel_count == 0) {
        dialog_message_report(reader->message, MESSAGE_TAB_OUTSIDE_PANEL, view_of(xml_node_name(node)));
        return;
    }
    PanelEntry& top = reader->panels[reader->panel_count - 1];
    tab->panel = top.panel;
    tab->tab_index = top.next_tab++;
}

void locate(Reader* reader, const XmlNode* node)
{
    dialog_message_locate(reader->message, xml_node_line(node), xml_node_column(node));
}

DialogElement* create_element(Reader* reader, const XmlNode* node, const ElementInfo* info, DialogElement* parent)
{
    locate(reader, node);
    DialogElement common;
    read_common(reader, node, info, &common);
    DialogElement* element = dialog_element_new(reader->tree, info, common.flags);
    if (!element)
        return nullptr;
    take_common(element, std::move(common));
    element->parent = parent;
    element->line = xml_node_line(node);
    element->column = xml_node_column(node);
    if (dialog_element_is_container(element))
        read_container(node, static_cast<ContainerElement*>(element));
    switch (info->role) {
    case ElementRole::Box: read_box(node, static_cast<BoxElement*>(element)); break;
    case ElementRole::Grid: read_grid(reader, node, static_cast<GridboxElement*>(element)); break;
    case ElementRole::Window: read_window(node, static_cast<ContainerElement*>(element)); break;
    case ElementRole::Scrollarea: read_scrollarea(node, static_cast<ContainerElement*>(element)); break;
    case ElementRole::Splitter: read_splitter(node, static_cast<SplitterElement*>(element)); break;
    case ElementRole::Tab: join_panel(reader, node, static_cast<ContainerElement*>(element)); break;
    case ElementRole::Empty:
    case ElementRole::NaturalControl:
    case ElementRole::FixedControl:
    case ElementRole::Listview: read_control(reader, node, static_cast<ControlElement*>(element)); break;
    default: break;
    }
    if (is_grouped_option(element))
        parent->pending_options.push_back(element);
    else if (info->reads_events)
        read_events(reader, node, element);
    return element;
}

void report_full(Reader* reader, const XmlNode* node, const DialogElement* parent)
{
    std::u16string_view tag = view_of(xml_node_name(node));
    if (parent->kind == ELEMENT_GRIDBOX)
        dialog_message_report(reader->message, MESSAGE_TOO_MANY_ROWS, tag, limit_text(GRID_MAX_ROWS));
    else if (parent->kind == ELEMENT_SPLITTER)
        dialog_message_report(reader->message, MESSAGE_TOO_MANY_CHILDREN, tag, limit_text(SPLITTER_CHILDREN));
    else
        dialog_message_report(reader->message, MESSAGE_TOO_MANY_CHILDREN, tag, limit_text(BOX_CAPACITY));
}

// Builds the elements of the node's element children under the parent, depth first.
// Names not in the language are skipped with everything below them; a window inside a
// window is refused.
void read_children(Reader* reader, const XmlNode* parent_node, DialogElement* parent, int depth)
{
    for (const XmlNode* node = xml_node_first_child(parent_node); node; node = xml_node_next_sibling(node)) {
        if (reader->message->set)
            return;
        if (xml_node_kind(node) != XML_KIND_ELEMENT)
            continue;
        const ElementInfo* info = dialog_element_info(view_of(xml_node_name(node)));
        if (!info)
            continue;
        locate(reader, node);
        // Each refusal goes on with the next sibling, so that a check collecting every
        // message sees them too; otherwise the stored message ends the walk.
        if (info->kind == ELEMENT_WINDOW) {
            dialog_message_report(reader->message, MESSAGE_NESTED_WINDOW, view_of(xml_node_name(node)));
            continue;
        }
        if (depth > DIALOG_MAX_DEPTH) {
            dialog_message_report(reader->message, MESSAGE_TOO_DEEP, view_of(xml_node_name(node)),
                                  limit_text(DIALOG_MAX_DEPTH));
            continue;
        }
        DialogElement* element = create_element(reader, node, info, parent);
        if (!element || reader->message->set)
            return;
        bool panel = info->kind == ELEMENT_PANEL;
        if (panel) {
            if (reader->panel_count >= DIALOG_MAX_PANELS) {
                dialog_message_report(reader->message, MESSAGE_TOO_DEEP, view_of(xml_node_name(node)),
                                      limit_text(DIALOG_MAX_PANELS));
                return;
            }
            reader->panels[reader->panel_count++] = {element, 0};
        }
        if (xml_node_first_child(node))
            read_children(reader, node, element, depth + 1);
        element->cls->finish_children(element);
        if (panel)
            --reader->panel_count;
        locate(reader, node);
        if (!parent->cls->add_child(parent, element))
            report_full(reader, parent_node, parent);
    }
}

bool window_matches(const XmlNode* node, const char16_t* wanted)
{
    if (xml_node_kind(node) != XML_KIND_ELEMENT || !text_equal_ascii(view_of(xml_node_name(node)), u"window"))
        return false;
    if (!wanted || !*wanted)
        return true;
    const char16_t* name = xml_node_attribute(node, u"name");
    return name && text_equal_ascii(name, wanted);
}

}

const XmlNode* dialog_find_window(const XmlNode* root, const char16_t* window_name)
{
    if (!root)
        return nullptr;
    std::u16string_view name = view_of(xml_node_name(root));
    if (text_equal_ascii(name, u"window"))
        return window_matches(root, window_name) ? root : nullptr;
    if (!text_equal_ascii(name, u"dialogs"))
        return nullptr;
    for (const XmlNode* node = xml_node_first_child(root); node; node = xml_node_next_sibling(node))
        if (window_matches(node, window_name))
            return node;
    return nullptr;
}

bool dialog_read(const XmlNode* root, const char16_t* window_name, const RuntimeRegistry* registry,
                 DialogTree* tree, DialogMessage* message)
{
    tree->elements.clear();
    tree->root = nullptr;
    const XmlNode* node = dialog_find_window(root, window_name);
    if (!node) {
        dialog_message_locate(message, xml_node_line(root), xml_node_column(root));
        dialog_message_report(message, MESSAGE_WINDOW_NOT_FOUND);
        return false;
    }
    return dialog_read_window(node, registry, tree, message);
}

bool dialog_read_window(const XmlNode* node, const RuntimeRegistry* registry, DialogTree* tree,
                        DialogMessage* message)
{
    tree->elements.clear();
    tree->root = nullptr;
    Reader reader;
    reader.registry = registry;
    reader.tree = tree;
    reader.message = message;
    DialogElement* window = create_element(&reader, node, dialog_element_info(u"window"), nullptr);
    if (window && !message->set) {
        tree->root = static_cast<ContainerElement*>(window);
        read_children(&reader, node, window, 1);
        window->cls->finish_children(window);
    }
    if (!window || message->set) {
        tree->elements.clear();
        tree->root = nullptr;
        return false;
    }
    return true;
}

bool dialog_read_document(ObjectNumber document, const char16_t* window_name, const RuntimeRegistry* registry,
                          DialogTree* tree, DialogMessage* message)
{
    if (xml_is_valid(document) && xml_error_code(document) != 0) {
        tree->elements.clear();
        tree->root = nullptr;
        std::string line = std::to_string(xml_error_line(document));
        dialog_message_locate(message, xml_error_line(document), xml_error_column(document));
        dialog_message_report(message, MESSAGE_NOT_WELL_FORMED, xml_error_message(document),
                              std::u16string(line.begin(), line.end()));
        return false;
    }
    return dialog_read(xml_root(document), window_name, registry, tree, message);
}
