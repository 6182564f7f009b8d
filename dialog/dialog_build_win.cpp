#include "dialog/dialog_build_win.h"

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/controls/buttonimage.h"
#include "toolkit/controls/calendar.h"
#include "toolkit/controls/canvas.h"
#include "toolkit/controls/checkbox.h"
#include "toolkit/controls/code_editor.h"
#include "toolkit/controls/combobox.h"
#include "toolkit/controls/date.h"
#include "toolkit/controls/explorercombo.h"
#include "toolkit/controls/explorerlist.h"
#include "toolkit/controls/explorertree.h"
#include "toolkit/controls/frame.h"
#include "toolkit/controls/hyperlink.h"
#include "toolkit/controls/image_control.h"
#include "toolkit/controls/ipaddress.h"
#include "toolkit/controls/listicon.h"
#include "toolkit/controls/option.h"
#include "toolkit/controls/plain_container.h"
#include "toolkit/controls/progressbar.h"
#include "toolkit/controls/scrollarea.h"
#include "toolkit/controls/scrollbar.h"
#include "toolkit/controls/shortcut_entry.h"
#include "toolkit/controls/spin.h"
#include "toolkit/controls/splitter.h"
#include "toolkit/controls/trackbar.h"
#include "toolkit/controls/tree.h"
#include "toolkit/controls/web_view.h"
#include "toolkit/editor.h"
#include "toolkit/event.h"
#include "toolkit/focus_order.h"
#include "toolkit/listview.h"
#include "toolkit/panel.h"
#include "toolkit/string_field.h"
#include "toolkit/text.h"

#include <string>
#include <utility>
#include <vector>

namespace {

struct Builder {
    ObjectNumber window = -1;
    DialogMessage* message = nullptr;
    std::vector<DialogElement*> open;  // the element being built and its ancestors
    int pushed = 0;                    // containers opened and not yet closed
};

bool open_list(Builder* builder, ObjectNumber control)
{
    if (!container_open_list(control))
        return false;
    ++builder->pushed;
    return true;
}

void close_list(Builder* builder)
{
    container_close_list();
    --builder->pushed;
}

const char16_t* text_of(const DialogElement* element)
{
    return element->has_text ? element->text.c_str() : u"";
}

bool is_grouped_option(const DialogElement* element)
{
    return element->kind == ELEMENT_OPTION && static_cast<const ControlElement*>(element)->group != -1;
}

// Kinds whose control holds the controls of their child.
bool holds_children(const DialogElement* element)
{
    return element->info->role == ElementRole::Container || element->info->role == ElementRole::Scrollarea ||
           (element->info->role == ElementRole::Canvas && dialog_element_is_container(element));
}

// Kinds whose new control is the current container already: opening it again would push
// it a second time.
bool pushes_itself(const DialogElement* element)
{
    return element->kind == ELEMENT_PANEL || element->kind == ELEMENT_CONTAINER || element->kind == ELEMENT_SCROLLAREA;
}

void set_minimums(const SplitterElement* splitter, ObjectNumber number)
{
    if (splitter->first_minimum >= 0)
        control_set_attribute(number, SPLITTER_FIRST_MINIMUM, splitter->first_minimum);
    if (splitter->second_minimum >= 0)
        control_set_attribute(number, SPLITTER_SECOND_MINIMUM, splitter->second_minimum);
}

// Two part containers, each closed at once, then the splitter over them; a minimum given
// as a number is set now, one that follows the request is set by every size request.
ObjectNumber create_splitter(SplitterElement* splitter)
{
    for (ObjectNumber& part : splitter->parts) {
        part = container_create(GK_ANY, 0, 0, 0, 0, GK_Container_BorderLess);
        if (!part)
            return 0;
        container_close_list();
    }
    ObjectNumber made = splitter_create(splitter->requested, 0, 0, 0, 0, splitter->parts[0], splitter->parts[1],
                                        splitter->flags);
    if (made)
        set_minimums(splitter, splitter->requested == -1 ? made : splitter->requested);
    return made;
}

// The value controls take their range at creation; the value follows (set_content).
ObjectNumber create_value_control(const ControlElement* element)
{
    ObjectNumber number = element->requested;
    int low = element->minimum;
    int high = element->maximum;
    switch (element->kind) {
    case ELEMENT_SCROLLBAR: return scrollbar_create(number, 0, 0, 0, 0, low, high, element->page, element->flags);
    case ELEMENT_PROGRESSBAR: return progressbar_create(number, 0, 0, 0, 0, low, high, element->flags);
    default: return trackbar_create(number, 0, 0, 0, 0, low, high, element->flags);
    }
}

// The list-like kinds and the pickers; 0 for a kind that makes no control.
ObjectNumber create_list_or_picker(DialogElement* element)
{
    constexpr int FIRST_COLUMN_WIDTH = 300;
    ObjectNumber number = element->requested;
    std::uint32_t flags = element->flags;
    switch (element->kind) {
    case ELEMENT_LISTICON: return listicon_create(number, 0, 0, 0, 0, text_of(element), FIRST_COLUMN_WIDTH, flags);
    case ELEMENT_TREE: return tree_create(number, 0, 0, 0, 0, flags);
    case ELEMENT_COMBOBOX: return combobox_create(number, 0, 0, 0, 0, flags);
    case ELEMENT_CALENDAR: return calendar_create(number, 0, 0, 0, 0, flags);
    case ELEMENT_DATE: return date_create(number, 0, 0, 0, 0, text_of(element), flags);
    case ELEMENT_HYPERLINK: {
        std::int32_t color = static_cast<const ControlElement*>(element)->color;
        return hyperlink_create(number, 0, 0, 0, 0, text_of(element), color, flags);
    }
    default: return 0;
    }
}

// The platform control of the element's kind, at 0, 0 with no size.
ObjectNumber create_control(DialogElement* element)
{
    ObjectNumber number = element->requested;
    switch (element->kind) {
    case ELEMENT_BUTTON: return button_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_TEXT: return text_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_STRING: return string_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_EDITOR: return editor_create(number, 0, 0, 0, 0, element->flags);
    case ELEMENT_LISTVIEW: return listview_create(number, 0, 0, 0, 0, element->flags);
    case ELEMENT_PANEL: return panel_create(number, 0, 0, 0, 0);
    case ELEMENT_CONTAINER: return container_create(number, 0, 0, 0, 0, element->flags);
    case ELEMENT_FRAME: return frame_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_SCROLLAREA: {
        const auto* area = static_cast<const ContainerElement*>(element);
        return scrollarea_create(number, 0, 0, 0, 0, area->inner_width, area->inner_height, area->step,
                                 element->flags);
    }
    case ELEMENT_SPLITTER: return create_splitter(static_cast<SplitterElement*>(element));
    case ELEMENT_CHECKBOX: return checkbox_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_OPTION: return option_create(number, 0, 0, 0, 0, text_of(element));
    case ELEMENT_SPIN: {
        const auto* spin = static_cast<const ControlElement*>(element);
        return spin_create(number, 0, 0, 0, 0, spin->minimum, spin->maximum, element->flags);
    }
    case ELEMENT_SCROLLBAR:
    case ELEMENT_PROGRESSBAR:
    case ELEMENT_TRACKBAR: return create_value_control(static_cast<const ControlElement*>(element));
    case ELEMENT_IPADDRESS: return ipaddress_create(number, 0, 0, 0, 0);
    case ELEMENT_SHORTCUT: return shortcut_create(number, 0, 0, 0, 0, 0);
    case ELEMENT_IMAGE: return image_control_create(number, 0, 0, 0, 0, 0, element->flags);
    case ELEMENT_BUTTONIMAGE: return buttonimage_create(number, 0, 0, 0, 0, 0, element->flags);
    case ELEMENT_CANVAS: return canvas_create(number, 0, 0, 0, 0, element->flags);
    case ELEMENT_SCINTILLA: return code_editor_create(number, 0, 0, 0, 0, element->flags);
    case ELEMENT_WEB: return web_view_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_EXPLORERLIST: return explorerlist_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_EXPLORERTREE: return explorertree_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    case ELEMENT_EXPLORERCOMBO: return explorercombo_create(number, 0, 0, 0, 0, text_of(element), element->flags);
    default: return create_list_or_picker(element);
    }
}

bool fail(Builder* builder, const char* format, const DialogElement* element)
{
    dialog_message_locate(builder->message, element->line, element->column);
    dialog_message_report(builder->message, format, element->info->name);
    return false;
}

bool bind_events(Builder* builder, const DialogElement* element)
{
    for (const EventBinding& binding : element->events) {
        if (!event_bind(EVENT_GADGET, binding.procedure, builder->window, element->control, binding.type))
            return fail(builder, MESSAGE_BINDING_FAILED, element);
    }
    return true;
}

// Texts and states that the kinds take after creation.
void set_content(const DialogElement* element)
{
    if ((element->kind == ELEMENT_EDITOR || element->kind == ELEMENT_SPIN) && element->has_text)
        control_set_text(element->control, element->text.c_str());
    switch (element->kind) {
    case ELEMENT_SCROLLBAR:
    case ELEMENT_PROGRESSBAR:
    case ELEMENT_TRACKBAR:
    case ELEMENT_SPIN:
        control_set_state(element->control, static_cast<const ControlElement*>(element)->value);
        break;
    default: break;
    }
}

// True when the element asks for the fixed number of a control that holds it.
bool takes_container_id(const DialogElement* element)
{
    if (element->requested == -1)
        return false;
    for (const DialogElement* above = element->parent; above; above = above->parent) {
        if (above->control == element->requested)
            return true;
    }
    return false;
}

bool refuse_container_id(Builder* builder, const DialogElement* element)
{
    const std::string digits = std::to_string(element->requested);
    dialog_message_locate(builder->message, element->line, element->column);
    dialog_message_report(builder->message, MESSAGE_ID_OF_CONTAINER, element->info->name,
                          std::u16string(digits.begin(), digits.end()));
    return false;
}

bool create_element_control(Builder* builder, DialogElement* element)
{
    if (takes_container_id(element))
        return refuse_container_id(builder, element);
    ObjectNumber made = create_control(element);
    if (!made && element->kind == ELEMENT_SCINTILLA && !code_editor_component_loaded())
        return fail(builder, MESSAGE_CODE_EDITOR_MISSING, element);
    if (!made)
        return fail(builder, MESSAGE_CONTROL_FAILED, element);
    element->control = element->requested == -1 ? made : element->requested;
    if (pushes_itself(element))
        ++builder->pushed;
    else if (holds_children(element) && !open_list(builder, element->control))
        return fail(builder, MESSAGE_CONTROL_FAILED, element);
    if (element->kind == ELEMENT_SPLITTER && !open_list(builder, static_cast<SplitterElement*>(element)->parts[0]))
        return fail(builder, MESSAGE_CONTROL_FAILED, element);
    set_content(element);
    return !element->info->reads_events || bind_events(builder, element);
}

// A tab is a new page of its panel; the page receives the controls created next.
bool add_tab(Builder* builder, ContainerElement* tab)
{
    if (!tab->panel || tab->panel->control == -1 ||
        !control_add_item(tab->panel->control, tab->tab_index, text_of(tab)))
        return fail(builder, MESSAGE_CONTROL_FAILED, tab);
    return true;
}

bool create(Builder* builder, DialogElement* element)
{
    if (element->kind == ELEMENT_TAB)
        return add_tab(builder, static_cast<ContainerElement*>(element));
    if (!element->info->creates_control || is_grouped_option(element))
        return true;
    return create_element_control(builder, element);
}

void apply_disabled_and_invisible(const DialogElement* element)
{
    if (element->control == -1)
        return;
    if (element->disabled)
        control_disable(element->control, 1);
    if (element->invisible)
        control_hide(element->control, 1);
}

// One option group: the options of the first pending one's group, in document order.
bool create_option_group(Builder* builder, std::vector<DialogElement*>* pending)
{
    int group = static_cast<const ControlElement*>(pending->front())->group;
    // With the one-shot word clear, the next option starts a group of its own (option.h).
    control_set_one_shot(0);
    std::vector<DialogElement*> later;
    for (DialogElement* option : *pending) {
        if (static_cast<const ControlElement*>(option)->group != group) {
            later.push_back(option);
            continue;
        }
        if (takes_container_id(option))
            return refuse_container_id(builder, option);
        ObjectNumber made = option_create(option->requested, 0, 0, 0, 0, text_of(option));
        if (!made)
            return fail(builder, MESSAGE_CONTROL_FAILED, option);
        option->control = option->requested == -1 ? made : option->requested;
        apply_disabled_and_invisible(option);
    }
    *pending = std::move(later);
    return true;
}

// Grouped options are made after all their siblings, one group at a time, groups in the
// order of their first member, so that options of different groups never interleave.
bool create_pending_options(Builder* builder, DialogElement* element)
{
    while (!element->pending_options.empty()) {
        if (!create_option_group(builder, &element->pending_options))
            return false;
    }
    return true;
}

// The part that the splitter's child filled is closed; after the first child, the
// second part receives the next controls.
bool leave_splitter_part(Builder* builder, SplitterElement* splitter, const DialogElement* child)
{
    close_list(builder);
    if (splitter->children[0] == child && splitter->child_count > 1 && !open_list(builder, splitter->parts[1]))
        return fail(builder, MESSAGE_CONTROL_FAILED, splitter);
    return true;
}

// Everything that follows the element's children.
bool finish(Builder* builder, DialogElement* element)
{
    if (!create_pending_options(builder, element))
        return false;
    if (element->control != -1 && (holds_children(element) || element->kind == ELEMENT_PANEL))
        close_list(builder);
    if (element->kind == ELEMENT_SPLITTER && element->control != -1 &&
        static_cast<SplitterElement*>(element)->child_count == 0)
        close_list(builder);
    DialogElement* parent = element->parent;
    if (parent && parent->kind == ELEMENT_SPLITTER && parent->control != -1 &&
        !leave_splitter_part(builder, static_cast<SplitterElement*>(parent), element))
        return false;
    apply_disabled_and_invisible(element);
    return true;
}

// Finishes the open elements down to (not including) the given ancestor.
bool finish_down_to(Builder* builder, const DialogElement* ancestor)
{
    while (!builder->open.empty() && builder->open.back() != ancestor) {
        DialogElement* element = builder->open.back();
        builder->open.pop_back();
        if (!finish(builder, element))
            return false;
    }
    return true;
}

// Tab visits the controls in the order of the definition, whatever order they were made in.
void rank_controls(const DialogTree* tree)
{
    std::int32_t rank = 0;
    for (const ElementPtr& owned : tree->elements) {
        ++rank;
        if (owned->control != -1)
            control_set_focus_rank(owned->control, rank);
    }
}

}  // namespace

bool dialog_build_controls(DialogTree* tree, DialogMessage* message)
{
    Builder builder;
    builder.window = tree->root->window;
    builder.message = message;
    builder.open.push_back(tree->root);
    bool built = true;
    for (const ElementPtr& owned : tree->elements) {
        DialogElement* element = owned.get();
        if (element == tree->root)
            continue;
        built = finish_down_to(&builder, element->parent) && create(&builder, element);
        if (!built)
            break;
        builder.open.push_back(element);
    }
    built = built && finish_down_to(&builder, nullptr);
    if (built)
        rank_controls(tree);
    // After a failure the window is current again, not a container inside it.
    while (builder.pushed > 0)
        close_list(&builder);
    return built;
}

void dialog_reapply_sizes(DialogTree* tree)
{
    for (const ElementPtr& element : tree->elements) {
        if (element->control == -1)
            continue;
        if (element->kind == ELEMENT_SPLITTER)
            set_minimums(static_cast<const SplitterElement*>(element.get()), element->control);
        if (element->kind != ELEMENT_SCROLLAREA)
            continue;
        const auto* area = static_cast<const ContainerElement*>(element.get());
        if (area->inner_width >= 0)
            control_set_attribute(element->control, SCROLLAREA_INNER_WIDTH, area->inner_width);
        if (area->inner_height >= 0)
            control_set_attribute(element->control, SCROLLAREA_INNER_HEIGHT, area->inner_height);
        control_set_attribute(element->control, SCROLLAREA_STEP, area->step);
    }
}
